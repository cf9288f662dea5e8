#include "bets/bet_output.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "card/cardday.h"
#include "pat/pat_files.h"
#include "cli/cli.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// The message of a PAT command run without PAT set up: what is missing and how to set it.
QString patSetupMessage(const QString& problem) {
    return problem + u'\n' + zm::patSettingsHint();
}

// Why the day has no such race (empty when it has it, or when the day's files are not there
// to ask: then any race 1-12 is taken).
QString raceProblem(CliEnv& env, const QString& day, const QString& venue, int raceNo) {
    const QString name = day + u' ' + VenueName(venue) + u' ' + QString::number(raceNo) + u'R';
    if (raceNo < 1 || raceNo > 12)
        return name + u": レースは 1～12 です。"_s;
    zm::DayCard loaded;
    if (zm::LoadDay(env.ctx.paths.DataDir, day, loaded) != zm::DayLoad::Ok)
        return {};
    for (const zm::VenueFrame& frame : loaded.frames) {
        if (frame.venueCode == venue)
            return frame.rows[static_cast<size_t>(raceNo - 1)].text.isEmpty()
                       ? name + u": この日のこの場にはこのレースがありません。"_s
                       : QString();
    }
    if (loaded.venueCount > 3)
        return {};
    return name + u": この日には"_s + VenueName(venue) + u"の開催がありません。"_s;
}

// A rewrite that failed exits 1; one done, declined or with nothing to do exits 0.
int exitOf(CliEnv& env, const Result<BetDone>& done) {
    if (!done)
        return showFailure(env, done.status());
    showNotice(env, done->notice);
    return kExitOk;
}

// The race's recommended bets as the race card shows them.
std::optional<std::array<QString, 11>> racePicks(CliEnv& env, const QString& day, const QString& venue, int raceNo) {
    zm::DayCard loaded;
    if (zm::LoadDay(env.ctx.paths.DataDir, day, loaded) == zm::DayLoad::FilesMissing) {
        env.ctx.prompter.warning(zm::kDayFilesMissing);
        return std::nullopt;
    }
    for (int k = 0; k < 3; ++k) {
        if (loaded.frames[static_cast<size_t>(k)].venueCode == venue) {
            if (const auto race = zm::LoadRace(env.ctx.paths.DataDir, loaded, k + 1, raceNo))
                return race->recommendations;
        }
    }
    env.ctx.prompter.warning(day + u' ' + VenueName(venue) + u' ' + QString::number(raceNo) +
                             u"R: このレースの予想はありません。"_s);
    return std::nullopt;
}

}  // namespace

int betsAdd(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    const QStringList& args = call.args.positionals();
    const QString venue = VenueArgument(args[0]).value_or(QString());
    bool numberOk = false;
    const int raceNo = args[1].toInt(&numberOk);
    if (venue.isEmpty() || !numberOk || raceNo < 1 || raceNo > 99)
        return usageError(env, u"bets add VENUE RACE   (VENUE a course name such as 東京 or its code, RACE a number)"_s);
    if (const QString problem = raceProblem(env, day, venue, raceNo); !problem.isEmpty()) {
        return showFailure(env, Status::warning(problem + u" 何も書き込んでいません。"_s));
    }
    std::array<QString, 11> recommendations;
    if (call.args.isSet(u"picks"_s)) {
        const auto p = racePicks(env, day, venue, raceNo);
        if (!p)
            return kExitStopped;
        recommendations = *p;
    }
    BetOutForm form = OpenBetOutForm(env.ctx.settings, recommendations);
    for (const auto& [name, value] : call.args.ordered()) {
        if (name == u"picks")
            continue;
        const BetGroup group = name == u"win"     ? GroupWin
                               : name == u"place" ? GroupPlace
                               : name == u"bracket" ? GroupBracket
                                                    : GroupQuinella;
        BetRow* row = form.nextFreeRow(group);
        if (!row)
            return usageError(env, u"--"_s + name + u": the dialog has only "_s + QString::number(kBetGroupRows[group]) +
                                       u" rows"_s);
        qsizetype colon = value.indexOf(u':');
        if (colon < 0)
            colon = value.indexOf(u'：');
        row->checked = true;
        row->entry = colon < 0 ? value : value.left(colon);
        row->stake = colon < 0 ? form.defaults[static_cast<size_t>(group)] : value.mid(colon + 1);
    }
    // A row given on the command line that cannot be written refuses the whole command.
    Notices notices;
    const auto written = WriteBetOut(env.ctx, day, form, venue, raceNo, notices, true);
    for (const Notice& notice : notices)
        showNotice(env, notice);
    if (!written.ok()) {
        return showFailure(env, written.status());
    }
    if (written->written == 0) {
        return showFailure(env, Status::warning(u"書き込む買い目がありません（--win などで買い目を指定してください）。"_s));
    }
    env.err << written->written << u" 件の買い目を保留ＢＥＴに追加しました。"_s << Qt::endl;
    return kExitOk;
}

int betsShow(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    const auto file = ReadPendingBets(PendingBetPath(env.ctx.paths, day));
    if (!file.ok()) {
        return showFailure(env, Status::warning(file.message()));
    }
    if (!file->exists) {
        return showFailure(env, Status::notice(kNoPendingBets));
    }
    for (const QString& line : file->lines)
        env.out << line << u'\n';
    env.out.flush();
    return kExitOk;
}

int betsTotals(CliEnv& env, const Call& call) {
    const auto t = PendingBetTotals(env.ctx.paths, call.day);
    if (!t)
        return showFailure(env, t.status());
    env.out << t->heading << u'\n';
    for (size_t k = 0; k < 5; ++k)
        env.out << kOddsRangeTypes[k] << u' ' << thousands(static_cast<double>(t->counts[k])) << u' '
                << t->sums[k].display() << u'\n';
    env.out << u"合計ＢＥＴ数 "_s << thousands(static_cast<double>(t->totalCount())) << u'\n';
    env.out << u"合計金額 "_s << t->totalAmount().display() << u"円\n"_s;
    env.out.flush();
    return kExitOk;
}

// Each --min and --max sets the range of the --type before it.
int betsPrune(CliEnv& env, const Call& call) {
    OddsRangeDialog dialog = OpenOddsRangeDialog(env.ctx.store);
    int row = -1;
    for (const auto& [name, value] : call.args.ordered()) {
        if (name == u"type") {
            const auto it = std::find(kOddsRangeTypes.begin(), kOddsRangeTypes.end(), value);
            if (it == kOddsRangeTypes.end())
                return usageError(env, call.usage);
            row = static_cast<int>(it - kOddsRangeTypes.begin());
            dialog.checked[static_cast<size_t>(row)] = true;
        } else if ((name == u"min" || name == u"max") && row >= 0) {
            (name == u"min" ? dialog.minText : dialog.maxText)[static_cast<size_t>(row)] = value;
        } else if (name == u"no-odds" && (value == u"one" || value == u"skip")) {
            dialog.noOddsAsOne = value == u"one";
        } else {
            return usageError(env, call.usage);
        }
    }
    return exitOf(env, DeleteBetsByOddsRange(env.ctx, call.day, dialog));
}

int betsSort(CliEnv& env, const Call& call) {
    return exitOf(env, SortPendingBets(env.ctx, call.day));
}

int betsDedupe(CliEnv& env, const Call& call) {
    return exitOf(env, RemoveDuplicateBets(env.ctx, call.day));
}

int betsMerge(CliEnv& env, const Call& call) {
    return exitOf(env, MergeDuplicateBets(env.ctx, call.day));
}

int betsOdds(CliEnv& env, const Call& call) {
    if (const Status pat = PatSettingsProblem(env.ctx.settings); !pat.ok()) {
        return showFailure(env, Status::warning(patSetupMessage(pat.message())));
    }
    return exitOf(env, ImportBetOdds(env.ctx, call.day));
}

int betsSakutto(CliEnv& env, const Call& call) {
    const auto report = CutPurchaseFiles(env.ctx, call.day);
    if (!report)
        return showFailure(env, report.status());
    showNotice(env, *report);
    if (const Status removed = OfferPendingBetRemoval(env.ctx, call.day); !removed)
        return showFailure(env, removed);
    return kExitOk;
}

int cmdBets(CliEnv& env, const Call& call) {
    if (!call.args.isSet(u"day"_s))
        return usageError(env, call.usage);
    const auto day = DayArgument(call.args.value(u"day"_s));
    if (!day)
        return usageError(env, u"bets --day yyyymmdd ...   (a date that exists)"_s);
    return runSubcommand(env, betsSubcommands(), u"bets --day yyyymmdd "_s, Call{call.args, call.usage, *day});
}

}  // namespace zm::cli
