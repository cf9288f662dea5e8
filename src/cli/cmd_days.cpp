#include "card/cardday.h"
#include "card/cardtext.h"
#include "cli/cli.h"

using namespace Qt::StringLiterals;

namespace zm::cli {

int cmdDays(CliEnv& env, const QStringList& args) {
    if (!args.isEmpty()) {
        return usageError(env, u"days"_s);
    }
    for (const QString& day : card::LoadDayList(env.ctx.paths.DataDir)) {
        env.out << day << u' ' << card::DayText(day) << u'\n';
    }
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
