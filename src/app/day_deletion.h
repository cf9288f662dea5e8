#pragma once

// Predicted days and their deletion: which days the deletion dialog lists, and every file of a
// day that goes with it (data folder and export folder). Shared by the dialog and the command
// line.

#include "app/paths.h"

#include <QString>
#include <QStringList>

namespace zm {

// The most days the deletion list holds.
constexpr int kMaxListedDays = 1024;

inline const QString kDelNoFiles = QStringLiteral("ファイルがありません！");
inline const QString kDelNoneSelected = QStringLiteral("ファイルが選択されていません！");
inline const QString kDelDoneSuffix = QStringLiteral("個のデータを削除しました。");

// The predicted days of DataDir in ascending order ("yyyymmdd"): every "yyyymmdd.DAT" (twelve
// characters, case ignored) whose day also has a day file "MUR" + day + "_?.DEN". Names whose
// first eight characters are not a real date are left out. At most kMaxListedDays.
QStringList ListPredictedDays(const QString& dataDir);

// "yyyy年mm月dd日(曜)" for a day "yyyymmdd".
QString DayCaption(const QString& day);

// The existing files that deleting the day removes, as full paths, without duplicates.
// withCumulative adds the batch's cumulative DUEL text of outPutDir, which holds every day of
// a batch and therefore goes only when every listed day is deleted.
QStringList DayFiles(const QString& dataDir, const QString& outPutDir, const QString& day, bool withCumulative);

// Deletes the files of each day; returns the number of days processed. The cumulative DUEL
// text goes too when the days cover every listed day. A file that vanished in between is
// not an error.
int DeleteDays(const QString& dataDir, const QString& outPutDir, const QStringList& days);

}  // namespace zm
