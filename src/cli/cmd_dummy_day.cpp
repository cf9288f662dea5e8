#include "cli/cli.h"

#include "import/race_model.h"
#include "predict/dummy_day.h"

namespace zm::cli {

int cmdDummyDay(CliEnv& env, const Call& call) {
    ImportState state;
    const std::optional<QString> day = CreateDummyDay(env.ctx, state, call.args.positionals()[0]);
    if (!day) {
        return kExitStopped;
    }
    env.out << *day << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
