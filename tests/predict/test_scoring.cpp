#include "codes/sjis.h"
#include "import/race_model.h"
#include "predict/runner_work.h"

#include <gtest/gtest.h>

#include <vector>

namespace zm {
namespace {

struct PastRunInput {
    int late = 0;
    QString track;
    int distance = 0;
    int figure = 0;
};

RunnerArray withRuns(const std::vector<PastRunInput>& runs) {
    RunnerArray a;
    for (size_t j = 0; j < runs.size(); ++j) {
        PastRunWork& p = a[0].PastRuns[j];
        p.LatePosition = static_cast<std::int16_t>(runs[j].late);
        p.RunTrack = runs[j].track;
        p.RunDistance = static_cast<std::int16_t>(runs[j].distance);
        p.RunFigure = static_cast<std::int16_t>(runs[j].figure);
    }
    return a;
}

TEST(Factors, PositionAverageRoundsHalfToEven) {
    const struct {
        std::vector<int> late;
        int points;
    } cases[] = {
        {{0, 0, 0, 0, 0}, 0},    // nothing counted, no division
        {{1}, 20},
        {{2, 3}, 18},
        {{4, 0, 6}, 12},          // a 0 is not counted
        {{7, 9}, 0},
        {{1, 2}, 19},
        {{2, 7, 7, 7}, 4},        // 4.5 -> 4
        {{1, 2, 7, 7}, 10},       // 9.5 -> 10
        {{1, 1, 2, 4}, 18},       // 17.5 -> 18
        {{2, 4, 5}, 14},          // 14
        {{1, 4, 7}, 11},          // 10.67
    };
    for (const auto& c : cases) {
        std::vector<PastRunInput> runs;
        for (int l : c.late) runs.push_back(PastRunInput{l, {}, 0, 0});
        EXPECT_EQ(PositionAveragePoints(withRuns(runs), 1), c.points) << ::testing::PrintToString(c.late);
    }
}

TEST(Factors, DistanceMatchFigure) {
    const QString turf = QStringLiteral("1");
    const QString dirt = QStringLiteral("2");
    const struct {
        const char* what;
        std::vector<PastRunInput> runs;
        float expected;
    } cases[] = {
        {"best same-surface run within 200 m", {{0, turf, 1800, 50}, {0, turf, 2000, 61}, {0, turf, 2200, 70}}, 70},
        {"beyond 200 m does not count", {{0, turf, 2201, 90}, {0, turf, 1600, 40}}, 0},
        {"lower bound is inclusive", {{0, turf, 1800, 33}}, 33},
        {"other surface only: figure x 0.8 half-even", {{0, dirt, 2000, 51}, {0, dirt, 2100, 48}}, 41},
        {"same surface at figure 0 falls through to pass 2", {{0, turf, 2000, 0}, {0, dirt, 2000, 60}}, 48},
        {"pass 1 wins when its best is above 0", {{0, turf, 2000, 0}, {0, turf, 1900, 50}, {0, dirt, 2000, 90}}, 50},
        {"pass 2 ignores runs out of range", {{0, turf, 2000, 0}, {0, dirt, 2000, 55}, {0, turf, 3000, 90}}, 44},
        {"no past runs", {}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DistanceMatchFigure(withRuns(c.runs), 1, 2000, turf), c.expected) << c.what;
    }
}

TEST(Factors, RecentFigureIsTheFirstPositiveTimesPointTwo) {
    EXPECT_EQ(RecentFigurePoints(withRuns({{0, {}, 0, 0}, {0, {}, 0, 57}, {0, {}, 0, 80}}), 1),
              static_cast<float>(57 * 0.2));
    EXPECT_EQ(RecentFigurePoints(withRuns({}), 1), 0.0f);
}

TEST(Factors, SmallTables) {
    RunnerArray a;
    const struct {
        const char* digit;
        int points;
    } digits[] = {{"0", 25}, {"1", 18}, {"2", 18}, {"3", 10}, {"9", 10}, {" ", 25}};
    for (const auto& c : digits) {
        a[0].RatingDigit = QString::fromLatin1(c.digit);
        EXPECT_EQ(RatingDigitPoints(a, 1), c.points) << c.digit;
    }
    const struct {
        int finish;
        int points;
    } finishes[] = {{1, 15}, {2, 8}, {3, 0}, {0, 0}};
    for (const auto& c : finishes) {
        a[0].PastRuns[0].Finish = static_cast<std::int16_t>(c.finish);
        EXPECT_EQ(LastFinishPoints(a, 1), c.points) << c.finish;
    }
    const struct {
        int v, a, b;
    } bands[] = {{0, 15, 0},   {515, 15, 0},  {516, 10, 2}, {529, 10, 2}, {530, 9, 4}, {569, 7, 7},
                 {570, 6, 10}, {575, 6, 10}, {576, 5, 5},  {600, 5, 5},  {601, 10, 15}};
    for (const auto& c : bands) {
        EXPECT_EQ(weightBandAPoints(c.v), c.a) << c.v;
        EXPECT_EQ(weightBandBPoints(c.v), c.b) << c.v;
    }
    // The weight fields are never loaded: the fixed 15 and 0.
    EXPECT_EQ(WeightBandA(a, 1), 15);
    EXPECT_EQ(WeightBandB(a, 1), 0);
}

TEST(Threshold, BetSelectionTest) {
    const struct {
        int kept, runners;
        const char* prize;
        const char* raceClass;
        bool flag;
    } cases[] = {
        {8, 10, "    5", "1", true},
        {7, 10, "    5", "1", false},  // ratio exactly 0.7
        {13, 18, "    5", "1", true},  // 0.722
        {8, 10, "    2", "1", false},  // prize class 2 (未出走)
        {8, 10, "    3", "1", true},
        {8, 10, "    1", "1", false},
        {8, 10, "    5", "0", false},  // steeplechase
        {0, 0, "    5", "1", false},   // no runners: no division
        {0, 12, "    5", "1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(betSelectionTest(c.kept, c.runners, QString::fromLatin1(c.prize), QString::fromLatin1(c.raceClass)),
                  c.flag)
            << c.kept << "/" << c.runners << " prize " << c.prize << " class " << c.raceClass;
    }
}

TEST(Threshold, SeventyKeepsAndBelowZeroes) {
    // Gelding (10) + 15 + rating digit 0 (25) + winner last time (15) = 65, then a figure.
    // Figure 25 on another distance adds 25 * 0.2 = 5 -> 70; figure 24 adds 4.8 -> 69.8.
    const JockeyTable jockeys;
    RaceScoringInput race;
    race.runnerCount = 3;
    race.distance = 1200;
    race.surface = QStringLiteral("1");
    race.prizeClass = QStringLiteral("    5");
    race.raceClass = QStringLiteral("1");
    RunnerArray a;
    const int figures[] = {25, 24, 30};
    for (int i = 0; i < 3; ++i) {
        a[static_cast<size_t>(i)].SexCode = QStringLiteral("2");
        a[static_cast<size_t>(i)].RatingDigit = QStringLiteral("0");
        PastRunWork& p = a[static_cast<size_t>(i)].PastRuns[0];
        p.Finish = 1;
        p.RunDistance = 3000;
        p.RunFigure = static_cast<std::int16_t>(figures[i]);
    }
    a[5].Score = 99.0f;  // beyond the runner count: cleared
    a[5].OddsRank = 4;
    EXPECT_FALSE(ScoreRunners(race, a, jockeys));  // 2 of 3 kept: 0.667
    EXPECT_EQ(a[0].Score, 70.0f);
    EXPECT_EQ(a[1].Score, 0.0f);
    EXPECT_EQ(a[2].Score, 71.0f);
    EXPECT_EQ(a[5].Score, 0.0f);
    EXPECT_EQ(a[5].OddsRank, 0);
}

TEST(Threshold, JockeyRatingAndSexBase) {
    JockeyTable jockeys;
    jockeys.append(QStringLiteral("01001"), 31);
    jockeys.append(QStringLiteral("01001"), 99);  // a later duplicate is never used
    RaceScoringInput race;
    race.runnerCount = 3;
    race.prizeClass = QStringLiteral("    5");
    race.raceClass = QStringLiteral("1");
    RunnerArray a;
    const struct {
        const char* sex;
        const char* jockey;
    } runners[] = {{"1", "01001"}, {"0", "01001"}, {"1", "09999"}};
    for (int i = 0; i < 3; ++i) {
        a[static_cast<size_t>(i)].SexCode = QString::fromLatin1(runners[i].sex);
        a[static_cast<size_t>(i)].JockeyCode = QString::fromLatin1(runners[i].jockey);
        a[static_cast<size_t>(i)].RatingDigit = QStringLiteral("0");
    }
    EXPECT_FALSE(ScoreRunners(race, a, jockeys));
    EXPECT_EQ(a[0].Score, 79.0f);  // 8 + 31 + 15 + 25
    EXPECT_EQ(a[1].Score, 81.0f);  // 10 + 31 + 15 + 25
    EXPECT_EQ(a[2].Score, 0.0f);   // 8 + 15 + 25 = 48 without a listed jockey
}

// Everything a loader fills, as text, for comparing two loaded slots.
QStringList loaded(const RunnerWork& w) {
    QStringList out = {w.HorseCode,
                       w.HorseName,
                       w.SexCode,
                       w.Age,
                       w.Waku,
                       w.Umaban,
                       w.RatingDigit,
                       w.JockeyShort,
                       w.JockeyCode,
                       w.TrainerShort,
                       QString::number(w.CourseRecordTotal)};
    for (const auto& group : w.CourseRecord)
        for (std::int16_t v : group)
            out << QString::number(v);
    for (std::int16_t v : w.OtherRecord)
        out << QString::number(v);
    for (const PastRunWork& p : w.PastRuns)
        out << p.RunDate << p.RunVenueCode << p.RunMeeting << p.RunDay << p.RunRaceNo << p.RunOdds << p.RunTrack
            << QString::number(p.FieldSize) << QString::number(p.Popularity) << QString::number(p.Finish)
            << QString::number(p.LatePosition) << QString::number(p.RunDistance) << QString::number(p.RunFigure);
    return out;
}

// The record bytes where they lie load the slot as a copy of the record does, also when they
// are not one whole record and when a one-character field holds a two-byte character.
TEST(Loading, FromRecordBytesAsFromTheRecord) {
    QByteArray horse(HorseRecord::kLength, ' ');
    QByteArray entry(EntryRecord::kLength, ' ');
    for (qsizetype i = 0; i < horse.size(); ++i)
        horse[i] = static_cast<char>('0' + (i * 7) % 10);
    for (qsizetype i = 0; i < entry.size(); ++i)
        entry[i] = static_cast<char>('0' + (i * 3) % 10);
    const QByteArray wide = toSjis(u"１");
    horse.replace(HorseRecord::pastRunField(1, PastRun::kai).offset, 2, wide);
    horse.replace(HorseRecord::pastRunField(2, PastRun::nichi).offset, 2, QByteArray("5") + wide.left(1));
    entry.replace(EntryRecord::jockeyShort.offset, 8, toSjis(u"騎手名前"));
    const struct {
        const char* what;
        QByteArray horse, entry;
    } cases[] = {
        {"whole records", horse, entry},
        {"cut records", horse.left(1500), entry.left(200)},
        {"no bytes", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunnerArray fromRecords;
        RunnerArray fromBytes;
        LoadRunnerFromEntry(fromRecords, 2, EntryRecord(c.entry));
        LoadRunnerFromHorse(fromRecords, 2, HorseRecord(c.horse));
        LoadRunnerFromEntry(fromBytes, 2, QByteArrayView(c.entry));
        LoadRunnerFromHorse(fromBytes, 2, QByteArrayView(c.horse));
        EXPECT_EQ(loaded(fromBytes[1]), loaded(fromRecords[1]));
    }
    RunnerArray blank;
    RunnerArray fromNothing;
    LoadBlankRunner(blank, 1);
    LoadRunnerFromEntry(fromNothing, 1, QByteArrayView());
    LoadRunnerFromHorse(fromNothing, 1, QByteArrayView());
    EXPECT_EQ(loaded(blank[0]), loaded(fromNothing[0]));
    EXPECT_EQ(loaded(fromNothing[0]).at(0), QString(7, u' '));
}

}  // namespace
}  // namespace zm
