// The season ledger and the win model over a season of 365 race days: writing every day into a
// fresh ledger (100 judged bets, 36 results and 40 pending bets a day), writing them all again
// (nothing changes), the report by month from the file, and the fit of the model on 365 x 36
// races of 8 to 18 runners.

#include "analysis/ledger.h"
#include "analysis/ledger_report.h"
#include "analysis/win_model.h"
#include "sample/sample.h"

#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace zm;

std::vector<LedgerDay> season() {
    sample::Rng rng(2026);
    std::vector<LedgerDay> days;
    QDate date(2025, 1, 4);
    for (int d = 0; d < 365; ++d, date = date.addDays(1)) {
        LedgerDay day;
        day.day = date.toString(QStringLiteral("yyyyMMdd"));
        for (int i = 0; i < 100; ++i) {
            const int r = rng.between(0, 99);
            const zm::Judgement j = r < 20 ? zm::Judgement::Hit : r < 22 ? zm::Judgement::Refund : zm::Judgement::Miss;
            const int stake = 100 * rng.between(1, 10);
            const int payout = j == zm::Judgement::Hit ? 10 * rng.between(11, 900) : 0;
            day.bets.push_back({QString::number(rng.between(1, 10)).rightJustified(2, u'0'), rng.between(1, 12),
                                QString::number(rng.between(1, 5)), QStringLiteral(" 3- 5"), Amount::yen(stake), j,
                                Amount::yen(payout), Amount::yen(j == zm::Judgement::Refund ? stake : payout * stake / 100),
                                i < 40, i < 40 ? 5 : -1});
        }
        for (int i = 0; i < 36; ++i)
            day.results.push_back(QByteArray(184, char('0' + i % 10)) + "\r\n");
        for (int i = 0; i < 40; ++i) {
            PendingBet p;
            p.Venue = QStringLiteral("中山");
            p.Race = QStringLiteral("%1R").arg(i % 12 + 1);
            p.BetType = QStringLiteral("馬連");
            p.Combination = QStringLiteral(" 3- 5");
            p.Odds = QStringLiteral("12.3");
            p.Amount = QStringLiteral("1000");
            day.pending.push_back(p);
        }
        days.push_back(std::move(day));
    }
    return days;
}

void BM_LedgerUpdate365(benchmark::State& state) {
    const std::vector<LedgerDay> days = season();
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        state.ResumeTiming();
        auto ledger = Ledger::open(dir.filePath(kLedgerFileName));
        for (const LedgerDay& d : days) {
            if (!ledger.value()->writeDay(d))
                state.SkipWithError("write failed");
        }
    }
}
BENCHMARK(BM_LedgerUpdate365)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LedgerUpdate365Unchanged(benchmark::State& state) {
    const std::vector<LedgerDay> days = season();
    QTemporaryDir dir;
    auto ledger = Ledger::open(dir.filePath(kLedgerFileName));
    for (const LedgerDay& d : days)
        (void)ledger.value()->writeDay(d);
    for (auto _ : state) {
        for (const LedgerDay& d : days)
            benchmark::DoNotOptimize(ledger.value()->writeDay(d).value());
    }
}
BENCHMARK(BM_LedgerUpdate365Unchanged)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LedgerReport365(benchmark::State& state) {
    QTemporaryDir dir;
    auto ledger = Ledger::open(dir.filePath(kLedgerFileName));
    for (const LedgerDay& d : season())
        (void)ledger.value()->writeDay(d);
    for (auto _ : state) {
        const auto bets = ledger.value()->bets();
        benchmark::DoNotOptimize(ledgerReport(*bets, LedgerGrouping::Month).total.bets);
    }
}
BENCHMARK(BM_LedgerReport365)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ModelFit365(benchmark::State& state) {
    sample::Rng rng(7);
    std::vector<ModelRace> races;
    for (int r = 0; r < 365 * 36; ++r) {
        ModelRace race;
        const int n = rng.between(8, 18);
        for (int i = 0; i < n; ++i)
            race.runners.push_back(winFeatures(120 - 5 * i - rng.between(0, 10), 120, i + 1, n,
                                               i < 5 ? QChar(kWinMarks[size_t(i)]) : QChar(u' ')));
        race.winner = std::min(n - 1, rng.between(0, 3) * rng.between(0, 2));
        races.push_back(std::move(race));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(fitWinModel(races)->beta[0]);
}
BENCHMARK(BM_ModelFit365)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
