#pragma once

// How the sample's races are run and bet on. Every horse has a hidden form (a standard normal
// deviate drawn from the seed and its code); its strength is e^form. The strength shapes the
// horse's past runs, the betting public's view of it (the market: strength with a little noise
// of its own) and, with Gumbel noise on the log-strength, where it finishes: a horse wins with
// the chance of its share of the field's strength. Payouts are the market's odds less JRA's
// takeout, so betting returns what a real pool returns before skill.

#include "sample/sample.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zm {
class RaceRecord;
}

namespace zm::sample {

constexpr double kWinTakeout = 0.20;    // win and place
constexpr double kPairTakeout = 0.225;  // bracket quinella, quinella and wide

// A horse's hidden form: about N(0, 1), the same for the same seed and code.
double hiddenForm(std::uint64_t seed, const QString& horseCode);

// Chances by horse number (1..18; 0 unused, 0 for no runner).
using Chances = std::array<double, 19>;

// The chance of winning of each runner of a race, from the strengths (truth) or from the
// market's view of them (noise of its own added to each form), 0 for the horse without
// (a horse returned after betting began, 0 for none); they add up to 1.
Chances trueChances(std::uint64_t seed, const RaceRecord& race, int without = 0);
Chances marketChances(std::uint64_t seed, const RaceRecord& race, int without = 0);

// A race's finishing order by horse number, without the horse without: each runner's
// log-strength plus Gumbel noise, the largest first.
std::vector<int> finishingOrder(Rng& rng, const Chances& strength, int runners);

// Chances of the bets under the order-by-order model the finishing order follows.
double quinellaChance(const Chances& p, int a, int b);
// Both a and b (a may equal b: a alone) among the first `places`, 2 or 3.
double placedChance(const Chances& p, int a, int b, int places);

// Win odds in tenths as JRA shows them: (1 - takeout) / chance cut to tenths, at least 1.0.
int oddsTenths(double chance, double takeout);
// The payout per 100 yen of a bet with this chance, the pool split among `split` winning
// tickets (a dead heat): cut to 10 yen, at least 100 (JRA's floor).
int payoutPer100(double chance, double takeout, int split = 1);

// A uniform number in [0, 1) and a standard normal deviate from a generator.
double uniform(Rng& rng);
double normal(Rng& rng);

}  // namespace zm::sample
