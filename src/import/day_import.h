#pragma once

// The import of one race day from the extracted work files: the meeting table, the day files
// "MUR" + date + "_1.DEN" / "_2.DEN" (and ".UMA"), the predicted odds the prediction style
// needs, and the prediction through the hooks.

#include "app/context.h"
#include "import/day_run.h"
#include "import/race_model.h"

#include <cstdint>

namespace zm {

// Results of ImportDay besides the race count.
constexpr std::int16_t kImportMissingFiles = -1;  // a work file is missing
constexpr std::int16_t kImportNoOdds = -2;        // predicted odds required but missing (message shown)
constexpr std::int16_t kImportStopped = -3;       // stopped with its own message (write failure, prediction)

// Day file names in DataDir.
QString dayRaceFileName(const QString& date);   // "MUR" + date + "_1.DEN"
QString dayEntryFileName(const QString& date);  // "MUR" + date + "_2.DEN"
QString dayHorseFileName(const QString& date);  // "MUR" + date + ".UMA"
QString dayOddsFileName(const QString& date);   // "MURODDS" + date + ".DAT"

// Imports the day of the first record of the race work file. Returns RaceCount, or one of
// the negative results above.
std::int16_t ImportDay(AppContext& ctx, ImportState& state, const DayHooks& hooks);

// Counts the race (record number recNo) into meeting number meeting (1-based) of MeetingTable.
void AddMeetingRace(ImportState& state, int recNo, int meeting, const RaceRecord& race);

// Writes the two ".DEN" day files of CurrentRaceDate from the race work file (loaded) and the
// entries file (state.entryFile). False after a message when a file cannot be written.
bool WriteDayFiles(AppContext& ctx, ImportState& state, const RecordFile& raceWork);

// The nichi of the first race of the venue on CurrentRaceDate in the day's "_1.DEN"; empty
// text when the file is missing or has no such race.
QString FindNichi(AppContext& ctx, const ImportState& state, const QString& venueCode);

// Writes bytes as one file through a temporary file; shows a message and returns false when
// that fails.
bool saveFileOrSay(AppContext& ctx, const QString& path, const QByteArray& bytes);

}  // namespace zm
