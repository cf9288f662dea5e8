#pragma once

// The detail text file of a predicted day, "詳細" + yyyymmdd + ".TXT" in the output folder: per
// race with picks its race-list line, title line, one line per runner with mark, bracket,
// number, name, sex, weight carried, jockey, trainer, predicted index and the current win and
// place odds, and the recommended bets. The odds come from a RaceOddsSource, so that the race
// card's odds readers and the predicted odds serve alike.

#include "app/context.h"
#include "import/records.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

namespace zm {

inline const QString kDetailNoPrediction =
    QStringLiteral("予想データが見つかりません！　再度「予想」を実行してください<(_ _)>");
inline const QString kDetailNoEntries =
    QStringLiteral("出馬表出走馬データが見つかりません！　詳細ファイルの出力を中止します。");

// The current odds of one race by horse number (index 0 is horse 1): the win text (5
// characters) and the place text (9 characters, or "ﾄﾘｹｼ"); empty text for no odds.
struct RaceOddsTexts {
    std::array<QString, 18> win;
    std::array<QString, 18> place;
};
using RaceOddsSource = std::function<RaceOddsTexts(const PredictionRecord& prediction, const RaceRecord& race)>;

// The service's predicted odds of the day ("MURODDS" + yyyymmdd + ".DAT"): win odds only, the
// file read once; a race it lacks has no odds.
RaceOddsSource predictedOddsSource(const QString& dataDir, const QString& day);

// The odds the race card shows for the day's races: PAT's win and place odds of each race when
// PAT is in use ("PatOpt" on and "Ver" 31, 95 or 98), else the predicted odds. The source reads
// through ctx, which must outlive it.
RaceOddsSource currentOddsSource(AppContext& ctx, const QString& day);

// OutPutDir + "詳細" + day + ".TXT".
QString detailFilePath(const AppSettings& settings, const QString& day);

// The runner lines of one race, in runner order of the prediction record. A runner whose horse
// the entries day file lacks is left out.
QStringList DetailRunnerLines(const PredictionRecord& prediction, const RecordFile& entries, const RaceOddsTexts& odds);

// The text files of the output folder the race card lists: the detail files ("詳細*.TXT"),
// the DUEL texts ("W*.TXT") and the service contest texts ("MUR*.TXT"), names matched without
// regard to case, each list sorted by name.
struct OutputTextFiles {
    QStringList detail;
    QStringList duel;
    QStringList mur;
};
OutputTextFiles ListOutputTextFiles(const QString& outputDir);

// Writes the day's detail file (replacing an old one). Nothing is written, and the failure says
// why, when the prediction file, the race day file or the entries day file is missing or the
// file cannot be saved. A predicted race the race day file lacks is left out.
Status WriteDetailFile(AppContext& ctx, const QString& day, const RaceOddsSource& odds = {});

}  // namespace zm
