#pragma once

// zenomur-cli: global options, the command table and the shared pieces every command uses.

#include "app/context.h"

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

using CommandFn = int (*)(CliEnv& env, const QStringList& args);

struct Command {
    const char* name;
    const char* usage;  // shown by --help, after the command's name
    const char* summary;
    CommandFn run;
};

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitStopped = 1;
constexpr int kExitUsage = 2;

// Reports a usage error of a command and returns kExitUsage.
int usageError(CliEnv& env, const QString& text);

// The archive argument as an absolute path; nothing (after a message) when it is not a file.
std::optional<QString> archiveArgument(CliEnv& env, const QString& arg);

// The command table (commands.cpp): one entry per command.
const std::vector<Command>& commands();

// The whole program, testable: parses the global options, starts up and runs one command.
int runCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

// Commands (one file each).
int cmdSettings(CliEnv& env, const QStringList& args);
int cmdDeleteDays(CliEnv& env, const QStringList& args);
int cmdImport(CliEnv& env, const QStringList& args);
int cmdBatch(CliEnv& env, const QStringList& args);
int cmdSplit(CliEnv& env, const QStringList& args);
int cmdOddsImport(CliEnv& env, const QStringList& args);
int cmdDays(CliEnv& env, const QStringList& args);
int cmdCard(CliEnv& env, const QStringList& args);
int cmdDummyDay(CliEnv& env, const QStringList& args);
int cmdBets(CliEnv& env, const QStringList& args);
int cmdPat(CliEnv& env, const QStringList& args);
int cmdConvertOdds(CliEnv& env, const QStringList& args);
int cmdDetail(CliEnv& env, const QStringList& args);
// bets --day D bulk ... (cmd_bets_bulk.cpp)
int betsBulk(CliEnv& env, const QString& day, const QStringList& args);
int cmdBacktest(CliEnv& env, const QStringList& args);

}  // namespace zm::cli
