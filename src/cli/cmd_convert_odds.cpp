#include "cli/cli.h"

#include "import/odds_import.h"
#include "pat/odds_convert.h"

namespace zm::cli {

int cmdConvertOdds(CliEnv& env, const Call& call) {
    const QString& usage = call.usage;
    const QString generationText = call.args.value(QStringLiteral("pat"));
    const QString folder =
        call.args.isSet(QStringLiteral("to")) ? call.args.value(QStringLiteral("to")) : env.ctx.settings.ConvOddsDir;
    const QString archiveText = call.args.positionals()[0];
    const zm::PatFormat* format = zm::patFormatOf(generationText);
    if (!format)
        return usageError(env, usage);
    if (archiveText.isEmpty())
        return usageError(env, usage);
    const auto archive = archiveArgument(env, archiveText);
    if (!archive)
        return kExitStopped;
    const Result<QString> oddsPath = ImportOddsArchive(env.ctx, *archive);
    if (!oddsPath) {
        if (!oddsPath.message().isEmpty())
            env.ctx.prompter.critical(oddsPath.message());
        env.err << "zenomur-cli: no predicted odds imported from " << archiveText << Qt::endl;
        return kExitStopped;
    }
    env.err << zm::ConvHeading(*oddsPath) << Qt::endl;
    Notices notices;
    const auto run = zm::ConvertPredictedOdds(env.ctx, *oddsPath, *format, folder, notices);
    for (const Notice& notice : notices)
        showNotice(env, notice);
    if (!run)
        return showFailure(env, run.status());
    showNotice(env, Notice{zm::kConvDone});
    for (const QString& path : run->written)
        env.out << path << u'\n';
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
