#pragma once

// Predicted days and their deletion: which days the deletion dialog lists, and every file of a
// day that goes with it (data folder and export folder). Shared by the dialog and the command
// line.

#include "app/day_list.h"
#include "app/paths.h"

#include <QString>
#include <QStringList>

namespace zm {

inline const QString kDelNoFiles = QStringLiteral("ファイルがありません！");
inline const QString kDelNoneSelected = QStringLiteral("ファイルが選択されていません！");
inline const QString kDelDoneSuffix = QStringLiteral("個のデータを削除しました。");

// "yyyy年mm月dd日(曜)" for a day "yyyymmdd".
QString DayCaption(const QString& day);

// The existing files that deleting the day removes, as full paths, without duplicates.
// withCumulative adds the batch's cumulative DUEL text of outPutDir, which holds every day of
// a batch and therefore goes only when every listed day is deleted.
QStringList DayFiles(const QString& dataDir, const QString& outPutDir, const QString& day, bool withCumulative);

// Deletes the files of each day; returns the number of days whose files are all gone. The
// cumulative DUEL text goes too when the days are every day there is. A file that vanished in
// between is not an error; one that could not be deleted is added to notDeleted (when given).
int DeleteDays(const QString& dataDir, const QString& outPutDir, const QStringList& days,
               QStringList* notDeleted = nullptr);

// The message naming the files that could not be deleted.
QString notDeletedMessage(const QStringList& notDeleted);

}  // namespace zm
