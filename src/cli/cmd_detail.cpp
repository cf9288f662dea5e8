#include "card/detail_file.h"
#include "cli/cli.h"
#include "codes/codetables.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

// detail DAY: the day's detail text file in the output folder, with the odds the race card
// shows.
int cmdDetail(CliEnv& env, const Call& call) {
    const auto day = DayArgument(call.args.positionals()[0]);
    if (!day)
        return usageError(env, u"detail DAY   (DAY as yyyymmdd)"_s);
    if (const Status written = zm::WriteDetailFile(env.ctx, *day); !written)
        return showFailure(env, written);
    env.out << zm::detailFilePath(env.ctx.settings, *day) << u'\n';
    return kExitOk;
}

}  // namespace zm::cli
