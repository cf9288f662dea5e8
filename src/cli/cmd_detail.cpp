#include "card/detail_file.h"
#include "cli/cli.h"
#include "codes/codetables.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

// detail DAY: the day's detail text file in the output folder, with the odds the race card
// shows.
int cmdDetail(CliEnv& env, const QStringList& args) {
    if (args.size() != 1 || args[0].size() != 8 || !DateFromYmd(args[0]).isValid())
        return usageError(env, u"detail DAY   (DAY as yyyymmdd)"_s);
    if (!card::WriteDetailFile(env.ctx, args[0]))
        return kExitStopped;
    env.out << card::detailFilePath(env.ctx.settings, args[0]) << u'\n';
    return kExitOk;
}

}  // namespace zm::cli
