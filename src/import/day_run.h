#pragma once

// The day run: read, import, predict and export one race day, and the commands built on it
// (the import of a chosen archive, the batch over MurData). Prediction and exports live in
// modules that depend on this one; they come in through the hooks.

#include "app/context.h"
#include "codes/status.h"
#include "import/race_model.h"

#include <functional>

namespace zm {

struct DayHooks {
    // Predicts the day (day files written, state filled). A failure carries its message.
    std::function<Status(AppContext&, ImportState&)> predictDay;
    // Puts the text outputs the settings ask for into the day's set (state.daySet), before it
    // is committed; names the files it could not write in state.ExportFailures.
    std::function<void(AppContext&, ImportState&)> exports;
};

// Reads the work files (from the archive unpacked in memory when state.unpacked is set, else
// from the work folder), imports and predicts the day, writes the exports and empties the work
// folder. True when the day went through; false after its message.
bool DayRun(AppContext& ctx, ImportState& state, const DayHooks& hooks);

// Imports the race-card archive at archivePath (the import command without its file
// dialog). An empty path or a missing file does nothing. True when the day went through. The
// archive's files are read in memory (UnpackDayArchive); the work folder is left empty.
bool ExtractAndPredict(AppContext& ctx, ImportState& state, const QString& archivePath, const DayHooks& hooks);

struct BatchResult {
    int archives = 0;  // archives listed
    int imported = 0;  // days that went through
    int exportFailures = 0;  // exports of those days that could not be written
};

// Runs every "hb??????.lzh" archive of MurDataDir (sorted by name, at most 512) through the
// day run, in batch mode (the exports add to their cumulative files; the first day that goes
// through replaces what an earlier batch left there, so a batch in which no day goes through
// changes nothing). With none it shows its message and does nothing else.
BatchResult BatchRun(AppContext& ctx, ImportState& state, const DayHooks& hooks);

}  // namespace zm
