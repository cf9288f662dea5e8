#include "cli/cli.h"

#include "import/odds_import.h"
#include "pat/odds_convert.h"

namespace zm::cli {

int cmdConvertOdds(CliEnv& env, const QStringList& args) {
    const QString usage = QStringLiteral("convert-odds --pat 98|95|31 [--to DIR] ARCHIVE");
    QString generationText;
    QString folder = env.ctx.settings.ConvOddsDir;
    QString archiveText;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if ((args[i] == u"--pat" || args[i] == u"--to") && i + 1 < args.size()) {
            (args[i] == u"--pat" ? generationText : folder) = args[i + 1];
            ++i;
        } else if (archiveText.isEmpty() && !args[i].startsWith(u"--")) {
            archiveText = args[i];
        } else {
            return usageError(env, usage);
        }
    }
    pat::ConvGeneration generation = pat::ConvGeneration::Pat98;
    if (generationText == u"95")
        generation = pat::ConvGeneration::Pat95;
    else if (generationText == u"31")
        generation = pat::ConvGeneration::Pat31;
    else if (generationText != u"98")
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
    const auto run = pat::ConvertPredictedOdds(env.ctx, state.OddsPath, generation, folder);
    if (!run)
        return kExitStopped;
    for (const QString& path : run->written)
        env.out << path << u'\n';
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
