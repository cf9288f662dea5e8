#include "cli/cli.h"

#include "export/day_exports.h"
#include "import/day_import.h"
#include "day/day_pipeline.h"

#include <QFileInfo>

namespace zm::cli {

namespace {

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

int cmdImport(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    ImportState state;
    if (!ExtractAndPredict(env.ctx, state, *archive, DaySteps::whole())) {
        if (state.CurrentRaceDate.isEmpty())
            env.err << "zenomur-cli: nothing imported from " << args[0] << Qt::endl;
        return kExitStopped;
    }
    printDayFiles(env, state);
    // The day went through; an export that was asked for and not written is a failure all the same.
    for (const QString& failed : state.ExportFailures)
        env.err << "zenomur-cli: export not written: " << failed << Qt::endl;
    return state.ExportFailures.isEmpty() ? kExitOk : kExitStopped;
}

}  // namespace zm::cli
