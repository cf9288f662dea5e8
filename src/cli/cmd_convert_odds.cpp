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
    const pat::PatFormat* format = pat::patFormatOf(generationText);
    if (!format)
        return usageError(env, usage);
    if (archiveText.isEmpty())
        return usageError(env, usage);
    const auto archive = archiveArgument(env, archiveText);
    if (!archive)
        return kExitStopped;
    ImportState state;
    if (!ImportOddsArchive(env.ctx, state, *archive)) {
        env.err << "zenomur-cli: no predicted odds imported from " << archiveText << Qt::endl;
        return kExitStopped;
    }
    env.err << pat::ConvHeading(state.OddsPath) << Qt::endl;
    const auto run = pat::ConvertPredictedOdds(env.ctx, state.OddsPath, *format, folder);
    if (!run)
        return kExitStopped;
    for (const QString& path : run->written)
        env.out << path << u'\n';
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
