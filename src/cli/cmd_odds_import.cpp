#include "cli/cli.h"

#include "import/day_import.h"
#include "import/odds_import.h"

namespace zm::cli {

int cmdOddsImport(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
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
