#include "import/readers.h"

#include "codes/numeric.h"
#include "import/archive.h"
#include "import/work_folder.h"

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Wins and seconds over all four counts, in percent, raised to 7; held in single precision.
float rateOf(const JockeyRecord& jockey, const Field& counts) {
    const double a1 = jockey.number(counts, 1);
    const double a2 = jockey.number(counts, 2);
    const double sum = a1 + a2 + jockey.number(counts, 3) + jockey.number(counts, 4);
    float rate = sum != 0 ? static_cast<float>((a1 + a2) / sum * 100.0) : 0.0f;
    if (rate < 7.0f)
        rate = 7.0f;
    return rate;
}

// Reads a record file and fills a code index from the 7-byte key at keyOffset.
std::int16_t indexFile(const QString& path, int recordLength, int keyOffset, CodeIndex& index,
                       RecordFile& file) {
    index.clear();
    file = RecordFile();
    if (path.isEmpty())
        return -1;
    auto loaded = RecordFile::load(path, recordLength);
    if (!loaded)
        return -1;
    file = std::move(*loaded);
    const Field key{"horseCode", keyOffset, 7};
    index.reserve(file.count());
    for (int n = 1; n <= file.count(); ++n)
        index.append(fromSjis(file.recordView(n).sliced(key.offset, key.width)));
    return ToInt16(file.count());
}

}  // namespace

std::int16_t jockeyRatingOf(const JockeyRecord& jockey) {
    const float rateA = rateOf(jockey, JockeyRecord::countsA);
    const float rateB = rateOf(jockey, JockeyRecord::countsB);
    return ToInt16(Int(static_cast<double>(rateA) * 1.2 + static_cast<double>(rateB)));
}

std::int16_t LoadJockeyTable(AppContext& ctx, ImportState& state) {
    const QString path = findFileNoCase(ctx.paths.AppPath, kJockeyFileName);
    const auto file = path.isEmpty() ? std::nullopt : RecordFile::load(path, JockeyRecord::kLength);
    if (!file) {
        state.JockeyCount = 0;
        return 0;
    }
    state.clearJockeys();
    const int n = std::min(file->count(), kJockeyMax);
    for (int i = 1; i <= n; ++i) {
        state.CurrentJockey = file->get<JockeyRecord>(i);
        state.setJockey(i, state.CurrentJockey.text(JockeyRecord::jockeyCode), jockeyRatingOf(state.CurrentJockey));
    }
    state.JockeyCount = static_cast<std::int16_t>(n);
    return state.JockeyCount;
}

std::int16_t IndexHorseFile(AppContext& ctx, ImportState& state) {
    const std::int16_t n = indexFile(findFileNoCase(ctx.paths.WorkDir, kHorseWorkName), HorseRecord::kLength,
                                     HorseRecord::horseCode.offset, state.HorseIndex, state.horseFile);
    state.HorseCount = n < 0 ? 0 : n;
    return n;
}

std::int16_t IndexEntryFile(AppContext& ctx, ImportState& state) {
    const std::int16_t n = indexFile(findFileNoCase(ctx.paths.WorkDir, kEntryWorkName), EntryRecord::kLength,
                                     EntryRecord::horseCode.offset, state.EntryIndex, state.entryFile);
    state.EntryCount = n < 0 ? 0 : n;
    return n;
}

void EmptyWorkDir(AppContext& ctx) {
    // Only a real folder is emptied: a link would have its target emptied.
    if (isRealFolder(ctx.paths.WorkDir))
        emptyFolder(ctx.paths.WorkDir);
}

bool CheckArchiveFormat(AppContext& ctx, const QString& archivePath) {
    const QString work = ctx.paths.WorkDir;
    if (!isRealFolder(work)) {
        ctx.prompter.critical(notRealFolderMessage(work));
        return false;
    }
    QString message;
    // The extraction reads the archive before it empties the work folder: the archive may lie
    // in that folder.
    if (!extractArchive(archivePath, work, true, message)) {
        emptyFolder(work);
        ctx.prompter.critical(message);
        return false;
    }
    auto has = [&](const QString& name) { return !findFileNoCase(work, name).isEmpty(); };
    if (has(kRaceWorkName) && has(kEntryWorkName) && has(kHorseWorkName))
        return true;
    if (has(QStringLiteral("mur_den.DAT")) && has(QStringLiteral("mur_uma.DAT"))) {
        ctx.prompter.critical(QStringLiteral("選択したＭＵＲ出馬表ファイルは、古い形式(仕様)のものです。") + kCrLf + kCrLf +
                              QStringLiteral("この出馬表を利用する場合は、「ゼノゼノＭＵＲ」も古いバージョン(Ver "
                                             "1.33.3以前)をご利用ください。") +
                              kCrLf + kCrLf);
    }
    emptyFolder(work);
    return false;
}

}  // namespace zm
