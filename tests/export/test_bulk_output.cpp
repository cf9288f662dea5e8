#include "export/bulk_output.h"

#include "../bets/bet_files.h"
#include "pat/pat_files.h"
#include "support/pat_builders.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::betBytes;
using test::readBytes;
using test::readLines;
using test::writeBytes;
using T = ContestBetType;

const QString kDay = QStringLiteral("20261205");

// A service contest text of the day: 中山 1R and 東京 11R.
QByteArray murText(const QString& code = QStringLiteral("A917"), const QString& day = kDay) {
    return toSjis(QStringLiteral("【MURコンテスト版】ゼノゼノＭＵＲの予想\r\n\r\n■ 中山  1Ｒ ") + day + " [" + code +
                  QStringLiteral("] 発走10:00 18頭立\r\n単勝     14     100円\r\n馬連  10-14     100円\r\n"
                                 "馬連  04-14     100円\r\n\r\n■ 東京 11Ｒ ") +
                  day + " [" + code +
                  QStringLiteral("] 発走15:25 12頭立\r\n単勝      3     100円\r\n枠連    2-1     100円\r\n"
                                 "ワイド  3-12     100円\r\n複勝      3     100円\r\n\r\n"));
}

class BulkOutput : public ::testing::Test {
protected:
    BulkOutput() {
        source = home.ctx().paths.OutPutDefault + "MUR" + kDay + ".TXT";
        writeBytes(source, murText());
        form = OpenBulkOutForm(home.ctx().store, home.ctx().settings, kDay);
        form.Path = source;
        form.murFormat = true;
    }
    QString path() { return PendingBetPath(home.ctx().paths, kDay); }
    // A run as the front ends show it: the outcome (nothing after a failure) and the lines written.
    struct Ran {
        std::optional<BulkOutcome> outcome;
        int written = 0;
    };
    Ran run(const BulkOddsLookup& lookup = {}) {
        const auto r = RunBulkOutput(home.ctx(), kDay, form, lookup);
        const auto outcome = test::shown(home.prompter(), r);
        return {outcome, r.ok() ? r->written : 0};
    }

    test::TestHome home;
    QString source;
    BulkOutForm form;
};

TEST(BulkOutForm, OpensFromTheStoreWithItsLoadRules) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, QString>> stored;
        QString path, murCode, duelCode, tmin, tmax, rmin, rmax;
        bool mur;
        BulkTypes types;
    };
    const QString w = "W" + kDay + ".TXT";
    const Case cases[] = {
        {"nothing stored", {}, w, "A917", "0863", "1", "999", "1", "9999", false, BulkTypes::WinAndPairs},
        {"every key",
         {{"Path", "/x/MUR.TXT"},
          {"Sikibetu", "MUR"},
          {"SoftCode_MUR", "b123"},
          {"SoftCode_DUEL", "0001"},
          {"Syubetu", "3"},
          {"TminOdds", "2"},
          {"TmaxOdds", "1000"},
          {"RminOdds", "9999"},
          {"RmaxOdds", "10000"}},
         "/x/MUR.TXT",
         "b123",
         "0001",
         "2",
         "1000",
         "9999",
         "10000",
         true,
         BulkTypes::PlaceFromWin},
        {"bounds out of range",
         {{"Sikibetu", "mur"}, {"Syubetu", "4"}, {"TminOdds", "1000"}, {"TmaxOdds", "1001"}, {"RminOdds", "0"},
          {"RmaxOdds", "10001"}},
         w, "A917", "0863", "1", "999", "1", "9999", false, BulkTypes::WinAndPairs},
        {"upper not above lower",
         {{"TminOdds", "50"}, {"TmaxOdds", "50"}, {"RminOdds", "300"}, {"RmaxOdds", "200"}, {"Syubetu", "-1"}},
         w, "A917", "0863", "50", "999", "300", "9999", false, BulkTypes::WinAndPairs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TestHome home;
        for (const auto& [k, v] : c.stored)
            EXPECT_TRUE(home.ctx().store.SaveAppSetting("DavazOrev", k, v).ok());
        const BulkOutForm f = OpenBulkOutForm(home.ctx().store, home.ctx().settings, kDay);
        EXPECT_EQ(f.Path, c.path == w ? home.ctx().settings.OutPutDir + w : c.path);
        EXPECT_EQ(f.murFormat, c.mur);
        EXPECT_EQ(f.SoftCode_MUR, c.murCode);
        EXPECT_EQ(f.SoftCode_DUEL, c.duelCode);
        EXPECT_EQ(f.Syubetu, c.types);
        EXPECT_EQ(QStringList({f.TminOdds, f.TmaxOdds, f.RminOdds, f.RmaxOdds}),
                  QStringList({c.tmin, c.tmax, c.rmin, c.rmax}));
        EXPECT_FALSE(f.OddsIN);
        EXPECT_FALSE(f.OddsReng);
    }
}

TEST(BulkOutForm, CloseStoresTheSectionAndTheFiveStakes) {
    test::TestHome home;
    BulkOutForm f = OpenBulkOutForm(home.ctx().store, home.ctx().settings, kDay);
    EXPECT_EQ(f.stakes, (std::array<QString, 5>{"100", "100", "100", "100", "100"}));
    f.Path = "/p/W.TXT";
    f.murFormat = true;
    f.Syubetu = BulkTypes::PairsOnly;
    f.OddsIN = true;
    f.OddsReng = true;
    f.TminOdds = "3";
    f.RmaxOdds = "500";
    f.stakes = {"250", "0", "300", "1000", "199"};
    EXPECT_TRUE(SaveBulkOutForm(home.ctx(), f).ok());
    EXPECT_EQ(home.ctx().store.read("PAT", "BetWide"), "100");
    EXPECT_EQ(home.ctx().store.read("PAT", "BetTan"), "200");
    EXPECT_EQ(home.ctx().settings.BetUma, "1000");
    home.reload();
    const BulkOutForm g = OpenBulkOutForm(home.ctx().store, home.ctx().settings, kDay);
    EXPECT_EQ(g.Path, f.Path);
    EXPECT_TRUE(g.murFormat && g.OddsIN && g.OddsReng);
    EXPECT_EQ(g.Syubetu, BulkTypes::PairsOnly);
    EXPECT_EQ(g.TminOdds, "3");
    EXPECT_EQ(g.RmaxOdds, "500");
    EXPECT_EQ(g.stakes, (std::array<QString, 5>{"200", "100", "300", "1000", "100"}));
}

TEST(BulkOutForm, WindowAcceptsTypedBoundsInTheirRanges) {
    const struct {
        QString tmin, tmax, rmin, rmax;
        OddsWindow expected;
    } cases[] = {
        {"2", "50", "10", "9999", {2, 50, 10, 9999}},
        {"0", "1000", "0", "10000", {1, 999, 1, 9999}},
        {"50", "50", "300", "200", {1, 50, 1, 200}},
        {"abc", "12", "", "", {1, 12, 1, 9999}},
    };
    for (const auto& c : cases) {
        BulkOutForm f;
        f.TminOdds = c.tmin;
        f.TmaxOdds = c.tmax;
        f.RminOdds = c.rmin;
        f.RmaxOdds = c.rmax;
        const OddsWindow w = oddsWindowOf(f);
        EXPECT_EQ(std::tie(w.winMin, w.winMax, w.pairMin, w.pairMax),
                  std::tie(c.expected.winMin, c.expected.winMax, c.expected.pairMin, c.expected.pairMax))
            << c.tmin.toStdString() << " " << c.tmax.toStdString();
    }
}

TEST(BulkBets, TypeFilterWideSwitchAndStakes) {
    const std::vector<ContestBet> read = {
        {"中山", 1, T::Win, 14, 0, 0},   {"中山", 1, T::Place, 3, 0, 0},   {"中山", 1, T::Bracket, 2, 1, 0},
        {"中山", 1, T::Quinella, 14, 4, 0}, {"東京", 11, T::Wide, 3, 12, 0},
    };
    const struct {
        BulkTypes types;
        bool wide;
        QStringList lines;
    } cases[] = {
        {BulkTypes::WinAndPairs,
         false,
         {"中山, 1R,単勝  ,   14,      ,  200円", "中山, 1R,複勝  ,    3,      ,  100円",
          "中山, 1R,枠連  ,  1-2,      ,  300円", "中山, 1R,馬連  ,04-14,      , 1000円",
          "東京,11R,ワイド,03-12,      ,  100円"}},
        {BulkTypes::PairsOnly,
         true,
         {"中山, 1R,枠連  ,  1-2,      ,  300円", "中山, 1R,ワイド,04-14,      ,  100円",
          "東京,11R,ワイド,03-12,      ,  100円"}},
        {BulkTypes::WinOnly, false, {"中山, 1R,単勝  ,   14,      ,  200円"}},
        {BulkTypes::PlaceFromWin, false, {"中山, 1R,複勝  ,   14,      ,  100円", "中山, 1R,複勝  ,    3,      ,  100円"}},
    };
    for (const auto& c : cases) {
        BulkOutForm f;
        f.Syubetu = c.types;
        f.quinellaToWide = c.wide;
        f.stakes = {"250", "0", "399", "1000.5", "abc"};
        EXPECT_EQ(fromSjis(PendingBetBytes(bulkBets(read, f)).value()).split("\r\n", Qt::SkipEmptyParts), c.lines)
            << static_cast<int>(c.types);
    }
}

TEST_F(BulkOutput, WritesAsksOverwriteAppendOrCancelAndCounts) {
    const QStringList fresh = {"中山, 1R,単勝  ,   14,      ,  100円", "中山, 1R,馬連  ,10-14,      ,  100円",
                               "中山, 1R,馬連  ,04-14,      ,  100円", "東京,11R,単勝  ,    3,      ,  100円",
                               "東京,11R,枠連  ,  1-2,      ,  100円", "東京,11R,ワイド,03-12,      ,  100円",
                               "東京,11R,複勝  ,    3,      ,  100円"};
    const QString question =
        "保留ＢＥＴファイルがありますが上書きしますか？\r\n\r\nはい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止\r\n\r\n";
    EXPECT_EQ(run().written, 7);
    EXPECT_EQ(readLines(path()), fresh);
    EXPECT_EQ(home.prompter().texts(), QStringList{"保留ＢＥＴファイルに、７ベット出力しました。"});
    EXPECT_EQ(home.prompter().log()[0].title, kBulkTitle);

    const QString old = "東京, 1R,単勝,    5,      ,  100円";  // written without its last line end
    const struct {
        Answer answer;
        BulkOutcome outcome;
        QStringList lines;
    } cases[] = {
        {Answer::Yes, BulkOutcome::Written, fresh},
        {Answer::No, BulkOutcome::Written, QStringList{old} + fresh},
        {Answer::Cancel, BulkOutcome::Cancelled, {old}},
    };
    for (const auto& c : cases) {
        writeBytes(path(), toSjis(old));
        home.prompter().clear();
        home.prompter().answer(c.answer);
        EXPECT_EQ(run().outcome, c.outcome);
        EXPECT_EQ(readLines(path()), c.lines);
        ASSERT_FALSE(home.prompter().log().empty());
        EXPECT_EQ(home.prompter().log()[0].text, question);
        EXPECT_EQ(home.prompter().log()[0].title, kBulkTitle);
        EXPECT_EQ(home.prompter().log().size(), c.answer == Answer::Cancel ? 1u : 2u);
    }
    EXPECT_EQ(QDir(home.ctx().paths.DataDir).entryList(QDir::Files | QDir::Hidden), QStringList{"~B20261205.TXT"});
}

TEST_F(BulkOutput, NothingReadGivesItsMessageAndNoFile) {
    const struct {
        const char* name;
        QByteArray text;
        bool duel;
        QString message;
    } cases[] = {
        {"another code", murText("B000"), false, bulkNothingFoundMessage()},
        {"another day", murText("A917", "20261206"), false, bulkNothingFoundMessage()},
        {"read as DUEL", murText(), true, bulkNothingFoundMessage()},
        {"guard", toSjis(QString("x\r\n").repeated(kContestLineGuard)), false, contestLineGuardMessage()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(source, c.text);
        form.murFormat = !c.duel;
        home.prompter().clear();
        run();
        EXPECT_EQ(home.prompter().texts(), QStringList{c.message});
        EXPECT_FALSE(QFile::exists(path()));
    }
    form.Path = source + ".gone";
    home.prompter().clear();
    EXPECT_EQ(run().outcome, std::nullopt);
    EXPECT_EQ(home.prompter().texts(), QStringList{kBulkFileMissing});
}

TEST_F(BulkOutput, OddsColumnAndWindow) {
    // 14 at 2.0, 3 scratched, pairs at 150.0, 1-2 without odds.
    const BulkOddsLookup odds = [](const PendingBet& b) -> Result<QString> {
        if (b.Combination == "    3")
            return QString("  ﾄﾘｹｼ");
        if (b.Combination == "  1-2")
            return QString("      ");
        return QString(b.BetType.startsWith(u'単') ? "   2.0" : " 150.0");
    };
    const struct {
        bool in, range;
        QString tmin, tmax, rmin, rmax;
        QStringList oddsColumn;
    } cases[] = {
        {true, false, "1", "999", "1", "9999", {"   2.0", " 150.0", " 150.0", "  ﾄﾘｹｼ", "      ", " 150.0", "  ﾄﾘｹｼ"}},
        {true, true, "1", "999", "1", "9999", {"   2.0", " 150.0", " 150.0", " 150.0"}},
        {false, true, "3", "999", "1", "150", {"      ", "      ", "      "}},
        {true, true, "1", "999", "151", "9999", {"   2.0"}},
    };
    for (const auto& c : cases) {
        form.OddsIN = c.in;
        form.OddsReng = c.range;
        form.TminOdds = c.tmin;
        form.TmaxOdds = c.tmax;
        form.RminOdds = c.rmin;
        form.RmaxOdds = c.rmax;
        QFile::remove(path());
        home.prompter().clear();
        run(odds);
        QStringList column;
        for (const QString& l : readLines(path()))
            column << l.split(',')[4];
        EXPECT_EQ(column, c.oddsColumn);
    }
    form.RminOdds = "9000";
    form.TminOdds = "900";
    QFile::remove(path());
    home.prompter().clear();
    EXPECT_EQ(run(odds).outcome, BulkOutcome::NothingFound);
    EXPECT_EQ(home.prompter().texts(), QStringList{bulkNothingFoundMessage()});
}

TEST_F(BulkOutput, OddsFromPatFiles) {
    const QString patDir = home.home() + "/PAT/";
    QDir().mkpath(patDir);
    home.ctx().settings.PatDir = patDir;
    home.ctx().settings.Ver = "31";
    test::PatRace race;
    race.runners = 18;
    race.scratched = {10};
    // 中山 (05) 1R.
    writeBytes(patDir + "ZO-" + zm::PatFileCode31(u"05", u" 1") + ".JRA", test::zoRecord<zm::Zo31Record>(race));
    writeBytes(patDir + "UO-" + zm::PatFileCode31(u"05", u" 1") + ".JRA", test::uoRecord<zm::Uo31Record>(race));
    form.OddsIN = true;
    run();
    EXPECT_EQ(readLines(path()).mid(0, 3), (QStringList{"中山, 1R,単勝  ,   14,  14.5,  100円",
                                                         "中山, 1R,馬連  ,10-14,  ﾄﾘｹｼ,  100円",
                                                         "中山, 1R,馬連  ,04-14, 414.0,  100円"}));
    // PAT95 needs the meeting day from the day's race file, which this home lacks.
    home.ctx().settings.Ver = "95";
    QFile::remove(path());
    home.prompter().clear();
    EXPECT_EQ(run().outcome, std::nullopt);
    EXPECT_EQ(home.prompter().texts(), QStringList{"開催日次を取得できません！　オッズ取得を中止します。"});
    EXPECT_FALSE(QFile::exists(path()));
}

// A stake above the largest is refused, not written as another amount; the largest is taken.
TEST_F(BulkOutput, StakesAboveTheLargestAreRefused) {
    form.stakes[0] = "100000000";
    EXPECT_EQ(run().outcome, std::nullopt);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(home.prompter().texts().back().contains("100000000"));
    form.stakes[0] = "99999900";
    EXPECT_EQ(run().written, 7);
    EXPECT_EQ(readLines(path()).front(), "中山, 1R,単勝  ,   14,      ,99999900円");
}

TEST_F(BulkOutput, AFileBeyondTheTableSizeIsRefused) {
    QStringList many;
    for (int k = 0; k < kPendingBetTableSize - 3; ++k)
        many << "中山, 1R,単勝  ,    1,      ,   100円";
    writeBytes(path(), betBytes(many));
    const QByteArray before = readBytes(path());
    home.prompter().answer(Answer::No);
    EXPECT_EQ(run().outcome, std::nullopt);
    EXPECT_EQ(readBytes(path()), before);
    EXPECT_EQ(home.prompter().log().back().text, tooManyBetsMessage(kPendingBetTableSize + 4, kPendingBetTableSize));
    home.prompter().clear();
    home.prompter().answer(Answer::Yes);
    EXPECT_EQ(run().written, 7);
}

}  // namespace
}  // namespace zm
