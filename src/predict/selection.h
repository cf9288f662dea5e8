#pragma once

// Ranking, marks and the recommended bets of one race in the user's prediction style, and the
// texts made from them.

#include "predict/prediction_file.h"
#include "predict/runner_work.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace zm {

class OddsRecord;

// The prediction styles 0..8 (setting "Yosou").
constexpr int kStyleOddsFilter = 8;

// Short name of a style ("３点流し" .. "Odds絞り込み"); empty outside 0..8.
QString PredictionStyleName(int style);

struct SelectionLists {
    // RankList[k - 1]: the runner number whose rank is k, 0 when none.
    std::array<std::int16_t, 18> RankList{};
    // Pair codes a * 100 + b, as produced (the first horse need not be the smaller).
    std::array<std::int16_t, 10> QuinellaPicks{};
    // Pair codes a * 10 + b, for races of 1-8 runners.
    std::array<std::int16_t, 10> SmallFieldPicks{};

    // R(k): RankList entry k, 0 when k is outside 1..runnerCount.
    std::int16_t R(int k, int runnerCount) const;
};

// Ranks runners 1..runnerCount by Score (equal scores share the lowest position; the
// positions after them stay unused), stores each rank in OddsRank and fills RankList.
void RankRunners(RunnerArray& runners, int runnerCount, SelectionLists& lists);

// RankList from each runner's rank (ranks[i] of runner i + 1; 0 for none), the later runner
// keeping a shared rank. RankRunners ends with it; a stored prediction's ranks give the same list.
void FillRankList(const std::array<std::int16_t, 18>& ranks, int runnerCount, SelectionLists& lists);

// What SelectBets needs of the race.
struct SelectionRace {
    int runnerCount = 0;
    int style = 0;
    // The race's predicted odds (style 8 only); nothing when the odds file holds no record
    // for the race.
    const OddsRecord* odds = nullptr;
};

// Ranking, then the picks of the style: quinella pairs for 9+ runners, one-digit pairs for
// 1-8 runners.
void SelectBets(const SelectionRace& race, RunnerArray& runners, SelectionLists& lists);

// The picks of the style from a filled RankList (the second step of SelectBets).
void PickBets(const SelectionRace& race, SelectionLists& lists);

// The win picks and the pair picks as the prediction record holds them: R1..R3, then the pairs
// ordered and cut to the runner count, in the small-field list for 1-8 runners.
void StorePicks(const SelectionLists& lists, int runnerCount, PredictionRecord& record);

// True when a predicted quinella odds text (tenths) makes a pair a candidate of style 8: a
// positive value below 300 tenths (30.0). Blanks and markers read as 0 and never pass.
bool oddsFilterPasses(const QString& oddsText);

// Pick k (1..10) ordered a * 100 + b with a < b; 0 when a or b lies outside 1..runnerCount.
std::int16_t NormalizePair(const SelectionLists& lists, int k, int runnerCount);
// The same for the small-field picks, a * 10 + b.
std::int16_t NormalizeSmallPair(const SelectionLists& lists, int k, int runnerCount);

// "◎" "○" "▲" "△" "×" for ranks 1..5, else a full-width blank.
QString MarkOf(int rank);

// The card header's pace ("Ｈ" "Ｍ" "Ｓ", else "？") and the race list's (" ﾍﾟｰｽ:H" ...,
// else " (混戦)").
QString PaceText(const QString& paceCode);
QString PaceListText(const QString& paceCode);

// The quinella picks of a record as text: the pairs "a-b" joined by ",".
QString QuinellaPicksText(const PredictionRecord& record);

// The two halves of the recommendation: win pick and quinella picks.
struct Recommendation {
    QString win;       // "推奨馬券    単勝：" + number + "番", or + "ありません"
    QString quinella;  // "            馬連：" + picks, or + "ありません"
};
Recommendation RecommendationText(const PredictionRecord& record);

}  // namespace zm
