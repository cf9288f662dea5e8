#include "cli/cli.h"

#include "import/day_import.h"
#include "import/day_run.h"
#include "import/odds_import.h"
#include "import/split.h"
#include "predict/predict_hooks.h"

#include <QFileInfo>

namespace zm::cli {

namespace {

// The archive argument as an absolute path; nothing (after a message) when it is not a file.
std::optional<QString> archiveArgument(CliEnv& env, const QString& arg) {
    const QFileInfo info(arg);
    if (!info.isFile()) {
        env.err << "zenomur-cli: no such archive: " << arg << Qt::endl;
        return std::nullopt;
    }
    return info.absoluteFilePath();
}

void printDayFiles(CliEnv& env, const ImportState& state) {
    const QString date = state.CurrentRaceDate;
    env.out << "day " << date << ": " << state.RaceCount << " race records, " << state.MeetingCount
            << " meetings" << Qt::endl;
    for (const QString& name : {dayRaceFileName(date), dayEntryFileName(date), dayHorseFileName(date),
                                dayOddsFileName(date), date + QStringLiteral(".DAT")}) {
        const QFileInfo info(env.ctx.paths.DataDir + name);
        if (info.isFile())
            env.out << "  " << info.absoluteFilePath() << " (" << info.size() << " bytes)" << Qt::endl;
    }
}

}  // namespace

int cmdImport(CliEnv& env, const QStringList& args) {
    if (args.size() != 1)
        return usageError(env, QStringLiteral("import ARCHIVE"));
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    ImportState state;
    if (!ExtractAndPredict(env.ctx, state, *archive, predictionHooks())) {
        if (state.CurrentRaceDate.isEmpty())
            env.err << "zenomur-cli: nothing imported from " << args[0] << Qt::endl;
        return kExitStopped;
    }
    printDayFiles(env, state);
    return kExitOk;
}

int cmdBatch(CliEnv& env, const QStringList& args) {
    if (!args.isEmpty())
        return usageError(env, QStringLiteral("batch"));
    ImportState state;
    const BatchResult result = BatchRun(env.ctx, state, predictionHooks());
    env.out << result.imported << " of " << result.archives << " archives imported" << Qt::endl;
    return result.archives > 0 && result.imported == result.archives ? kExitOk : kExitStopped;
}

int cmdSplit(CliEnv& env, const QStringList& args) {
    if (args.size() != 1)
        return usageError(env, QStringLiteral("split ARCHIVE"));
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    SplitObserver observer;
    observer.original = [&](const QString& text) { env.out << QStringLiteral("元データ: ") << text << Qt::endl; };
    observer.added = [&](const QString& text) { env.out << QStringLiteral("追加データ: ") << text << Qt::endl; };
    observer.status = [&](const QString& text) { env.out << text << Qt::endl; };
    const QString written = SplitTwoDayArchive(env.ctx, *archive, observer);
    if (written.isEmpty())
        return kExitStopped;
    env.out << written << Qt::endl;
    return kExitOk;
}

int cmdOddsImport(CliEnv& env, const QStringList& args) {
    if (args.size() != 1)
        return usageError(env, QStringLiteral("odds-import ARCHIVE"));
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    ImportState state;
    if (!ImportOddsArchive(env.ctx, state, *archive)) {
        env.err << "zenomur-cli: no predicted odds imported from " << args[0] << Qt::endl;
        return kExitStopped;
    }
    env.out << state.OddsPath << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
