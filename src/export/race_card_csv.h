#pragma once

// The race-card CSV of a predicted day: one line per runner of every predicted race, with the
// runner's entry, its last five runs, the predicted index and figures, today's predicted win odds
// and the past odds; every value followed by ",". Written as "DEN" + yyyymmdd + ".CSV" with a
// header line, or appended to "DEN.CSV" without one while a batch runs.

#include "codes/status.h"
#include "export/export_text.h"
#include "import/records.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace zm {

struct AppContext;
struct ImportedDay;
class FileSet;

// The 36 column names joined by ",".
QString raceCardCsvHeader();

// Today's predicted win odds column of runner i (1-based) from the race's predicted-odds record:
// "*" gives "  50.0", a scratched horse ("/") " ﾄﾘｹｼ ", no odds ("-") empty, otherwise the odds in
// tenths as the shortest decimal right-aligned in six ("    12", "  12.3").
QString todaysOddsText(const OddsRecord& odds, int i);

// The line of runner i (1-based) of the race P, whose entry record is e. odds is the race's
// predicted-odds record, if any.
QString raceCardCsvLine(const PredictionRecord& p, int i, const EntryRecord& e, const OddsRecord* odds);

// Writes the day's race-card CSV. Without the race or entries day file nothing is written, and
// an older file of the day is removed (the batch's cumulative file stays).
ExportFile RaceCardCsvFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set = nullptr);
Status ExportRaceCardCsv(AppContext& ctx, const ImportedDay& imported);

}  // namespace zm
