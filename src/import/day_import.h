#pragma once

// The import of one race day from the extracted work files: the meeting table, the day files
// "MUR" + date + "_1.DEN" / "_2.DEN" (and ".UMA"), the predicted odds the prediction style
// needs, and the prediction through the hooks.

#include "app/context.h"
#include "import/day_run.h"
#include "import/race_model.h"

#include "codes/status.h"

#include <cstdint>

namespace zm {

// The message when the work folder holds no race of a day.
inline const QString kNoRaceFile = QStringLiteral("出馬表ファイルが見つかりません！　中止します。");

// Day file names in DataDir.
QString dayRaceFileName(const QString& date);   // "MUR" + date + "_1.DEN"
QString dayEntryFileName(const QString& date);  // "MUR" + date + "_2.DEN"
QString dayHorseFileName(const QString& date);  // "MUR" + date + ".UMA"
QString dayOddsFileName(const QString& date);   // "MURODDS" + date + ".DAT"

// Imports the day of the first record of the race work file (RaceCount races): the day files,
// the odds day file when the import writes one, the prediction and the exports (hooks.exports,
// which put their files into state.daySet) are put in place together once the prediction is
// through. A failure carries the message to show; the day's files are
// then as they were.
Status ImportDay(AppContext& ctx, ImportState& state, const DayHooks& hooks);

// Where a reader finds the day file at path (a full path of DataDir) as the day run leaves it:
// during an import, the new content the day's set holds for it.
QString dayFileToRead(const ImportState& state, const QString& path);

// Counts the race (record number recNo) into meeting number meeting (1-based) of MeetingTable.
void AddMeetingRace(ImportState& state, int recNo, int meeting, const RaceRecord& race);

// Writes the two ".DEN" day files of CurrentRaceDate from the race work file (loaded) and the
// entries file (state.entryFile) into the day's file set.
Status WriteDayFiles(AppContext& ctx, ImportState& state, FileSet& set, const RecordFile& raceWork);

// The nichi of the first race of the venue on CurrentRaceDate in the day's "_1.DEN"; empty
// text when the file is missing or has no such race.
QString FindNichi(AppContext& ctx, const ImportState& state, const QString& venueCode);

// The message for a day file that could not be written.
QString dayFileWriteMessage(const QString& path, const Status& failure);

// Writes bytes as one file through a temporary file; shows a message and returns false when
// that fails.
bool saveFileOrSay(AppContext& ctx, const QString& path, const QByteArray& bytes);

}  // namespace zm
