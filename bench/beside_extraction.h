#pragma once

// An import's time beside the bare extraction of the same archive, measured in the same run and
// under the same load of the machine: before each timed import the archive is extracted into
// the work folder with the timing paused, and both are timed by the wall clock. The benchmark
// reports the extraction's mean ("extract_ms", the import's own "import_ms" beside it) and the
// ratio of the sums ("x_extraction"), which is the figure to hold against a target.
//
// The bare extraction is liblhasa's own: its reader, member after member, each extracted to its
// file with its CRC checked (what an extraction tool built on the library does). The program's
// own reader unpacks in memory and, on a machine with two cores, unpacks the members side by
// side; it is not the floor.
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
#include "import/work_folder.h"

#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

extern "C" {
#include <lha_reader.h>
}

// liblhasa's bare extraction of an archive into a folder (which must exist): false when the
// archive cannot be opened or a member cannot be extracted (a wrong CRC among them).
inline bool bareExtraction(const QString& archive, const QString& folder) {
    LHAInputStream* stream = lha_input_stream_from(const_cast<char*>(QFile::encodeName(archive).constData()));
    if (stream == nullptr)
        return false;
    LHAReader* reader = lha_reader_new(stream);
    bool ok = reader != nullptr;
    while (ok) {
        LHAFileHeader* h = lha_reader_next_file(reader);
        if (h == nullptr)
            break;
        if (h->filename == nullptr)
            continue;  // a folder: the sample's archives hold none
        const QByteArray target = QFile::encodeName(folder + QLatin1Char('/')) + h->filename;
        ok = lha_reader_extract(reader, const_cast<char*>(target.constData()), nullptr, nullptr) != 0;
    }
    if (reader != nullptr)
        lha_reader_free(reader);
    lha_input_stream_free(stream);
    return ok;
}

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
        const auto start = Clock::now();
        if (!bareExtraction(archive, workDir))
            st_.SkipWithError("the archive cannot be extracted");
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
