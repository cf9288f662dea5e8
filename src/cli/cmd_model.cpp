#include "analysis/backtest_tables.h"
#include "analysis/model_days.h"
#include "cli/cli.h"
#include "cli/day_range.h"
#include "codes/codetables.h"

#include <cmath>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

QString weights(const zm::WinModel& model) {
    static const char16_t* const kNames[] = {u"指数差", u"順位(log)", u"◎", u"○", u"▲", u"△", u"×"};
    QStringList parts;
    for (int k = 0; k < zm::kWinFeatures; ++k)
        parts << u"%1 %2"_s.arg(QString::fromUtf16(kNames[k])).arg(model.beta[size_t(k)], 0, 'f', 3);
    return parts.join(u"  "_s);
}

}  // namespace

int cmdModel(CliEnv& env, const Call& call) { return runSubcommand(env, modelSubcommands(), u"model "_s, call); }

int modelFit(CliEnv& env, const Call& call) {
    const auto r = dayRangeOf(env, call);
    if (!r)
        return kExitUsage;
    const Result<zm::StoredModel> fitted = zm::fitModel(env.ctx.paths, r->from, r->to);
    if (!fitted) {
        env.err << fitted.message() << Qt::endl;
        return kExitStopped;
    }
    const QString path = zm::modelPath(env.ctx.paths);
    if (const Status saved = zm::saveModel(path, *fitted); !saved) {
        env.err << saved.message() << Qt::endl;
        return kExitStopped;
    }
    env.out << u"%1〜%2 の %3日、%4レースで推定しました（%5）。\n"_s.arg(fitted->from, fitted->to)
                   .arg(fitted->days.size())
                   .arg(fitted->model.races)
                   .arg(path);
    env.out << u"重み: "_s << weights(fitted->model) << u'\n';
    env.out.flush();
    return kExitOk;
}

int modelReport(CliEnv& env, const Call& call) {
    const auto r = dayRangeOf(env, call);
    if (!r)
        return kExitUsage;
    const Result<zm::StoredModel> stored = zm::loadModel(zm::modelPath(env.ctx.paths));
    if (!stored) {
        env.err << stored.message() << Qt::endl;
        return kExitStopped;
    }
    const zm::ModelDays data = zm::modelDays(env.ctx.paths, r->from, r->to);
    int learned = 0;
    for (const QString& day : data.days)
        learned += stored->days.contains(day) ? 1 : 0;
    env.out << u"モデル: %1〜%2 の %3日で推定\n"_s.arg(stored->from, stored->to).arg(stored->days.size());
    env.out << u"重み: "_s << weights(stored->model) << u'\n';
    env.out << u"検証: %1日（うち推定に使った日 %2日）、%3レース\n"_s.arg(data.days.size()).arg(learned).arg(
        data.races.size());
    env.out << u"対数損失: モデル %1"_s.arg(zm::modelLogLoss(stored->model, data.races), 0, 'f', 4);
    if (const auto market = zm::marketLogLoss(data.races))
        env.out << u"  市場（予想オッズ） %1"_s.arg(*market, 0, 'f', 4);
    env.out << u'\n';
    QList<QStringList> rows;
    const auto bands = zm::reliability(stored->model, data.races);
    for (size_t b = 0; b < bands.size(); ++b) {
        const zm::ReliabilityBand& band = bands[b];
        rows << QStringList{u"%1-%2%"_s.arg(b * 10).arg(b * 10 + 10), QString::number(band.runners),
                            QString::number(band.winners),
                            band.runners ? zm::rateText(band.meanChance * 100) : u"-"_s,
                            band.runners ? zm::rateText(band.observedRate() * 100) : u"-"_s};
    }
    env.out << zm::aligned({u"予想勝率"_s, u"頭数"_s, u"1着"_s, u"平均予想"_s, u"実際の勝率"_s}, rows, 1);
    env.out.flush();
    return kExitOk;
}

}  // namespace zm::cli
