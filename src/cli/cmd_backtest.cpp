#include "analysis/backtest.h"
#include "analysis/backtest_tables.h"
#include "cli/cli.h"
#include "codes/codetables.h"

#include <algorithm>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

QString dayList(const QStringList& days) {
    return days.isEmpty() ? QString() : u" ("_s + days.join(u' ') + u')';
}

}  // namespace

int cmdBacktest(CliEnv& env, const Call& call) {
    const QString& kUsage = call.usage;
    zm::BacktestOptions options;
    const QString csv = call.args.value(u"csv"_s);
    const bool sjis = call.args.isSet(u"sjis"_s);
    for (const auto& [name, value] : call.args.ordered()) {
        if (name == u"from" || name == u"to") {
            const auto day = DayArgument(value);
            if (!day)
                return usageError(env, kUsage);
            (name == u"from" ? options.from : options.to) = *day;
        } else if (name == u"style") {
            bool ok = false;
            const int style = value.toInt(&ok);
            if (!ok || style < 0 || style >= zm::kStyleCount)
                return usageError(env, kUsage + u"\n  --style N: a prediction style 0..8"_s);
            if (std::find(options.styles.begin(), options.styles.end(), style) == options.styles.end())
                options.styles.push_back(style);
        }
    }
    if (sjis && csv.isEmpty())
        return usageError(env, kUsage + u"\n  --sjis needs --csv FILE"_s);
    if (!options.from.isEmpty() && !options.to.isEmpty() && options.from > options.to)
        return usageError(env, kUsage + u"\n  --from is after --to"_s);
    options.keepBets = !csv.isEmpty();

    const zm::BacktestReport report =
        zm::RunBacktest(env.ctx.paths, env.ctx.settings, options, env.ctx.progressSink());
    if (env.stderrIsTerminal) {
        env.err << u'\n';
        env.err.flush();
    }

    env.out << zm::styleTableText(report) << u'\n';
    env.out << zm::markTableText(report) << u'\n';
    env.out << u"検証日数 "_s << report.daysTested.size() << u'\n';
    env.out << u"成績なしで除外 "_s << report.daysWithoutResults.size() << dayList(report.daysWithoutResults) << u'\n';
    env.out << u"成績のみで予想なし "_s << report.daysWithoutPrediction.size() << dayList(report.daysWithoutPrediction)
            << u'\n';
    if (!report.daysWithoutOdds.isEmpty())
        env.out << u"予想オッズなし(Odds絞り込みを除外) "_s << report.daysWithoutOdds.size()
                << dayList(report.daysWithoutOdds) << u'\n';
    env.out.flush();

    if (!csv.isEmpty()) {
        QStringList written;
        if (const Status s = zm::WriteBacktestCsv(report, csv, sjis, &written, env.ctx.paths.DataDir); !s) {
            env.err << s.message() << Qt::endl;
            return kExitStopped;
        }
        for (const QString& f : written)
            env.err << f << u'\n';
        env.err.flush();
    }
    return kExitOk;
}

}  // namespace zm::cli
