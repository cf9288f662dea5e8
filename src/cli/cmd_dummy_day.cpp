#include "cli/cli.h"

#include "predict/dummy_day.h"

namespace zm::cli {

int cmdDummyDay(CliEnv& env, const Call& call) {
    const Result<QString> day = parseDummyDate(call.args.positionals()[0]);
    if (!day) {
        env.ctx.prompter.warning(day.message());
        return kExitStopped;
    }
    if (const Status created = CreateDummyDay(env.ctx, *day); !created) {
        env.ctx.prompter.critical(created.message());
        return kExitStopped;
    }
    env.out << *day << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
