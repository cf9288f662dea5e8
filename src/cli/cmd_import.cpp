#include "cli/cli.h"

#include "import/day_import.h"
#include "day/day_pipeline.h"

#include <QFileInfo>

namespace zm::cli {

namespace {

void printDayFiles(CliEnv& env, const ImportedDay& day) {
    const QString& date = day.date;
    env.out << "day " << date << ": " << day.raceRecords << " race records, " << day.meetings.size() << " meetings"
            << Qt::endl;
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
    const DayOutcome imported = ExtractAndPredict(env.ctx, *archive, DaySteps::whole());
    for (const Notice& message : imported.messages())
        showNotice(env, message);
    if (!imported.ok()) {
        if (imported.date.isEmpty())
            env.err << "zenomur-cli: nothing imported from " << args[0] << Qt::endl;
        return kExitStopped;
    }
    printDayFiles(env, *imported.day);
    // The day went through; an export that was asked for and not written is a failure all the same.
    for (const QString& failed : imported.exportFailures)
        env.err << "zenomur-cli: export not written: " << failed << Qt::endl;
    return imported.exportFailures.isEmpty() ? kExitOk : kExitStopped;
}

}  // namespace zm::cli
