#include "bets/bet_output.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "bets/bet_files.h"
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

const QString kDay = QStringLiteral("20310309");

// The purchase files as the front ends run them: the report, then the offer to delete the bets.
Result<BetDone> purchase(AppContext& ctx, const QString& day) {
    const auto report = CutPurchaseFiles(ctx, day);
    if (!report)
        return report.status();
    showNotice(ctx.prompter, *report);
    if (const Status removed = OfferPendingBetRemoval(ctx, day); !removed)
        return removed;
    return BetDone{};
}

class PendingBets : public ::testing::Test {
protected:
    QString path() { return PendingBetPath(home.ctx().paths, kDay); }
    void write(const QStringList& lines) { writeBytes(path(), betBytes(lines)); }
    QStringList lines() { return readLines(path()); }

    test::TestHome home;
};

TEST(PendingBetLine, FieldValueSkipsOnlyHalfWidthBlanks) {
    EXPECT_EQ(FieldValue(u"  100円"), 100);
    EXPECT_EQ(FieldValue(u"  ﾄﾘｹｼ"), 0);
    EXPECT_EQ(FieldValue(u"　100"), 0);
    EXPECT_EQ(FieldValue(u" 12.3"), 12.3);
}

TEST(PendingBetLine, NormalizesEachWriterToTheSameWidths) {
    const struct {
        QString in;
        NormalizeRules rules;
        QString line;  // as every rewrite writes it
    } cases[] = {
        {"東京,11R,馬連,05-12,,500円", {}, "東京,11R,馬連  ,05-12,      ,   500円"},
        {"東京,1R,単勝  ,5,12.3,100円", {}, "東京, 1R,単勝  ,    5,  12.3,   100円"},
        {"中山,2R,拡連,03-04,ﾄﾘｹｼ,100円", {}, "中山, 2R,ワイド,03-04,  ﾄﾘｹｼ,   100円"},
        {"中山,2R,拡連,03-04,,100円", {true, false}, "中山, 2R,拡連  ,03-04,      ,   100円"},
        {"中山,2R,ワ,03-04,,100円", {}, "中山, 2R,ワ    ,03-04,      ,   100円"},
        {"中山,2R,ワ,03-04,,100円", {false, true}, "中山, 2R,ワイド,03-04,      ,   100円"},
        {"中山,2R,馬連,1-2,,1234500円", {}, "中山, 2R,馬連  ,  1-2,      ,1234500円"},
        {"中山,2R,馬連,1-2,,100", {}, "中山, 2R,馬連  ,  1-2,      ,   100円"},
    };
    for (const auto& c : cases) {
        const auto bet = ParsePendingBetLine(c.in, c.rules);
        ASSERT_TRUE(bet.ok()) << c.in.toStdString() << ": " << bet.message().toStdString();
        EXPECT_EQ(fromSjis(PendingBetBytes({*bet}).value()), c.line + "\r\n") << c.line.toStdString();
    }
}

TEST_F(PendingBets, SortOrdersByVenueRaceTypeAndCombinationAfterOk) {
    write({"小倉,1R,単勝,1,,100円", "", "札幌,12R,馬連,05-12,,100円", "札幌,12R,拡,01-02,,100円",
           "札幌,2R,枠連,1-8,,100円", "札幌,2R,単勝,10,,100円", "札幌,2R,単勝,9,,100円", "大井,1R,単勝,1,,100円"});
    home.prompter().answer(Answer::Ok);
    EXPECT_EQ(test::shown(home.prompter(), SortPendingBets(home.ctx(), kDay)), BetOutcome::Done);
    EXPECT_EQ(lines(), (QStringList{"大井, 1R,単勝  ,    1,      ,   100円", "札幌, 2R,単勝  ,    9,      ,   100円",
                                    "札幌, 2R,単勝  ,   10,      ,   100円", "札幌, 2R,枠連  ,  1-8,      ,   100円",
                                    "札幌,12R,馬連  ,05-12,      ,   100円", "札幌,12R,ワイド,01-02,      ,   100円",
                                    "小倉, 1R,単勝  ,    1,      ,   100円"}));
    EXPECT_EQ(home.prompter().log().back().title, "保留ＢＥＴの並び替え");
}

TEST_F(PendingBets, SortOfOneBetAndCancelLeaveTheFile) {
    write({"東京,1R,単勝,5,,100円"});
    const QByteArray one = readBytes(path());
    EXPECT_EQ(test::shown(home.prompter(), SortPendingBets(home.ctx(), kDay)), BetOutcome::NothingToDo);
    EXPECT_EQ(readBytes(path()), one);
    write({"東京,2R,単勝,5,,100円", "東京,1R,単勝,5,,100円"});
    const QByteArray two = readBytes(path());
    home.prompter().answer(Answer::Cancel);
    EXPECT_EQ(test::shown(home.prompter(), SortPendingBets(home.ctx(), kDay)), BetOutcome::Declined);
    EXPECT_EQ(readBytes(path()), two);
}

TEST_F(PendingBets, EqualKeysKeepTheExchangeSortOrder) {
    // Keys 2, 1, 1: the exchange of the first with the second puts the second 1 after the first.
    PendingBetTable t;
    for (const char* amount : {"  200円", "  101円", "  102円"}) {
        const QString combination = QString(amount) == "  200円" ? "    2" : "    1";
        t.push_back({"東京", " 1R", "単勝  ", combination, "      ", amount, {}, {}});
    }
    t.push_back({"東京", " 1R", "単勝  ", "    1", "      ", "  103円", {}, {}});
    SortBets(t);
    QStringList amounts;
    for (const auto& b : t)
        amounts << b.Amount.trimmed();
    EXPECT_EQ(amounts, (QStringList{"101円", "102円", "103円", "200円"}));
    PendingBetTable u = {t[3], t[2], t[1], t[0]};  // 200, 103, 102, 101
    SortBets(u);
    amounts.clear();
    for (const auto& b : u)
        amounts << b.Amount.trimmed();
    EXPECT_EQ(amounts, (QStringList{"103円", "102円", "101円", "200円"}));
}

TEST_F(PendingBets, DuplicatesAcrossWritersAreRemovedOrMerged) {
    const QStringList file = {"東京,11R,馬連,05-12,      ,  100円", "東京,11R,馬連  ,05-12,  23.4,    200円",
                              "東京,11R,拡,01-02,,300円", "東京,11R,ワイド,01-02,,400円", "東京,11R,ワ,01-02,,500円",
                              "東京,11R,単勝,1,,100"};
    write(file);
    home.prompter().answer(Answer::Ok);
    EXPECT_EQ(test::shown(home.prompter(), RemoveDuplicateBets(home.ctx(), kDay)), BetOutcome::Done);
    EXPECT_EQ(home.prompter().texts().back(),
              "重複した買い目が  3BETありました。\r\n最初に出現した買い目を残します。書き替えてよろしいですか？");
    EXPECT_EQ(lines(), (QStringList{"東京,11R,馬連  ,05-12,      ,   100円", "東京,11R,ワイド,01-02,      ,   300円",
                                    "東京,11R,単勝  ,    1,      ,   100円"}));

    write(file);
    home.prompter().answer(Answer::Ok);
    EXPECT_EQ(test::shown(home.prompter(), MergeDuplicateBets(home.ctx(), kDay)), BetOutcome::Done);
    EXPECT_EQ(home.prompter().log().back().title, "保留ＢＥＴの重複買い目統合");
    EXPECT_EQ(lines(), (QStringList{"東京,11R,馬連  ,05-12,      ,   300円", "東京,11R,ワイド,01-02,      ,  1200円",
                                    "東京,11R,単勝  ,    1,      ,   100円"}));
}

TEST_F(PendingBets, MergeSumsWholeYenAndRefusesSumsAboveTheLargestStake) {
    const struct {
        QString first;
        QString second;
        QString merged;  // empty: refused
    } cases[] = {
        {"100円", "200", "   300円"},
        {"50000円", "50000円", "100000円"},  // never a floating-point text
        {"999800円", "200円", "1000000円"},  // longer than seven: kept whole
        {"99999800円", "100円", "99999900円"},
        {"99999800円", "200円", ""},
    };
    for (const auto& c : cases) {
        const PendingBetTable t = {ParsePendingBetLine(QStringLiteral("東京,1R,単勝,1,,") + QString(c.first)).value(),
                                   ParsePendingBetLine(QStringLiteral("東京,1R,単勝,1,,") + QString(c.second)).value()};
        const auto r = FoldDuplicates(t, true);
        if (c.merged.isEmpty()) {
            ASSERT_FALSE(r.ok()) << c.first.toStdString();
            EXPECT_TRUE(r.message().startsWith("東京 1R 単勝 1 の金額")) << r.message().toStdString();
        } else {
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(r->kept.at(0).Amount, c.merged);
        }
    }
    write({"東京,1R,単勝,1,,99999800円", "東京,1R,単勝,1,,200円"});
    const QByteArray before = readBytes(path());
    EXPECT_EQ(test::shown(home.prompter(), MergeDuplicateBets(home.ctx(), kDay)), std::nullopt);
    EXPECT_EQ(readBytes(path()), before);
}

TEST_F(PendingBets, TablesRefuseFilesBeyondTheirSize) {
    const struct {
        int bets;
        Result<BetDone> (*run)(AppContext&, const QString&);
        bool refused;
    } cases[] = {
        {2048, SortPendingBets, false}, {2049, SortPendingBets, true},
        {2048, RemoveDuplicateBets, false}, {2049, RemoveDuplicateBets, true},
        {2049, MergeDuplicateBets, true}, {2049, ImportBetOdds, true},
        {2049, purchase, true},
    };
    for (const auto& c : cases) {
        QStringList l = {""};  // blank lines are not bets
        for (int i = 0; i < c.bets; ++i)
            l << QStringLiteral("東京,1R,単勝,%1,,100円").arg(i % 18 + 1);
        write(l);
        const QByteArray before = readBytes(path());
        home.prompter().clear();
        home.prompter().answer(Answer::Cancel);
        home.prompter().answer(Answer::Cancel);
        const auto o = test::shown(home.prompter(), c.run(home.ctx(), kDay));
        EXPECT_EQ(!o, c.refused) << c.bets;
        if (c.refused) {
            EXPECT_EQ(readBytes(path()), before);
            EXPECT_TRUE(home.prompter().texts().front().contains("2,049") ||
                        home.prompter().texts().front().contains("1,025"));
        }
    }
}

TEST_F(PendingBets, MissingFileMessages) {
    Result<BetDone> (*ops[])(AppContext&, const QString&) = {SortPendingBets, RemoveDuplicateBets,
                                                             MergeDuplicateBets, ImportBetOdds};
    for (auto op : ops) {
        home.prompter().clear();
        EXPECT_EQ(test::shown(home.prompter(), op(home.ctx(), kDay)), std::nullopt);
        EXPECT_EQ(home.prompter().texts(), QStringList{kNoPendingBets});
    }
    EXPECT_FALSE(PendingBetTotals(home.ctx().paths, kDay));
    EXPECT_EQ(PendingBetFileToEdit(home.ctx().paths, kDay).message(), kNoPurchaseFile);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PendingBets, TotalsCountBothWideWordsAndStopOnAnUnknownType) {
    write({"東京,1R,単勝,1,,100円", "", "東京,1R,拡,01-02,,1000円", "東京,1R,ワイド,01-02,,  1200円",
           "東京,1R,複,1,,100"});
    const auto t = PendingBetTotals(home.ctx().paths, kDay);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->heading, "2031年 3月 9日 の保留ＢＥＴ内訳です…");
    EXPECT_EQ(t->counts, (std::array<std::int64_t, 5>{1, 1, 0, 0, 2}));
    EXPECT_EQ(t->sums[4].display(), "2,200");
    EXPECT_EQ(t->totalCount(), 4);
    EXPECT_EQ(t->totalAmount().display(), "2,400");
    EXPECT_EQ(totalsHeading("20311231"), "2031年 12月 31日 の保留ＢＥＴ内訳です…");
    write({"東京,1R,単勝,1,,100円", "東京,1R,三連単,1,,100円"});
    const auto refused = PendingBetTotals(home.ctx().paths, kDay);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.message().contains("2 行目「東京,1R,三連単,1,,100円」"));
}

struct PruneCase {
    const char* what;
    std::array<bool, 5> checked;
    const char* min;
    const char* max;
    bool noOddsAsOne;
    QStringList kept;  // combinations kept, empty: file unchanged
};

TEST_F(PendingBets, OddsRangeDeleteKeepsABackupAndTheBetsOutsideTheRange) {
    const QStringList file = {"東京,1R,単勝,1,  2.9,100円", "東京,1R,単勝,2,3.0,100円", "東京,1R,単勝,3,,100円",
                              "東京,1R,単勝,4,ﾄﾘｹｼ,100円", "東京,1R,複勝,5,1.5,100円", "東京,1R,拡,01-02,2.0,100円"};
    const PruneCase cases[] = {
        {"one", {true, false, false, false, false}, "1", "3", true, {"2", "5", "01-02"}},
        {"skip", {true, false, false, false, false}, "1", "3", false, {"2", "3", "5", "01-02"}},
        {"rounded bounds", {true, false, false, false, false}, "2.5", "2.5", false, {"2", "3", "4", "5", "01-02"}},
        {"wide", {false, false, false, false, true}, "2", "3", false, {"1", "2", "3", "4", "5"}},
        {"none in range", {false, true, false, false, false}, "5", "9", true, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        write(file);
        QFile::remove(PendingBetBackupPath(home.ctx().paths, kDay));
        const QByteArray before = readBytes(path());
        OddsRangeDialog d = OpenOddsRangeDialog(home.ctx().store);
        d.checked = c.checked;
        for (auto& t : d.minText)
            t = c.min;
        for (auto& t : d.maxText)
            t = c.max;
        d.noOddsAsOne = c.noOddsAsOne;
        home.prompter().clear();
        test::shown(home.prompter(), DeleteBetsByOddsRange(home.ctx(), kDay, d));
        if (c.kept.isEmpty()) {
            EXPECT_EQ(readBytes(path()), before);
            EXPECT_FALSE(QFile::exists(PendingBetBackupPath(home.ctx().paths, kDay)));
            continue;
        }
        QStringList kept;
        for (const QString& l : lines())
            kept << trimBlanks(ParsePendingBetLine(l, {.keepKaku = true})->Combination);
        EXPECT_EQ(kept, c.kept);
        EXPECT_EQ(readBytes(PendingBetBackupPath(home.ctx().paths, kDay)), before);
        EXPECT_TRUE(home.prompter().texts().front().contains("「~B20310309.BAK」"));
        // The odds-range delete never turns 拡 into ワイド.
        if (c.kept.back() == "01-02") {
            EXPECT_EQ(lines().back(), "東京, 1R,拡    ,01-02,   2.0,   100円");
        }
    }
}

TEST_F(PendingBets, OddsRangeSettingsAreStoredAsWholeNumbers) {
    write({"東京,1R,単勝,1,2.0,100円", "東京,1R,単勝,2,5.0,100円"});
    OddsRangeDialog d = OpenOddsRangeDialog(home.ctx().store);
    EXPECT_EQ(d.minText[0], "1");
    EXPECT_EQ(d.maxText[0], "2");
    EXPECT_FALSE(d.noOddsAsOne);
    d.minText[0] = "17.5";
    d.maxText[0] = "16.5";
    d.minText[1] = "-3";
    EXPECT_EQ(test::shown(home.prompter(), DeleteBetsByOddsRange(home.ctx(), kDay, d)), std::nullopt);  // nothing checked
    EXPECT_EQ(home.prompter().texts().back(), "削除項目が設定されていません！");
    const auto& s = home.ctx().store;
    EXPECT_EQ(s.read("保留BET", "単勝オッズMIN"), "18");
    EXPECT_EQ(s.read("保留BET", "単勝オッズMAX"), "19");
    EXPECT_EQ(s.read("保留BET", "複勝オッズMIN"), "-3");
    EXPECT_EQ(s.read("保留BET", "式別削除1"), "0");
    EXPECT_FALSE(s.contains("保留BET", "無オッズFLAG"));
    writeBytes(path(), "  \r\n\r\n");
    EXPECT_EQ(test::shown(home.prompter(), DeleteBetsByOddsRange(home.ctx(), kDay, d)), std::nullopt);
    EXPECT_EQ(home.prompter().texts().back(), kPendingBetsEmpty);
}

TEST_F(PendingBets, BetOutputRowsFollowTheDialogsTests) {
    BetOutForm f = OpenBetOutForm(home.ctx().settings);
    f.tan = {BetRow{true, "0", "100"}, BetRow{true, "18", "200"}, BetRow{true, "19", "100"}};
    f.fuku = {BetRow{true, "5", "99"}, BetRow{false, "6", "100"}, BetRow{true, "7", "100000"}};
    f.waku = {BetRow{true, "81", "100"}, BetRow{true, "33", "100"}, BetRow{true, "8", "100"},
              BetRow{true, "19", "100"}, BetRow{true, " 45x", "1000"}};
    f.uma = {BetRow{true, "12-5", "500"}, BetRow{true, "3-3", "100"}, BetRow{true, "0-3", "100"},
             BetRow{true, "7", "100"}, BetRow{true, "1-19", "100"}, BetRow{true, "18-17", "1234500"}};
    EXPECT_EQ(BetOutLines(f, "04", 11),
              (QStringList{"東京,11R,単勝,   18,      ,  200円", "東京,11R,複勝,    7,      ,100000円",
                           "東京,11R,枠連,  1-8,      ,  100円", "東京,11R,枠連,  3-3,      ,  100円",
                           "東京,11R,枠連,  4-5,      , 1000円", "東京,11R,馬連,05-12,      ,  500円",
                           "東京,11R,馬連,17-18,      ,1234500円"}));
    EXPECT_EQ(betRaceText(1), " 1R");
}

TEST_F(PendingBets, BetOutputStoresTheDefaultsAndAppendsOnlyWhatQualifies) {
    Notices notices;
    EXPECT_TRUE(home.ctx().store.SaveAppSetting("PAT", "BetWaku", "50").ok());
    home.reload();
    std::array<QString, 11> picks = {"5", "１８", "3-12", "", "", "", "27", "4-6"};
    BetOutForm f = OpenBetOutForm(home.ctx().settings, picks);
    EXPECT_EQ(f.defaults[2], "100");
    EXPECT_EQ(f.waku[0].entry, "18");
    EXPECT_TRUE(f.uma[1].checked);
    EXPECT_TRUE(f.uma[5].isEmpty());  // a bracket pick beyond the five bracket rows is dropped
    EXPECT_EQ(f.uma[6].entry, "4-6");
    ASSERT_EQ(WriteBetOut(home.ctx(), kDay, f, "05", 3, notices)->written, 4);
    ASSERT_EQ(WriteBetOut(home.ctx(), kDay, f, "05", 3, notices)->written, 4);
    EXPECT_EQ(lines().size(), 8);
    EXPECT_EQ(lines().front(), "中山, 3R,単勝,    5,      ,  100円");
    EXPECT_EQ(home.ctx().store.read("PAT", "BetWaku"), "100");

    QFile::remove(path());
    BetOutForm none = OpenBetOutForm(home.ctx().settings);
    none.tan[0] = BetRow{false, "5", "100"};
    EXPECT_EQ(WriteBetOut(home.ctx(), kDay, none, "05", 3, notices)->written, 0);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(PendingBets, PurchaseFilesOfFiftyBetsAndTheNinthUnbounded) {
    const QString out = home.ctx().settings.BetOutDir;
    for (const char* old : {"_1.BET", "_4.bet", "_10.BET", "X1.BET"})
        writeBytes(out + kDay + old, "old");
    QStringList l;
    for (int i = 0; i < 500; ++i)
        l << QStringLiteral("東京,1R,単勝,%1,,100円").arg(i % 18 + 1);
    l[0] = "東京,11R,馬連,3-12,,100円";
    l[1] = "東京,11R,拡,3-12,  1.5,1000円";
    l[2] = "東京,11R,ワイド,03-12,,1234500円";
    write(l);
    home.prompter().answer(Answer::No);
    EXPECT_EQ(test::shown(home.prompter(), purchase(home.ctx(), kDay)), BetOutcome::Done);
    EXPECT_EQ(home.prompter().texts().front(), "既存のBETﾌｧｲﾙ（3ﾌｧｲﾙ）を削除しました。\r\n500BET（9ﾌｧｲﾙ）出力しました。");
    EXPECT_EQ(home.prompter().log().front().title, kPurchaseTitle);
    const QStringList first = readLines(out + kDay + "_1.BET");
    ASSERT_EQ(first.size(), 52);
    EXPECT_EQ(first[0], "31年 03月 09日");
    EXPECT_EQ(first[1], "");
    auto line = [](QStringList parts) { return parts.join(QStringLiteral("    ")); };
    EXPECT_EQ(first[2], line({"東京", "11R", "馬連    ", "03-12", "      ", "   100円"}));
    EXPECT_EQ(first[3], line({"東京", "11R", "ワイド   ", " 3-12", "   1.5", "  1000円"}));
    EXPECT_EQ(first[4], line({"東京", "11R", "ワイド   ", "03-12", "      ", "1234500円"}));  // never cut
    EXPECT_EQ(first[5], line({"東京", " 1R", "単勝    ", "    4", "      ", "   100円"}));
    EXPECT_EQ(readLines(out + kDay + "_9.BET").size(), 102);
    EXPECT_TRUE(QFile::exists(out + kDay + "_10.BET"));
    EXPECT_TRUE(QFile::exists(path()));
    QDir dir(out);
    EXPECT_EQ(dir.entryList(QDir::Files).size(), 10);  // nine files and _10.BET

    write({"", ""});
    home.prompter().clear();
    home.prompter().answer(Answer::Yes);
    EXPECT_EQ(test::shown(home.prompter(), purchase(home.ctx(), kDay)), BetOutcome::Done);
    EXPECT_EQ(home.prompter().texts().front(), "既存のBETﾌｧｲﾙ（9ﾌｧｲﾙ）を削除しました。\r\n0BET（0ﾌｧｲﾙ）出力しました。");
    EXPECT_FALSE(QFile::exists(path()));
}

}  // namespace
}  // namespace zm
