#pragma once

// The service's predicted-odds archives ("j" + yymmdd + ".lzh", holding "mur_ods.kd2"): their
// records go to the odds day files "MURODDS" + date + ".DAT" in DataDir.

#include "app/context.h"
#include "codes/status.h"

namespace zm {

class FileSet;

// Reads the odds file of the archive and writes the odds day file of the date of its first
// record into daySet (during a day's import), else as a set of its own. Records of other dates
// go to their own dates' day files, each written anew with all of that date's records. The
// path of the first date's day file in DataDir. A failure carries the message to show: none when
// the archive holds no odds file or no record, the reader's when it cannot be read.
Result<QString> ExtractOddsArchive(AppContext& ctx, const QString& archivePath, FileSet* daySet = nullptr);

// The menu command: empties the work folder, refuses an old-format archive with its message,
// then does ExtractOddsArchive.
Result<QString> ImportOddsArchive(AppContext& ctx, const QString& archivePath);

}  // namespace zm
