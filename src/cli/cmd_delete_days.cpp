#include "app/day_deletion.h"
#include "cli/cli.h"
#include "codes/codetables.h"

namespace zm::cli {

// delete-days DAY... | delete-days --all: deletes predicted days with every file that goes
// with them, as the deletion dialog does.
int cmdDeleteDays(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const bool all = call.args.isSet(QStringLiteral("all"));
    if (all == !args.isEmpty() || call.args.count(QStringLiteral("all")) > 1)
        return usageError(env, call.usage);
    // A day may also be typed with its separators (2001/09/22, 2001-09-22).
    QStringList typed;
    for (const QString& a : args) {
        const auto day = DayArgument(QString(a).remove(u'/').remove(u'-'));
        if (!day)
            return usageError(env, call.usage);
        typed << *day;
    }
    AppContext& ctx = env.ctx;
    qsizetype total = 0;
    const QStringList listed = ListPredictedDays(ctx.paths.DataDir, &total);
    if (listed.isEmpty()) {
        ctx.prompter.warning(kDelNoFiles, kAppTitle);
        return kExitStopped;
    }
    QStringList days;
    if (all) {
        // The same days `days` lists; the older ones beyond the list stay, and the user is told.
        days = listed;
        if (const QString beyond = daysNotListedMessage(total); !beyond.isEmpty())
            ctx.prompter.information(beyond, kAppTitle);
    } else {
        for (qsizetype i = 0; i < typed.size(); ++i) {
            if (!listed.contains(typed[i])) {
                ctx.prompter.warning(QStringLiteral("「%1」の予想済みデータはありません。").arg(args[i]), kAppTitle);
                return kExitStopped;
            }
            if (!days.contains(typed[i]))
                days << typed[i];
        }
    }
    QStringList notDeleted;
    const int deleted = DeleteDays(ctx.paths.DataDir, ctx.settings.OutPutDir, days, &notDeleted);
    for (const QString& day : days) {
        env.out << day << u' ' << DayCaption(day) << Qt::endl;
    }
    if (!notDeleted.isEmpty()) {
        ctx.prompter.critical(notDeletedMessage(notDeleted), kAppTitle);
        if (deleted > 0)
            ctx.prompter.information(QString::number(deleted) + kDelDoneSuffix, kAppTitle);
        return kExitStopped;
    }
    ctx.prompter.information(QString::number(deleted) + kDelDoneSuffix, kAppTitle);
    return kExitOk;
}

}  // namespace zm::cli
