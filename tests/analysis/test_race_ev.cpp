#include "analysis/race_ev.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;

CardRow runner(int horse, int index, const QString& liveOdds = {}) {
    CardRow row;
    row.umaban = QString::number(horse);
    row.index = QString::number(index);
    row.winOdds = liveOdds;
    return row;
}

// Equal weights give every runner the same chance: what is weighed is the odds. The live odds
// of the row come first, the predicted ones stand in where there are none, and only a value
// above 1.0 is marked.
TEST(RaceEv, OddsChosenAndValuesMarked) {
    RaceCard race;
    race.rows = {runner(1, 90, u"  4.0"_s), runner(2, 80, u" 4.4"_s), runner(3, 70), runner(4, 60),
                 runner(5, 50, u"ﾄﾘｹｼ"_s)};
    std::array<double, 18> predicted{};
    predicted = {9.9, 9.9, 8.0, 0, 3.0};
    const std::vector<RunnerEv> ev = raceEv(WinModel{}, race, predicted);
    const struct {
        QString chance, value;
        bool marked;
    } expected[] = {
        {u"20.0%"_s, u"0.80"_s, false},  // live odds, though predicted ones are there
        {u"20.0%"_s, u"0.88"_s, false},
        {u"20.0%"_s, u"1.60"_s, true},  // predicted odds
        {u"20.0%"_s, u""_s, false},     // no odds at all
        {u"20.0%"_s, u"0.60"_s, false},  // live text that is no price: the predicted odds
    };
    ASSERT_EQ(ev.size(), std::size(expected));
    for (size_t i = 0; i < ev.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chanceText(ev[i]), expected[i].chance);
        EXPECT_EQ(evText(ev[i]), expected[i].value);
        EXPECT_EQ(ev[i].marked(), expected[i].marked);
    }
    // Exactly 1.0 is not above it.
    EXPECT_FALSE((RunnerEv{0.25, 4.0}).marked());
    EXPECT_TRUE((RunnerEv{0.25, 4.04}).marked());
}

// The card's rows weighed by their indexes the way the model was fitted: measured from the best
// of the race, whatever the rows' order.
TEST(RaceEv, ChancesFollowTheIndexFromTheBest) {
    WinModel model;
    model.beta[0] = std::log(3.0);  // ten index points behind: a third of the weight
    RaceCard race;
    race.rows = {runner(1, 90, u"2.0"_s), runner(2, 100, u"2.0"_s)};
    const std::vector<RunnerEv> ev = raceEv(model, race, {});
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(chanceText(ev[0]), u"25.0%"_s);
    EXPECT_EQ(chanceText(ev[1]), u"75.0%"_s);
    EXPECT_EQ(evText(ev[1]), u"1.50"_s);
}

}  // namespace
}  // namespace zm
