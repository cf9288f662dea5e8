#pragma once

// The exports of the day run, each written when its setting of section "File" is on, in this
// order: the service-format CSV ("MurOut"), the DUEL text ("DuelOut"), the service contest text
// ("MurTextOut"), the race-card CSV ("DenCsvOut"). dayRunHooks() is the day run with the
// prediction and these exports, as both programs run it.

#include "import/day_run.h"

namespace zm {

void RunDayExports(AppContext& ctx, ImportState& state);

DayHooks dayRunHooks();

}  // namespace zm
