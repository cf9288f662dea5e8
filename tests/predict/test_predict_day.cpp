#include "codes/codetables.h"
#include "day/day_pipeline.h"
#include "import/records.h"
#include "predict/predict_day.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace zm {
namespace {

const QDate kDate(2026, 12, 5);
const QString kDay = QStringLiteral("20261205");

class PredictDayTest : public ::testing::Test {
protected:
    void SetUp() override {
        day_ = sample::makeDay(kDate, 77);
        write(home_.ctx().paths.jockeyFile(), sample::makeJockeyFile(77));
    }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // Puts the three files in the work folder and runs the day.
    bool runDay() {
        const AppPaths& p = home_.ctx().paths;
        write(p.workRaceFile, day_.races);
        write(p.workEntryFile, day_.entries);
        write(p.workHorseFile, day_.horses);
        outcome_ = DayRun(home_.ctx(), DaySteps::predictionOnly());
        return outcome_.ok();
    }

    QString predictionPath() { return home_.ctx().paths.DataDir + kDay + QStringLiteral(".DAT"); }

    std::vector<PredictionRecord> predictions() {
        auto all = readPredictionFile(predictionPath());
        return all ? *all : std::vector<PredictionRecord>{};
    }

    RecordFile dayRaces() {
        return *RecordFile::load(home_.ctx().paths.DataDir + QStringLiteral("MUR") + kDay + QStringLiteral("_1.DEN"),
                                 RaceRecord::kLength);
    }

    test::TestHome home_;
    sample::DayFiles day_;
    DayOutcome outcome_;
};

TEST_F(PredictDayTest, OneRecordPerRaceInDayFileOrder) {
    ASSERT_TRUE(runDay());
    const auto recs = predictions();
    const RecordFile races = dayRaces();
    ASSERT_EQ(static_cast<int>(recs.size()), races.count());
    bool anySelection = false;
    for (int k = 1; k <= races.count(); ++k) {
        const RaceRecord race = races.get<RaceRecord>(k);
        const PredictionRecord& rec = recs[static_cast<size_t>(k - 1)];
        EXPECT_EQ(rec.venueCode, race.text(RaceRecord::venueCode)) << k;
        EXPECT_EQ(rec.raceNo, static_cast<int>(race.number(RaceRecord::raceNo))) << k;
        EXPECT_EQ(rec.raceDate, kDay);
        const QString time = race.text(RaceRecord::postTime);
        EXPECT_EQ(rec.startTime, time.left(2) + time.right(2));
        for (int i = 0; i < rec.runnerCount; ++i) {
            const PredictedRunner& r = rec.runners[static_cast<size_t>(i)];
            EXPECT_EQ(r.horseCode, race.text(RaceRecord::runnerField(i + 1, RunnerSlot::horseCode)));
            EXPECT_TRUE(r.index == 0 || r.index >= 35) << r.index;
        }
        anySelection = anySelection || rec.winPicks[0].flag == 1;
    }
    EXPECT_TRUE(anySelection);
}

TEST_F(PredictDayTest, SlotsBeyondTheRunnerCountAreBlank) {
    ASSERT_TRUE(runDay());
    PredictedPastRun blankRun;
    blankRun.venueCode = QStringLiteral("  ");
    blankRun.meeting = blankRun.day = blankRun.track = QStringLiteral(" ");
    blankRun.date = QString(8, u' ');
    blankRun.raceNo = QStringLiteral("  ");
    blankRun.fieldSize = blankRun.finish = blankRun.popularity = QStringLiteral(" 0");
    blankRun.odds = QString(6, u' ');
    int checked = 0;
    for (const PredictionRecord& rec : predictions()) {
        for (int i = rec.runnerCount; i < kPredictionRunners; ++i) {
            const PredictedRunner& r = rec.runners[static_cast<size_t>(i)];
            EXPECT_EQ(r.horseCode, QString(7, u' '));
            EXPECT_EQ(r.index, 0);
            EXPECT_EQ(r.rank, 0);
            EXPECT_EQ(r.courseRecordTotal, 0);
            for (const PredictedPastRun& p : r.pastRuns) EXPECT_EQ(p, blankRun);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(PredictDayTest, RunnerCountIsCappedAtEighteenOnly) {
    // The first race of the day file with its runner count rewritten; the count is written as
    // read (capped at 18), and only that many slots hold runners.
    const struct {
        const char* text;
        int count;
    } cases[] = {{"20", 18}, {"-1", -1}, {" 0", 0}, {"  ", 0}, {"3.", 3}};
    const QByteArray races = day_.races;
    for (const auto& c : cases) {
        day_.races = races;
        RaceRecord first(day_.races);
        const int real = static_cast<int>(first.number(RaceRecord::runnerCount));
        if (c.count == 18 && real < 18) continue;  // the sample's first race decides
        first.setText(RaceRecord::runnerCount, QString::fromLatin1(c.text));
        day_.races.replace(0, RaceRecord::kLength, first.bytes());
        ASSERT_TRUE(runDay()) << c.text;
        const QString venue = first.text(RaceRecord::venueCode);
        const int raceNo = static_cast<int>(first.number(RaceRecord::raceNo));
        int found = 0;
        for (const PredictionRecord& rec : predictions()) {
            if (rec.venueCode != venue || rec.raceNo != raceNo) continue;
            ++found;
            EXPECT_EQ(rec.runnerCount, c.count) << c.text;
            for (int i = 0; i < kPredictionRunners; ++i) {
                EXPECT_EQ(rec.runners[static_cast<size_t>(i)].horseCode.trimmed().isEmpty(), i >= c.count)
                    << c.text << " slot " << i + 1;
            }
            if (c.count < 1) {
                EXPECT_EQ(rec.winPicks, (std::array<PickEntry, 3>{})) << c.text;
            }
        }
        EXPECT_EQ(found, 1) << c.text;
    }
}

TEST_F(PredictDayTest, ReimportWritesTheFileAfresh) {
    // An older, longer prediction file of the day.
    write(predictionPath(), QByteArray(60 * kPredictionRecordLength, 'x'));
    ASSERT_TRUE(runDay());
    EXPECT_EQ(QFileInfo(predictionPath()).size(), dayRaces().count() * kPredictionRecordLength);
}

TEST_F(PredictDayTest, UnknownHorseStopsTheDayAndLeavesTheOldDay) {
    const struct {
        const char* what;
        QByteArray* file;
        int keyOffset;
        const char* message;
    } cases[] = {
        {"entries", &day_.entries, EntryRecord::horseCode.offset, "」の馬が出馬表出走馬ファイルにありません！"},
        {"horses", &day_.horses, HorseRecord::horseCode.offset, "」の馬データが競走馬ファイルにありません！"},
    };
    const QByteArray entries = day_.entries;
    const QByteArray horses = day_.horses;
    for (const auto& c : cases) {
        day_.entries = entries;
        day_.horses = horses;
        write(predictionPath(), QByteArray(kPredictionRecordLength, 'x'));
        home_.prompter().clear();
        // Take the horse of the first race's first runner out of one file.
        const QByteArray code = RaceRecord(day_.races).raw(RaceRecord::runnerField(1, RunnerSlot::horseCode)).toByteArray();
        const int recLen = c.file == &day_.entries ? EntryRecord::kLength : HorseRecord::kLength;
        for (int at = 0; at + recLen <= c.file->size(); at += recLen) {
            if (c.file->mid(at + c.keyOffset, 7) == code) c.file->replace(at + c.keyOffset, 7, "0000000");
        }
        const QString raceDayFile = home_.ctx().paths.DataDir + QStringLiteral("MUR") + kDay + QStringLiteral("_1.DEN");
        const bool hadRaceDayFile = QFile::exists(raceDayFile);
        EXPECT_FALSE(runDay()) << c.what;
        // The day as it was: the old prediction file byte for byte, no new day file.
        QFile old(predictionPath());
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray(kPredictionRecordLength, 'x')) << c.what;
        EXPECT_EQ(QFile::exists(raceDayFile), hadRaceDayFile) << c.what;
        const QString message = outcome_.status.message();
        EXPECT_TRUE(message.startsWith(QStringLiteral("馬コード「") + QString::fromLatin1(code) +
                                       QString::fromUtf8(c.message)))
            << message.toStdString();
    }
}

class RecordingProgress : public ProgressSink {
public:
    void setCaption(const QString& c) override { caption = c; }
    void setLabel(const QString& text, int meeting) override { labels.push_back({text, meeting}); }
    void setPercent(double p) override { percents.push_back(p); }
    QString caption;
    std::vector<std::pair<QString, int>> labels;
    std::vector<double> percents;
};

TEST_F(PredictDayTest, ProgressOfAFiveVenueDay) {
    day_ = sample::makeDay(kDate, 5, sample::DayShape{5, 2});
    RecordingProgress progress;
    home_.ctx().progress = &progress;
    ASSERT_TRUE(runDay());
    home_.ctx().progress = nullptr;
    EXPECT_EQ(progress.caption, QStringLiteral("ゼノゼノＭＵＲ 2026年12月5日 開催分の予想状況"));
    ASSERT_EQ(progress.labels.size(), 5u);
    for (size_t v = 0; v < 5; ++v) {
        EXPECT_EQ(progress.labels[v].second, static_cast<int>(v) + 1) << v;
        EXPECT_TRUE(progress.labels[v].first.endsWith(QStringLiteral("日目を予想中……")));
    }
    ASSERT_FALSE(progress.percents.empty());
    EXPECT_NEAR(progress.percents.back(), 100.0, 0.01);
    EXPECT_EQ(predictions().size(), 10u);
}

// The sample lists its venues in the service's order, the day file in JRA order: the label
// must name the venue whose races are being predicted, not the meeting entry's.
TEST_F(PredictDayTest, ProgressLabelNamesTheVenueBeingPredicted) {
    RecordingProgress progress;
    home_.ctx().progress = &progress;
    ASSERT_TRUE(runDay());
    home_.ctx().progress = nullptr;
    QStringList predicted;
    for (const PredictionRecord& rec : predictions()) {
        const QString name = VenueName(rec.venueCode);
        if (predicted.isEmpty() || predicted.constLast() != name) {
            predicted << name;
        }
    }
    QStringList labelled;
    for (const auto& [text, colour] : progress.labels) {
        labelled << text.section(u'【', 1).section(u'】', 0, 0);
    }
    EXPECT_EQ(labelled, predicted);
    ASSERT_GE(predicted.size(), 2);
    EXPECT_NE(outcome_.day->meetings[0].venueCode, predictions().front().venueCode)
        << "the sample no longer lists its venues out of JRA order";
}

class OddsStyleTest : public PredictDayTest {
protected:
    void SetUp() override {
        PredictDayTest::SetUp();
        home_.ctx().settings.Yosou = 8;
        // The service's odds with every pair set around 30.0, markers among them.
        odds_ = sample::makeOddsFile(day_.races, 77);
        const char* const texts[] = {"    250", "    299", "    300", "      *", "      /", "      -", "       "};
        for (int at = 0; at + OddsRecord::kLength <= odds_.size(); at += OddsRecord::kLength) {
            OddsRecord rec(odds_.mid(at, OddsRecord::kLength));
            for (int i = 1; i <= 17; ++i) {
                for (int j = i + 1; j <= 18; ++j) {
                    rec.setText(OddsRecord::quinellaField(i, j), QString::fromLatin1(texts[(i * 7 + j * 3) % 7]));
                }
            }
            odds_.replace(at, OddsRecord::kLength, rec.bytes());
        }
    }
    void writeOdds() {
        write(home_.ctx().paths.DataDir + QStringLiteral("MURODDS") + kDay + QStringLiteral(".DAT"), odds_);
    }
    QByteArray odds_;
};

TEST_F(OddsStyleTest, PairsAreNeighboursWithPositiveOddsBelowThirty) {
    writeOdds();
    ASSERT_TRUE(runDay());
    const RecordFile oddsFile(odds_, OddsRecord::kLength);
    int pairs = 0;
    for (const PredictionRecord& rec : predictions()) {
        if (rec.runnerCount < 9) continue;
        const OddsRecord* race = nullptr;
        OddsRecord found;
        for (int n = 1; n <= oddsFile.count() && !race; ++n) {
            found = oddsFile.get<OddsRecord>(n);
            if (found.text(OddsRecord::venueCode) == rec.venueCode && found.number(OddsRecord::raceNo) == rec.raceNo)
                race = &found;
        }
        ASSERT_NE(race, nullptr);
        int count = 0;
        for (const PickEntry& p : rec.quinellaPicks) {
            if (p.code == 0) continue;
            ++count;
            const int a = p.code / 100;
            const int b = p.code % 100;
            EXPECT_LT(a, b);
            // Neighbouring ranks.
            EXPECT_EQ(std::abs(rec.runners[static_cast<size_t>(a - 1)].rank - rec.runners[static_cast<size_t>(b - 1)].rank), 1);
            const double tenths = race->number(OddsRecord::quinellaField(a, b));
            EXPECT_GT(tenths, 0.0);
            EXPECT_LT(tenths, 300.0);
        }
        EXPECT_LE(count, 5);
        pairs += count;
    }
    EXPECT_GT(pairs, 0);
}

TEST_F(OddsStyleTest, RaceWithoutAnOddsRecordGetsNoPairs) {
    // Keep only the odds of the first record's race.
    odds_ = odds_.left(OddsRecord::kLength);
    writeOdds();
    ASSERT_TRUE(runDay());
    const OddsRecord kept(odds_);
    for (const PredictionRecord& rec : predictions()) {
        const bool hasOdds = rec.venueCode == kept.text(OddsRecord::venueCode) &&
                             rec.raceNo == static_cast<int>(kept.number(OddsRecord::raceNo));
        if (rec.runnerCount >= 9 && !hasOdds) {
            EXPECT_EQ(rec.quinellaPicks, (std::array<PickEntry, 10>{}));
        }
    }
}

}  // namespace
}  // namespace zm
