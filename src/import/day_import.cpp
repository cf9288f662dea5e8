#include "import/day_import.h"

#include "app/file_set.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "import/odds_import.h"
#include "import/readers.h"
#include "import/work_folder.h"

#include <QFile>
#include <QFileInfo>

namespace zm {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool isEightDigits(QByteArrayView date) {
    if (date.size() != 8)
        return false;
    for (char c : date) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

}  // namespace

QString dayFileToRead(const ImportState& state, const QString& path) {
    return state.daySet ? state.daySet->readPath(path) : path;
}

void AddMeetingRace(ImportState& state, int recNo, int meeting, const RaceRecord& race) {
    if (meeting < 1)
        return;
    if (state.MeetingTable.size() < static_cast<size_t>(meeting))
        state.MeetingTable.resize(static_cast<size_t>(meeting));
    MeetingEntry& m = state.MeetingTable[static_cast<size_t>(meeting - 1)];
    if (m.firstRace == 0)
        m.firstRace = ToInt16(recNo);
    m.venueCode = race.text(RaceRecord::venueCode);
    m.date = race.dateText();
    m.kaiDigit = race.text(RaceRecord::kai).right(1);
    m.nichiDigit = race.text(RaceRecord::nichi).right(1);
    m.weekday = WeekdayChar(m.date);
    ++m.raceCount;
}

Status WriteDayFiles(AppContext& ctx, ImportState& state, FileSet& set, const RecordFile& raceWork) {
    const QString date = state.CurrentRaceDate;
    const QByteArray dateBytes = toSjis(date);

    // The races of the day in file order, at most kMaxDayRaces of them.
    std::vector<QByteArrayView> kept;
    int leftOut = 0;
    for (int n = 1; n <= raceWork.count(); ++n) {
        const QByteArrayView rec = raceWork.recordView(n);
        if (rec.sliced(RaceRecord::raceDate.offset, RaceRecord::raceDate.width) != dateBytes)
            continue;
        if (static_cast<int>(kept.size()) < kMaxDayRaces)
            kept.push_back(rec);
        else
            ++leftOut;
    }

    // Venues in JRA order, races in number order. The exchange sort is the one the day files
    // have always been written with; equal keys keep its order. Only the key takes the JRA
    // code: each record keeps its own venue bytes, since turning a code back from the JRA
    // numbering would make a course outside the table (大井 "10") into 小倉 ("03").
    std::vector<double> keys;
    keys.reserve(kept.size());
    for (QByteArrayView rec : kept) {
        const RaceRecord race(rec);
        keys.push_back(Val(ServiceToJraCode(race.text(RaceRecord::venueCode))) * 100 +
                       race.number(RaceRecord::raceNo));
    }
    for (size_t i = 0; i + 1 < kept.size(); ++i) {
        for (size_t j = i + 1; j < kept.size(); ++j) {
            if (keys[j] < keys[i]) {
                std::swap(keys[i], keys[j]);
                std::swap(kept[i], kept[j]);
            }
        }
    }
    QByteArray races;
    races.reserve(static_cast<qsizetype>(kept.size()) * RaceRecord::kLength);
    for (QByteArrayView rec : kept)
        races.append(rec);

    const QString racePath = ctx.paths.DataDir + dayRaceFileName(date);
    if (Status put = set.put(dayRaceFileName(date), races); !put)
        return Status::failure(dayFileWriteMessage(racePath, put));
    state.dayRaceFile = RecordFile(races, RaceRecord::kLength);
    if (leftOut > 0) {
        ctx.prompter.warning(QStringLiteral("出馬表ファイルに１日分のレースが４０レースを超えて入っています。") + kCrLf +
                             QStringLiteral("４１レース目以降の ") + QString::number(leftOut) +
                             QStringLiteral(" レースは取り込みませんでした。"));
    }

    // The entries file goes over unchanged.
    const QByteArray entries =
        state.entryFile.bytes().isEmpty() ? ReadWorkFile(ctx, state, kEntryWorkName).bytes : state.entryFile.bytes();
    if (Status put = set.put(dayEntryFileName(date), entries); !put)
        return Status::failure(dayFileWriteMessage(ctx.paths.DataDir + dayEntryFileName(date), put));
    return {};
}

Status ImportDay(AppContext& ctx, ImportState& state, FileSet& set) {
    const QString work = ctx.paths.WorkDir;
    // Where the work files are, in the work folder or in the archive unpacked in memory.
    auto workPath = [&](const QString& name) {
        if (!state.unpacked)
            return findFileNoCase(work, name);
        const ArchiveMember* m = state.unpacked->find(name);
        return m ? work + m->path : QString();
    };
    const QString racePath = workPath(kRaceWorkName);
    const QString entryPath = workPath(kEntryWorkName);
    const QString horsePath = workPath(kHorseWorkName);
    state.RaceFilePath = racePath.isEmpty() ? work + kRaceWorkName : racePath;
    state.EntryFilePath = entryPath.isEmpty() ? work + kEntryWorkName : entryPath;
    state.HorseFilePath = horsePath.isEmpty() ? work + kHorseWorkName : horsePath;
    state.OddsPath.clear();
    if (racePath.isEmpty() || entryPath.isEmpty() || horsePath.isEmpty())
        return Status::failure(kNoRaceFile);

    state.MeetingTable.clear();
    state.MeetingCount = 0;
    const WorkFile raceFile = ReadWorkFile(ctx, state, kRaceWorkName);
    if (raceFile.path.isEmpty())
        return Status::failure(kNoRaceFile);
    const RecordFile raceWork(raceFile.bytes, RaceRecord::kLength);
    state.RaceCount = ToInt16(raceWork.count());
    if (raceWork.count() == 0) {
        // A race file without a race is as good as none.
        ctx.ImportedDay.clear();
        return Status::failure(kNoRaceFile);
    }

    // The meeting table of the first date; the records of a later date are left out.
    QByteArray dayDate;
    QByteArray previousMeeting;
    int meeting = 0;
    for (int n = 1; n <= raceWork.count(); ++n) {
        const QByteArrayView rec = raceWork.recordView(n);
        const QByteArrayView date = rec.sliced(RaceRecord::raceDate.offset, RaceRecord::raceDate.width);
        const QByteArrayView meetingKey = rec.sliced(0, RaceRecord::meetingKey.width);
        if (n == 1) {
            // The date names the day files: anything but eight digits is not a race card.
            if (!isEightDigits(date))
                return Status::failure(kNoRaceFile);
            dayDate = date.toByteArray();
            state.CurrentRaceDate = QString::fromLatin1(dayDate);
            meeting = 1;
        } else {
            if (date != dayDate)
                break;
            if (meetingKey != previousMeeting)
                ++meeting;
        }
        previousMeeting = meetingKey.toByteArray();
        AddMeetingRace(state, n, meeting, RaceRecord(rec));
    }
    state.MeetingCount = ToInt16(meeting);
    ctx.ImportedDay = state.CurrentRaceDate;
    const QString date = state.CurrentRaceDate;

    auto fail = [&](Status failure) {
        ctx.ImportedDay.clear();
        return failure;
    };

    if (Status written = WriteDayFiles(ctx, state, set, raceWork); !written)
        return fail(written);
    state.RaceFilePath = set.pendingPath(dayRaceFileName(date));
    state.EntryFilePath = set.pendingPath(dayEntryFileName(date));

    if (ctx.settings.umaF) {
        const QByteArray horses = state.horseFile.bytes().isEmpty() ? ReadWorkFile(ctx, state, kHorseWorkName).bytes
                                                                    : state.horseFile.bytes();
        if (Status put = set.put(dayHorseFileName(date), horses); !put)
            return fail(Status::failure(dayFileWriteMessage(ctx.paths.DataDir + dayHorseFileName(date), put)));
    }

    if (ctx.settings.Yosou == 8) {
        QString oddsDay = findFileNoCase(ctx.paths.DataDir, dayOddsFileName(date));
        if (!oddsDay.isEmpty()) {
            state.OddsPath = oddsDay;
        } else {
            const QString archive =
                findFileNoCase(ctx.settings.MurDataDir, QStringLiteral("j") + date.right(6) + QStringLiteral(".lzh"));
            // The archive names the day file of its first record's date; only this day's own
            // file will do, so an archive that starts with another date, or holds none of this
            // date's races, gives no odds. The odds day files join the day's set.
            if (!archive.isEmpty() && ExtractOddsArchive(ctx, state, archive))
                oddsDay = set.pendingPath(dayOddsFileName(date));
            state.OddsPath = oddsDay;
            if (oddsDay.isEmpty()) {
                return fail(Status::failure(
                    QStringLiteral("予想法が「おまかせモード」になっていますが、ＭＵＲ予想オッズがありません！") + kCrLf +
                    QStringLiteral("処理を中止します。")));
            }
        }
    }

    return {};
}

void FinishImportedDay(AppContext& ctx, ImportState& state) {
    const QString date = state.CurrentRaceDate;
    state.RaceFilePath = ctx.paths.DataDir + dayRaceFileName(date);
    state.EntryFilePath = ctx.paths.DataDir + dayEntryFileName(date);
    if (state.OddsPath.endsWith(kFileSetPendingSuffix))
        state.OddsPath.chop(kFileSetPendingSuffix.size());
    if (const QString workEntries = findFileNoCase(ctx.paths.WorkDir, kEntryWorkName); !workEntries.isEmpty())
        QFile::remove(workEntries);  // the work copy goes as by a move
}

QString FindNichi(AppContext& ctx, const ImportState& state, const QString& venueCode) {
    const QString path = findFileNoCase(ctx.paths.DataDir, dayRaceFileName(state.CurrentRaceDate));
    const auto file = path.isEmpty() ? std::nullopt : RecordFile::load(path, RaceRecord::kLength);
    if (!file)
        return {};
    for (int n = 1; n <= file->count(); ++n) {
        const RaceRecord race(file->recordView(n));
        if (race.text(RaceRecord::venueCode) == venueCode && race.dateText() == state.CurrentRaceDate)
            return race.text(RaceRecord::nichi);
    }
    return {};
}

}  // namespace zm
