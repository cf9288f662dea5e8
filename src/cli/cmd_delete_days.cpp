#include "app/day_deletion.h"
#include "cli/cli.h"

namespace zm::cli {

// delete-days DAY... | delete-days --all: deletes predicted days with every file that goes
// with them, as the deletion dialog does.
int cmdDeleteDays(CliEnv& env, const QStringList& args) {
    const QString usage = QStringLiteral("delete-days DAY... | delete-days --all");
    if (args.isEmpty()) {
        return usageError(env, usage);
    }
    const bool all = args.contains(QStringLiteral("--all"));
    if (all && args.size() != 1) {
        return usageError(env, usage);
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
        for (const QString& a : args) {
            QString day = a;
            day.remove(u'/').remove(u'-');
            if (!listed.contains(day)) {
                ctx.prompter.warning(QStringLiteral("「%1」の予想済みデータはありません。").arg(a), kAppTitle);
                return kExitStopped;
            }
            if (!days.contains(day)) {
                days << day;
            }
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
