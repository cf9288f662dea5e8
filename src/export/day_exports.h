#pragma once

// The exports of the day run, each written when its setting of section "File" is on, in this
// order: the service-format CSV ("MurOut"), the DUEL text ("DuelOut"), the service contest text
// ("MurTextOut"), the race-card CSV ("DenCsvOut"). During an import they join the day's file
// set, so that the day and its exports are put in place together; an export that cannot be
// written is named (its message shown, its file in state.ExportFailures) and left out, and the
// day goes on.

#include "app/context.h"
#include "import/race_model.h"

namespace zm {

void RunDayExports(AppContext& ctx, ImportState& state);

}  // namespace zm
