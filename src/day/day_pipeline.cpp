#include "day/day_pipeline.h"

#include "app/file_names.h"
#include "app/file_set.h"
#include "import/day_import.h"
#include "import/readers.h"
#include "import/work_folder.h"
#include "predict/predict_day.h"

#include <QFileInfo>

namespace zm {

DaySteps DaySteps::predictionOnly() {
    return {PredictDay, nullptr};
}

namespace {

// The day's import, prediction and exports around the day's one file set.
Status RunImportedDay(AppContext& ctx, ImportState& state, const DaySteps& steps) {
    // A set an earlier run left half in place is finished or rolled back first.
    if (Status recovered = RecoverFileSets(ctx.paths.DataDir); !recovered)
        return recovered;
    FileSet set(ctx.paths.DataDir);
    state.daySet = &set;
    struct Release {
        ImportState& s;
        ~Release() { s.daySet = nullptr; }
    } release{state};
    auto fail = [&](Status failure) {
        ctx.ImportedDay.clear();
        set.discard();
        return failure;
    };

    if (Status imported = ImportDay(ctx, state, set); !imported) {
        set.discard();
        return imported;
    }
    if (steps.predict) {
        if (Status predicted = steps.predict(ctx, state); !predicted)
            return fail(predicted);
    }
    // The exports join the day's set: after a kill the day and its exports are both old or both
    // new. An export that could not be written is left out and named; the day goes on.
    state.ExportFailures.clear();
    if (ctx.BatchRequested && !state.BatchFilesStarted) {
        // The first day of a batch that goes through empties the batch's cumulative exports.
        for (const QString& name : {QStringLiteral("Duel.TXT"), QStringLiteral("DEN.CSV")}) {
            if (const QString path = findFileNoCase(ctx.settings.OutPutDir, name); !path.isEmpty())
                set.drop(QFileInfo(path).absoluteFilePath());
        }
    }
    if (steps.exports)
        steps.exports(ctx, state);
    if (Status committed = set.commit(); !committed)
        return fail(committed);
    FinishImportedDay(ctx, state);
    return {};
}

// The day run on the archive's files unpacked in memory: they are not written to the work folder
// only to be read back.
bool UnpackAndRun(AppContext& ctx, ImportState& state, const QString& archivePath, const DaySteps& steps) {
    const std::optional<UnpackedArchive> unpacked = UnpackDayArchive(ctx, archivePath);
    if (!unpacked)
        return false;
    state.unpacked = &*unpacked;
    const bool done = DayRun(ctx, state, steps);
    state.unpacked = nullptr;
    return done;
}

}  // namespace

bool DayRun(AppContext& ctx, ImportState& state, const DaySteps& steps) {
    bool done = false;
    state.ExportFailures.clear();
    LoadJockeyTable(ctx, state);
    if (IndexHorseFile(ctx, state) < 1) {
        ctx.prompter.critical(QStringLiteral("競走馬ファイルが見つかりません！　中止します。"));
    } else if (IndexEntryFile(ctx, state) < 1) {
        ctx.prompter.critical(QStringLiteral("出馬データ２のファイルが見つかりません！　中止します。"));
    } else {
        ctx.progressSink().setPercent(0);
        if (const Status imported = RunImportedDay(ctx, state, steps); !imported) {
            ctx.prompter.critical(imported.message());
        } else {
            done = true;
        }
    }
    EmptyWorkDir(ctx);
    ctx.progressSink().idle();
    return done;
}

bool ExtractAndPredict(AppContext& ctx, ImportState& state, const QString& archivePath, const DaySteps& steps) {
    state.ArchivePath = archivePath;
    if (!isFileEntry(archivePath))
        return false;
    return UnpackAndRun(ctx, state, archivePath, steps);
}

BatchResult BatchRun(AppContext& ctx, ImportState& state, const DaySteps& steps) {
    BatchResult result;
    const QStringList names = listFilesNoCase(ctx.settings.MurDataDir, QStringLiteral("hb??????.lzh"), 512);
    result.archives = static_cast<int>(names.size());
    if (names.isEmpty()) {
        ctx.prompter.critical(QStringLiteral("ＭＵＲのデータが見つかりません！"));
        return result;
    }
    // The exports add every day of the batch to their cumulative files, each day in its own set.
    const bool wasBatch = ctx.BatchRequested;
    ctx.BatchRequested = true;
    state.BatchFilesStarted = false;
    ProgressSink& progress = ctx.progressSink();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        progress.setBatchStep(static_cast<int>(i + 1), static_cast<int>(names.size()), name);
        state.ArchivePath = ctx.settings.MurDataDir + name;
        if (UnpackAndRun(ctx, state, state.ArchivePath, steps)) {
            ++result.imported;
            state.BatchFilesStarted = true;
        }
        result.exportFailures += static_cast<int>(state.ExportFailures.size());
    }
    progress.setBatchStep(0, 0, QString());
    ctx.BatchRequested = wasBatch;
    return result;
}

}  // namespace zm
