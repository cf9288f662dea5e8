#include "import/readers.h"

#include "codes/numeric.h"
#include "import/archive.h"
#include "import/work_folder.h"

#include <QDir>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Wins and seconds over all four counts, in percent, raised to 7; held in single precision.
float rateOf(const JockeyRecord& jockey, const DigitsField& counts) {
    const double a1 = jockey.number(counts, 1);
    const double a2 = jockey.number(counts, 2);
    const double sum = a1 + a2 + jockey.number(counts, 3) + jockey.number(counts, 4);
    float rate = sum != 0 ? static_cast<float>((a1 + a2) / sum * 100.0) : 0.0f;
    if (rate < 7.0f)
        rate = 7.0f;
    return rate;
}

// Takes a work file's records and indexes the 7-byte key at keyOffset.
std::optional<IndexedFile> indexFile(const WorkFile& work, int recordLength, int keyOffset) {
    if (work.path.isEmpty())
        return std::nullopt;
    IndexedFile indexed{RecordFile(work.bytes, recordLength), {}};
    const Field key{"horseCode", keyOffset, 7};
    indexed.codes.reserve(indexed.file.count());
    for (int n = 1; n <= indexed.file.count(); ++n)
        indexed.codes.append(fromSjis(indexed.file.recordView(n).sliced(key.offset, key.width)));
    return indexed;
}

}  // namespace

std::int16_t jockeyRatingOf(const JockeyRecord& jockey) {
    const float rateA = rateOf(jockey, JockeyRecord::countsA);
    const float rateB = rateOf(jockey, JockeyRecord::countsB);
    return ToInt16(Int(static_cast<double>(rateA) * 1.2 + static_cast<double>(rateB)));
}

JockeyTable LoadJockeyTable(const AppContext& ctx) {
    JockeyTable table;
    const QString path = findFileNoCase(ctx.paths.AppPath, kJockeyFileName);
    const auto file = path.isEmpty() ? std::nullopt : RecordFile::load(path, JockeyRecord::kLength);
    if (!file)
        return table;
    const int n = std::min(file->count(), kJockeyMax);
    for (int i = 1; i <= n; ++i) {
        const JockeyRecord jockey = file->get<JockeyRecord>(i);
        table.append(jockey.text(JockeyRecord::jockeyCode), jockeyRatingOf(jockey));
    }
    return table;
}

std::optional<IndexedFile> IndexHorseFile(const AppContext& ctx, const UnpackedArchive* unpacked) {
    return indexFile(ReadWorkFile(ctx, unpacked, kHorseWorkName), HorseRecord::kLength, HorseRecord::horseCode.offset);
}

std::optional<IndexedFile> IndexEntryFile(const AppContext& ctx, const UnpackedArchive* unpacked) {
    return indexFile(ReadWorkFile(ctx, unpacked, kEntryWorkName), EntryRecord::kLength, EntryRecord::horseCode.offset);
}

void EmptyWorkDir(AppContext& ctx) {
    // Only a real folder is emptied: a link would have its target emptied.
    if (isRealFolder(ctx.paths.WorkDir))
        emptyFolder(ctx.paths.WorkDir);
}

const ArchiveMember* UnpackedArchive::find(const QString& name) const {
    const ArchiveMember* found = nullptr;
    for (const ArchiveMember& m : files_) {
        if (m.path == name)
            return &m;
        // Folder listings come sorted by name.
        if (m.path.compare(name, Qt::CaseInsensitive) == 0 && (!found || m.path < found->path))
            found = &m;
    }
    return found;
}

WorkFile ReadWorkFile(const AppContext& ctx, const UnpackedArchive* unpacked, const QString& name) {
    if (unpacked) {
        const ArchiveMember* m = unpacked->find(name);
        return m ? WorkFile{ctx.paths.WorkDir + m->path, m->data} : WorkFile{};
    }
    const QString path = findFileNoCase(ctx.paths.WorkDir, name);
    const std::optional<QByteArray> bytes = path.isEmpty() ? std::nullopt : readRegularFile(path);
    return bytes ? WorkFile{path, *bytes} : WorkFile{};
}

namespace {

// The old-format archive's message.
QString oldFormatMessage() {
    return QStringLiteral("選択したＭＵＲ出馬表ファイルは、古い形式(仕様)のものです。") + kCrLf + kCrLf +
           QStringLiteral("この出馬表を利用する場合は、「ゼノゼノＭＵＲ」も古いバージョン(Ver "
                          "1.33.3以前)をご利用ください。") +
           kCrLf + kCrLf;
}

}  // namespace

Result<UnpackedArchive> UnpackDayArchive(const AppContext& ctx, const QString& archivePath) {
    const QString work = ctx.paths.WorkDir;
    if (!isRealFolder(work))
        return Status::failure(notRealFolderMessage(work));
    // As an extraction would: the archive read first (it may lie in the work folder), then the
    // folder emptied, then the archive's own failures.
    QString message;
    std::optional<std::vector<ArchiveMember>> files = unpackTopFiles(archivePath, message);
    if (!emptyFolder(work))
        return Status::failure(cannotEmptyFolderMessage(work));
    if (!files)
        return Status::failure(message);
    UnpackedArchive unpacked(std::move(*files));
    auto has = [&](const QString& name) { return unpacked.find(name) != nullptr; };
    if (has(kRaceWorkName) && has(kEntryWorkName) && has(kHorseWorkName))
        return unpacked;
    const bool oldFormat = has(QStringLiteral("mur_den.DAT")) && has(QStringLiteral("mur_uma.DAT"));
    return Status::failure(oldFormat ? oldFormatMessage() : QString());
}

Status CheckArchiveFormat(const AppContext& ctx, const QString& archivePath) {
    const QString work = ctx.paths.WorkDir;
    if (!isRealFolder(work))
        return Status::failure(notRealFolderMessage(work));
    QString message;
    // The extraction reads the archive before it empties the work folder: the archive may lie
    // in that folder.
    if (!extractArchive(archivePath, work, true, message)) {
        emptyFolder(work);
        return Status::failure(message);
    }
    auto has = [&](const QString& name) { return !findFileNoCase(work, name).isEmpty(); };
    if (has(kRaceWorkName) && has(kEntryWorkName) && has(kHorseWorkName))
        return {};
    const bool oldFormat = has(QStringLiteral("mur_den.DAT")) && has(QStringLiteral("mur_uma.DAT"));
    emptyFolder(work);
    return Status::failure(oldFormat ? oldFormatMessage() : QString());
}

}  // namespace zm
