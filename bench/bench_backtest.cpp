// The back-test of all nine styles over 365 generated race days: 36 races a day of 8 to 18
// runners with their results, predicted odds for the odds-filtered style and a pending-bet
// file of a dozen bets a day.

#include "analysis/backtest.h"
#include "analysis/backtest_tables.h"
#include "app/paths.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "import/records.h"
#include "pat/pat_log.h"
#include "predict/prediction_file.h"
#include "sample/sample.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <numeric>

namespace {

QString two(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

struct Season {
    QTemporaryDir dir;
    zm::AppPaths paths = zm::AppPaths::forHome(dir.path() + u'/');
    zm::AppSettings settings;

    explicit Season(int days) {
        QDir().mkpath(paths.DataDir);
        zm::sample::Rng rng(365);
        const QString venues[] = {QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("00")};
        const QString jra[] = {QStringLiteral("05"), QStringLiteral("06"), QStringLiteral("08")};
        QDate date(2025, 1, 4);
        for (int d = 0; d < days; ++d, date = date.addDays(1)) {
            const QString day = date.toString(QStringLiteral("yyyyMMdd"));
            std::vector<zm::PredictionRecord> records;
            QByteArray sei;
            QByteArray odds;
            QString bets;
            for (int v = 0; v < 3; ++v) {
                for (int race = 1; race <= 12; ++race) {
                    const int n = rng.between(8, 18);
                    zm::PredictionRecord r;
                    r.raceDate = day;
                    r.venueCode = venues[v];
                    r.raceNo = static_cast<std::int16_t>(race);
                    r.runnerCount = static_cast<std::int16_t>(n);
                    std::vector<int> order(static_cast<size_t>(n));
                    std::iota(order.begin(), order.end(), 1);
                    for (int i = n - 1; i > 0; --i) std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(rng.between(0, i))]);
                    for (int i = 0; i < n; ++i) r.runners[static_cast<size_t>(order[static_cast<size_t>(i)] - 1)].rank = static_cast<std::int16_t>(i + 1);
                    records.push_back(r);

                    // The first three home: mostly among the top five of the ranking.
                    std::vector<int> home;
                    while (home.size() < 3) {
                        const int h = rng.chance(0.6) ? order[static_cast<size_t>(rng.between(0, 4))] : rng.between(1, n);
                        if (std::find(home.begin(), home.end(), h) == home.end()) home.push_back(h);
                    }
                    zm::SeiRecord s;
                    s.setText(zm::SeiRecord::key, day.mid(6, 2) + jra[v] + two(race));
                    s.setText(zm::SeiRecord::venueNo, jra[v]);
                    s.setText(zm::SeiRecord::raceNo, two(race));
                    for (int i = 0; i < 3; ++i) s.setText(zm::SeiRecord::finishers.element(i + 1), two(home[static_cast<size_t>(i)]));
                    s.setText(zm::SeiRecord::winHorses.element(1), two(home[0]));
                    s.setText(zm::SeiRecord::winPayouts.element(1), QString::number(rng.between(11, 300) * 10).rightJustified(5));
                    const int a = std::min(home[0], home[1]);
                    const int b = std::max(home[0], home[1]);
                    s.setText(zm::SeiRecord::quinellaPairs.element(1), two(a) + two(b));
                    s.setText(zm::SeiRecord::quinellaPayouts.element(1), QString::number(rng.between(30, 3000) * 10).rightJustified(6));
                    sei += s.bytes();

                    zm::OddsRecord o;
                    o.setText(zm::OddsRecord::venueCode, venues[v]);
                    o.setText(zm::OddsRecord::raceNo, two(race));
                    for (int i = 1; i <= n; ++i)
                        for (int j = i + 1; j <= n; ++j)
                            o.setText(zm::OddsRecord::quinellaField(i, j), QString::number(rng.between(30, 900)).rightJustified(7));
                    odds += o.bytes();

                    if (race % 3 == 0)
                        bets += zm::VenueName(venues[v]) + u',' + QString::number(race).rightJustified(2) +
                                QStringLiteral("R,馬連,") + two(a) + u'-' + two(order[1]) + QStringLiteral(",,  100円\r\n");
                }
            }
            zm::writePredictionFile(zm::predictionFilePath(paths.DataDir, day), records);
            (void)zm::SafeSave::save(zm::seiPath(paths.DataDir, day), sei);
            (void)zm::SafeSave::save(paths.DataDir + QStringLiteral("MURODDS") + day + QStringLiteral(".DAT"), odds);
            (void)zm::SafeSave::save(paths.DataDir + QStringLiteral("~B") + day + QStringLiteral(".TXT"), zm::toSjis(bets));
        }
    }
};

void BM_Backtest365Days(benchmark::State& state) {
    Season season(365);
    for (auto _ : state) {
        const zm::BacktestReport r =
            zm::RunBacktest(season.paths, season.settings, {}, zm::nullProgress());
        benchmark::DoNotOptimize(r.styles.front().total.bets);
        state.counters["bets"] = static_cast<double>(r.styles.front().total.bets);
    }
}
BENCHMARK(BM_Backtest365Days)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Backtest365DaysWithCsv(benchmark::State& state) {
    Season season(365);
    const QString csv = season.dir.path() + QStringLiteral("/backtest.csv");
    for (auto _ : state) {
        zm::BacktestOptions o;
        o.keepBets = true;
        const zm::BacktestReport r =
            zm::RunBacktest(season.paths, season.settings, o, zm::nullProgress());
        benchmark::DoNotOptimize(zm::WriteBacktestCsv(r, csv, false).ok());
    }
}
BENCHMARK(BM_Backtest365DaysWithCsv)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
