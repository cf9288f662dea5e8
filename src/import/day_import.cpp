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

// The day's races in file order (at most kMaxDayRaces), sorted as the "_1.DEN" day file holds
// them; leftOut counts the races beyond kMaxDayRaces.
QByteArray dayRaces(const RecordFile& raceWork, const QString& date, int& leftOut) {
    const QByteArray dateBytes = toSjis(date);
    std::vector<QByteArrayView> kept;
    leftOut = 0;
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
    return races;
}

// The meeting table of the first date of the race work file; the records of a later date are
// left out. Nothing when the first record's date is not eight digits.
std::optional<std::vector<MeetingEntry>> meetingsOf(const RecordFile& raceWork) {
    std::vector<MeetingEntry> meetings;
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
                return std::nullopt;
            dayDate = date.toByteArray();
            meeting = 1;
        } else {
            if (date != dayDate)
                break;
            if (meetingKey != previousMeeting)
                ++meeting;
        }
        previousMeeting = meetingKey.toByteArray();
        AddMeetingRace(meetings, n, meeting, RaceRecord(rec));
    }
    return meetings;
}

// The day's predicted odds for the prediction style that needs them: the odds day file of the
// date, else the one the service's odds archive of the date gives (into set). Nothing when
// there is neither; the message of an archive that could not be read goes to notices.
std::optional<RecordFile> dayOdds(AppContext& ctx, const QString& date, FileSet& set, Notices& notices) {
    QString oddsDay = findFileNoCase(ctx.paths.DataDir, dayOddsFileName(date));
    if (oddsDay.isEmpty()) {
        const QString archive =
            findFileNoCase(ctx.settings.MurDataDir, QStringLiteral("j") + date.right(6) + QStringLiteral(".lzh"));
        // The archive names the day file of its first record's date; only this day's own
        // file will do, so an archive that starts with another date, or holds none of this
        // date's races, gives no odds. The odds day files join the day's set.
        if (archive.isEmpty())
            return std::nullopt;
        if (const Result<QString> extracted = ExtractOddsArchive(ctx, archive, &set); !extracted) {
            if (!extracted.message().isEmpty())
                notices << Notice(extracted.message(), {}, Severity::Critical);
            return std::nullopt;
        }
        oddsDay = set.pendingPath(dayOddsFileName(date));
        if (oddsDay.isEmpty())
            return std::nullopt;
    }
    if (!QFile::exists(oddsDay))
        return RecordFile();
    return RecordFile::load(oddsDay, OddsRecord::kLength).value_or(RecordFile());
}

}  // namespace

Result<DayWork> ReadDayWork(const AppContext& ctx, const UnpackedArchive* unpacked) {
    DayWork work;
    work.unpacked = unpacked;
    work.jockeys = LoadJockeyTable(ctx);
    std::optional<IndexedFile> horses = IndexHorseFile(ctx, unpacked);
    if (!horses || horses->file.count() < 1)
        return Status::failure(QStringLiteral("競走馬ファイルが見つかりません！　中止します。"));
    std::optional<IndexedFile> entries = IndexEntryFile(ctx, unpacked);
    if (!entries || entries->file.count() < 1)
        return Status::failure(QStringLiteral("出馬データ２のファイルが見つかりません！　中止します。"));
    work.horses = std::move(*horses);
    work.entries = std::move(*entries);
    return work;
}

void AddMeetingRace(std::vector<MeetingEntry>& meetings, int recNo, int meeting, const RaceRecord& race) {
    if (meeting < 1)
        return;
    if (meetings.size() < static_cast<size_t>(meeting))
        meetings.resize(static_cast<size_t>(meeting));
    MeetingEntry& m = meetings[static_cast<size_t>(meeting - 1)];
    if (m.firstRace == 0)
        m.firstRace = ToInt16(recNo);
    m.venueCode = race.text(RaceRecord::venueCode);
    m.date = race.dateText();
    m.kaiDigit = race.text(RaceRecord::kai).right(1);
    m.nichiDigit = race.text(RaceRecord::nichi).right(1);
    m.weekday = WeekdayChar(m.date);
    ++m.raceCount;
}

Status ReadRaceWork(AppContext& ctx, DayWork& work) {
    const WorkFile raceFile = ReadWorkFile(ctx, work.unpacked, kRaceWorkName);
    if (raceFile.path.isEmpty())
        return Status::failure(kNoRaceFile);
    work.raceWork = RecordFile(raceFile.bytes, RaceRecord::kLength);
    if (work.raceWork.count() == 0) {
        // A race file without a race is as good as none.
        ctx.ImportedDay.clear();
        return Status::failure(kNoRaceFile);
    }
    std::optional<std::vector<MeetingEntry>> meetings = meetingsOf(work.raceWork);
    if (!meetings)
        return Status::failure(kNoRaceFile);
    work.meetings = std::move(*meetings);
    work.date = fromSjis(work.raceWork.recordView(1).sliced(RaceRecord::raceDate.offset, RaceRecord::raceDate.width));
    ctx.ImportedDay = work.date;
    return {};
}

Result<ImportedDay> ImportDay(AppContext& ctx, DayWork work, FileSet& set, Notices& notices) {
    ImportedDay day;
    day.date = std::move(work.date);
    day.meetings = std::move(work.meetings);
    day.raceRecords = work.raceWork.count();
    day.entries = std::move(work.entries.file);
    day.entryIndex = std::move(work.entries.codes);
    day.horses = std::move(work.horses.file);
    day.horseIndex = std::move(work.horses.codes);
    day.jockeys = std::move(work.jockeys);
    const QString& date = day.date;
    const RecordFile& raceWork = work.raceWork;

    int leftOut = 0;
    const QByteArray races = dayRaces(raceWork, date, leftOut);
    if (Status put = set.put(dayRaceFileName(date), races); !put)
        return Status::failure(dayFileWriteMessage(ctx.paths.DataDir + dayRaceFileName(date), put));
    day.races = RecordFile(races, RaceRecord::kLength);
    if (leftOut > 0) {
        notices << Notice(QStringLiteral("出馬表ファイルに１日分のレースが４０レースを超えて入っています。") + kCrLf +
                              QStringLiteral("４１レース目以降の ") + QString::number(leftOut) +
                              QStringLiteral(" レースは取り込みませんでした。"),
                          {}, Severity::Warning);
    }
    // The entries file goes over unchanged.
    if (Status put = set.put(dayEntryFileName(date), day.entries.bytes()); !put)
        return Status::failure(dayFileWriteMessage(ctx.paths.DataDir + dayEntryFileName(date), put));
    if (ctx.settings.umaF) {
        if (Status put = set.put(dayHorseFileName(date), day.horses.bytes()); !put)
            return Status::failure(dayFileWriteMessage(ctx.paths.DataDir + dayHorseFileName(date), put));
    }

    if (ctx.settings.Yosou == 8) {
        std::optional<RecordFile> odds = dayOdds(ctx, date, set, notices);
        if (!odds) {
            return Status::failure(QStringLiteral("予想法が「おまかせモード」になっていますが、ＭＵＲ予想オッズがありません！") + kCrLf +
                        QStringLiteral("処理を中止します。"));
        }
        day.odds = std::move(*odds);
    }
    return day;
}

void FinishImportedDay(AppContext& ctx) {
    if (const QString workEntries = findFileNoCase(ctx.paths.WorkDir, kEntryWorkName); !workEntries.isEmpty())
        QFile::remove(workEntries);  // the work copy goes as by a move
}

QString FindNichi(const AppContext& ctx, const QString& day, const QString& venueCode) {
    const QString path = findFileNoCase(ctx.paths.DataDir, dayRaceFileName(day));
    const auto file = path.isEmpty() ? std::nullopt : RecordFile::load(path, RaceRecord::kLength);
    if (!file)
        return {};
    for (int n = 1; n <= file->count(); ++n) {
        const RaceRecord race(file->recordView(n));
        if (race.text(RaceRecord::venueCode) == venueCode && race.dateText() == day)
            return race.text(RaceRecord::nichi);
    }
    return {};
}

}  // namespace zm
