#include "analysis/backtest.h"
#include "analysis/backtest_tables.h"
#include "cli/cli.h"
#include "cli/day_range.h"
#include "codes/codetables.h"
#include "predict/selection.h"

#include <algorithm>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

QString dayList(const QStringList& days) {
    return days.isEmpty() ? QString() : u" ("_s + days.join(u' ') + u')';
}

// What the expected-value style went by: its threshold, or why it has no bets; and the days it
// left out as those its model was fitted on.
void printEvNote(QTextStream& out, const zm::BacktestReport& report) {
    if (!report.evProblem.isEmpty()) {
        out << u"期待値: "_s << report.evProblem << u'\n';
        return;
    }
    out << u"期待値 %1以上の単勝（100円）"_s.arg(report.evThreshold);
    if (!report.daysLearned.isEmpty())
        out << u"、モデルの推定期間内で除外 "_s << report.daysLearned.size() << dayList(report.daysLearned);
    out << u'\n';
}

}  // namespace

int cmdBacktest(CliEnv& env, const Call& call) {
    const QString& kUsage = call.usage;
    const auto range = dayRangeOf(env, call);
    if (!range)
        return kExitUsage;
    zm::BacktestOptions options;
    options.from = range->from;
    options.to = range->to;
    const QString csv = call.args.value(u"csv"_s);
    const bool sjis = call.args.isSet(u"sjis"_s);
    for (const QString& value : call.args.values(u"style"_s)) {
        bool ok = false;
        const int style = value.toInt(&ok);
        if (!ok || style < 0 || style >= zm::kStyleCount)
            return usageError(env, kUsage + u"\n  --style N: a style 0..9 (9 the expected value)"_s);
        if (std::find(options.styles.begin(), options.styles.end(), style) == options.styles.end())
            options.styles.push_back(style);
    }
    if (call.args.isSet(u"ev-threshold"_s)) {
        bool ok = false;
        const double threshold = call.args.value(u"ev-threshold"_s).toDouble(&ok);
        if (!ok || !(threshold > 0) || threshold >= 1000)
            return usageError(env, kUsage + u"\n  --ev-threshold X: an expected value such as 1.2"_s);
        options.evThreshold = threshold;
    }
    if (sjis && csv.isEmpty())
        return usageError(env, kUsage + u"\n  --sjis needs --csv FILE"_s);
    options.keepBets = !csv.isEmpty();

    const zm::BacktestReport report =
        zm::RunBacktest(env.ctx.paths, env.ctx.settings, options, env.ctx.progressSink());
    if (env.stderrIsTerminal) {
        env.err << u'\n';
        env.err.flush();
    }

    const auto asked = [&](int style) {
        return std::any_of(report.styles.begin(), report.styles.end(),
                           [style](const zm::StyleFigures& f) { return f.style == style; });
    };
    env.out << zm::styleTableText(report) << u'\n';
    env.out << zm::markTableText(report) << u'\n';
    env.out << u"検証日数 "_s << report.daysTested.size() << u'\n';
    env.out << u"成績なしで除外 "_s << report.daysWithoutResults.size() << dayList(report.daysWithoutResults) << u'\n';
    env.out << u"成績のみで予想なし "_s << report.daysWithoutPrediction.size() << dayList(report.daysWithoutPrediction)
            << u'\n';
    if (!report.daysWithoutOdds.isEmpty())
        env.out << (asked(zm::kStyleOddsFilter) ? u"予想オッズなし(Odds絞り込みを除外) "_s : u"予想オッズなし(期待値を除外) "_s)
                << report.daysWithoutOdds.size() << dayList(report.daysWithoutOdds) << u'\n';
    if (asked(zm::kStyleEv))
        printEvNote(env.out, report);
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
