#pragma once

// The DUEL contest text of a predicted day: one block per venue (a separator, the venue header
// with the software code "0863" and the program version, a separator), one 76-byte line per race
// with a win pick and a field of eight or more, and two blank lines at the end. Written as
// "W" + yyyymmdd + ".TXT" in the output folder, or appended to "Duel.TXT" while a batch runs.

#include "codes/status.h"
#include "export/export_text.h"
#include "import/race_model.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zm {

class FileSet;

struct AppContext;

inline constexpr int kDuelLineBytes = 76;
inline const QString kDuelSoftCode = QStringLiteral("0863");

// The header line of a venue's block, padded or cut to 76 bytes.
QString duelVenueHeader(const MeetingEntry& meeting, const QString& version);

// True when the race is written: a first win pick of at least 1 and at least eight runners.
bool duelTakesRace(const PredictionRecord& rec);

// The race line: race number, win pick, six pick slots (a pick that is not written keeps its
// slot as six blanks), "|" at byte 46, 76 bytes in all.
QString duelRaceLine(const PredictionRecord& rec);

// Every line of one day's text. A venue's header comes from the first meeting of that venue in
// the table; a venue the table lacks is described from the race itself.
QStringList duelTextLines(const std::vector<PredictionRecord>& records, const std::vector<MeetingEntry>& meetings,
                          const QString& version);

// Writes the day's DUEL text from its prediction file (nothing to read: an empty file, or
// nothing appended in batch mode).
ExportFile DuelTextFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set = nullptr);

}  // namespace zm
