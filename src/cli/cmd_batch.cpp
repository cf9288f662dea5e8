#include "cli/cli.h"

#include "day/day_pipeline.h"

namespace zm::cli {

int cmdBatch(CliEnv& env, const Call&) {
    const BatchResult result =
        BatchRun(env.ctx, DaySteps::whole(), [&env](const Notice& message) { showNotice(env, message); });
    env.out << result.imported << " of " << result.archives << " archives imported" << Qt::endl;
    if (result.exportFailures > 0)
        env.err << "zenomur-cli: " << result.exportFailures << " exports not written" << Qt::endl;
    return result.archives > 0 && result.imported == result.archives && result.exportFailures == 0 ? kExitOk
                                                                                                   : kExitStopped;
}

}  // namespace zm::cli
