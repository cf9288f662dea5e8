// Import of a full sample day (three venues, 36 races, no prediction) next to the bare
// extraction of the same archive, and a batch of 30 sample days.

#include "app/context.h"
#include "app/settings.h"
#include "import/archive.h"
#include "day/day_pipeline.h"
#include "quiet_prompter.h"
#include "sample/sample.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A program folder with the sample written into it.
struct SampleHome {
    explicit SampleHome(int days) {
        home = dir.path() + QStringLiteral("/home");
        zm::sample::SampleOptions options;
        options.home = home;
        options.days = days;
        QStringList written;
        QString message;
        zm::sample::writeSample(options, written, message);
        paths = zm::AppPaths::forHome(home);
        zm::CreateFolders(paths);
        store = std::make_unique<zm::SettingsStore>(dir.path() + QStringLiteral("/zenomur.ini"));
        ctx = std::make_unique<zm::AppContext>(paths, *store, prompter);
        zm::LoadSettings(ctx->settings, *store, paths);
    }
    QString archive() const { return paths.MurDataDefault + u'H' + zm::sample::yymmdd(zm::sample::defaultDate()) + QStringLiteral(".LZH"); }

    QTemporaryDir dir;
    QString home;
    zm::AppPaths paths;
    zm::bench::QuietPrompter prompter{false};
    std::unique_ptr<zm::SettingsStore> store;
    std::unique_ptr<zm::AppContext> ctx;
};

void BM_ExtractDayArchive(benchmark::State& st) {
    SampleHome h(0);
    QString message;
    for (auto _ : st) {
        if (!zm::extractArchive(h.archive(), h.paths.WorkDir, true, message))
            st.SkipWithError("extraction failed");
    }
}
BENCHMARK(BM_ExtractDayArchive)->Unit(benchmark::kMillisecond);

void BM_ImportDay(benchmark::State& st) {
    SampleHome h(0);
    for (auto _ : st) {
        if (const zm::DayOutcome day = zm::ExtractAndPredict(*h.ctx, h.archive(), {}); !day)
            st.SkipWithError(day.status.message().toStdString().c_str());
    }
}
BENCHMARK(BM_ImportDay)->Unit(benchmark::kMillisecond);

void BM_Batch30Days(benchmark::State& st) {
    SampleHome h(30);
    for (auto _ : st) {
        const zm::BatchResult r = zm::BatchRun(*h.ctx, {}, [&](const zm::Notice& m) { h.ctx->prompter.critical(m.text); });
        if (r.imported != 30)
            st.SkipWithError("not every day imported");
    }
}
BENCHMARK(BM_Batch30Days)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
