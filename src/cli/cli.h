#pragma once

// zenomur-cli: global options, the command table and the shared pieces every command uses.

#include "app/context.h"
#include "cli/command_line.h"

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace zm::cli {

struct CliEnv {
    AppContext& ctx;
    QTextStream& out;  // what the command produces (UTF-8)
    QTextStream& err;  // messages
    bool stderrIsTerminal = false;
};

// What a command's handler is given: its parsed arguments, its usage line (for usageError) and,
// for the sub-commands of bets and pat, the day of --day (empty when none was given).
struct Call {
    const ParsedArgs& args;
    QString usage;
    QString day;
};

using CommandFn = int (*)(CliEnv& env, const Call& call);

// A command, or a sub-command of bets or pat: its declaration and its handler.
struct Command {
    CommandDecl decl;
    CommandFn run;
};

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitStopped = 1;
constexpr int kExitUsage = 2;

// Reports a usage error of a command and returns kExitUsage.
int usageError(CliEnv& env, const QString& text);

// The one place a command shows a failure: its message on stderr; returns kExitStopped.
int showFailure(CliEnv& env, const Status& failure);
// Tells what a finished action has to say (nothing for an empty notice), on stderr.
void showNotice(CliEnv& env, const Notice& notice);

// The archive argument as an absolute path; nothing (after a message) when it is not a file.
std::optional<QString> archiveArgument(CliEnv& env, const QString& arg);
// Imports the predicted-odds archive the argument names (cmd_odds_import.cpp); the odds file
// written, or nothing after the messages.
std::optional<QString> importOddsArgument(CliEnv& env, const QString& arg);

// The command table (commands.cpp): one entry per command, in the order --help lists them.
const std::vector<Command>& commands();
// The sub-commands of `bets --day DAY` and `pat [--day DAY]`.
const std::vector<Command>& betsSubcommands();
const std::vector<Command>& patSubcommands();
const std::vector<Command>& ledgerSubcommands();
const std::vector<Command>& modelSubcommands();

// Runs the sub-command the first positional argument of call names with the arguments after it;
// prefix is what its usage line starts with ("bets --day yyyymmdd ").
int runSubcommand(CliEnv& env, const std::vector<Command>& subs, const QString& prefix, const Call& call);

// The whole program, testable: parses the global options, starts up and runs one command.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The commands' handlers (one file each).
int cmdSettings(CliEnv& env, const Call& call);
int cmdDeleteDays(CliEnv& env, const Call& call);
int cmdImport(CliEnv& env, const Call& call);
int cmdBatch(CliEnv& env, const Call& call);
int cmdSplit(CliEnv& env, const Call& call);
int cmdOddsImport(CliEnv& env, const Call& call);
int cmdDays(CliEnv& env, const Call& call);
int cmdCard(CliEnv& env, const Call& call);
int cmdDummyDay(CliEnv& env, const Call& call);
int cmdBets(CliEnv& env, const Call& call);
int cmdPat(CliEnv& env, const Call& call);
int cmdConvertOdds(CliEnv& env, const Call& call);
int cmdDetail(CliEnv& env, const Call& call);
int cmdBacktest(CliEnv& env, const Call& call);
int cmdLedger(CliEnv& env, const Call& call);
int cmdModel(CliEnv& env, const Call& call);

// The sub-commands of bets and pat.
int betsAdd(CliEnv& env, const Call& call);
int betsShow(CliEnv& env, const Call& call);
int betsTotals(CliEnv& env, const Call& call);
int betsSort(CliEnv& env, const Call& call);
int betsDedupe(CliEnv& env, const Call& call);
int betsMerge(CliEnv& env, const Call& call);
int betsOdds(CliEnv& env, const Call& call);
int betsSakutto(CliEnv& env, const Call& call);
int betsPrune(CliEnv& env, const Call& call);
int betsTekichukaiOut(CliEnv& env, const Call& call);
int betsTekichukaiIn(CliEnv& env, const Call& call);
int betsVoteRobo(CliEnv& env, const Call& call);
int betsBulk(CliEnv& env, const Call& call);
int patStake(CliEnv& env, const Call& call);
int patResults(CliEnv& env, const Call& call);
int patLog(CliEnv& env, const Call& call);
int patOdds(CliEnv& env, const Call& call);
int ledgerUpdate(CliEnv& env, const Call& call);
int ledgerReport(CliEnv& env, const Call& call);
int modelFit(CliEnv& env, const Call& call);
int modelReport(CliEnv& env, const Call& call);

}  // namespace zm::cli
