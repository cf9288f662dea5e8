#pragma once

// The service-format CSV of a predicted day, tagged "(MUR>VAN)": a header line, then one line of
// 186 fields for every race with a win, quinella or small-field pick (software code "A917", the
// race key, the win picks twice, the small-field and quinella pair codes, an empty group).
// Written as "K" + yyyymmdd + ".CSV" in the output folder; a day without picks writes nothing.

#include "codes/status.h"
#include "export/export_text.h"
#include "predict/prediction_file.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace zm {

struct AppContext;
struct ImportedDay;
class FileSet;

inline const QString kServiceSoftCode = QStringLiteral("A917");
// The header's author and user fields.
inline const QString kServiceCsvAuthor = QStringLiteral("ZENOMUR");
inline const QString kServiceCsvUser = QStringLiteral("GUEST");

QString serviceCsvHeader(const QDateTime& written, const QString& version);

// True when the race has a first win, quinella or small-field pick of at least 1.
bool serviceCsvTakesRace(const PredictionRecord& rec);

QString serviceCsvRaceLine(const PredictionRecord& rec);

// The header and every taken race's line; empty when no race is taken.
QStringList serviceCsvLines(const std::vector<PredictionRecord>& records, const QDateTime& written,
                            const QString& version);

// The day's CSV as the day run writes it (no path when the day has no picks).
ExportFile ServiceCsvFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set = nullptr);

}  // namespace zm
