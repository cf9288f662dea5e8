#pragma once

// The bets subcommands of the contest post and the voting schedule: tekichukai-out,
// tekichukai-in and voterobo.

#include "cli/cli.h"

namespace zm::cli {

int betsTekichukaiOut(CliEnv& env, const QString& day, const QStringList& args);
int betsTekichukaiIn(CliEnv& env, const QString& day, const QStringList& args);
int betsVoteRobo(CliEnv& env, const QString& day, const QStringList& args);

}  // namespace zm::cli
