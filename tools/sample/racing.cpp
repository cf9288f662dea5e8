#include "sample/racing.h"

#include "import/records.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zm::sample {

namespace {

// How far the betting public's view of a horse's form strays from the truth.
constexpr double kMarketNoise = 0.1;

// A generator of its own for one horse and one purpose (salt), from the seed and the code.
Rng horseRng(std::uint64_t seed, std::uint64_t salt, const QString& code) {
    std::uint64_t h = 0xCBF29CE484222325ULL ^ (seed * 0x100000001B3ULL) ^ (salt << 56);
    for (QChar c : code) {
        h ^= c.unicode();
        h *= 0x100000001B3ULL;
    }
    return Rng(h);
}

int runnersOf(const RaceRecord& race) {
    return std::clamp(int(race.number(RaceRecord::runnerCount)), 0, 18);
}

QString codeOf(const RaceRecord& race, int h) {
    return race.trimmed(RaceRecord::runnerField(h, RunnerSlot::horseCode));
}

// Shares of e^(form + noise) over the runners but the horse without.
Chances shares(std::uint64_t seed, const RaceRecord& race, int without, double noise) {
    Chances p{};
    double sum = 0;
    for (int h = 1; h <= runnersOf(race); ++h) {
        if (h == without)
            continue;
        const QString code = codeOf(race, h);
        double form = hiddenForm(seed, code);
        if (noise > 0) {
            Rng rng = horseRng(seed, 2, code);
            form += noise * normal(rng);
        }
        p[size_t(h)] = std::exp(form);
        sum += p[size_t(h)];
    }
    for (double& v : p)
        v = sum > 0 ? v / sum : 0;
    return p;
}

// The chance of the first three in this order (c 0: the first two).
double ordered(const Chances& p, int a, int b, int c) {
    const double pa = p[size_t(a)], pb = p[size_t(b)];
    if (pa >= 1 || pa + pb >= 1)
        return 0;
    const double two = pa * pb / (1 - pa);
    return c == 0 ? two : two * p[size_t(c)] / (1 - pa - pb);
}

}  // namespace

double uniform(Rng& rng) {
    return double(rng.next() >> 11) / 9007199254740992.0;
}

double normal(Rng& rng) {
    const double u = 1.0 - uniform(rng);  // (0, 1]
    const double v = uniform(rng);
    return std::sqrt(-2.0 * std::log(u)) * std::cos(2.0 * std::numbers::pi * v);
}

double hiddenForm(std::uint64_t seed, const QString& horseCode) {
    Rng rng = horseRng(seed, 1, horseCode);
    return normal(rng);
}

Chances trueChances(std::uint64_t seed, const RaceRecord& race, int without) {
    return shares(seed, race, without, 0);
}

Chances marketChances(std::uint64_t seed, const RaceRecord& race, int without) {
    return shares(seed, race, without, kMarketNoise);
}

std::vector<int> finishingOrder(Rng& rng, const Chances& strength, int runners) {
    std::vector<std::pair<double, int>> keys;
    for (int h = 1; h <= std::min(runners, 18); ++h) {
        const double s = strength[size_t(h)];
        const double u = 1.0 - uniform(rng);
        if (s > 0)
            keys.emplace_back(std::log(s) - std::log(-std::log(u > 0.999999999999 ? 0.999999999999 : u)), h);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<int> order;
    for (const auto& [key, h] : keys)
        order.push_back(h);
    return order;
}

double quinellaChance(const Chances& p, int a, int b) {
    return ordered(p, a, b, 0) + ordered(p, b, a, 0);
}

double placedChance(const Chances& p, int a, int b, int places) {
    double sum = 0;
    // Every order of the first `places` runners that holds both a and b.
    for (int x = 1; x <= 18; ++x) {
        if (p[size_t(x)] <= 0)
            continue;
        for (int y = 1; y <= 18; ++y) {
            if (y == x || p[size_t(y)] <= 0)
                continue;
            if (places == 2) {
                if ((x == a || y == a) && (x == b || y == b))
                    sum += ordered(p, x, y, 0);
                continue;
            }
            for (int z = 1; z <= 18; ++z) {
                if (z == x || z == y || p[size_t(z)] <= 0)
                    continue;
                if ((x == a || y == a || z == a) && (x == b || y == b || z == b))
                    sum += ordered(p, x, y, z);
            }
        }
    }
    return sum;
}

int oddsTenths(double chance, double takeout) {
    if (chance <= 0)
        return 0;
    return std::max(10, int(std::floor(10.0 * (1.0 - takeout) / chance + 1e-9)));
}

int payoutPer100(double chance, double takeout, int split) {
    if (chance <= 0)
        return 100;
    const double yen = 100.0 * (1.0 - takeout) / (chance * std::max(1, split));
    return std::max(100, int(std::min(1e7, std::floor(yen / 10.0 + 1e-9))) * 10);
}

}  // namespace zm::sample
