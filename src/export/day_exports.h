#pragma once

// The exports of the day run, each written when its setting of section "File" is on, in this
// order: the service-format CSV ("MurOut"), the DUEL text ("DuelOut"), the service contest text
// ("MurTextOut"), the race-card CSV ("DenCsvOut"). During an import they join the day's file
// set, so that the day and its exports are put in place together; an export that cannot be
// written is named (its message among the notices, its file among those returned) and left out,
// and the day goes on.

#include "app/context.h"
#include "import/race_model.h"

#include <QStringList>

namespace zm {

class FileSet;

// Puts the day's exports into set and gives the files that could not be written. batchStarted:
// a day of the running batch went through already, so the batch's cumulative exports add to
// what it wrote; until then they replace what an earlier batch left. The messages of the files
// not written and the warnings of those written go to notices, in the order of the exports.
QStringList RunDayExports(AppContext& ctx, const ImportedDay& day, FileSet& set, bool batchStarted, Notices& notices);

}  // namespace zm
