#include "app/file_names.h"
#include "card/predicted_odds.h"
#include "cli/cli.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "pat/odds_read.h"
#include "pat/odds_view.h"
#include "pat/pat_format.h"
#include "pat/pat_files.h"
#include "pat/pat_log.h"

#include <QFileInfo>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

int predictedOdds(CliEnv& env, const QString& day, const QString& venue, int raceNo) {
    zm::PredictedOdds odds;
    if (zm::LoadPredictedOdds(env.ctx.paths.DataDir, day, venue, raceNo, 18, odds) != zm::PredictedOddsLoad::Ok) {
        return showFailure(env, Status::notice(zm::kNoPredictedOdds));
    }
    env.out << odds.caption << u'\n';
    for (const auto& l : odds.win)
        env.out << l.label << u'\t' << l.odds << u'\n';
    for (const auto& l : odds.quinella)
        env.out << l.label << u'\t' << l.odds << u'\n';
    env.out.flush();
    return kExitOk;
}

}  // namespace

int patStake(CliEnv& env, const Call& call) {
    const auto stake = zm::ShowDayStake(env.ctx, zm::referenceDay(call.day));
    if (!stake)
        return showFailure(env, stake.status());
    env.out << u"日付 "_s << stake->dayText() << u'\n';
    env.out << u"BET数 "_s << stake->count << u'\n';
    env.out << u"BET残数 "_s << stake->remaining << u'\n';
    env.out << u"BET金額 "_s << stake->stakeText() << u'\n';
    env.out.flush();
    return kExitOk;
}

int patResults(CliEnv& env, const Call& call) {
    const auto records = zm::BuildResults(env.ctx, call.day);
    if (!records)
        return showFailure(env, records.status());
    env.out << zm::resultsColumns().join(u'\t') << u'\n';
    for (const zm::SeiRecord& s : *records)
        env.out << zm::resultsRow(s).join(u'\t') << u'\n';
    env.out.flush();
    return kExitOk;
}

int patLog(CliEnv& env, const Call& call) {
    if (call.args.count(u"export"_s) > 1)
        return usageError(env, call.usage);
    const QString exportFile = call.args.value(u"export"_s);
    const auto log = zm::ShowVoteLog(env.ctx, call.day);
    if (!log)
        return showFailure(env, log.status());
    env.out << u"№\t場所\tＲ\t券種\t買い目\tODDS\t購入金額\t判 定\t配 当\t払戻金額\t備　考"_s << u'\n';
    for (const zm::VoteRow& r : log->rows)
        env.out << r.numberText << u'\t' << r.venue << u'\t' << r.race << u'\t' << r.type << u'\t' << r.combination
                << u'\t' << r.odds << u'\t' << r.stakeText << u'\t' << r.judgementText << u'\t' << r.payoutText << u'\t'
                << r.returnText << u'\t' << r.remark << u'\n';
    env.out << u"投資額合計 "_s << log->investmentText() << u'\n';
    env.out << u"払戻金合計 "_s << log->returnsText() << u'\n';
    env.out << u"本日の収支 "_s << log->balanceText() << u'\n';
    env.out << u"回収率 "_s << log->rateText() << u'\n';
    env.out.flush();
    if (!exportFile.isEmpty()) {
        if (const Status saved = zm::ExportPatView(*log, exportFile); !saved) {
            return showFailure(env, saved);
        }
    }
    return kExitOk;
}

int patOdds(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    const QStringList& args = call.args.positionals();
    const QString venue = VenueArgument(args[0]).value_or(QString());
    bool numberOk = false;
    const int raceNo = args[1].toInt(&numberOk);
    if (venue.isEmpty() || !numberOk || raceNo < 1 || raceNo > 12)
        return usageError(env, u"pat --day yyyymmdd odds VENUE RACE   (VENUE as 東京 or its code, RACE 1-12)"_s);
    const zm::PatFormat* format = zm::patFormatOf(env.ctx.settings.Ver);
    if (!format)
        return predictedOdds(env, day, venue, raceNo);
    if (!isRealFolder(env.ctx.settings.PatDir) && !QFileInfo(env.ctx.settings.PatDir).isDir()) {
        return showFailure(env, Status::warning(zm::patFolderMissingMessage(env.ctx.settings.PatDir)));
    }
    const zm::PatRaceRef race{venue, QString::number(raceNo), FindNichi(env.ctx, day, venue), day};
    const QString& folder = env.ctx.settings.PatDir;
    const zm::WinPlaceOdds wp = zm::ReadWinPlaceOdds(folder, format, race);
    const zm::PairOdds pairs = zm::ReadRenOdds(folder, format, race);
    const zm::BodyWeights weights = zm::ReadBodyWeights(folder, format, race);
    env.out << u"馬番\t単勝\t複勝\t馬体重"_s << u'\n';
    for (size_t h = 0; h < 18; ++h)
        env.out << QString::number(int(h) + 1).rightJustified(2) << u'\t' << wp.win[h] << u'\t' << wp.place[h] << u'\t'
                << weights.weights[h] << u'\n';
    env.out << u"枠連"_s << u'\n';
    for (const zm::BracketOddsRow& b : wp.brackets)
        env.out << b.pair << u'\t' << b.odds << u'\n';
    const bool wide = format->hasWideOdds();
    env.out << (wide ? u"馬連\tワイド"_s : u"馬連"_s) << u'\n';
    for (const zm::PairOddsRow& p : pairs.pairs) {
        env.out << p.pair << u'\t' << p.quinella;
        if (wide)
            env.out << u'\t' << p.wideLow << u'-' << p.wideHigh;
        env.out << u'\n';
    }
    env.out.flush();
    return kExitOk;
}

int cmdPat(CliEnv& env, const Call& call) {
    QString day;
    if (call.args.isSet(u"day"_s)) {
        const auto given = DayArgument(call.args.value(u"day"_s));
        if (!given)
            return usageError(env, u"pat --day yyyymmdd ...   (a date that exists)"_s);
        day = *given;
    }
    // Every sub-command but stake needs the day.
    if (day.isEmpty() && call.args.positionals().first() != u"stake")
        return usageError(env, call.usage);
    return runSubcommand(env, patSubcommands(), u"pat --day yyyymmdd "_s, Call{call.args, call.usage, day});
}

}  // namespace zm::cli
