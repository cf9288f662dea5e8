#pragma once

// An import's time beside the bare extraction of the same archive, measured in the same run and
// under the same load of the machine: before each timed import the archive is extracted into
// the work folder with the timing paused, and both are timed by the wall clock. The benchmark
// reports the extraction's mean ("extract_ms", the import's own "import_ms" beside it) and the
// ratio of the sums ("x_extraction"), which is the figure to hold against a target.
//
// An import returns once its day is in place and on the disk; the end of its commit (the syncs
// of the folder, the journal's removal, freeing the replaced files) goes on in the background.
// That is awaited, untimed, before the next extraction, so that neither figure carries the
// other's work; how long it still took is reported as "tail_ms", and the ratio with it counted
// to the import as "x_with_tail".
//
//     BesideExtraction beside(st);
//     for (auto _ : st) {
//         beside.extract(archive, workDir);  // not timed by the benchmark
//         beside.import([&] { ... });        // timed
//     }
//     beside.report();

#include "app/file_set.h"
#include "import/archive.h"
#include "import/work_folder.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

class BesideExtraction {
public:
    explicit BesideExtraction(benchmark::State& st) : st_(st) {}

    // Extracts the archive (as the import does, into a work folder it empties first) and empties
    // the folder again, with the benchmark's timing paused.
    void extract(const QString& archive, const QString& workDir) {
        st_.PauseTiming();
        const auto tail = Clock::now();
        zm::FinishFileSets();
        tail_ += Clock::now() - tail;
        QString message;
        const auto start = Clock::now();
        if (!zm::extractArchive(archive, workDir, true, message))
            st_.SkipWithError(message.toStdString().c_str());
        zm::emptyFolder(workDir);
        extract_ += Clock::now() - start;
        st_.ResumeTiming();
    }

    template <class Import>
    void import(Import&& run) {
        const auto start = Clock::now();
        run();
        import_ += Clock::now() - start;
    }

    void report() {
        if (st_.iterations() == 0 || extract_.count() <= 0)
            return;
        const double n = static_cast<double>(st_.iterations());
        st_.counters["extract_ms"] = std::chrono::duration<double, std::milli>(extract_).count() / n;
        st_.counters["import_ms"] = std::chrono::duration<double, std::milli>(import_).count() / n;
        st_.counters["tail_ms"] = std::chrono::duration<double, std::milli>(tail_).count() / n;
        st_.counters["x_extraction"] = static_cast<double>(import_.count()) / static_cast<double>(extract_.count());
        st_.counters["x_with_tail"] =
            static_cast<double>((import_ + tail_).count()) / static_cast<double>(extract_.count());
    }

private:
    using Clock = std::chrono::steady_clock;
    benchmark::State& st_;
    Clock::duration extract_{};
    Clock::duration import_{};
    Clock::duration tail_{};
};
