#include "cli/cli.h"

#include "import/odds_import.h"

namespace zm::cli {

int cmdOddsImport(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    const Result<QString> oddsPath = ImportOddsArchive(env.ctx, *archive);
    if (!oddsPath) {
        if (!oddsPath.message().isEmpty())
            env.ctx.prompter.critical(oddsPath.message());
        env.err << "zenomur-cli: no predicted odds imported from " << args[0] << Qt::endl;
        return kExitStopped;
    }
    env.out << *oddsPath << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
