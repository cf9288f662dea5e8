#pragma once

// The import of one race day from the extracted work files: the meeting table, the day files
// "MUR" + date + "_1.DEN" / "_2.DEN" (and ".UMA") and the predicted odds the prediction style
// needs, all into the day's file set. The day pipeline (day/day_pipeline.h) runs it, then the
// prediction and the exports, and puts the set in place.

#include "app/context.h"
#include "import/day_files.h"
#include "import/race_model.h"

#include "codes/status.h"

#include <cstdint>

namespace zm {

// The message when the work folder holds no race of a day.
inline const QString kNoRaceFile = QStringLiteral("出馬表ファイルが見つかりません！　中止します。");

// Imports the day of the first record of the race work file (RaceCount races) into set (which
// state.daySet names): the day files, and the odds day file when the import writes one. Sets
// CurrentRaceDate, the meeting table and ctx.ImportedDay. A failure carries the message to show;
// the caller then discards the set, so the day's files stay as they were.
Status ImportDay(AppContext& ctx, ImportState& state, FileSet& set);

// Once the day's set is in place: the paths name the day's own files, and the work copy of the
// entries file goes (as by a move).
void FinishImportedDay(AppContext& ctx, ImportState& state);

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

}  // namespace zm
