#pragma once

// The win-probability model: within a race, each runner's chance of winning is
// softmax(beta . x) over the race's runners, x the runner's features. beta is fitted by maximum
// likelihood on races whose winner is known (a conditional logit), by Newton's method with a
// small ridge so that a feature that never varies, or that separates the winners perfectly,
// still gives a finite answer.

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace zm {

// The features of one runner: the predicted index less the best index of its race (0 for the
// best, negative for the rest, in index points / 10), the predicted rank's logarithm, and one
// indicator a mark ◎ ○ ▲ △ ×.
inline constexpr int kWinFeatures = 7;
using WinFeatures = std::array<double, kWinFeatures>;

// The marks in the order of their indicators; anything else is no mark.
inline constexpr std::array<char16_t, 5> kWinMarks = {u'◎', u'○', u'▲', u'△', u'×'};

// A runner's features from its predicted index, the best index of its race, its rank (1 the
// best; 0 when it has none: counted as the last) among runners, and its mark (a blank for none).
WinFeatures winFeatures(double index, double bestIndex, int rank, int runners, QChar mark);

// What one runner's features are made of: its predicted index, rank (0 for none) and mark.
struct RunnerPrediction {
    double index = 0;
    int rank = 0;
    QChar mark = u' ';
};

// The features of every runner of a race, the indexes measured from the best of them (from 0
// when none is above 0).
std::vector<WinFeatures> raceFeatures(const std::vector<RunnerPrediction>& runners);

// One race as the fit and the report see it: its runners' features and, where known, the
// horse that won (an index into runners) and the market's win odds of each runner (0 where
// there is none).
struct ModelRace {
    std::vector<WinFeatures> runners;
    int winner = -1;
    std::vector<double> odds;
};

struct WinModel {
    WinFeatures beta{};
    int races = 0;          // races the fit used
    int iterations = 0;     // Newton steps taken
    double logLikelihood = 0;

    // The chance of each runner of a race, summing to 1 (empty for a race without runners).
    std::vector<double> chances(const std::vector<WinFeatures>& runners) const;
};

// Fits the model to the races with a winner among two or more runners. Nothing when there is no
// such race.
std::optional<WinModel> fitWinModel(const std::vector<ModelRace>& races, double ridge = 1e-4);

// The mean negative log chance the model gave each race's winner (races with a winner only).
double modelLogLoss(const WinModel& model, const std::vector<ModelRace>& races);

// The same for the market's chances (1/odds normalized over the race), over the races where
// every runner has odds; nothing when there is none.
std::optional<double> marketLogLoss(const std::vector<ModelRace>& races);

// Reliability: the runners of races with a winner in ten bands of predicted chance
// (0-10%, ..., 90-100%): how many, the mean predicted chance and the share that won.
struct ReliabilityBand {
    int runners = 0;
    int winners = 0;
    double meanChance = 0;
    double observedRate() const { return runners ? double(winners) / runners : 0; }
};
std::array<ReliabilityBand, 10> reliability(const WinModel& model, const std::vector<ModelRace>& races);

}  // namespace zm
