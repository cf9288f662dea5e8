#include "bets/bet_output.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "card/cardday.h"
#include "pat/pat_files.h"
#include "cli/cli.h"
#include "cli/cmd_bets_contest.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kUsage =
    u"bets --day yyyymmdd add VENUE RACE [--picks] [--win H[:STAKE]]... [--place H[:STAKE]]... "
    u"[--bracket AB[:STAKE]]... [--quinella A-B[:STAKE]]...\n"
    u"       bets --day yyyymmdd show | totals | sort | dedupe | merge | odds | sakutto\n"
    u"       bets --day yyyymmdd prune [--type 単勝|複勝|枠連|馬連|ワイド --min N --max N]... "
    u"[--no-odds one|skip]\n"
    u"       bets --day yyyymmdd tekichukai-out [--wide] (--file | --stdout)\n"
    u"       bets --day yyyymmdd tekichukai-in FILE [--fixed 単勝|複勝|枠連|馬連|ワイド:AMOUNT]...\n"
    u"       bets --day yyyymmdd voterobo"_s;

// The message of a PAT command run without PAT set up: what is missing and how to set it.
QString patSetupMessage(const QString& problem) {
    return problem + u'\n' + pat::patSettingsHint();
}

// Why the day has no such race (empty when it has it, or when the day's files are not there
// to ask: then any race 1-12 is taken).
QString raceProblem(CliEnv& env, const QString& day, const QString& venue, int raceNo) {
    const QString name = day + u' ' + VenueName(venue) + u' ' + QString::number(raceNo) + u'R';
    if (raceNo < 1 || raceNo > 12)
        return name + u": レースは 1～12 です。"_s;
    card::DayCard loaded;
    if (card::LoadDay(env.ctx.paths.DataDir, day, loaded) != card::DayLoad::Ok)
        return {};
    for (const card::VenueFrame& frame : loaded.frames) {
        if (frame.venueCode == venue)
            return frame.rows[static_cast<size_t>(raceNo - 1)].text.isEmpty()
                       ? name + u": この日のこの場にはこのレースがありません。"_s
                       : QString();
    }
    if (loaded.venueCount > 3)
        return {};
    return name + u": この日には"_s + VenueName(venue) + u"の開催がありません。"_s;
}

int exitOf(BetOutcome outcome) {
    return outcome == BetOutcome::Stopped ? kExitStopped : kExitOk;
}

// The service code of a venue given by name or as its two-digit code; empty when unknown.
QString venueCodeOf(const QString& text) {
    if (text.size() == 2 && text[0].isDigit() && text[1].isDigit())
        return VenueName(text) == u"？？" ? QString() : text;
    const QString code = ServiceVenueCodeOf(text);
    if (!code.isEmpty() || text.isEmpty())
        return code;
    for (int n = 0; n <= 99; ++n) {
        const QString c = QString::number(n).rightJustified(2, u'0');
        if (VenueName(c) == text)
            return c;
    }
    return {};
}

// The race's recommended bets as the race card shows them.
std::optional<std::array<QString, 11>> racePicks(CliEnv& env, const QString& day, const QString& venue, int raceNo) {
    card::DayCard loaded;
    if (card::LoadDay(env.ctx.paths.DataDir, day, loaded) == card::DayLoad::FilesMissing) {
        env.ctx.prompter.warning(card::kDayFilesMissing);
        return std::nullopt;
    }
    for (int k = 0; k < 3; ++k) {
        if (loaded.frames[static_cast<size_t>(k)].venueCode == venue) {
            if (const auto race = card::LoadRace(env.ctx.paths.DataDir, loaded, k + 1, raceNo))
                return race->recommendations;
        }
    }
    env.ctx.prompter.warning(day + u' ' + VenueName(venue) + u' ' + QString::number(raceNo) +
                             u"R: このレースの予想はありません。"_s);
    return std::nullopt;
}

int betsAdd(CliEnv& env, const QString& day, const QStringList& args) {
    if (args.size() < 2)
        return usageError(env, kUsage);
    const QString venue = venueCodeOf(args[0]);
    bool numberOk = false;
    const int raceNo = args[1].toInt(&numberOk);
    if (venue.isEmpty() || !numberOk || raceNo < 1 || raceNo > 99)
        return usageError(env, u"bets add VENUE RACE   (VENUE a course name such as 東京 or its code, RACE a number)"_s);
    if (!isKnownVenueName(VenueName(venue))) {
        env.ctx.prompter.warning(args[0] + u": 保留ＢＥＴに書ける場ではありません。"_s);
        return kExitStopped;
    }
    if (const QString problem = raceProblem(env, day, venue, raceNo); !problem.isEmpty()) {
        env.ctx.prompter.warning(problem + u" 何も書き込んでいません。"_s);
        return kExitStopped;
    }
    const bool picks = args.mid(2).contains(u"--picks"_s);
    std::array<QString, 11> recommendations;
    if (picks) {
        const auto p = racePicks(env, day, venue, raceNo);
        if (!p)
            return kExitStopped;
        recommendations = *p;
    }
    BetOutForm form = OpenBetOutForm(env.ctx.settings, recommendations);
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--picks")
            continue;
        BetGroup group;
        if (a == u"--win")
            group = GroupWin;
        else if (a == u"--place")
            group = GroupPlace;
        else if (a == u"--bracket")
            group = GroupBracket;
        else if (a == u"--quinella")
            group = GroupQuinella;
        else
            return usageError(env, kUsage);
        if (i + 1 >= args.size())
            return usageError(env, a + u" needs a value"_s);
        const QString value = args[++i];
        BetRow* row = form.nextFreeRow(group);
        if (!row)
            return usageError(env, a + u": the dialog has only "_s + QString::number(kBetGroupRows[group]) + u" rows"_s);
        qsizetype colon = value.indexOf(u':');
        if (colon < 0)
            colon = value.indexOf(u'：');
        row->checked = true;
        row->entry = colon < 0 ? value : value.left(colon);
        row->stake = colon < 0 ? form.defaults[static_cast<size_t>(group)] : value.mid(colon + 1);
    }
    // A row given on the command line that cannot be written refuses the whole command.
    const auto written = WriteBetOut(env.ctx, day, form, venue, raceNo, true);
    if (!written.ok()) {
        env.ctx.prompter.critical(written.message());
        return kExitStopped;
    }
    if (written->written == 0) {
        env.ctx.prompter.warning(u"書き込む買い目がありません（--win などで買い目を指定してください）。"_s);
        return kExitStopped;
    }
    env.err << written->written << u" 件の買い目を保留ＢＥＴに追加しました。"_s << Qt::endl;
    return kExitOk;
}

int betsShow(CliEnv& env, const QString& day) {
    const auto file = ReadPendingBets(PendingBetPath(env.ctx.paths, day));
    if (!file.ok()) {
        env.ctx.prompter.warning(file.message());
        return kExitStopped;
    }
    if (!file->exists) {
        env.ctx.prompter.information(kNoPendingBets);
        return kExitStopped;
    }
    for (const QString& line : file->lines)
        env.out << line << u'\n';
    env.out.flush();
    return kExitOk;
}

int betsTotals(CliEnv& env, const QString& day) {
    const auto t = PendingBetTotals(env.ctx, day);
    if (!t)
        return kExitStopped;
    env.out << t->heading << u'\n';
    for (size_t k = 0; k < 5; ++k)
        env.out << kOddsRangeTypes[k] << u' ' << thousands(static_cast<double>(t->counts[k])) << u' '
                << t->sums[k].display() << u'\n';
    env.out << u"合計ＢＥＴ数 "_s << thousands(static_cast<double>(t->totalCount())) << u'\n';
    env.out << u"合計金額 "_s << t->totalAmount().display() << u"円\n"_s;
    env.out.flush();
    return kExitOk;
}

int betsPrune(CliEnv& env, const QString& day, const QStringList& args) {
    OddsRangeDialog dialog = OpenOddsRangeDialog(env.ctx.store);
    int row = -1;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size())
            return usageError(env, kUsage);
        const QString value = args[++i];
        if (a == u"--type") {
            const auto it = std::find(kOddsRangeTypes.begin(), kOddsRangeTypes.end(), value);
            if (it == kOddsRangeTypes.end())
                return usageError(env, kUsage);
            row = static_cast<int>(it - kOddsRangeTypes.begin());
            dialog.checked[static_cast<size_t>(row)] = true;
        } else if ((a == u"--min" || a == u"--max") && row >= 0) {
            (a == u"--min" ? dialog.minText : dialog.maxText)[static_cast<size_t>(row)] = value;
        } else if (a == u"--no-odds" && (value == u"one" || value == u"skip")) {
            dialog.noOddsAsOne = value == u"one";
        } else {
            return usageError(env, kUsage);
        }
    }
    return exitOf(DeleteBetsByOddsRange(env.ctx, day, dialog));
}

}  // namespace

int cmdBets(CliEnv& env, const QStringList& args) {
    if (args.size() < 3 || args[0] != u"--day")
        return usageError(env, kUsage);
    const QString day = args[1];
    if (day.size() != 8 || !DateFromYmd(day).isValid())
        return usageError(env, u"bets --day yyyymmdd ...   (a date that exists)"_s);
    const QString sub = args[2];
    const QStringList rest = args.mid(3);
    if (sub == u"add")
        return betsAdd(env, day, rest);
    if (sub == u"prune")
        return betsPrune(env, day, rest);
    if (sub == u"tekichukai-out")
        return betsTekichukaiOut(env, day, rest);
    if (sub == u"tekichukai-in")
        return betsTekichukaiIn(env, day, rest);
    if (sub == u"voterobo")
        return betsVoteRobo(env, day, rest);
    if (sub == u"bulk")
        return betsBulk(env, day, rest);
    if (!rest.isEmpty())
        return usageError(env, kUsage);
    if (sub == u"show")
        return betsShow(env, day);
    if (sub == u"totals")
        return betsTotals(env, day);
    if (sub == u"sort")
        return exitOf(SortPendingBets(env.ctx, day));
    if (sub == u"dedupe")
        return exitOf(RemoveDuplicateBets(env.ctx, day));
    if (sub == u"merge")
        return exitOf(MergeDuplicateBets(env.ctx, day));
    if (sub == u"odds") {
        if (const Status pat = PatSettingsProblem(env.ctx.settings); !pat.ok()) {
            env.ctx.prompter.warning(patSetupMessage(pat.message()));
            return kExitStopped;
        }
        return exitOf(ImportBetOdds(env.ctx, day));
    }
    if (sub == u"sakutto")
        return exitOf(CutPurchaseFiles(env.ctx, day));
    return usageError(env, kUsage);
}

}  // namespace zm::cli
