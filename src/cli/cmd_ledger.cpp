#include "analysis/backtest_tables.h"
#include "analysis/ledger_days.h"
#include "analysis/ledger_report.h"
#include "app/safe_save.h"
#include "cli/cli.h"
#include "cli/day_range.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

std::unique_ptr<zm::Ledger> openLedger(CliEnv& env) {
    auto ledger = zm::Ledger::open(zm::ledgerPath(env.ctx.paths));
    if (!ledger) {
        env.err << ledger.message() << Qt::endl;
        return nullptr;
    }
    return std::move(ledger.value());
}

}  // namespace

int cmdLedger(CliEnv& env, const Call& call) { return runSubcommand(env, ledgerSubcommands(), u"ledger "_s, call); }

int ledgerUpdate(CliEnv& env, const Call& call) {
    const auto range = dayRangeOf(env, call);
    if (!range)
        return kExitUsage;
    const auto ledger = openLedger(env);
    if (!ledger)
        return kExitStopped;
    const QStringList days = zm::ledgerSourceDays(env.ctx.paths, range->from, range->to);
    const Result<zm::LedgerUpdate> update = zm::updateLedger(env.ctx, *ledger, days);
    if (!update) {
        env.err << update.message() << Qt::endl;
        return kExitStopped;
    }
    for (const QString& failure : update->failures)
        env.err << failure << u'\n';
    env.out << u"%1 days: %2 added, %3 replaced, %4 unchanged"_s.arg(days.size())
                   .arg(update->added)
                   .arg(update->replaced)
                   .arg(update->unchanged);
    if (!update->failures.isEmpty())
        env.out << u", %1 not read"_s.arg(update->failures.size());
    env.out << u'\n';
    env.out.flush();
    return update->failures.isEmpty() ? kExitOk : kExitStopped;
}

int ledgerReport(CliEnv& env, const Call& call) {
    const auto range = dayRangeOf(env, call);
    if (!range)
        return kExitUsage;
    const auto grouping = zm::ledgerGroupingOf(call.args.isSet(u"by"_s) ? call.args.value(u"by"_s) : u"month"_s);
    if (!grouping)
        return usageError(env, call.usage + u"\n  --by: day, month, year, venue, type or style"_s);
    zm::LedgerFilter filter;
    const QStringList types = {u"単勝"_s, u"複勝"_s, u"枠連"_s, u"馬連"_s, u"ワイド"_s};
    for (const QString& type : call.args.values(u"type"_s)) {
        const qsizetype k = types.indexOf(type);
        if (k < 0)
            return usageError(env, call.usage + u"\n  --type: 単勝, 複勝, 枠連, 馬連 or ワイド"_s);
        filter.typeCodes << QString::number(k + 1);
    }
    for (const QString& venue : call.args.values(u"venue"_s)) {
        const auto service = VenueArgument(venue);
        if (!service)
            return usageError(env, call.usage);
        filter.venueNos << ServiceToJraCode(*service);
    }
    const QString csv = call.args.value(u"csv"_s);
    const bool sjis = call.args.isSet(u"sjis"_s);
    if (sjis && csv.isEmpty())
        return usageError(env, call.usage + u"\n  --sjis needs --csv FILE"_s);

    const auto ledger = openLedger(env);
    if (!ledger)
        return kExitStopped;
    const auto bets = ledger->bets(range->from, range->to);
    if (!bets) {
        env.err << bets.message() << Qt::endl;
        return kExitStopped;
    }
    const zm::Table table = zm::ledgerTable(zm::ledgerReport(*bets, *grouping, filter));
    env.out << zm::aligned(table.header, table.rows, 1);
    env.out.flush();
    if (!csv.isEmpty()) {
        const QString text = zm::csvText(table);
        if (const Status saved = SafeSave::save(csv, sjis ? toSjis(text) : text.toUtf8()); !saved) {
            env.err << saved.message() << Qt::endl;
            return kExitStopped;
        }
        env.err << csv << u'\n';
        env.err.flush();
    }
    return kExitOk;
}

}  // namespace zm::cli
