#pragma once

// The day pipeline: one race day from its archive to its files, in one pass. For each day it
// reads the archive's files, imports the day (import/), predicts it (predict/) and writes its
// exports (export/), all into one file set that is put in place only when the whole day went
// through; until then the old day and its old exports stay as they were. The import of a chosen
// archive and the batch over MurData are built on it.

#include "app/context.h"
#include "codes/status.h"
#include "import/race_model.h"

#include <QStringList>
#include <functional>
#include <optional>

namespace zm {

class FileSet;
class UnpackedArchive;

// What runs on a day after its import, in this order, before its set is put in place. A step
// left empty is skipped (a test may run the import alone, or put a step of its own).
struct DaySteps {
    // Predicts the day into its set; a failure stops the day.
    std::function<Status(AppContext&, const ImportedDay&, FileSet&)> predict;
    // Puts the exports the settings ask for into the day's set (batchStarted: a day of the
    // running batch went through already) and gives the files it could not write; the day
    // goes on. Their messages go to the notices.
    std::function<QStringList(AppContext&, const ImportedDay&, FileSet&, bool batchStarted, Notices&)> exports;

    // The whole day as both programs run it: the prediction, then the exports.
    static DaySteps whole();
    // The prediction without the exports.
    static DaySteps predictionOnly();
};

// What a day run gives.
struct DayOutcome {
    // A failure stopped the day and carries the message to show (an empty one: nothing to show,
    // as when a file that is not a race-card archive was refused).
    Status status;
    // The messages on the way (warnings, failures that did not stop the day by themselves), in
    // the order they came, to be shown before the status's.
    Notices notices;
    // The day's date once the import read it, also when the day stopped after that.
    QString date;
    // The day as imported, when it went through.
    std::optional<ImportedDay> day;
    // The files of the day's exports that could not be written (each message among the
    // notices); the day itself went through all the same.
    QStringList exportFailures;

    bool ok() const { return status.ok(); }
    explicit operator bool() const { return ok(); }
    // Every message of the day in the order to show them: the notices, then a failure's own
    // (shown as an error).
    Notices messages() const {
        Notices all = notices;
        if (!status.message().isEmpty())
            all << Notice(status.message(), {}, Severity::Critical);
        return all;
    }
};

// Reads the work files (from the archive unpacked in memory when there is one, else from the
// work folder), imports the day, runs the steps, puts the day's set in place and empties the
// work folder.
DayOutcome DayRun(AppContext& ctx, const DaySteps& steps = DaySteps::whole(), const UnpackedArchive* unpacked = nullptr);

// Imports the race-card archive at archivePath (the import command without its file dialog). An
// empty path or a missing file does nothing. The archive's files are read in memory; the work
// folder is left empty.
DayOutcome ExtractAndPredict(AppContext& ctx, const QString& archivePath, const DaySteps& steps = DaySteps::whole());

struct BatchResult {
    int archives = 0;        // archives listed
    int imported = 0;        // days that went through
    int exportFailures = 0;  // exports of those days that could not be written
    QString lastDate;        // the date of the last day whose import read it
};

// Shows a message to the user: each front end passes its own.
using ReportFailure = std::function<void(const Notice& message)>;

// Runs every "hb??????.lzh" archive of MurDataDir (sorted by name, at most 512) through the day
// run, in batch mode (the exports add to their cumulative files; the first day that goes through
// replaces what an earlier batch left there, so a batch in which no day goes through changes
// nothing). The messages of each day are reported as soon as it ends.
// With no archive it reports its message and does nothing else.
BatchResult BatchRun(AppContext& ctx, const DaySteps& steps, const ReportFailure& report);

}  // namespace zm
