// The archive adapter on a sample race day: building the archive (-lh5- compression), reading
// it back in memory, and extracting it to a folder.

#include "import/archive.h"
#include "sample/sample.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

std::vector<zm::ArchiveMember> dayMembers() {
    const zm::sample::DayFiles day = zm::sample::makeDay(zm::sample::defaultDate(), 1);
    return {{QStringLiteral("mur_den1.kd2"), day.races},
            {QStringLiteral("mur_den2.kd2"), day.entries},
            {QStringLiteral("mur_uma.kd2"), day.horses}};
}

qint64 unpackedSize(const std::vector<zm::ArchiveMember>& members) {
    qint64 n = 0;
    for (const auto& m : members) {
        n += m.data.size();
    }
    return n;
}

void BM_WriteArchive(benchmark::State& state) {
    const auto members = dayMembers();
    for (auto _ : state) {
        benchmark::DoNotOptimize(zm::writeArchive(members));
    }
    state.SetBytesProcessed(state.iterations() * unpackedSize(members));
}
BENCHMARK(BM_WriteArchive)->Unit(benchmark::kMillisecond);

void BM_ReadArchive(benchmark::State& state) {
    const auto members = dayMembers();
    const QByteArray archive = zm::writeArchive(members);
    state.counters["ratio"] = double(archive.size()) / double(unpackedSize(members));
    for (auto _ : state) {
        QString message;
        benchmark::DoNotOptimize(zm::readArchive(archive, QStringLiteral("H.LZH"), message));
    }
    state.SetBytesProcessed(state.iterations() * unpackedSize(members));
}
BENCHMARK(BM_ReadArchive)->Unit(benchmark::kMillisecond);

void BM_ExtractArchive(benchmark::State& state) {
    const auto members = dayMembers();
    QTemporaryDir dir;
    const QString archive = dir.path() + QStringLiteral("/H.LZH");
    QFile f(archive);
    f.open(QIODevice::WriteOnly);
    f.write(zm::writeArchive(members));
    f.close();
    for (auto _ : state) {
        QString message;
        if (!zm::extractArchive(archive, dir.path() + QStringLiteral("/Work/"), true, message)) {
            state.SkipWithError("extraction failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * unpackedSize(members));
}
BENCHMARK(BM_ExtractArchive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
