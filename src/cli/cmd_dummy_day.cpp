#include "cli/cli.h"

#include "import/race_model.h"
#include "predict/dummy_day.h"

namespace zm::cli {

int cmdDummyDay(CliEnv& env, const QStringList& args) {
    if (args.size() != 1) {
        return usageError(env, QStringLiteral("dummy-day DATE   (as typed in the date dialog, e.g. 2001/9/3)"));
    }
    ImportState state;
    const std::optional<QString> day = CreateDummyDay(env.ctx, state, args[0]);
    if (!day) {
        return kExitStopped;
    }
    env.out << *day << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
