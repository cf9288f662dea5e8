#include "cli/cli.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kDayHelp = u"a day as yyyymmdd (a date that exists)"_s;
const QString kVenueHelp = u"a course by name (京都 阪神 中京 小倉 東京 中山 福島 新潟 札幌 函館) or its code 00-09"_s;
const QString kArchiveHelp = u"the archive file"_s;

std::vector<const CommandDecl*> declsOf(const std::vector<Command>& commands) {
    std::vector<const CommandDecl*> decls;
    for (const Command& c : commands)
        decls.push_back(&c.decl);
    return decls;
}

// A command whose one argument is an archive.
CommandDecl archiveCommand(const QString& name, const QString& summary) {
    return {name, name + u" ARCHIVE"_s, summary, {}, {{u"ARCHIVE"_s, kArchiveHelp}}, 1, 1,
            OptionPlace::BeforePositionals};
}

// A command without arguments.
CommandDecl bareCommand(const QString& name, const QString& summary) {
    return {name, name, summary, {}, {}, 0, 0, OptionPlace::BeforePositionals};
}

CommandDecl betsDecl() {
    return {u"bets"_s,
            subcommandUsage(u"bets --day yyyymmdd "_s, declsOf(betsSubcommands())),
            u"the day's pending bets: add from a race, show, totals, sort, remove or merge duplicates, import PAT "
            u"odds, delete by odds range, write the purchase files, post to or read posts of 的中会, write the "
            u"voting schedule, write the bulk output"_s,
            {{u"day"_s, u"DAY"_s, kDayHelp}},
            {{u"SUBCOMMAND"_s, u"one of the forms above"_s}, {u"ARGUMENTS..."_s, u"the sub-command's arguments"_s}},
            1,
            -1,
            OptionPlace::BeforePositionals};
}

CommandDecl patDecl() {
    return {u"pat"_s,
            subcommandUsage(u"pat --day yyyymmdd "_s, declsOf(patSubcommands())),
            u"PAT's day stake, the race results, the vote log with its profit and loss, the odds of a race"_s,
            {{u"day"_s, u"DAY"_s, kDayHelp + u"; stake may leave it out for today"_s}},
            {{u"SUBCOMMAND"_s, u"one of the forms above"_s}, {u"ARGUMENTS..."_s, u"the sub-command's arguments"_s}},
            1,
            -1,
            OptionPlace::BeforePositionals};
}

CommandDecl backtestDecl() {
    return {u"backtest"_s,
            u"backtest [--from yyyymmdd] [--to yyyymmdd] [--style N]... [--ev-threshold X] [--csv FILE] [--sjis]"_s,
            u"every prediction style's bets of the predicted days judged against the results, and the pending bets"_s,
            {{u"from"_s, u"DAY"_s, u"the first day (yyyymmdd)"_s},
             {u"to"_s, u"DAY"_s, u"the last day (yyyymmdd)"_s},
             {u"style"_s, u"N"_s, u"a prediction style 0..8, or 9 the expected value (repeat for more; default all)"_s},
             {u"ev-threshold"_s, u"X"_s, u"style 9 bets a win where chance x odds reaches X (default: the setting, 1.2)"_s},
             {u"csv"_s, u"FILE"_s, u"write the tables as CSV files named after FILE"_s},
             {u"sjis"_s, {}, u"write the CSV files in Shift-JIS (with --csv)"_s}},
            {},
            0,
            0};
}

CommandDecl ledgerDecl();
CommandDecl modelDecl();

}  // namespace

const std::vector<Command>& commands() {
    static const std::vector<Command> table = {
        {{u"settings"_s, u"settings list | get SECTION KEY | set SECTION KEY VALUE"_s,
          u"read and write the settings store"_s, {},
          {{u"list | get | set"_s, u"what to do"_s}, {u"SECTION KEY"_s, u"the setting"_s},
           {u"VALUE"_s, u"its new value"_s}},
          1, 4, OptionPlace::BeforePositionals},
         cmdSettings},
        {{u"delete-days"_s, u"delete-days DAY... | delete-days --all"_s,
          u"delete predicted days (yyyymmdd) with their day files and exports"_s,
          {{u"all"_s, {}, u"every predicted day the days command lists"_s}},
          {{u"DAY..."_s, u"predicted days as yyyymmdd (yyyy/mm/dd and yyyy-mm-dd are taken too)"_s}}, 0, -1},
         cmdDeleteDays},
        {archiveCommand(u"import"_s, u"import and predict one race-card archive"_s), cmdImport},
        {bareCommand(u"batch"_s, u"import every hb??????.lzh archive of the MurData folder"_s), cmdBatch},
        {archiveCommand(u"split"_s, u"write the second day of a two-day archive as B + yymmdd + .LZH"_s), cmdSplit},
        {archiveCommand(u"odds-import"_s, u"import a predicted-odds archive into the data folder"_s), cmdOddsImport},
        {bareCommand(u"days"_s, u"list the predicted days, newest first"_s), cmdDays},
        {{u"card"_s, u"card DAY | card DAY VENUE RACE [--ev]"_s,
          u"the day's race list, or one race card with its prediction"_s,
          {{u"ev"_s, {}, u"add the win model's chance and expected value of each runner"_s}},
          {{u"DAY"_s, kDayHelp}, {u"VENUE"_s, kVenueHelp}, {u"RACE"_s, u"the race number 1-12"_s}}, 1, 3},
         cmdCard},
        {{u"detail"_s, u"detail DAY"_s, u"write the day's detail text file into the output folder"_s, {},
          {{u"DAY"_s, kDayHelp}}, 1, 1, OptionPlace::BeforePositionals},
         cmdDetail},
        {{u"dummy-day"_s, u"dummy-day DATE"_s,
          u"make a dummy race day (date as typed in the date dialog, e.g. 2001/9/3)"_s, {},
          {{u"DATE"_s, u"the date as typed in the date dialog"_s}}, 1, 1, OptionPlace::BeforePositionals},
         cmdDummyDay},
        {betsDecl(), cmdBets},
        {{u"convert-odds"_s, u"convert-odds --pat 98|95|31 [--to DIR] ARCHIVE"_s,
          u"unpack a predicted-odds archive and write its day as PAT odds files"_s,
          {{u"pat"_s, u"98|95|31"_s, u"the PAT generation to write for"_s},
           {u"to"_s, u"DIR"_s, u"the folder to write into (default: the stored conversion folder)"_s}},
          {{u"ARCHIVE"_s, u"the predicted-odds archive"_s}}, 1, 1},
         cmdConvertOdds},
        {patDecl(), cmdPat},
        {backtestDecl(), cmdBacktest},
        {ledgerDecl(), cmdLedger},
        {modelDecl(), cmdModel},
    };
    return table;
}

namespace {

Command bareSub(const QString& name, const QString& summary, CommandFn run) {
    return {bareCommand(name, summary), run};
}

}  // namespace

const std::vector<Command>& betsSubcommands() {
    const QString stake = u"H[:STAKE]"_s;
    static const std::vector<Command> table = {
        {{u"add"_s,
          u"add VENUE RACE [--picks] [--win H[:STAKE]]... [--place H[:STAKE]]... [--bracket AB[:STAKE]]... "
          u"[--quinella A-B[:STAKE]]..."_s,
          u"add bets of a race as the bet output dialog writes them"_s,
          {{u"picks"_s, {}, u"start from the race's recommended bets"_s},
           {u"win"_s, stake, u"a win bet on horse H (the stake defaults to the dialog's)"_s},
           {u"place"_s, stake, u"a place bet on horse H"_s},
           {u"bracket"_s, u"AB[:STAKE]"_s, u"a bracket quinella on brackets A and B"_s},
           {u"quinella"_s, u"A-B[:STAKE]"_s, u"a quinella on horses A and B"_s}},
          {{u"VENUE"_s, kVenueHelp}, {u"RACE"_s, u"the race number"_s}}, 2, 2},
         betsAdd},
        bareSub(u"show"_s, u"print the pending-bet file"_s, betsShow),
        bareSub(u"totals"_s, u"the bets and stakes of each bet type"_s, betsTotals),
        bareSub(u"sort"_s, u"sort the pending bets"_s, betsSort),
        bareSub(u"dedupe"_s, u"remove duplicate bets"_s, betsDedupe),
        bareSub(u"merge"_s, u"merge duplicate bets, adding their stakes"_s, betsMerge),
        bareSub(u"odds"_s, u"take the odds of the bets from PAT"_s, betsOdds),
        bareSub(u"sakutto"_s, u"write the purchase files"_s, betsSakutto),
        {{u"prune"_s, u"prune [--type 単勝|複勝|枠連|馬連|ワイド --min N --max N]... [--no-odds one|skip]"_s,
          u"delete the bets whose odds lie outside the ranges"_s,
          {{u"type"_s, u"TYPE"_s, u"a bet type; the --min and --max after it are its range"_s},
           {u"min"_s, u"N"_s, u"the lowest odds kept"_s},
           {u"max"_s, u"N"_s, u"the highest odds kept"_s},
           {u"no-odds"_s, u"one|skip"_s, u"a bet without odds counts as odds 1, or is left alone"_s}},
          {}, 0, 0},
         betsPrune},
        {{u"tekichukai-out"_s, u"tekichukai-out [--wide] (--file | --stdout)"_s, u"the 的中会 post of the bets"_s,
          {{u"wide"_s, {}, u"post quinellas as wides"_s},
           {u"file"_s, {}, u"write OutPut/的中会yyyymmdd.TXT"_s},
           {u"stdout"_s, {}, u"print the post"_s}},
          {}, 0, 0},
         betsTekichukaiOut},
        {{u"tekichukai-in"_s, u"tekichukai-in FILE [--fixed 単勝|複勝|枠連|馬連|ワイド:AMOUNT]..."_s,
          u"read a 的中会 post into the pending bets"_s,
          {{u"fixed"_s, u"TYPE:AMOUNT"_s, u"stake every bet of the type with AMOUNT"_s}},
          {{u"FILE"_s, u"the post (Shift-JIS or UTF-8)"_s}}, 1, 1},
         betsTekichukaiIn},
        bareSub(u"voterobo"_s, u"write the VoteRobo schedule with the stored settings"_s, betsVoteRobo),
        {{u"bulk"_s, u"bulk [--path FILE] [--format duel|mur] [--wide] [--yes|--no|--cancel]"_s,
          u"the bulk bet output with the stored settings; the options hold for this run only"_s,
          {{u"path"_s, u"FILE"_s, u"the contest text to read"_s},
           {u"format"_s, u"duel|mur"_s, u"the contest text's format"_s},
           {u"wide"_s, {}, u"quinellas as wides"_s},
           {u"yes"_s, {}, u"overwrite the pending bets"_s},
           {u"no"_s, {}, u"append to the pending bets"_s},
           {u"cancel"_s, {}, u"cancel when there are pending bets"_s}},
          {}, 0, 0},
         betsBulk},
    };
    return table;
}

namespace {

CommandDecl ledgerDecl() {
    return {u"ledger"_s,
            subcommandUsage(u"ledger "_s, declsOf(ledgerSubcommands())),
            u"the season ledger (Data/ledger.sqlite): bring it up to date from the days' files, or report "
            u"the stakes, returns and rates of a range of days"_s,
            {},
            {{u"SUBCOMMAND"_s, u"one of the forms above"_s}, {u"ARGUMENTS..."_s, u"the sub-command's arguments"_s}},
            1,
            -1,
            OptionPlace::BeforePositionals};
}

CommandDecl modelDecl() {
    return {u"model"_s,
            subcommandUsage(u"model "_s, declsOf(modelSubcommands())),
            u"the win-probability model: fit it to the predicted days with results, or report how well its "
            u"chances match the winners"_s,
            {},
            {{u"SUBCOMMAND"_s, u"one of the forms above"_s}, {u"ARGUMENTS..."_s, u"the sub-command's arguments"_s}},
            1,
            -1,
            OptionPlace::BeforePositionals};
}

}  // namespace

const std::vector<Command>& modelSubcommands() {
    const OptionDecl from = {u"from"_s, u"DAY"_s, u"the first day (yyyymmdd)"_s};
    const OptionDecl to = {u"to"_s, u"DAY"_s, u"the last day (yyyymmdd)"_s};
    static const std::vector<Command> table = {
        {{u"fit"_s, u"fit [--from yyyymmdd] [--to yyyymmdd]"_s,
          u"fit the model to the days with predictions and results (at least 20) and store it"_s, {from, to}, {}, 0,
          0},
         modelFit},
        {{u"report"_s, u"report [--from yyyymmdd] [--to yyyymmdd]"_s,
          u"the stored model's chances against the winners: log-loss beside the market's, and a reliability table"_s,
          {from, to}, {}, 0, 0},
         modelReport},
    };
    return table;
}

const std::vector<Command>& ledgerSubcommands() {
    const OptionDecl from = {u"from"_s, u"DAY"_s, u"the first day (yyyymmdd)"_s};
    const OptionDecl to = {u"to"_s, u"DAY"_s, u"the last day (yyyymmdd)"_s};
    static const std::vector<Command> table = {
        {{u"update"_s, u"update [--from yyyymmdd] [--to yyyymmdd]"_s,
          u"write each day whose results or pending bets the data folder holds, with its vote log"_s, {from, to}, {},
          0, 0},
         ledgerUpdate},
        {{u"report"_s,
          u"report [--from yyyymmdd] [--to yyyymmdd] [--by day|month|year|venue|type|style] [--type T]... "
          u"[--venue V]... [--csv FILE] [--sjis]"_s,
          u"bets, stake, returns, balance, recovery and hit rates, longest losing run and largest drawdown"_s,
          {from,
           to,
           {u"by"_s, u"GROUPING"_s, u"day, month (default), year, venue, type or style"_s},
           {u"type"_s, u"T"_s, u"only this bet type: 単勝 複勝 枠連 馬連 ワイド (repeat for more)"_s},
           {u"venue"_s, u"V"_s, kVenueHelp + u" (repeat for more)"_s},
           {u"csv"_s, u"FILE"_s, u"also write the table as CSV to FILE"_s},
           {u"sjis"_s, {}, u"write the CSV in Shift-JIS (with --csv)"_s}},
          {},
          0,
          0},
         ledgerReport},
    };
    return table;
}

const std::vector<Command>& patSubcommands() {
    static const std::vector<Command> table = {
        bareSub(u"stake"_s, u"the day's stake PAT holds"_s, patStake),
        bareSub(u"results"_s, u"the race results (writes the day's .SEI)"_s, patResults),
        {{u"log"_s, u"log [--export FILE]"_s, u"the vote log with its profit and loss"_s,
          {{u"export"_s, u"FILE"_s, u"append the log as text to FILE"_s}}, {}, 0, 0},
         patLog},
        {{u"odds"_s, u"odds VENUE RACE"_s, u"the odds of a race (the predicted odds without PAT)"_s, {},
          {{u"VENUE"_s, kVenueHelp}, {u"RACE"_s, u"the race number 1-12"_s}}, 2, 2},
         patOdds},
    };
    return table;
}

int runSubcommand(CliEnv& env, const std::vector<Command>& subs, const QString& prefix, const Call& call) {
    const QStringList& words = call.args.positionals();
    const Command* sub = nullptr;
    for (const Command& c : subs) {
        if (c.decl.name == words.value(0))
            sub = &c;
    }
    if (!sub)
        return usageError(env, call.usage);
    const QString usage = prefix + sub->decl.usage;
    const auto parsed = parseArguments(sub->decl, words.mid(1));
    if (!parsed)
        return usageError(env, usage);
    if (parsed->helpAsked()) {
        CommandDecl shown = sub->decl;
        shown.usage = usage;
        env.out << commandHelp(shown);
        env.out.flush();
        return kExitOk;
    }
    return sub->run(env, Call{*parsed, usage, call.day});
}

}  // namespace zm::cli
