#pragma once

// The import of one race day from the extracted work files: the meeting table, the day files
// "MUR" + date + "_1.DEN" / "_2.DEN" (and ".UMA") and the predicted odds the prediction style
// needs, all into the day's file set. The day pipeline (day/day_pipeline.h) runs it, then the
// prediction and the exports, and puts the set in place.

#include "app/context.h"
#include "import/day_files.h"
#include "import/race_model.h"
#include "import/readers.h"

#include "codes/status.h"

#include <cstdint>

namespace zm {

// The message when the work folder holds no race of a day.
inline const QString kNoRaceFile = QStringLiteral("出馬表ファイルが見つかりません！　中止します。");

// What a day's import reads before it writes anything: the jockey table and the horse and
// entries work files, indexed. The import's own working state; the day it gives is ImportedDay.
struct DayWork {
    const UnpackedArchive* unpacked = nullptr;  // the archive in memory; nullptr: the work folder
    JockeyTable jockeys;
    IndexedFile horses;
    IndexedFile entries;
    // Read by ReadRaceWork: the race work file, the meeting table and the date of its first day.
    RecordFile raceWork;
    std::vector<MeetingEntry> meetings;
    QString date;
};

// Loads the jockey table and indexes the horse and entries work files. A failure carries the
// message when either file is missing or holds no record.
Result<DayWork> ReadDayWork(const AppContext& ctx, const UnpackedArchive* unpacked);

// Reads the race work file into work: its records, the date of its first record and that
// day's meeting table. Sets ctx.ImportedDay. A failure carries its message.
Status ReadRaceWork(AppContext& ctx, DayWork& work);

// Imports the day of the first record of the race work file (read) into set: the day files, and the
// odds day file when the import writes one. The messages on the way (a warning about the data, a
// failure that does not stop the import by itself) go to notices, to be shown before its own. A failure carries the message
// to show; the caller then discards the set, so the day's files stay as they were, and clears
// ctx.ImportedDay.
Result<ImportedDay> ImportDay(AppContext& ctx, DayWork work, FileSet& set, Notices& notices);

// Once the day's set is in place: the work copy of the entries file goes (as by a move).
void FinishImportedDay(AppContext& ctx);

// Counts the race (record number recNo) into meeting number meeting (1-based) of meetings.
void AddMeetingRace(std::vector<MeetingEntry>& meetings, int recNo, int meeting, const RaceRecord& race);

// The nichi of the first race of the venue on day in the day's "_1.DEN"; empty text when the
// file is missing or has no such race.
QString FindNichi(const AppContext& ctx, const QString& day, const QString& venueCode);

}  // namespace zm
