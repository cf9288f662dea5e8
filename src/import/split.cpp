#include "import/split.h"

#include "import/archive.h"
#include "app/file_names.h"
#include "import/day_files.h"
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

}  // namespace

QString SplitTwoDayArchive(AppContext& ctx, const QString& archivePath, const SplitObserver& observer) {
    if (!isFileEntry(archivePath))
        return {};
    if (const Status format = CheckArchiveFormat(ctx, archivePath); !format) {
        if (!format.message().isEmpty())
            ctx.prompter.critical(format.message());
        return {};
    }
    const QString work = ctx.paths.WorkDir;
    const auto races = RecordFile::load(findFileNoCase(work, kRaceWorkName), RaceRecord::kLength);
    const auto entries = RecordFile::load(findFileNoCase(work, kEntryWorkName), EntryRecord::kLength);
    const auto horses = RecordFile::load(findFileNoCase(work, kHorseWorkName), HorseRecord::kLength);
    if (!races || !entries || !horses || races->count() < 1) {
        EmptyWorkDir(ctx);
        ctx.prompter.critical(QStringLiteral("出馬表ファイルが見つかりません！　中止します。"));
        return {};
    }

    const Field dateField = RaceRecord::raceDate;
    const RaceRecord first = races->get<RaceRecord>(1);
    tell(observer.original, dayCaption(first));
    const QByteArrayView firstDate = first.raw(dateField);
    int secondAt = 0;
    for (int n = 2; n <= races->count() && secondAt == 0; ++n) {
        if (races->recordView(n).sliced(dateField.offset, dateField.width) != firstDate)
            secondAt = n;
    }
    if (secondAt == 0) {
        ctx.prompter.information(QStringLiteral("この出馬表データは１日分しかありません。") + kCrLf +
                                 QStringLiteral("分割する必要はありません！"));
        EmptyWorkDir(ctx);
        return {};
    }
    const RaceRecord second = races->get<RaceRecord>(secondAt);
    const QByteArray secondDate = second.raw(dateField).toByteArray();
    const bool digits = std::all_of(secondDate.begin(), secondDate.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        EmptyWorkDir(ctx);
        ctx.prompter.critical(QStringLiteral("出馬表ファイルが見つかりません！　中止します。"));
        return {};
    }
    tell(observer.added, dayCaption(second));

    // The races of the second date and their entries, matched by race key.
    tell(observer.status, QStringLiteral("出馬表データを抽出中"));
    QByteArray raceBytes;
    QSet<QByteArray> raceKeys;
    for (int n = 1; n <= races->count(); ++n) {
        const QByteArrayView rec = races->recordView(n);
        if (rec.sliced(dateField.offset, dateField.width) == secondDate) {
            raceBytes.append(rec);
            raceKeys.insert(rec.first(RaceRecord::raceKey.width).toByteArray());
        }
        ctx.progressSink().idle();
    }
    QByteArray entryBytes;
    QSet<QByteArray> horseCodes;
    const Field code = EntryRecord::horseCode;
    for (int n = 1; n <= entries->count(); ++n) {
        const QByteArrayView rec = entries->recordView(n);
        if (raceKeys.contains(rec.first(EntryRecord::raceKey.width).toByteArray())) {
            entryBytes.append(rec);
            horseCodes.insert(rec.sliced(code.offset, code.width).toByteArray());
        }
    }

    // The horses of those entries, by horse code.
    tell(observer.status, QStringLiteral("競走馬データを抽出中"));
    QByteArray horseBytes;
    for (int n = 1; n <= horses->count(); ++n) {
        const QByteArrayView rec = horses->recordView(n);
        if (horseCodes.contains(rec.first(HorseRecord::horseCode.width).toByteArray()))
            horseBytes.append(rec);
        ctx.progressSink().idle();
    }

    const QString target = ctx.settings.MurDataDir + QStringLiteral("B") +
                           QString::fromLatin1(secondDate).right(6) + QStringLiteral(".LZH");
    const std::vector<ArchiveMember> members = {
        {kRaceWorkName, raceBytes}, {kEntryWorkName, entryBytes}, {kHorseWorkName, horseBytes}};
    const bool saved = saveFileOrSay(ctx, target, writeArchive(members));
    EmptyWorkDir(ctx);
    if (!saved)
        return {};
    tell(observer.status, QStringLiteral("分割作業は終了しました！"));
    return target;
}

}  // namespace zm
