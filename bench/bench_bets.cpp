// Every pending-bet command on a file of 2,048 bets (1,024 for the sort, its table's size), each
// run on a fresh copy of the file in a temporary home. Questions are answered OK / Yes.

#include "app/context.h"
#include "app/safe_save.h"
#include "bets/bet_output.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/records.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace zm;

// OK and Yes/No/Cancel answered Yes, Yes/No answered No.
class YesPrompter : public Prompter {
public:
    Answer ask(const Question& q) override {
        return plainKind(q.kind) == QuestionKind::YesNo ? Answer::No : Answer::Yes;
    }
};

const QString kDay = QStringLiteral("20310309");

struct Home {
    Home() {
        paths = AppPaths::forHome(dir.path() + QStringLiteral("/home"));
        CreateFolders(paths);
        store = std::make_unique<SettingsStore>(dir.path() + QStringLiteral("/z.ini"));
        ctx = std::make_unique<AppContext>(paths, *store, prompter);
        LoadSettings(ctx->settings, *store, paths);
        ctx->settings.Ver = QStringLiteral("98");
        ctx->settings.PatDir = dir.path() + QStringLiteral("/home/PAT");
        QDir().mkpath(ctx->settings.PatDir);
        RaceRecord r;
        r.setText(RaceRecord::venueCode, u"04");
        r.setText(RaceKeyFields::raceDate, kDay);
        r.setText(RaceRecord::nichi, u"03");
        (void)SafeSave::save(paths.DataDir + dayRaceFileName(kDay), r.bytes());
    }
    QByteArray file(int bets) const {
        QString text;
        const char* types[] = {"単勝", "複勝", "枠連", "馬連", "拡"};
        for (int i = 0; i < bets; ++i) {
            const int t = i % 5;
            const QString comb = t < 2 ? QString::number(i % 18 + 1) : t == 2 ? QStringLiteral("1-%1").arg(i % 8 + 1)
                                                                             : QStringLiteral("%1-%2").arg(i % 9 + 1, 2, 10, QChar(u'0')).arg(i % 9 + 10);
            text += QStringLiteral("東京,%1R,%2,%3,      ,  %4円\r\n").arg((i * 7) % 12 + 1).arg(QString::fromUtf8(types[t]), comb).arg((i % 30 + 1) * 100);
        }
        return toSjis(text);
    }
    void reset(const QByteArray& bytes) { (void)SafeSave::save(PendingBetPath(paths, kDay), bytes); }

    QTemporaryDir dir;
    AppPaths paths;
    YesPrompter prompter;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<AppContext> ctx;
};

template <class Fn>
void runOnFreshFile(benchmark::State& state, int bets, Fn fn) {
    Home h;
    const QByteArray bytes = h.file(bets);
    for (auto _ : state) {
        state.PauseTiming();
        h.reset(bytes);
        state.ResumeTiming();
        fn(h);
    }
}

void BM_Add(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) {
        BetOutForm f = OpenBetOutForm(h.ctx->settings);
        f.tan[0] = BetRow{true, "5", "100"};
        f.uma[0] = BetRow{true, "5-12", "500"};
        Notices notices;
        benchmark::DoNotOptimize(WriteBetOut(*h.ctx, kDay, f, "04", 11, notices).ok());
    });
}
void BM_Show(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) {
        const auto f = ReadPendingBets(PendingBetPath(h.paths, kDay));
        QString out;
        for (const QString& l : f->lines)
            out += l + u'\n';
        benchmark::DoNotOptimize(out.toUtf8());
    });
}
void BM_Totals(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) { benchmark::DoNotOptimize(PendingBetTotals(h.ctx->paths, kDay)); });
}
void BM_Sort1024(benchmark::State& state) {
    runOnFreshFile(state, 1024, [](Home& h) { benchmark::DoNotOptimize(SortPendingBets(*h.ctx, kDay)); });
}
void BM_Dedupe(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) { benchmark::DoNotOptimize(RemoveDuplicateBets(*h.ctx, kDay)); });
}
void BM_Merge(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) { benchmark::DoNotOptimize(MergeDuplicateBets(*h.ctx, kDay)); });
}
void BM_Odds(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) { benchmark::DoNotOptimize(ImportBetOdds(*h.ctx, kDay)); });
}
void BM_Prune(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) {
        OddsRangeDialog d = OpenOddsRangeDialog(*h.store);
        d.checked = {true, false, false, true, false};
        d.minText = {"1", "1", "1", "1", "1"};
        d.maxText = {"2", "2", "2", "2", "2"};
        d.noOddsAsOne = false;
        h.reset(h.file(2048).replace("      ", "   1.5"));
        benchmark::DoNotOptimize(DeleteBetsByOddsRange(*h.ctx, kDay, d));
    });
}
void BM_Sakutto(benchmark::State& state) {
    runOnFreshFile(state, 2048, [](Home& h) { benchmark::DoNotOptimize(CutPurchaseFiles(*h.ctx, kDay)); });
}

BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Show)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Totals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dedupe)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Odds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Prune)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sakutto)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
