#pragma once

// The service's predicted-odds archives ("j" + yymmdd + ".lzh", holding "mur_ods.kd2"): their
// records go to the odds day files "MURODDS" + date + ".DAT" in DataDir.

#include "app/context.h"
#include "import/race_model.h"

namespace zm {

// Reads the odds file of the archive and writes the odds day file of the date of its first
// record (OddsPath then names it). Records of other dates go to their own dates' day files,
// each written anew with all of that date's records. False when the archive holds no odds
// file or no record (silently) or cannot be read (with the reader's message).
bool ExtractOddsArchive(AppContext& ctx, ImportState& state, const QString& archivePath);

// The menu command: empties the work folder, refuses an old-format archive with its message,
// then does ExtractOddsArchive.
bool ImportOddsArchive(AppContext& ctx, ImportState& state, const QString& archivePath);

}  // namespace zm
