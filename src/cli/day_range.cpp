#include "cli/day_range.h"

#include "codes/codetables.h"

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

std::optional<DayRange> dayRangeOf(CliEnv& env, const Call& call) {
    DayRange range;
    for (const auto& [name, target] : {std::pair{u"from"_s, &range.from}, std::pair{u"to"_s, &range.to}}) {
        for (const QString& value : call.args.values(name)) {
            const auto day = DayArgument(value);
            if (!day) {
                usageError(env, call.usage);
                return std::nullopt;
            }
            *target = *day;
        }
    }
    if (!range.from.isEmpty() && !range.to.isEmpty() && range.from > range.to) {
        usageError(env, call.usage + u"\n  --from is after --to"_s);
        return std::nullopt;
    }
    return range;
}

}  // namespace zm::cli
