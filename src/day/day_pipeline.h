#pragma once

// The day pipeline: one race day from its archive to its files, in one pass. For each day it
// reads the archive's files, imports the day (import/), predicts it (predict/) and writes its
// exports (export/), all into one file set that is put in place only when the whole day went
// through; until then the old day and its old exports stay as they were. The import of a chosen
// archive and the batch over MurData are built on it.

#include "app/context.h"
#include "codes/status.h"
#include "import/race_model.h"

#include <functional>

namespace zm {

// What runs on a day after its import, in this order, before its set is put in place. A step
// left empty is skipped (a test may run the import alone, or put a step of its own).
struct DaySteps {
    // Predicts the day (day files into the set, state filled); a failure stops the day.
    std::function<Status(AppContext&, ImportState&)> predict;
    // Puts the exports the settings ask for into the day's set; names the ones it could not
    // write in state.ExportFailures, and the day goes on.
    std::function<void(AppContext&, ImportState&)> exports;

    // The whole day as both programs run it: the prediction, then the exports.
    static DaySteps whole();
    // The prediction without the exports.
    static DaySteps predictionOnly();
};

// Reads the work files (from the archive unpacked in memory when state.unpacked is set, else
// from the work folder), imports the day, runs the steps, puts the day's set in place and empties
// the work folder. True when the day went through; false after its message.
bool DayRun(AppContext& ctx, ImportState& state, const DaySteps& steps = DaySteps::whole());

// Imports the race-card archive at archivePath (the import command without its file dialog). An
// empty path or a missing file does nothing. True when the day went through. The archive's files
// are read in memory; the work folder is left empty.
bool ExtractAndPredict(AppContext& ctx, ImportState& state, const QString& archivePath,
                       const DaySteps& steps = DaySteps::whole());

struct BatchResult {
    int archives = 0;        // archives listed
    int imported = 0;        // days that went through
    int exportFailures = 0;  // exports of those days that could not be written
};

// Runs every "hb??????.lzh" archive of MurDataDir (sorted by name, at most 512) through the day
// run, in batch mode (the exports add to their cumulative files; the first day that goes through
// replaces what an earlier batch left there, so a batch in which no day goes through changes
// nothing). With none it shows its message and does nothing else.
BatchResult BatchRun(AppContext& ctx, ImportState& state, const DaySteps& steps = DaySteps::whole());

}  // namespace zm
