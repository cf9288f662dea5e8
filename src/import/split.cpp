#include "import/split.h"

#include "import/archive.h"
#include "app/file_names.h"
#include "app/safe_save.h"
#include "import/day_files.h"
#include "import/day_import.h"
#include "import/readers.h"
#include "import/records.h"
#include "import/work_folder.h"

#include <QFileInfo>
#include <QSet>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

void tell(const std::function<void(const QString&)>& f, const QString& text) {
    if (f)
        f(text);
}

QString dayCaption(const RaceRecord& race) {
    return race.text(RaceRecord::raceYear) + QStringLiteral("年") + race.text(RaceRecord::raceMonth) +
           QStringLiteral("月") + race.text(RaceRecord::raceDay) + QStringLiteral("日 出馬表");
}

// The work files of a two-day archive.
struct SplitFiles {
    RecordFile races;
    RecordFile entries;
    RecordFile horses;
};

// The races of date, their entries (matched by race key) and those entries' horses (by horse
// code), as the members of the new archive.
std::vector<ArchiveMember> membersOfDate(AppContext& ctx, const SplitFiles& files, QByteArrayView date,
                                         const SplitObserver& observer) {
    const auto dateField = RaceRecord::raceDate;
    tell(observer.status, QStringLiteral("出馬表データを抽出中"));
    QByteArray raceBytes;
    QSet<QByteArray> raceKeys;
    for (int n = 1; n <= files.races.count(); ++n) {
        const QByteArrayView rec = files.races.recordView(n);
        if (rec.sliced(dateField.offset, dateField.width) == date) {
            raceBytes.append(rec);
            raceKeys.insert(rec.first(RaceRecord::raceKey.width).toByteArray());
        }
        ctx.progressSink().idle();
    }
    QByteArray entryBytes;
    QSet<QByteArray> horseCodes;
    const auto code = EntryRecord::horseCode;
    for (int n = 1; n <= files.entries.count(); ++n) {
        const QByteArrayView rec = files.entries.recordView(n);
        if (raceKeys.contains(rec.first(EntryRecord::raceKey.width).toByteArray())) {
            entryBytes.append(rec);
            horseCodes.insert(rec.sliced(code.offset, code.width).toByteArray());
        }
    }

    tell(observer.status, QStringLiteral("競走馬データを抽出中"));
    QByteArray horseBytes;
    for (int n = 1; n <= files.horses.count(); ++n) {
        const QByteArrayView rec = files.horses.recordView(n);
        if (horseCodes.contains(rec.first(HorseRecord::horseCode.width).toByteArray()))
            horseBytes.append(rec);
        ctx.progressSink().idle();
    }
    return {{kRaceWorkName, raceBytes}, {kEntryWorkName, entryBytes}, {kHorseWorkName, horseBytes}};
}

// The archive's work files, once the archive was checked and extracted.
Result<SplitFiles> readSplitFiles(AppContext& ctx, const QString& archivePath) {
    if (const Status format = CheckArchiveFormat(ctx, archivePath); !format)
        return Status::failure(format.message());  // an empty message: nothing to show
    const QString work = ctx.paths.WorkDir;
    auto races = RecordFile::load(findFileNoCase(work, kRaceWorkName), RaceRecord::kLength);
    auto entries = RecordFile::load(findFileNoCase(work, kEntryWorkName), EntryRecord::kLength);
    auto horses = RecordFile::load(findFileNoCase(work, kHorseWorkName), HorseRecord::kLength);
    if (!races || !entries || !horses || races->count() < 1) {
        EmptyWorkDir(ctx);
        return Status::failure(kNoRaceFile);
    }
    return SplitFiles{std::move(*races), std::move(*entries), std::move(*horses)};
}

}  // namespace

Result<QString> SplitTwoDayArchive(AppContext& ctx, const QString& archivePath, const SplitObserver& observer) {
    if (!isFileEntry(archivePath))
        return Status::failure(QString());
    const Result<SplitFiles> files = readSplitFiles(ctx, archivePath);
    if (!files)
        return files.status();
    const RecordFile& races = files->races;
    const auto dateField = RaceRecord::raceDate;
    const RaceRecord first = races.get<RaceRecord>(1);
    tell(observer.original, dayCaption(first));
    const QByteArrayView firstDate = first.raw(dateField);
    int secondAt = 0;
    for (int n = 2; n <= races.count() && secondAt == 0; ++n) {
        if (races.recordView(n).sliced(dateField.offset, dateField.width) != firstDate)
            secondAt = n;
    }
    if (secondAt == 0) {
        EmptyWorkDir(ctx);
        return Status::notice(QStringLiteral("この出馬表データは１日分しかありません。") + kCrLf +
                              QStringLiteral("分割する必要はありません！"));
    }
    const RaceRecord second = races.get<RaceRecord>(secondAt);
    const QByteArray secondDate = second.raw(dateField).toByteArray();
    const bool digits = std::all_of(secondDate.begin(), secondDate.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        EmptyWorkDir(ctx);
        return Status::failure(kNoRaceFile);
    }
    tell(observer.added, dayCaption(second));

    const QString target = ctx.settings.MurDataDir + QStringLiteral("B") +
                           QString::fromLatin1(secondDate).right(6) + QStringLiteral(".LZH");
    const Status saved = SafeSave::save(target, writeArchive(membersOfDate(ctx, *files, secondDate, observer)));
    EmptyWorkDir(ctx);
    if (!saved)
        return Status::failure(dayFileWriteMessage(target, saved));
    tell(observer.status, QStringLiteral("分割作業は終了しました！"));
    return target;
}

}  // namespace zm
