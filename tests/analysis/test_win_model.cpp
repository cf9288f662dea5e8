#include "analysis/win_model.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace zm {
namespace {

WinFeatures only(int k, double v) {
    WinFeatures x{};
    x[size_t(k)] = v;
    return x;
}

// Two runners, the first with feature 0 at 1: winning q of the time, the fitted weight is the
// log odds of q (the closed form of the two-runner case).
TEST(WinModel, TwoRunnerFitIsTheLogOddsOfTheWinShare) {
    for (const auto& [wins, races] : {std::pair{50, 100}, std::pair{75, 100}, std::pair{20, 100}, std::pair{9, 10}}) {
        std::vector<ModelRace> data;
        for (int r = 0; r < races; ++r)
            data.push_back({{only(0, 1), only(0, 0)}, r < wins ? 0 : 1, {}});
        const auto model = fitWinModel(data, 1e-9);
        ASSERT_TRUE(model);
        const double q = double(wins) / races;
        EXPECT_NEAR(model->beta[0], std::log(q / (1 - q)), 1e-6) << wins << "/" << races;
        for (int k = 1; k < kWinFeatures; ++k)
            EXPECT_EQ(model->beta[size_t(k)], 0) << "a feature that never varies keeps no weight";
        EXPECT_NEAR(model->chances({only(0, 1), only(0, 0)})[0], q, 1e-6);
        EXPECT_EQ(model->races, races);
    }
}

// Races drawn from a known model: the fit finds its weights again, and its chances are
// calibrated (each populated band's win rate near its mean chance).
TEST(WinModel, FitRecoversTheWeightsOfSimulatedRaces) {
    const WinFeatures truth = {1.5, -0.8, 0.6, 0, 0, 0, 0};
    WinModel generator;
    generator.beta = truth;
    std::mt19937_64 rng(7);
    std::normal_distribution<double> noise(0, 1);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<ModelRace> data;
    for (int r = 0; r < 4000; ++r) {
        ModelRace race;
        for (int i = 0; i < 8; ++i)
            race.runners.push_back({noise(rng), std::log(1.0 + i), i == 0 ? 1.0 : 0.0, 0, 0, 0, 0});
        const std::vector<double> p = generator.chances(race.runners);
        double u = unit(rng);
        race.winner = 0;
        while (race.winner < 7 && (u -= p[size_t(race.winner)]) > 0)
            ++race.winner;
        data.push_back(race);
    }
    const auto model = fitWinModel(data);
    ASSERT_TRUE(model);
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(model->beta[size_t(k)], truth[size_t(k)], 0.15) << "feature " << k;
    EXPECT_LT(modelLogLoss(*model, data), std::log(8.0)) << "better than a blind guess";
    int counted = 0;
    for (const ReliabilityBand& band : reliability(*model, data)) {
        counted += band.runners;
        if (band.runners >= 500) {
            EXPECT_NEAR(band.observedRate(), band.meanChance, 0.05);
        }
    }
    EXPECT_EQ(counted, 4000 * 8);
}

TEST(WinModel, PerfectSeparationStaysFinite) {
    std::vector<ModelRace> data(30, ModelRace{{only(0, 0), only(0, -1), only(0, -2)}, 0, {}});
    const auto model = fitWinModel(data);
    ASSERT_TRUE(model);
    EXPECT_TRUE(std::isfinite(model->beta[0]));
    EXPECT_GT(model->chances(data[0].runners)[0], 0.9);
}

TEST(WinModel, RacesWithoutAWinnerOrARivalAreLeftOut) {
    const std::vector<ModelRace> unusable = {{{only(0, 1)}, 0, {}},
                                             {{only(0, 1), only(0, 0)}, -1, {}},
                                             {{only(0, 1), only(0, 0)}, 2, {}},
                                             {{}, 0, {}}};
    EXPECT_FALSE(fitWinModel(unusable));
    EXPECT_FALSE(marketLogLoss(unusable));
}

TEST(WinModel, MarketLogLossNormalizesTheOddsAndSkipsRacesWithoutThem) {
    const std::vector<ModelRace> races = {
        {{only(0, 0), only(0, 0)}, 0, {2.0, 2.0}},          // fair: chance 1/2
        {{only(0, 0), only(0, 0)}, 1, {1.6, 2.4}},          // 0.6/0.4 after the takeout: chance 0.4
        {{only(0, 0), only(0, 0)}, 0, {}},                  // no odds
        {{only(0, 0), only(0, 0)}, 0, {3.0, 0.0}},          // a runner without odds
    };
    const auto loss = marketLogLoss(races);
    ASSERT_TRUE(loss);
    EXPECT_NEAR(*loss, (std::log(2.0) - std::log(0.4)) / 2, 1e-12);
}

TEST(WinModel, FeaturesOfARunner) {
    const struct {
        double index, best;
        int rank, runners;
        QChar mark;
        WinFeatures expected;
    } cases[] = {
        {120, 120, 1, 16, u'◎', {0, 0, 1, 0, 0, 0, 0}},
        {95, 120, 4, 16, u'△', {-2.5, std::log(4.0), 0, 0, 0, 1, 0}},
        {80, 120, 0, 10, u' ', {-4, std::log(10.0), 0, 0, 0, 0, 0}},
        {100, 120, 2, 12, u'×', {-2, std::log(2.0), 0, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        const WinFeatures x = winFeatures(c.index, c.best, c.rank, c.runners, c.mark);
        for (int k = 0; k < kWinFeatures; ++k)
            EXPECT_DOUBLE_EQ(x[size_t(k)], c.expected[size_t(k)]) << c.index << " feature " << k;
    }
}

}  // namespace
}  // namespace zm
