#include "card/detail_file.h"

#include "card/day_builder.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/race_model.h"
#include "pat/odds_read.h"
#include "pat/odds_view.h"
#include "pat/pat_format.h"
#include "support/pat_builders.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

const QString kDay = QStringLiteral("20261205");

QStringList fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
    QStringList lines = fromSjis(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

// Horse 1 and 3 have odds; horse 3 is scratched in the place pool.
RaceOddsTexts someOdds(const PredictionRecord&, const RaceRecord&) {
    RaceOddsTexts o;
    o.win[0] = "  1.5";
    o.place[0] = " 1.1- 1.3";
    o.win[2] = " 12.0";
    o.place[2] = "ﾄﾘｹｼ";
    return o;
}

class DetailFile : public ::testing::Test {
protected:
    QString path() { return detailFilePath(home.ctx().settings, kDay); }
    test::TestHome home;
};

TEST_F(DetailFile, RaceBlocksWithRunnerLinesAndOdds) {
    test::DayBuilder day(kDay);
    day.add("05", 1, 12);
    day.add("05", 2, 12).picks = false;           // no picks: not written
    day.add("05", 3, 9).withRaceRecord = false;  // the race day file lacks it: left out
    day.add("04", 11, 6);
    day.write(home.ctx().paths.DataDir);
    ASSERT_TRUE(WriteDetailFile(home.ctx(), kDay, someOdds));
    EXPECT_TRUE(home.prompter().log().empty());
    const QStringList lines = fileLines(path());
    ASSERT_EQ(lines.size(), 2 * (7 + 1) + 12 + 6);
    const QString eq(76, u'='), dash(76, u'-');
    for (const QString& l : {lines[0], lines[19], lines[20], lines[lines.size() - 1]})
        EXPECT_EQ(l, eq);
    EXPECT_EQ(lines[2], dash);
    EXPECT_EQ(lines[16], dash);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("【中山】　１Ｒ  "))) << lines[1].toStdString();
    EXPECT_EQ(ByteLength(lines[1]), 76);
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("テスト特別"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[17].startsWith(QStringLiteral("推奨馬券    単勝："))) << lines[17].toStdString();
    EXPECT_TRUE(lines[18].startsWith(QStringLiteral("            馬連："))) << lines[18].toStdString();
    EXPECT_EQ(lines[4], QStringLiteral("◎[1]  1  テストホース1        牝54kg  騎手1  調教1    88 [  1.5]( 1.1- 1.3)"));
    EXPECT_EQ(lines[5], QStringLiteral("○[1]  2 Bテストホース2        ") + SexName(u"2") +
                            QStringLiteral("55kg  騎手2  調教2    86 [     ](         )"));
    EXPECT_EQ(lines[6], QStringLiteral("▲[2]  3  テストホース3        牡55kg  騎手3  調教3    84 [ 12.0](ﾄﾘｹｼ)"));
    EXPECT_EQ(lines[9], QStringLiteral("  [4]  6  テストホース6        牡57kg  騎手6  調教6    78 [     ](         )"));
    EXPECT_TRUE(lines[21].startsWith(QStringLiteral("【東京】１１Ｒ  "))) << lines[21].toStdString();
}

TEST_F(DetailFile, MissingFilesAndUnknownRunners) {
    // Without the prediction or the race day file nothing is written.
    EXPECT_EQ(WriteDetailFile(home.ctx(), kDay, someOdds).message(), kDetailNoPrediction);
    EXPECT_FALSE(QFile::exists(path()));

    // Without the entries day file: one message and nothing written.
    test::DayBuilder day(kDay);
    day.add("05", 1, 10);
    day.add("05", 2, 10);
    day.write(home.ctx().paths.DataDir, false);
    home.prompter().clear();
    EXPECT_EQ(WriteDetailFile(home.ctx(), kDay, someOdds).message(), kDetailNoEntries);
    EXPECT_FALSE(QFile::exists(path()));

    // A runner whose horse the entries file lacks is left out, not printed from another record.
    test::RaceInput race;
    race.raceNo = 3;
    race.runners = 10;
    const PredictionRecord p = day.prediction(race);
    QByteArray entries;
    for (int i = 1; i <= 10; ++i)
        if (i != 4)
            entries += day.entryRecord(race, i).bytes();
    const QStringList runners = DetailRunnerLines(p, RecordFile(entries, EntryRecord::kLength), someOdds(p, {}));
    ASSERT_EQ(runners.size(), 9);
    for (const QString& l : runners)
        EXPECT_FALSE(l.contains(QStringLiteral("テストホース4"))) << l.toStdString();
    EXPECT_TRUE(runners[3].contains(QStringLiteral("テストホース5")));
}

TEST_F(DetailFile, PredictedOddsWhenPatIsNotInUse) {
    test::DayBuilder day(kDay);
    day.add("05", 1, 12);
    day.write(home.ctx().paths.DataDir);
    OddsRecord r;
    r.setText(OddsRecord::venueCode, QStringLiteral("05"));
    r.setText(OddsRecord::raceNo, QStringLiteral(" 1"));
    r.setText(OddsRecord::raceDate, kDay);
    const QString fields[] = {"00015", "  -  ", "  *  ", "01234", "     "};
    for (int h = 1; h <= 5; ++h)
        r.setText(OddsRecord::winOdds.element(h), fields[h - 1]);
    QFile f(home.ctx().paths.DataDir + "MURODDS" + kDay + ".DAT");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(r.bytes());
    f.close();
    ASSERT_TRUE(WriteDetailFile(home.ctx(), kDay));
    const QStringList lines = fileLines(path());
    const QString expected[] = {"[  1.5](         )", "[ ﾄﾘｹｼ](         )", "[999.9](         )", "[123.4](         )",
                                "[     ](         )"};
    for (int h = 1; h <= 5; ++h)
        EXPECT_TRUE(lines[3 + h].endsWith(expected[h - 1])) << lines[3 + h].toStdString();
}

TEST_F(DetailFile, PatsOddsOfEachRaceWhenPatIsInUse) {
    test::DayBuilder day(kDay);
    day.add("05", 1, 12);
    day.write(home.ctx().paths.DataDir);
    const QString patDir = home.home() + QStringLiteral("/PAT/");
    ASSERT_TRUE(QDir().mkpath(patDir));
    home.ctx().settings.PatOpt = true;
    home.ctx().settings.Ver = QStringLiteral("98");
    home.ctx().settings.PatDir = patDir;
    const zm::PatRaceRef ref{QStringLiteral("05"), QStringLiteral("1"), FindNichi(home.ctx(), kDay, QStringLiteral("05")),
                              kDay};
    test::PatRace odds;
    odds.runners = 12;
    odds.scratched = {3};
    QFile zo(patDir + QStringLiteral("ZO-") + zm::PatFileCode(ref.venueCode, ref.raceNo, ref.dayNo) +
             QStringLiteral(".JRA"));
    ASSERT_TRUE(zo.open(QIODevice::WriteOnly));
    zo.write(test::zoRecord<zm::Zo95Record>(odds));
    zo.close();
    const zm::WinPlaceOdds live = zm::ReadWinPlaceOdds(patDir, zm::patFormat(zm::PatVer::V98), ref);
    ASSERT_TRUE(live.found);
    ASSERT_TRUE(WriteDetailFile(home.ctx(), kDay));
    const QStringList lines = fileLines(path());
    for (int h : {1, 2, 3}) {
        const QString expected = QStringLiteral("[") + live.win[size_t(h - 1)] + QStringLiteral("](") + live.place[size_t(h - 1)] + QStringLiteral(")");
        EXPECT_TRUE(lines[3 + h].endsWith(expected)) << lines[3 + h].toStdString();
    }
    EXPECT_TRUE(lines[4].contains(QStringLiteral("[  1.5]"))) << lines[4].toStdString();
}

}  // namespace
}  // namespace zm
