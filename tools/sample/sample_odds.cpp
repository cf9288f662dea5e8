#include "sample/sample.h"

#include "sample/racing.h"

#include "import/records.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

// The service's predicted-odds file: the market's odds of each race a little off, with its
// markers for a horse out of range ('*'), a non-runner ('/') and no horse ('-').

namespace zm::sample {

namespace {

QString zeros(int v, int width) { return QString::number(v).rightJustified(width, u'0'); }

// Tenths as zero-padded digits, cut at the largest value the width holds.
QString oddsText(int tenths, int width) {
    int most = 1;
    for (int i = 0; i < width; ++i)
        most *= 10;
    return zeros(std::min(tenths, most - 1), width);
}

// Quinella odds (in tenths) a race's bettors often leave right at the line between a short
// and a long price.
constexpr int kEdgeQuinella[] = {125, 299, 300, 301};

struct RaceMarket {
    int runners = 0;
    int scratched = 0;  // the non-runner's number, 0 for none
    Chances chances{};
    std::array<int, 19> popularity{};  // favourite 1, then 2, ...
};

// Win odds, and the popularity from them; then place odds as a low and a high bound per horse
// around the odds of its place chance.
void fillWinAndPlace(OddsRecord& o, RaceMarket& m, Rng& rng) {
    std::array<int, 19> win{};
    for (int h = 1; h <= m.runners; ++h)
        win[size_t(h)] = std::max(10, oddsTenths(m.chances[size_t(h)], kWinTakeout) * rng.between(90, 112) / 100);
    std::vector<int> byPopularity;
    for (int h = 1; h <= m.runners; ++h)
        byPopularity.push_back(h);
    std::stable_sort(byPopularity.begin(), byPopularity.end(),
                     [&](int a, int b) { return win[size_t(a)] < win[size_t(b)]; });
    for (size_t k = 0; k < byPopularity.size(); ++k)
        m.popularity[size_t(byPopularity[k])] = int(k) + 1;

    for (int h = 1; h <= 18; ++h) {
        QString text;
        if (h > m.runners) {
            text = QStringLiteral("-");
        } else if (h == m.scratched) {
            text = QStringLiteral("/");
        } else {
            const bool outOfRange = 2 * m.popularity[size_t(h)] > m.runners && rng.chance(0.05);
            text = outOfRange ? QStringLiteral("*") : oddsText(win[size_t(h)], 5);
        }
        o.setText(OddsRecord::winOdds, h, text);
    }
    const int places = m.runners <= 7 ? 2 : 3;
    for (int h = 1; h <= 18; ++h) {
        const bool none = h > m.runners || h == m.scratched;
        const int fair = none ? 0 : oddsTenths(placedChance(m.chances, h, h, places), kWinTakeout);
        o.setText(OddsRecord::placeOdds, 2 * h - 1, none ? QStringLiteral("-") : oddsText(std::max(10, fair * 3 / 4), 5));
        o.setText(OddsRecord::placeOdds, 2 * h, none ? QStringLiteral("-") : oddsText(std::max(11, fair * 7 / 5), 5));
    }
}

// Quinella odds from the pair's chance: the top few pairs short, the rest long. One pair of
// neighbouring favourites per race sits right at the line of 30.0.
void fillQuinellas(OddsRecord& o, const RaceMarket& m, Rng& rng) {
    const int edgeRank = m.runners >= 4 ? rng.between(1, 3) : 0;
    const int edgeValue = kEdgeQuinella[rng.between(0, int(std::size(kEdgeQuinella)) - 1)];
    for (int i = 1; i <= 17; ++i) {
        for (int j = i + 1; j <= 18; ++j) {
            QString text;
            if (j > m.runners) {
                text = QStringLiteral("-");
            } else if (i == m.scratched || j == m.scratched) {
                text = QStringLiteral("/");
            } else {
                const int pi = m.popularity[size_t(i)];
                const int pj = m.popularity[size_t(j)];
                int v = oddsTenths(quinellaChance(m.chances, i, j), kPairTakeout) * rng.between(90, 110) / 100;
                v = std::max(10, v);
                if (std::min(pi, pj) == edgeRank && std::max(pi, pj) == edgeRank + 1)
                    v = edgeValue;
                else if (std::max(pi, pj) <= 6 && rng.chance(0.06))
                    v = kEdgeQuinella[rng.between(0, int(std::size(kEdgeQuinella)) - 1)];
                const bool outOfRange = std::min(pi, pj) >= 10 && rng.chance(0.2);
                text = outOfRange || v > 99999 ? QStringLiteral("*") : oddsText(v, 7);
            }
            o.setText(OddsRecord::quinellaField(i, j), text);
        }
    }
}

}  // namespace

QByteArray makeOddsFile(const QByteArray& races, std::uint64_t seed, const QByteArray&) {
    Rng rng(seed * 131 + 3);
    const RecordFile file(races, RaceRecord::kLength);
    QByteArray out;
    for (int n = 1; n <= file.count(); ++n) {
        const RaceRecord race(file.recordView(n));
        RaceMarket m;
        m.runners = std::clamp(int(race.number(RaceRecord::runnerCount)), 0, 18);
        OddsRecord o;
        o.setRaw(Field{"key", 0, 12}, race.raw(Field{"key", 0, 12}));
        o.setText(OddsRecord::raceDate, race.dateText());
        o.setRaw(Field{"raceName", 28, 30}, race.raw(Field{"raceName", 28, 30}));
        m.scratched = m.runners > 8 && rng.chance(0.15) ? rng.between(1, m.runners) : 0;
        o.setText(Field{"runners", 109, 2}, zeros(m.runners, 2));
        o.setText(Field{"nonRunners", 111, 2}, zeros(m.scratched ? 1 : 0, 2));
        m.chances = marketChances(seed, race);
        fillWinAndPlace(o, m, rng);
        fillQuinellas(o, m, rng);
        out.append(o.bytes());
    }
    return out;
}

}  // namespace zm::sample
