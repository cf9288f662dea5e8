#include "export/export_fixtures.h"
#include "export/mur_contest_text.h"
#include "export/race_card_csv.h"
#include "export/service_csv.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(ServiceCsv, RaceLineGroups) {
    const QString v = QStringLiteral("05");
    const QStringList big = serviceCsvRaceLine(test::raceWith(v, 11, 16, 7, {102, 1215})).split(u',');
    ASSERT_EQ(big.size(), 186);
    EXPECT_EQ(big.mid(0, 8), QStringList({"A917", "20261205", "05", "2", "1", "11", "7", "1"}));
    EXPECT_EQ(big.mid(21, 2), QStringList({"7", "1"}));
    EXPECT_EQ(big.mid(36, 50).join(QString()), QString());
    EXPECT_EQ(big.mid(86, 7), QStringList({"0102", "1", "", "", "", "1215", "1"}));
    EXPECT_EQ(big.mid(96, 90).join(QString()), QString());

    const QStringList small = serviceCsvRaceLine(test::raceWith(v, 3, 7, 2, {25, 27})).split(u',');
    ASSERT_EQ(small.size(), 186);
    EXPECT_EQ(small.mid(36, 7), QStringList({"25", "1", "", "", "", "27", "1"}));
    EXPECT_EQ(small.mid(86, 100).join(QString()), QString());
}

TEST(ServiceCsv, EveryRaceWithAPickIsWrittenAndNoneMeansNoLines) {
    std::vector<PredictionRecord> recs;
    for (int k = 0; k < 60; ++k)
        recs.push_back(test::raceWith(QStringLiteral("05"), 1 + k % 12, 12, k % 2 ? 0 : 3, {k % 2 ? 304 : 0}));
    recs.push_back(test::raceWith(QStringLiteral("05"), 1, 7, 0, {12}));
    recs.push_back(test::raceWith(QStringLiteral("05"), 2, 12, 0, {}));
    const QDateTime at(QDate(2026, 12, 5), QTime(9, 8, 7));
    const QStringList lines = serviceCsvLines(recs, at, QStringLiteral("1.2.3"));
    ASSERT_EQ(lines.size(), 1 + 60 + 1);
    EXPECT_EQ(lines[0], QStringLiteral("(MUR>VAN),0001,20261205,090807,ゼノゼノＭＵＲ 駿馬堂OnLine版,1.2.3,ZENOMUR,GUEST,,,"));
    EXPECT_TRUE(serviceCsvLines({recs.back()}, at, QStringLiteral("1.2.3")).isEmpty());
}

EntryRecord entry() {
    EntryRecord e;
    e.setText(EntryRecord::waku, u"3");
    e.setText(EntryRecord::umaban, u"05");
    e.setText(EntryRecord::horseName, u"アイウエオカキクケコ");
    e.setText(EntryRecord::sex, u"1");
    e.setText(EntryRecord::age, u"03");
    e.setText(EntryRecord::weight, u"550");
    e.setText(EntryRecord::jockeyShort, u"武豊");
    e.setText(EntryRecord::trainerShort, u"ﾀﾅｶﾀﾛｳﾀ");
    return e;
}

TEST(RaceCardCsv, RunnerLine) {
    PredictionRecord p = test::raceWith(QStringLiteral("05"), 11, 16, 5, {});
    PredictedRunner& r = p.runners[0];
    r.index = 57;
    r.pastRuns[0] = PredictedPastRun{QStringLiteral("05"), QStringLiteral("4"), QStringLiteral("2"),
                                     QStringLiteral("20260909"), QStringLiteral("11"), QStringLiteral("1"), 1600,
                                     QStringLiteral("16"), QStringLiteral(" 3"), QStringLiteral(" 7"), 88,
                                     QStringLiteral("  12.3")};
    r.pastRuns[1] = PredictedPastRun{QStringLiteral("00"), QStringLiteral("1"), QStringLiteral("1"),
                                     QStringLiteral("20260801"), QStringLiteral(" 1"), QStringLiteral("0"), 1200,
                                     QStringLiteral(" 9"), QStringLiteral(" 0"), QStringLiteral(" 1"), 0,
                                     QStringLiteral("    12")};
    OddsRecord odds;
    odds.setText(OddsRecord::winOdds, 1, u"00120");
    const QStringList v = raceCardCsvLine(p, 1, entry(), &odds).split(u',');
    ASSERT_EQ(v.size(), 37);
    EXPECT_EQ(v.last(), QString());
    EXPECT_EQ(v.mid(0, 14), QStringList({"20261205", "06", "中山", "2回", "1日目", "11", "3", "05", "アイウエオカキクケ",
                                         "牝", "３歳", "55.0", "武豊    ", "ﾀﾅｶﾀﾛｳ"}));
    EXPECT_EQ(v.mid(14, 3), QStringList({"20260909 4中山2 芝1600", "20260801 1京都1 ダ1200", ""}));
    // Field size, popularity, finish; nothing when the finish is 0.
    EXPECT_EQ(v.mid(19, 3), QStringList({"16頭 7人 3着", "", ""}));
    EXPECT_EQ(v.mid(24, 3), QStringList({"57", "88", ""}));
    EXPECT_EQ(v.mid(30, 4), QStringList({"    12", "12.3", "12", ""}));
    EXPECT_EQ(raceCardCsvLine(p, 1, entry(), nullptr).split(u',')[30], QString());
    // A short name keeps its blanks up to 18 bytes.
    EntryRecord e = entry();
    e.setText(EntryRecord::horseName, u"モスト");
    EXPECT_EQ(raceCardCsvLine(p, 1, e, nullptr).split(u',')[8], QStringLiteral("モスト            "));
}

TEST(RaceCardCsv, AgeAndTodaysOdds) {
    const std::pair<const char16_t*, QString> ages[] = {{u"00", ""}, {u"03", "３歳"}, {u"10", "10歳"}, {u"  ", ""}};
    for (const auto& [stored, text] : ages) {
        EntryRecord e = entry();
        e.setText(EntryRecord::age, stored);
        EXPECT_EQ(raceCardCsvLine(test::raceWith("05", 1, 9, 1, {}), 1, e, nullptr).split(u',')[10], text);
    }
    const std::pair<const char16_t*, QString> odds[] = {
        {u"00123", "  12.3"}, {u"00120", "    12"}, {u"01234", " 123.4"}, {u"  *  ", "  50.0"},
        {u"  /  ", " ﾄﾘｹｼ "}, {u"  -  ", ""}};
    for (const auto& [stored, text] : odds) {
        OddsRecord r;
        r.setText(OddsRecord::winOdds, 2, stored);
        EXPECT_EQ(todaysOddsText(r, 2), text) << QString::fromUtf16(stored).toStdString();
    }
}

TEST(MurContestText, EntriesStakesAndBudget) {
    MurContestInput input;
    input.day = QStringLiteral("20261205");
    input.winStake = 200;
    input.pairStake = 100;
    const MurContestText t = murContestText(
        {test::raceWith(QStringLiteral("05"), 1, 12, 3, {301, 302, 304, 305, 306, 307, 308, 309}),
         test::raceWith(QStringLiteral("05"), 2, 6, 2, {23, 27}), test::raceWith(QStringLiteral("05"), 3, 12, 0, {})},
        input);
    EXPECT_EQ(t.total, 200 + 8 * 100 + 200 + 100);
    const QString header = murRaceHeader(test::raceWith(QStringLiteral("05"), 1, 12, 3, {}), false);
    EXPECT_EQ(header, QStringLiteral("■ 中山  1Ｒ 20261205 [A917] 発走10:25 12頭立"));
    const int first = static_cast<int>(t.lines.indexOf(header));
    ASSERT_GT(first, 0);
    EXPECT_EQ(t.lines[first + 1], QStringLiteral("単勝      3     200円"));
    EXPECT_EQ(t.lines[first + 2], QStringLiteral("馬連  01-03     100円"));
    EXPECT_EQ(t.lines[first + 8], QString());
    EXPECT_EQ(t.lines[first + 9], murRaceHeader(test::raceWith(QStringLiteral("05"), 1, 12, 3, {}), true));
    EXPECT_EQ(t.lines[first + 12], QString());
    // A small field: the small-field pick within the field; 2-7 lies beyond six runners.
    EXPECT_EQ(t.lines.mid(first + 13, 4),
              QStringList({murRaceHeader(test::raceWith(QStringLiteral("05"), 2, 6, 2, {}), false),
                           QStringLiteral("単勝      2     200円"), QStringLiteral("馬連  02-03     100円"), QString()}));
    EXPECT_EQ(t.lines.size(), first + 17);
}

TEST(MurContestText, BudgetSettingAndMessage) {
    EXPECT_EQ(murBudgetOf(QString()), 50000);
    EXPECT_EQ(murBudgetOf(QStringLiteral("30050")), 30000);
    EXPECT_EQ(murBudgetOf(QStringLiteral("99")), 50000);
    EXPECT_EQ(murOverBudgetMessage(45600, 30000),
              QStringLiteral("【MURコンテスト版】の投票金額が 456００円で\r\n持ち点の 300００円をオーバーしました！"));
}

}  // namespace
}  // namespace zm
