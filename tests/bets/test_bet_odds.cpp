#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "bets/bet_files.h"
#include "import/day_import.h"
#include "import/records.h"
#include "support/pat_builders.h"
#include "support/test_home.h"

#include <QDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::betBytes;
using test::readBytes;
using test::readLines;
using test::writeBytes;

const QString kDay = QStringLiteral("20310309");

class BetOdds : public ::testing::Test {
protected:
    BetOdds() {
        patDir = home.home() + "/PAT";  // no trailing "/": the folder setting takes both forms
        QDir().mkpath(patDir);
        home.ctx().settings.PatDir = patDir;
        // 東京 (04) on its 3rd day, 中山 (05) on its 8th; a 東京 race of another day first.
        QByteArray races;
        for (const auto& [venue, date, nichi] : {std::tuple{"04", "20310308", "02"}, std::tuple{"04", "20310309", "03"},
                                                 std::tuple{"05", "20310309", "08"}}) {
            RaceRecord r;
            r.setText(RaceRecord::venueCode, QString(venue));
            r.setText(RaceKeyFields::raceDate, QString(date));
            r.setText(RaceRecord::nichi, QString(nichi));
            races += r.bytes();
        }
        writeBytes(home.ctx().paths.DataDir + dayRaceFileName(kDay), races);
    }
    void pat(const QString& name, const QByteArray& bytes) { writeBytes(patDir + "/" + name, bytes); }
    QString path() { return PendingBetPath(home.ctx().paths, kDay); }

    test::TestHome home;
    QString patDir;
    const QStringList bets = {"東京,11R,単勝,5,,100円", "東京,11R,馬連,05-12,,100円", "東京,11R,拡,05-12,,100円",
                              "東京,11R,枠連,1-8,,100円", "東京,11R,単勝,7,  9.9,100円", "中山,1R,複勝,2,  3.3,100円",
                              "東京,11R,馬連,03-04,  8.8,100円"};
};

TEST_F(BetOdds, EachGenerationFillsWhatItsFilesHold) {
    test::PatRace race;
    race.runners = 12;
    race.scratched = {7};
    race.missingPairsOf = {3};
    pat("ZO-53B.JRA", test::zoRecord<zm::Zo95Record>(race));
    pat("ZO-51B.JRA", test::zoRecord<zm::Zo31Record>(race));
    pat("UO-51B.JRA", test::uoRecord<zm::Uo31Record>(race));
    pat("UO-52B.JRA", test::uoRecord<zm::Uo31Record>(test::PatRace{}));  // never read by the import
    const struct {
        const char* ver;
        QStringList odds;  // the odds field of each line after the import
    } cases[] = {
        {"98", {"   5.5", " 512.0", "  17.0", "  18.0", "  ﾄﾘｹｼ", "   3.3", "   8.8"}},
        {"95", {"   5.5", " 512.0", "      ", "  18.0", "  ﾄﾘｹｼ", "   3.3", "   8.8"}},
        {"31", {"   5.5", " 512.0", "      ", "  18.0", "  ﾄﾘｹｼ", "   3.3", "   8.8"}},
        {"FHDUEL", {"      ", "      ", "      ", "      ", "   9.9", "   3.3", "   8.8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ver);
        writeBytes(path(), betBytes(bets));
        home.ctx().settings.Ver = c.ver;
        pat("UO-53B.JRA", QString(c.ver) == "95" ? test::uoRecord<zm::Uo95Record>(race)
                                                 : test::uoRecord<zm::Uo98Record>(race));
        EXPECT_EQ(test::shown(home.prompter(), ImportBetOdds(home.ctx(), kDay)), BetOutcome::Done);
        QStringList odds;
        for (const QString& l : readLines(path()))
            odds << l.split(',')[4];
        EXPECT_EQ(odds, c.odds);
        EXPECT_EQ(readLines(path())[2], QString("東京,11R,ワイド,05-12,") + c.odds[2] + ",   100円");
    }
    EXPECT_TRUE(home.prompter().texts().isEmpty());
}

TEST_F(BetOdds, AMeetingDayThatCannotBeFoundStopsTheWholeImport) {
    const struct {
        const char* ver;
        QString line;
        bool removeRaceFile;
    } cases[] = {
        {"98", "福島,1R,単勝,5,,100円", false},  // not racing that day
        {"98", "大井,1R,単勝,5,,100円", false},  // not a venue of the ten
        {"95", "東京,11R,単勝,5,,100円", true},
    };
    for (const auto& c : cases) {
        if (c.removeRaceFile)
            QFile::remove(home.ctx().paths.DataDir + dayRaceFileName(kDay));
        writeBytes(path(), betBytes({"中山,1R,単勝,5,,100円", c.line}));
        const QByteArray before = readBytes(path());
        home.ctx().settings.Ver = c.ver;
        home.prompter().clear();
        EXPECT_EQ(test::shown(home.prompter(), ImportBetOdds(home.ctx(), kDay)), std::nullopt);
        EXPECT_EQ(home.prompter().texts(), QStringList{"開催日次を取得できません！　オッズ取得を中止します。"});
        EXPECT_EQ(readBytes(path()), before);
    }
}

TEST_F(BetOdds, WithoutPatSettingsTheFileIsNotTouched) {
    const struct {
        const char* ver;
        bool folder;
    } cases[] = {{"", true}, {"97", true}, {"98", false}};
    for (const auto& c : cases) {
        writeBytes(path(), betBytes(bets));
        const QByteArray before = readBytes(path());
        home.ctx().settings.Ver = c.ver;
        home.ctx().settings.PatDir = c.folder ? patDir : patDir + "/missing/";
        home.prompter().clear();
        EXPECT_EQ(test::shown(home.prompter(), ImportBetOdds(home.ctx(), kDay)), std::nullopt) << c.ver;
        EXPECT_TRUE(home.prompter().texts().front().contains("PAT")) << c.ver;
        EXPECT_EQ(readBytes(path()), before);
    }
}

// Every file of the corpus as a pending-bet file: what the reader takes keeps its widths and
// writes back; what it refuses it says why.
TEST(BetLineCorpus, Replay) {
    const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/bet-line-corpus");
    const QStringList files = QDir(dir).entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile f(dir + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        for (NormalizeRules rules : {NormalizeRules{}, NormalizeRules{true, false}, NormalizeRules{false, true}}) {
            const auto file = ParsePendingBets(name, bytes, rules);
            if (!file.ok()) {
                EXPECT_TRUE(file.message().contains(name)) << file.message().toStdString();
                continue;
            }
            for (const PendingBet& b : file->bets) {
                EXPECT_EQ(b.Venue.size(), 2);
                EXPECT_EQ(b.Race.size(), 3);
                EXPECT_EQ(b.Combination.size(), 5);
                EXPECT_EQ(b.Odds.size(), 6);
                EXPECT_GE(b.Amount.size(), 7);
                EXPECT_FALSE(PurchaseLine(b).isEmpty());
            }
            EXPECT_TRUE(PendingBetBytes(file->bets).ok());
        }
    }
}

}  // namespace
}  // namespace zm
