// Import and prediction of a full sample day (three venues x 12 races) beside liblhasa's bare
// extraction of the same archive, and a batch of 30 sample days. Each import benchmark reports
// "x_extraction", its time over the extraction's: the plain ones over the extraction benchmark
// run just before them, the "BesideExtraction" ones over extractions timed between their imports
// under the same load (see beside_extraction.h).

#include "app/context.h"
#include "app/file_set.h"
#include "app/paths.h"
#include "app/settings.h"
#include "beside_extraction.h"
#include "import/archive.h"
#include "day/day_pipeline.h"
#include "import/race_model.h"
#include "import/work_folder.h"
#include "quiet_prompter.h"
#include "sample/sample.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using namespace zm;

struct BenchHome {
    explicit BenchHome(int days) {
        paths = AppPaths::forHome(dir.path());
        CreateFolders(paths);
        store = std::make_unique<SettingsStore>(dir.path() + QStringLiteral("/zenomur.ini"));
        ctx = std::make_unique<AppContext>(paths, *store, prompter);
        LoadSettings(ctx->settings, *store, paths);
        write(paths.jockeyFile(), sample::makeJockeyFile(1));
        const QList<QDate> dates = sample::raceDaysBack(sample::defaultDate(), days);
        for (int i = 0; i < dates.size(); ++i) {
            const QString path = paths.MurDataDefault + QStringLiteral("H") + sample::yymmdd(dates[i]) + QStringLiteral(".LZH");
            write(path, sample::dayArchive(sample::makeDay(dates[i], 1000 + static_cast<std::uint64_t>(i))));
            archives.append(path);
        }
    }
    // The last import's commit goes on in the background: it must end before the folder goes.
    ~BenchHome() { FinishFileSets(); }
    BenchHome(const BenchHome&) = delete;
    BenchHome& operator=(const BenchHome&) = delete;

    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            std::abort();
        }
    }

    QTemporaryDir dir;
    AppPaths paths;
    bench::QuietPrompter prompter;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<AppContext> ctx;
    QStringList archives;
};

// The mean wall time per iteration of a benchmark's loop.
template <class Body>
double meanMilliseconds(benchmark::State& st, Body body) {
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : st)
        body();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    return st.iterations() > 0 ? spent.count() / static_cast<double>(st.iterations()) : 0.0;
}

// The extraction benchmarks keep their mean for the import benchmarks run after them, which
// report their own mean over it as "x_extraction": the two benchmarks of one run side by side.
double extractDayMs = 0;
double extractBatchMs = 0;

void reportBeside(benchmark::State& st, double importMs, double extractMs) {
    if (importMs > 0 && extractMs > 0)
        st.counters["x_extraction"] = importMs / extractMs;
}

void BM_ExtractOnly(benchmark::State& st) {
    BenchHome home(1);
    extractDayMs = meanMilliseconds(st, [&] {
        if (!bareExtraction(home.archives[0], home.paths.WorkDir))
            st.SkipWithError("the archive cannot be extracted");
        emptyFolder(home.paths.WorkDir);
    });
}
BENCHMARK(BM_ExtractOnly)->Unit(benchmark::kMillisecond);

// The program's own unpacking of the archive into memory, the first step of an import: what an
// import adds to it is the day's own work (its files, the prediction, the commit).
void BM_UnpackInMemory(benchmark::State& st) {
    BenchHome home(1);
    for (auto _ : st) {
        QString message;
        const auto members = unpackTopFiles(home.archives[0], message);
        if (!members)
            st.SkipWithError(message.toStdString().c_str());
        benchmark::DoNotOptimize(members);
    }
}
BENCHMARK(BM_UnpackInMemory)->Unit(benchmark::kMillisecond);

// Imports of the day one after another, as a user imports day after day: what one import
// leaves running in the background overlaps the next.
void BM_ImportAndPredictDay(benchmark::State& st) {
    BenchHome home(1);
    const DaySteps hooks = DaySteps::predictionOnly();
    const double ms = meanMilliseconds(st, [&] {
        if (const DayOutcome day = ExtractAndPredict(*home.ctx, home.archives[0], hooks); !day)
            st.SkipWithError(day.status.message().toStdString().c_str());
    });
    reportBeside(st, ms, extractDayMs);
}
BENCHMARK(BM_ImportAndPredictDay)->Unit(benchmark::kMillisecond);

// The same import with the extraction of the archive timed beside each one (see
// beside_extraction.h): the ratio under the same load of the machine.
void BM_ImportAndPredictDayBesideExtraction(benchmark::State& st) {
    BenchHome home(1);
    const DaySteps hooks = DaySteps::predictionOnly();
    BesideExtraction beside(st);
    for (auto _ : st) {
        beside.extract(home.archives[0], home.paths.WorkDir);
        DayOutcome day;
        beside.import([&] { day = ExtractAndPredict(*home.ctx, home.archives[0], hooks); });
        if (!day) {
            st.SkipWithError(day.status.message().toStdString().c_str());
            break;
        }
    }
    beside.report();
}
BENCHMARK(BM_ImportAndPredictDayBesideExtraction)->Unit(benchmark::kMillisecond);

void BM_ExtractOnlyBatch30(benchmark::State& st) {
    BenchHome home(30);
    extractBatchMs = meanMilliseconds(st, [&] {
        for (const QString& archive : home.archives) {
            bareExtraction(archive, home.paths.WorkDir);
            emptyFolder(home.paths.WorkDir);
        }
    });
}
BENCHMARK(BM_ExtractOnlyBatch30)->Unit(benchmark::kMillisecond);

void BM_ImportAndPredictBatch30(benchmark::State& st) {
    BenchHome home(30);
    const DaySteps hooks = DaySteps::predictionOnly();
    const double ms = meanMilliseconds(st, [&] {
        for (const QString& archive : home.archives) {
            ExtractAndPredict(*home.ctx, archive, hooks);
        }
    });
    reportBeside(st, ms, extractBatchMs);
}
BENCHMARK(BM_ImportAndPredictBatch30)->Unit(benchmark::kMillisecond);

void BM_ImportAndPredictBatch30BesideExtraction(benchmark::State& st) {
    BenchHome home(30);
    const DaySteps hooks = DaySteps::predictionOnly();
    BesideExtraction beside(st);
    for (auto _ : st) {
        for (const QString& archive : home.archives) {
            beside.extract(archive, home.paths.WorkDir);
            beside.import([&] { ExtractAndPredict(*home.ctx, archive, hooks); });
        }
    }
    beside.report();
}
BENCHMARK(BM_ImportAndPredictBatch30BesideExtraction)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
