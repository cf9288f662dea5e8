#include "import/odds_import.h"

#include "import/archive.h"
#include "import/day_files.h"
#include "import/readers.h"
#include "import/work_folder.h"
#include "app/file_set.h"

#include <QFile>
#include <QFileInfo>
#include <map>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kOldOddsName = QStringLiteral("mur_ods.DAT");

struct OddsArchive {
    std::optional<QByteArray> odds;  // "mur_ods.kd2"
    bool oldFormat = false;          // holds "mur_ods.DAT"
};

QString baseName(const QString& memberPath) { return memberPath.section(u'/', -1); }

// Reads the archive in memory, as a flat extraction would see it: members by file name.
Result<OddsArchive> readOddsArchive(const QString& archivePath) {
    OddsArchive result;
    QString message;
    const std::optional<QByteArray> read = readRegularFile(archivePath);
    if (!read) {
        return Status::failure(QStringLiteral("圧縮ファイル「") + QFileInfo(archivePath).fileName() +
                               QStringLiteral("」を読み込めません！"));
    }
    const QByteArray& bytes = *read;
    auto members = readArchive(bytes, QFileInfo(archivePath).fileName(), message);
    if (!members)
        return Status::failure(message);
    for (ArchiveMember& m : *members) {
        const QString name = baseName(m.path);
        if (name.compare(kOddsWorkName, Qt::CaseInsensitive) == 0) {
            // A flat extraction keeps the last member of a name.
            result.odds = std::move(m.data);
        } else if (name.compare(kOldOddsName, Qt::CaseInsensitive) == 0) {
            result.oldFormat = true;
        }
    }
    return result;
}

bool isEightDigits(QByteArrayView date) {
    if (date.size() != 8)
        return false;
    return std::all_of(date.begin(), date.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Writes the odds day files: the path of the first record's date's file, or a failure (with an
// empty message when there is no record or the first date is not one).
Result<QString> writeOddsDays(AppContext& ctx, FileSet* daySet, const QByteArray& odds) {
    const RecordFile file(odds, OddsRecord::kLength);
    if (file.count() < 1)
        return Status::failure(QString());
    const Field dateField = OddsRecord::raceDate;
    const QByteArray first = file.recordView(1).sliced(dateField.offset, dateField.width).toByteArray();
    if (!isEightDigits(first))
        return Status::failure(QString());

    // Records by date, each in file order; the first record's date first.
    std::map<QByteArray, QByteArray> byDate;
    byDate[first];
    for (int n = 1; n <= file.count(); ++n) {
        const QByteArrayView rec = file.recordView(n);
        const QByteArrayView date = rec.sliced(dateField.offset, dateField.width);
        if (isEightDigits(date))
            byDate[date.toByteArray()].append(rec);
    }
    // Within an import the odds day files join the day's set; on their own they are a set too.
    FileSet own(ctx.paths.DataDir);
    FileSet& set = daySet ? *daySet : own;
    if (!daySet) {
        if (Status recovered = RecoverFileSets(ctx.paths.DataDir); !recovered)
            return recovered;
    }
    auto put = [&](const QByteArray& date, const QByteArray& records) {
        const QString name = dayOddsFileName(QString::fromLatin1(date));
        if (Status written = set.put(name, records); !written)
            return Status::failure(dayFileWriteMessage(ctx.paths.DataDir + name, written));
        return Status();
    };
    if (Status written = put(first, byDate[first]); !written)
        return written;
    for (const auto& [date, records] : byDate) {
        if (date == first)
            continue;
        if (Status written = put(date, records); !written)
            return written;
    }
    if (!daySet) {
        if (Status committed = own.commit(); !committed)
            return committed;
    }
    return ctx.paths.DataDir + dayOddsFileName(QString::fromLatin1(first));
}

void removeLeftover(const QString& folder) {
    const QString path = findFileNoCase(folder, QStringLiteral("mur_ods.dat"));
    if (!path.isEmpty())
        QFile::remove(path);
}

// Writes the odds day files and removes the leftovers an old extraction may have left. The path
// of the first date's day file.
Result<QString> storeOddsDays(AppContext& ctx, FileSet* daySet, const QByteArray& odds) {
    Result<QString> written = writeOddsDays(ctx, daySet, odds);
    if (written) {
        removeLeftover(ctx.settings.MurDataDir);
        removeLeftover(ctx.paths.WorkDir);
    }
    return written;
}

}  // namespace

Result<QString> ExtractOddsArchive(AppContext& ctx, const QString& archivePath, FileSet* daySet) {
    const Result<OddsArchive> archive = readOddsArchive(archivePath);
    if (!archive)
        return archive.status();
    if (!archive->odds)
        return Status::failure(QString());
    return storeOddsDays(ctx, daySet, *archive->odds);
}

Result<QString> ImportOddsArchive(AppContext& ctx, const QString& archivePath) {
    EmptyWorkDir(ctx);
    const Result<OddsArchive> archive = readOddsArchive(archivePath);
    if (!archive)
        return archive.status();
    if (!archive->odds) {
        if (!archive->oldFormat)
            return Status::failure(QString());
        return Status::failure(QStringLiteral("選択したＭＵＲ予想オッズファイルは、古い形式(仕様)のものです。") + kCrLf +
                               kCrLf +
                               QStringLiteral("このオッズを利用する場合は、「ゼノゼノＭＵＲ」も古いバージョン(Ver "
                                              "1.33.3以前)をご利用ください。") +
                               kCrLf + kCrLf);
    }
    return storeOddsDays(ctx, nullptr, *archive->odds);
}

}  // namespace zm
