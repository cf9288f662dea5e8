#include "app/day_list.h"
#include "card/cardday.h"
#include "card/cardtext.h"
#include "cli/cli.h"

using namespace Qt::StringLiterals;

namespace zm::cli {

int cmdDays(CliEnv& env, const Call&) {
    qsizetype total = 0;
    for (const QString& day : ListPredictedDays(env.ctx.paths.DataDir, &total)) {
        env.out << day << u' ' << zm::DayText(day) << u'\n';
    }
    env.out.flush();
    if (const QString beyond = daysNotListedMessage(total); !beyond.isEmpty())
        env.ctx.prompter.information(beyond, kAppTitle);
    return kExitOk;
}

}  // namespace zm::cli
