#include "cli/cli.h"

#include "predict/dummy_day.h"

namespace zm::cli {

int cmdDummyDay(CliEnv& env, const Call& call) {
    const std::optional<QString> day = CreateDummyDay(env.ctx, call.args.positionals()[0]);
    if (!day) {
        return kExitStopped;
    }
    env.out << *day << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
