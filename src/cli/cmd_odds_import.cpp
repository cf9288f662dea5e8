#include "cli/cli.h"

#include "import/odds_import.h"

namespace zm::cli {

std::optional<QString> importOddsArgument(CliEnv& env, const QString& arg) {
    const auto archive = archiveArgument(env, arg);
    if (!archive)
        return std::nullopt;
    const Result<QString> oddsPath = ImportOddsArchive(env.ctx, *archive);
    if (!oddsPath) {
        if (!oddsPath.message().isEmpty())
            env.ctx.prompter.critical(oddsPath.message());
        env.err << "zenomur-cli: no predicted odds imported from " << arg << Qt::endl;
        return std::nullopt;
    }
    return *oddsPath;
}

int cmdOddsImport(CliEnv& env, const Call& call) {
    const auto oddsPath = importOddsArgument(env, call.args.positionals()[0]);
    if (!oddsPath)
        return kExitStopped;
    env.out << *oddsPath << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
