#include "import/day_run.h"

#include "app/file_names.h"
#include "import/day_import.h"
#include "import/readers.h"
#include "import/work_folder.h"

#include <QFile>
#include <QFileInfo>

namespace zm {

bool DayRun(AppContext& ctx, ImportState& state, const DayHooks& hooks) {
    bool done = false;
    state.ExportFailures.clear();
    LoadJockeyTable(ctx, state);
    if (IndexHorseFile(ctx, state) < 1) {
        ctx.prompter.critical(QStringLiteral("競走馬ファイルが見つかりません！　中止します。"));
    } else if (IndexEntryFile(ctx, state) < 1) {
        ctx.prompter.critical(QStringLiteral("出馬データ２のファイルが見つかりません！　中止します。"));
    } else {
        ctx.progressSink().setPercent(0);
        if (const Status imported = ImportDay(ctx, state, hooks); !imported) {
            ctx.prompter.critical(imported.message());
        } else {
            done = true;
        }
    }
    EmptyWorkDir(ctx);
    ctx.progressSink().idle();
    return done;
}

namespace {

// The day run on the archive's files unpacked in memory: they are not written to the work folder
// only to be read back.
bool UnpackAndRun(AppContext& ctx, ImportState& state, const QString& archivePath, const DayHooks& hooks) {
    const std::optional<UnpackedArchive> unpacked = UnpackDayArchive(ctx, archivePath);
    if (!unpacked)
        return false;
    state.unpacked = &*unpacked;
    const bool done = DayRun(ctx, state, hooks);
    state.unpacked = nullptr;
    return done;
}

}  // namespace

bool ExtractAndPredict(AppContext& ctx, ImportState& state, const QString& archivePath, const DayHooks& hooks) {
    state.ArchivePath = archivePath;
    if (!isFileEntry(archivePath))
        return false;
    return UnpackAndRun(ctx, state, archivePath, hooks);
}

BatchResult BatchRun(AppContext& ctx, ImportState& state, const DayHooks& hooks) {
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
        if (UnpackAndRun(ctx, state, state.ArchivePath, hooks)) {
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
