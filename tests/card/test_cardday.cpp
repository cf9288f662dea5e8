#include "card/cardday.h"
#include "card/cardtext.h"
#include "card/day_builder.h"
#include "card/predicted_odds.h"
#include "codes/sjis.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::DayBuilder;

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(CardDay, DayListKeepsPredictedDaysWithRaceFileNewestFirst) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    struct File {
        const char* name;
    };
    for (const char* name : {
             "20010915.DAT", "MUR20010915_1.DEN",   // listed
             "20010922.dat", "MUR20010922_1.DEN",   // listed: the extension in any case
             "20011006.DAT", "mur20011006_1.den",   // listed: race file copied in lower case
             "20010916.DAT",                        // no race day file
             "MURODDS20010929.DAT", "MUR20010929_1.DEN",  // predicted odds, not a prediction
             "20010930.TXT", "MUR20010930_1.DEN",   // not ".DAT"
             "2001093.DAT",                         // 11 characters
             "abcdefgh.DAT", "MURabcdefgh_1.DEN",   // not a date
             "20010231.DAT", "MUR20010231_1.DEN",   // not a real date
         }) {
        touch(data + QString::fromLatin1(name));
    }
    EXPECT_EQ(LoadDayList(data), (QStringList{u"20011006"_s, u"20010922"_s, u"20010915"_s}));
    EXPECT_TRUE(LoadDayList(data + u"missing/"_s).isEmpty());
}

TEST(CardDay, MissingDayFilesStopTheLoad) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010915"_s);
    b.add(u"05"_s, 1);
    b.write(data, /*withEntries=*/false);

    DayCard card;
    card.day = u"untouched"_s;
    EXPECT_EQ(LoadDay(data, u"20010915"_s, card), DayLoad::FilesMissing);
    EXPECT_EQ(card.day, u"untouched"_s);
    EXPECT_EQ(LoadDay(data, u"20010916"_s, card), DayLoad::FilesMissing);
}

// Four venues on one day: the first three in the order of the prediction file take the frames.
TEST(CardDay, FramesFollowTheDayOrderAndShowThreeVenues) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010916"_s);
    for (const char* venue : {"08", "06", "05", "01"}) {  // 札幌 福島 中山 阪神
        for (int race : {12, 1, 5}) {
            b.add(QString::fromLatin1(venue), race);
        }
    }
    b.write(data);

    DayCard card;
    ASSERT_EQ(LoadDay(data, u"20010916"_s, card), DayLoad::Ok);
    EXPECT_EQ(card.venueCount, 4);
    EXPECT_EQ(card.frames[0].caption, u"4回【札幌】3日目"_s);
    EXPECT_EQ(card.frames[1].caption, u"4回【福島】3日目"_s);
    EXPECT_EQ(card.frames[2].caption, u"4回【中山】3日目"_s);
    for (const VenueFrame& f : card.frames) {
        EXPECT_TRUE(f.visible());
        for (int row = 1; row <= 12; ++row) {
            const RaceRow& r = f.rows[static_cast<size_t>(row - 1)];
            const bool held = row == 1 || row == 5 || row == 12;
            EXPECT_EQ(r.predictionRecord != 0, held) << row;
            if (held) {
                EXPECT_EQ(ByteLength(r.text), 76);
                EXPECT_TRUE(r.text.contains(RaceNumberText(row) + u"Ｒ"_s)) << r.text.toStdString();
            } else {
                EXPECT_TRUE(r.text.isEmpty());
            }
        }
    }
    // Race 12 of 札幌 was the first prediction record.
    EXPECT_EQ(card.frames[0].rows[11].predictionRecord, 1);
}

TEST(CardDay, OneVenueLeavesTwoFramesHiddenAndSkipsRacesWithoutARaceRecord) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010915"_s);
    b.add(u"04"_s, 1);
    b.add(u"04"_s, 2).withRaceRecord = false;
    b.add(u"04"_s, 13);  // no row for a race number beyond 12
    b.write(data);

    DayCard card;
    ASSERT_EQ(LoadDay(data, u"20010915"_s, card), DayLoad::Ok);
    EXPECT_TRUE(card.frames[0].visible());
    EXPECT_FALSE(card.frames[1].visible());
    EXPECT_FALSE(card.frames[2].visible());
    EXPECT_NE(card.frames[0].rows[0].predictionRecord, 0);
    EXPECT_EQ(card.frames[0].rows[1].predictionRecord, 0);
    EXPECT_TRUE(card.frames[0].rows[1].text.isEmpty());
    EXPECT_FALSE(LoadRace(data, card, 1, 2).has_value());
    EXPECT_FALSE(LoadRace(data, card, 2, 1).has_value());
    EXPECT_FALSE(LoadRace(data, card, 1, 13).has_value());
}

TEST(CardDay, RaceCardRowsInHorseNumberOrderWithEveryColumn) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010915"_s);
    test::RaceInput& added = b.add(u"05"_s, 11, 10);
    added.reversed = true;  // runner list 10, 9, .. 1
    added.edition = u" 51"_s;
    added.name = u"セントライト記念"_s;
    added.grade = u"2"_s;
    added.prize = u"00009"_s;
    b.write(data);

    DayCard day;
    ASSERT_EQ(LoadDay(data, u"20010915"_s, day), DayLoad::Ok);
    const auto race = LoadRace(data, day, 1, 11);
    ASSERT_TRUE(race.has_value());
    EXPECT_TRUE(race->titleLine.startsWith(u"第５１回セントライト記念（Ｇ３）　サ３歳上 オープン"_s))
        << race->titleLine.toStdString();
    EXPECT_EQ(race->courseLine, u"1600m 右回り(内)  10頭  予想ペース：Ｍ"_s);
    EXPECT_EQ(race->conditions, u"（○混・○指）"_s);
    EXPECT_EQ(race->raceLine, day.frames[0].rows[10].text);
    EXPECT_EQ(race->recommendWin, u"推奨馬券    単勝：　１番"_s);
    EXPECT_EQ(race->recommendPairs, u"            馬連：1-2,1-3,1-4"_s);
    EXPECT_EQ(race->recommendations[0], u"1"_s);
    EXPECT_EQ(race->recommendations[3], u"1-4"_s);
    EXPECT_TRUE(race->recommendations[4].isEmpty());

    ASSERT_EQ(race->rows.size(), 10u);
    for (size_t k = 0; k < race->rows.size(); ++k) {
        EXPECT_EQ(race->rows[k].umaban, QString::number(k + 1));
    }
    const CardRow& second = race->rows[1];  // horse 2
    EXPECT_EQ(second.waku, test::wakuOf(2, 10));
    EXPECT_EQ(second.wakuText, QString::number(second.waku));
    EXPECT_EQ(second.horseName, u"B テストホース2"_s);  // marked on the card
    EXPECT_EQ(second.sexAge, u"煽4"_s);
    EXPECT_EQ(second.weight, u"55.0"_s);
    EXPECT_EQ(second.jockey, u"騎手2"_s);
    EXPECT_EQ(second.trainer, u"調教2"_s);
    EXPECT_EQ(second.affiliation, u"西"_s);
    EXPECT_EQ(second.mark, u"○"_s);
    EXPECT_EQ(second.rank, u"2"_s);
    EXPECT_EQ(second.index, u"86"_s);
    EXPECT_EQ(second.pastFigures[0], u"120"_s);
    EXPECT_EQ(second.pastFigures[2], u"122"_s);
    EXPECT_TRUE(second.pastFigures[3].isEmpty());  // the run does not exist
    EXPECT_EQ(second.pastOdds[1], u"2.5"_s);
    EXPECT_TRUE(second.pastOdds[4].isEmpty());
    EXPECT_EQ(second.courseRecords[0], u"2-1-0-2"_s);
    EXPECT_EQ(second.courseRates[0], u"60%"_s);
    EXPECT_EQ(second.courseRecords[1], u"0-0-0-0"_s);
    EXPECT_TRUE(second.courseRates[1].isEmpty());
    EXPECT_EQ(second.courseRates[3], u"0%"_s);
    EXPECT_TRUE(second.winOdds.isEmpty() && second.placeOdds.isEmpty() && second.bodyWeight.isEmpty());
    EXPECT_EQ(race->rows[5].mark, u"　"_s);  // rank 6 has no mark
    EXPECT_EQ(race->rows[0].horseName, u"テストホース1"_s);
}

TEST(CardDay, RaceWithoutBetSelectionShowsNoMarksAndNoPicks) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010915"_s);
    b.add(u"05"_s, 1, 6).picks = false;
    b.add(u"05"_s, 2, 6);  // a small field: its picks are one-digit pairs
    b.write(data);

    DayCard day;
    ASSERT_EQ(LoadDay(data, u"20010915"_s, day), DayLoad::Ok);
    const auto none = LoadRace(data, day, 1, 1);
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->recommendWin, u"推奨馬券    単勝：ありません"_s);
    EXPECT_EQ(none->recommendPairs, u"            馬連：ありません"_s);
    for (const CardRow& r : none->rows) {
        EXPECT_EQ(r.mark, u"　"_s);
        EXPECT_TRUE(r.rank.isEmpty());
    }
    const auto small = LoadRace(data, day, 1, 2);
    ASSERT_TRUE(small.has_value());
    EXPECT_EQ(small->recommendPairs, u"            馬連：1-2"_s);
    EXPECT_EQ(small->recommendations[1], u"1-2"_s);
}

TEST(CardDay, PredictedOddsOfARace) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    PredictedOdds odds;
    EXPECT_EQ(LoadPredictedOdds(data, u"20010915"_s, u"05"_s, 11, 10, odds), PredictedOddsLoad::NoFile);

    OddsRecord other;
    other.setText(OddsRecord::venueCode, u"05");
    other.setText(OddsRecord::raceNo, u"10");
    other.setText(OddsRecord::raceDate, u"20010915");
    OddsRecord rec = other;
    rec.setText(OddsRecord::raceNo, u"11");
    rec.setText(OddsRecord::winOdds, 1, u"00023");
    rec.setText(OddsRecord::winOdds, 3, u"*****");
    rec.setText(OddsRecord::quinellaField(2, 3), u"0000456");
    QFile f(predictedOddsPath(data, u"20010915"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(other.bytes() + rec.bytes());
    f.close();

    ASSERT_EQ(LoadPredictedOdds(data, u"20010915"_s, u"05"_s, 11, 4, odds), PredictedOddsLoad::Ok);
    ASSERT_EQ(odds.win.size(), 4u);
    EXPECT_EQ(odds.win[0].odds, u"2.3"_s);
    EXPECT_EQ(odds.win[2].odds, u"範囲外"_s);
    ASSERT_EQ(odds.quinella.size(), 6u);  // pairs of four horses
    EXPECT_EQ(odds.quinella[3].label, u"2-3"_s);
    EXPECT_EQ(odds.quinella[3].odds, u"45.6"_s);
    EXPECT_EQ(LoadPredictedOdds(data, u"20010915"_s, u"05"_s, 12, 4, odds), PredictedOddsLoad::NoRace);
}

TEST(CardCli, DaysAndCardPrintTheWindowTexts) {
    test::TestHome home;
    const QString data = home.ctx().paths.DataDir;
    DayBuilder b(u"20010915"_s);
    b.add(u"05"_s, 1);
    b.add(u"05"_s, 11, 10);
    b.add(u"00"_s, 3);
    b.write(data);
    DayBuilder(u"20010916"_s).write(data);

    const QStringList base{u"--home"_s, home.home(), u"--config"_s, home.configFile()};
    const auto days = test::runCliProcess(base + QStringList{u"days"_s});
    EXPECT_EQ(days.exitCode, 0) << days.err.toStdString();
    EXPECT_EQ(days.out, u"20010916 2001年09月16日(日)\n20010915 2001年09月15日(土)\n"_s);

    DayCard day;
    ASSERT_EQ(LoadDay(data, u"20010915"_s, day), DayLoad::Ok);
    const auto list = test::runCliProcess(base + QStringList{u"card"_s, u"20010915"_s});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, day.frames[0].caption + u'\n' + day.frames[0].rows[0].text + u'\n' +
                            day.frames[0].rows[10].text + u"\n\n"_s + day.frames[1].caption + u'\n' +
                            day.frames[1].rows[2].text + u'\n');

    const auto one = test::runCliProcess(base + QStringList{u"card"_s, u"20010915"_s, u"中山"_s, u"11"_s});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    const QStringList lines = one.out.split(u'\n');
    const auto race = LoadRace(data, day, 1, 11);
    ASSERT_TRUE(race.has_value());
    ASSERT_GT(lines.size(), 18);
    EXPECT_EQ(lines[0], race->raceLine);
    EXPECT_EQ(lines[1], race->titleLine);
    EXPECT_TRUE(lines[5].startsWith(u"枠 馬"_s)) << lines[5].toStdString();
    EXPECT_TRUE(lines[5].contains(u"５前ODS"_s));
    EXPECT_TRUE(lines[6].contains(u"テストホース1"_s));
    EXPECT_TRUE(one.out.contains(race->recommendWin + u'\n' + race->recommendPairs + u'\n'));

    struct Bad {
        QStringList args;
        int exit;
    };
    const Bad bad[] = {
        {{u"card"_s}, 2},
        {{u"card"_s, u"2001091"_s}, 2},
        {{u"card"_s, u"20010915"_s, u"中山"_s}, 2},
        {{u"card"_s, u"20010915"_s, u"大井"_s, u"1"_s}, 2},
        {{u"card"_s, u"20010915"_s, u"中山"_s, u"13"_s}, 2},
        {{u"card"_s, u"20010915"_s, u"東京"_s, u"1"_s}, 1},
        {{u"card"_s, u"20010915"_s, u"中山"_s, u"2"_s}, 1},
        {{u"card"_s, u"20010917"_s}, 1},
        {{u"days"_s, u"x"_s}, 2},
    };
    for (const Bad& c : bad) {
        const auto r = test::runCliProcess(base + c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const auto missing = test::runCliProcess(base + QStringList{u"card"_s, u"20010917"_s});
    EXPECT_TRUE(missing.err.contains(kDayFilesMissing)) << missing.err.toStdString();
}

// A day made by the sample generator and imported by the command line: four venues, of which
// the card shows three, every shown race with a full card.
TEST(CardCli, ImportedSampleDay) {
    test::TestHome home;
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY),
                 {u"--home"_s, home.home(), u"--days"_s, u"0"_s, u"--venues"_s, u"4"_s, u"--races"_s, u"10"_s});
    ASSERT_TRUE(sample.waitForFinished(120000));
    ASSERT_EQ(sample.exitCode(), 0);
    const QStringList base{u"--home"_s, home.home(), u"--config"_s, home.configFile(), u"--yes"_s};
    const auto imported = test::runCliProcess(base + QStringList{u"import"_s, home.home() + u"/MurData/H261205.LZH"_s});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    const auto days = test::runCliProcess(base + QStringList{u"days"_s});
    EXPECT_EQ(days.out, u"20261205 2026年12月05日(土)\n"_s);

    const QString data = home.ctx().paths.DataDir;
    DayCard day;
    ASSERT_EQ(LoadDay(data, u"20261205"_s, day), DayLoad::Ok);
    EXPECT_EQ(day.venueCount, 4);
    for (int frame = 1; frame <= 3; ++frame) {
        const VenueFrame& f = day.frames[static_cast<size_t>(frame - 1)];
        ASSERT_TRUE(f.visible());
        for (int row = 1; row <= 10; ++row) {
            EXPECT_EQ(ByteLength(f.rows[static_cast<size_t>(row - 1)].text), 76) << frame << " " << row;
            const auto race = LoadRace(data, day, frame, row);
            ASSERT_TRUE(race.has_value()) << frame << " " << row;
            EXPECT_EQ(static_cast<int>(race->rows.size()), race->runnerCount);
            for (const CardRow& r : race->rows) {
                EXPECT_FALSE(r.horseName.isEmpty());
                EXPECT_FALSE(r.jockey.isEmpty());
                EXPECT_TRUE(r.affiliation == u"東" || r.affiliation == u"西" || r.affiliation == u"地");
                EXPECT_GE(r.waku, 1);
                EXPECT_LE(r.waku, 8);
            }
        }
        EXPECT_TRUE(f.rows[10].text.isEmpty());
    }
    const auto card = test::runCliProcess(base + QStringList{u"card"_s, u"20261205"_s});
    EXPECT_EQ(card.exitCode, 0);
    EXPECT_EQ(card.out.count(u'\n'), 3 * 11 + 2);
}

}  // namespace
}  // namespace zm
