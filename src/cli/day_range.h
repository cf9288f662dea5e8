#pragma once

// The --from and --to options of the commands that work over a range of days.

#include "cli/cli.h"

#include <QString>
#include <optional>

namespace zm::cli {

struct DayRange {
    QString from;  // yyyymmdd, empty for no bound
    QString to;
};

// --from and --to of the call as days. Nothing, after the usage error (the command then exits
// with kExitUsage), when a value given is not a day or the range runs backwards.
std::optional<DayRange> dayRangeOf(CliEnv& env, const Call& call);

}  // namespace zm::cli
