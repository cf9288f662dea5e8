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
void runImportedDay(AppContext& ctx, DayWork work, const DaySteps& steps, bool batchStarted, DayOutcome& outcome) {
    // A set an earlier run left half in place is finished or rolled back first.
    if (outcome.status = RecoverFileSets(ctx.paths.DataDir); !outcome.status)
        return;
    if (outcome.status = ReadRaceWork(ctx, work); !outcome.status)
        return;
    outcome.date = work.date;
    FileSet set(ctx.paths.DataDir);
    auto fail = [&](Status failure) {
        ctx.ImportedDay.clear();
        set.discard();
        outcome.status = std::move(failure);
    };

    Result<ImportedDay> imported = ImportDay(ctx, std::move(work), set, outcome.notices);
    if (!imported)
        return fail(imported.status());
    const ImportedDay& day = imported.value();
    if (steps.predict) {
        if (Status predicted = steps.predict(ctx, day, set); !predicted)
            return fail(predicted);
    }
    // The exports join the day's set: after a kill the day and its exports are both old or both
    // new. An export that could not be written is left out and named; the day goes on.
    if (ctx.BatchRequested && !batchStarted) {
        // The first day of a batch that goes through empties the batch's cumulative exports.
        for (const QString& name : {QStringLiteral("Duel.TXT"), QStringLiteral("DEN.CSV")}) {
            if (const QString path = findFileNoCase(ctx.settings.OutPutDir, name); !path.isEmpty())
                set.drop(QFileInfo(path).absoluteFilePath());
        }
    }
    if (steps.exports)
        outcome.exportFailures = steps.exports(ctx, day, set, batchStarted, outcome.notices);
    if (Status committed = set.commit(); !committed)
        return fail(committed);
    FinishImportedDay(ctx);
    outcome.day = std::move(imported.value());
}

DayOutcome runDay(AppContext& ctx, const DaySteps& steps, const UnpackedArchive* unpacked, bool batchStarted) {
    DayOutcome outcome;
    Result<DayWork> work = ReadDayWork(ctx, unpacked);
    if (!work) {
        outcome.status = work.status();
    } else {
        ctx.progressSink().setPercent(0);
        runImportedDay(ctx, std::move(work.value()), steps, batchStarted, outcome);
    }
    EmptyWorkDir(ctx);
    ctx.progressSink().idle();
    return outcome;
}

// The day run on the archive's files unpacked in memory: they are not written to the work folder
// only to be read back.
DayOutcome unpackAndRun(AppContext& ctx, const QString& archivePath, const DaySteps& steps, bool batchStarted) {
    const Result<UnpackedArchive> unpacked = UnpackDayArchive(ctx, archivePath);
    if (!unpacked) {
        DayOutcome refused;
        refused.status = unpacked.status();
        return refused;
    }
    return runDay(ctx, steps, &*unpacked, batchStarted);
}

}  // namespace

DayOutcome DayRun(AppContext& ctx, const DaySteps& steps, const UnpackedArchive* unpacked) {
    return runDay(ctx, steps, unpacked, false);
}

DayOutcome ExtractAndPredict(AppContext& ctx, const QString& archivePath, const DaySteps& steps) {
    if (!isFileEntry(archivePath)) {
        DayOutcome nothing;
        nothing.status = Status::failure(QString());
        return nothing;
    }
    return unpackAndRun(ctx, archivePath, steps, false);
}

BatchResult BatchRun(AppContext& ctx, const DaySteps& steps, const ReportFailure& report) {
    BatchResult result;
    const QStringList names = listFilesNoCase(ctx.settings.MurDataDir, QStringLiteral("hb??????.lzh"), 512);
    result.archives = static_cast<int>(names.size());
    if (names.isEmpty()) {
        report(Notice(QStringLiteral("ＭＵＲのデータが見つかりません！"), {}, Severity::Critical));
        return result;
    }
    // The exports add every day of the batch to their cumulative files, each day in its own set.
    const bool wasBatch = ctx.BatchRequested;
    ctx.BatchRequested = true;
    ProgressSink& progress = ctx.progressSink();
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        progress.setBatchStep(static_cast<int>(i + 1), static_cast<int>(names.size()), name);
        const DayOutcome day = unpackAndRun(ctx, ctx.settings.MurDataDir + name, steps, result.imported > 0);
        if (!day.date.isEmpty())
            result.lastDate = day.date;
        if (day.ok())
            ++result.imported;
        for (const Notice& message : day.messages())
            report(message);
        result.exportFailures += static_cast<int>(day.exportFailures.size());
    }
    progress.setBatchStep(0, 0, QString());
    ctx.BatchRequested = wasBatch;
    return result;
}

}  // namespace zm
