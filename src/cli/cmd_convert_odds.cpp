#include "cli/cli.h"

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
    const auto oddsPath = importOddsArgument(env, archiveText);
    if (!oddsPath)
        return kExitStopped;
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
