#include "import/records.h"
#include "predict/predict_day.h"
#include "predict/selection.h"

#include <gtest/gtest.h>
#include <vector>

namespace zm {
namespace {

using Codes = std::vector<int>;

RunnerArray scored(const std::vector<float>& scores) {
    RunnerArray a;
    for (size_t i = 0; i < scores.size(); ++i) {
        a[i].Score = scores[i];
    }
    return a;
}

// Runner i scores 50 + i, so rank k is runner n + 1 - k.
RunnerArray ascending(int n) {
    std::vector<float> s;
    for (int i = 1; i <= n; ++i) s.push_back(50.0f + static_cast<float>(i));
    return scored(s);
}

template <size_t N>
Codes nonZero(const std::array<std::int16_t, N>& list) {
    Codes out;
    for (std::int16_t c : list) {
        if (c != 0) out.push_back(c);
    }
    return out;
}

TEST(Ranking, TiesShareTheLowestPositionAndLeaveGaps) {
    const struct {
        std::vector<float> scores;
        std::vector<int> ranks;
        std::vector<int> rankList;  // entries 1..n
    } cases[] = {
        {{80, 90, 90, 70, 0, 0}, {3, 1, 1, 4, 5, 5}, {3, 0, 1, 4, 6, 0}},
        {{0, 0, 0}, {1, 1, 1}, {3, 0, 0}},
        {{71.2f, 85.4f, 85.4f, 85.4f}, {4, 1, 1, 1}, {4, 0, 0, 1}},
        {{75, 76, 77}, {3, 2, 1}, {3, 2, 1}},
    };
    for (const auto& c : cases) {
        RunnerArray a = scored(c.scores);
        SelectionLists lists;
        const int n = static_cast<int>(c.scores.size());
        RankRunners(a, n, lists);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(a[static_cast<size_t>(i)].OddsRank, c.ranks[static_cast<size_t>(i)]) << "runner " << i + 1;
            EXPECT_EQ(lists.RankList[static_cast<size_t>(i)], c.rankList[static_cast<size_t>(i)]) << "rank " << i + 1;
        }
    }
}

TEST(Ranking, ScoresOfOneDecimalTotalReachedApartShareARank) {
    // 80 + 5.4 and 85 + 0.4 in single precision.
    const float a = 80.0f + static_cast<float>(27 * 0.2);
    const float b = 85.0f + static_cast<float>(2 * 0.2);
    RunnerArray r = scored({a, b, 70.0f});
    SelectionLists lists;
    RankRunners(r, 3, lists);
    EXPECT_EQ(r[0].OddsRank, 1);
    EXPECT_EQ(r[1].OddsRank, 1);
    EXPECT_EQ(r[2].OddsRank, 3);
}

TEST(Picks, LargeFieldsByStyle) {
    const struct {
        int style;
        int n;
        Codes picks;
    } cases[] = {
        {0, 12, {1211, 1210, 1209}},
        {1, 12, {1211, 1210, 1209, 1208}},
        {2, 12, {1211, 1210, 1209, 1208, 1207}},
        {3, 12, {1211, 1210, 1209, 1208, 1207, 1206}},
        {4, 12, {1211, 1210, 1209, 1208, 1207, 1206, 1205, 1204, 1203, 1202}},
        {4, 9, {908, 907, 906, 905, 904, 903, 902, 901}},
        {4, 10, {1009, 1008, 1007, 1006, 1005, 1004, 1003, 1002, 1001}},
        {4, 11, {1110, 1109, 1108, 1107, 1106, 1105, 1104, 1103, 1102, 1101}},
        {3, 9, {908, 907, 906, 905, 904, 903}},
        {5, 12, {1211, 1210, 1110}},
        {6, 12, {1211, 1210, 1110, 1209, 1109, 1009}},
        {7, 12, {1211, 1210, 1110, 1209, 1109, 1009, 1208, 1108, 1008, 908}},
        {8, 12, {}},  // no odds record for the race
    };
    for (const auto& c : cases) {
        RunnerArray a = ascending(c.n);
        SelectionLists lists;
        SelectBets(SelectionRace{c.n, c.style, nullptr}, a, lists);
        EXPECT_EQ(nonZero(lists.QuinellaPicks), c.picks) << "style " << c.style << " n " << c.n;
        EXPECT_EQ(nonZero(lists.SmallFieldPicks), Codes{}) << "style " << c.style << " n " << c.n;
    }
}

TEST(Picks, SmallFieldsByStyle) {
    const struct {
        int style;
        int n;
        std::array<std::int16_t, 10> picks;
    } cases[] = {
        {4, 8, {87, 0, 0, 0, 0, 0, 81, 0, 0, 0}},
        {4, 7, {76}},
        {1, 8, {87}},
        {3, 8, {87}},
        {0, 8, {87}},
        {7, 8, {87}},
        {8, 6, {65}},
        {5, 1, {10}},
    };
    for (const auto& c : cases) {
        RunnerArray a = ascending(c.n);
        SelectionLists lists;
        SelectBets(SelectionRace{c.n, c.style, nullptr}, a, lists);
        EXPECT_EQ(lists.SmallFieldPicks, c.picks) << "style " << c.style << " n " << c.n;
        EXPECT_EQ(nonZero(lists.QuinellaPicks), Codes{});
    }
}

TEST(Picks, OddsFilterTakesNeighbouringPairsBelowThirty) {
    // Ranks 1..6 are runners 10, 9, .., 5: the pairs 9-10, 8-9, 7-8, 6-7, 5-6.
    OddsRecord odds;
    const struct {
        int a, b;
        const char* text;
    } table[] = {{9, 10, "    295"}, {8, 9, "    300"}, {7, 8, "      *"}, {6, 7, "      /"}, {5, 6, "     12"}};
    for (const auto& t : table) {
        odds.setText(OddsRecord::quinellaField(t.a, t.b), QString::fromLatin1(t.text));
    }
    // Pairs further down are never looked at.
    odds.setText(OddsRecord::quinellaField(4, 5), QStringLiteral("     10"));
    RunnerArray a = ascending(10);
    SelectionLists lists;
    SelectBets(SelectionRace{10, kStyleOddsFilter, &odds}, a, lists);
    EXPECT_EQ(nonZero(lists.QuinellaPicks), (Codes{910, 506}));
}

TEST(Picks, OddsTextsThatPass) {
    const struct {
        const char* text;
        bool passes;
    } cases[] = {{"    299", true}, {"    300", false}, {"      1", true}, {"      0", false}, {"       ", false},
                 {"      *", false}, {"      /", false}, {"      -", false}, {"   -100", false}, {"   3000", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(oddsFilterPasses(QString::fromLatin1(c.text)), c.passes) << c.text;
    }
}

TEST(Picks, NormalizeOrdersPairsAndDropsGaps) {
    SelectionLists lists;
    lists.QuinellaPicks = {1211, 1200, 0, 305, 1305, 3};
    const int expected[] = {1112, 0, 0, 305, 0, 0};
    for (int k = 1; k <= 6; ++k) {
        EXPECT_EQ(NormalizePair(lists, k, 12), expected[k - 1]) << k;
    }
    lists.SmallFieldPicks = {87, 80, 19, 12};
    const int small[] = {78, 0, 0, 12};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(NormalizeSmallPair(lists, k, 8), small[k - 1]) << k;
    }
}

TEST(Record, RanksAndPicksOnlyWithBetSelection) {
    PredictedRace race;
    race.RunnerCount = 10;
    RunnerArray a = scored({80, 90, 90, 70, 75, 71, 72, 73, 74, 76});
    SelectionLists lists;
    SelectBets(SelectionRace{10, 0, nullptr}, a, lists);

    const PredictionRecord off = WritePrediction(race, a, lists, false);
    for (const PredictedRunner& r : off.runners) EXPECT_EQ(r.rank, 0);
    EXPECT_EQ(off.winPicks, (std::array<PickEntry, 3>{}));
    EXPECT_EQ(off.quinellaPicks, (std::array<PickEntry, 10>{}));
    EXPECT_EQ(off.runners[1].index, 45);

    const PredictionRecord on = WritePrediction(race, a, lists, true);
    EXPECT_EQ(on.runners[0].rank, 3);
    EXPECT_EQ(on.runners[2].rank, 1);
    // The tie leaves rank 2 empty; every win entry still carries its flag.
    EXPECT_EQ(on.winPicks, (std::array<PickEntry, 3>{PickEntry{3, 1}, PickEntry{0, 1}, PickEntry{1, 1}}));
    // (R1, R2) is a gap, (R1, R3) = 3-1 ordered, (R1, R4) = 3-10.
    EXPECT_EQ(on.quinellaPicks[0], (PickEntry{0, 0}));
    EXPECT_EQ(on.quinellaPicks[1], (PickEntry{103, 1}));
    EXPECT_EQ(on.quinellaPicks[2], (PickEntry{310, 1}));
    EXPECT_EQ(on.smallPicks, (std::array<PickEntry, 10>{}));
}

TEST(Record, SmallFieldPicksGoToTheirOwnList) {
    PredictedRace race;
    race.RunnerCount = 8;
    RunnerArray a = ascending(8);
    SelectionLists lists;
    SelectBets(SelectionRace{8, 4, nullptr}, a, lists);
    const PredictionRecord rec = WritePrediction(race, a, lists, true);
    EXPECT_EQ(rec.smallPicks[0], (PickEntry{78, 1}));
    EXPECT_EQ(rec.smallPicks[6], (PickEntry{18, 1}));
    EXPECT_EQ(rec.smallPicks[1], (PickEntry{0, 0}));
    EXPECT_EQ(rec.quinellaPicks, (std::array<PickEntry, 10>{}));
}

TEST(Record, PastRunTextForms) {
    const struct {
        const char* runOdds;
        const char* text;
    } odds[] = {{"00123", "  12.3"}, {"00120", "    12"},  {"00000", "      "}, {"     ", "      "},
                {"12345", "1234.5"}, {"00015", "   1.5"},  {"  123", "  12.3"}, {"12", "  12.2"},
                {"", "      "},      {"1234567", "1234.7"}};
    for (const auto& c : odds) {
        EXPECT_EQ(pastRunOddsText(QString::fromLatin1(c.runOdds)), QString::fromLatin1(c.text)) << c.runOdds;
    }
    const struct {
        int value;
        const char* text;
    } counts[] = {{5, " 5"}, {16, "16"}, {0, " 0"}, {100, "00"}, {-3, "-3"}, {-12, "12"}, {-32768, "68"}};
    for (const auto& c : counts) {
        EXPECT_EQ(twoCharNumber(c.value), QString::fromLatin1(c.text)) << c.value;
    }
}

TEST(Texts, Recommendation) {
    PredictionRecord rec;
    rec.runnerCount = 12;
    Recommendation r = RecommendationText(rec);
    EXPECT_EQ(r.win, QStringLiteral("推奨馬券    単勝：ありません"));
    EXPECT_EQ(r.quinella, QStringLiteral("            馬連：ありません"));
    rec.winPicks[0] = {7, 1};
    rec.quinellaPicks[0] = {307, 1};
    rec.quinellaPicks[1] = {711, 1};
    r = RecommendationText(rec);
    EXPECT_EQ(r.win, QStringLiteral("推奨馬券    単勝：　７番"));
    EXPECT_EQ(r.quinella, QStringLiteral("            馬連：3-7,7-11"));
}

}  // namespace
}  // namespace zm
