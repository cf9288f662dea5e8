#pragma once

// The service's predicted odds ("MURODDS" + yyyymmdd + ".DAT") written as PAT odds files, so
// that PAT and every odds reader show predicted odds before real ones exist: one ZO file per
// race and, for races of more than eight starters, one UO file, in the chosen generation's
// layout.

#include "app/context.h"
#include "codes/status.h"
#include "import/records.h"
#include "pat/pat_format.h"
#include "pat/predicted_records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zm {

// The file code of a record's race: venue letter ("0" outside the table), "1" when the
// generation does not name files by the meeting's day (PAT31) or else the last character of the
// day number, race letter.
QString ConvFileCode(const OddsRecord& record, const PatFormat& format);

// Texts of the conversion dialog.
QString ConvDialogCaption(const PatFormat& format);  // "競馬ブック予想オッズをＰＡＴ９８形式に変換"
QString ConvStatusText(const PatFormat& format);     // "ＰＡＴ９８形式オッズファイルを出力中！"
// "2026年12月05日分の予想オッズをＰＡＴ形式に変換します。" from the day file's name.
QString ConvHeading(const QString& dayFilePath);
// "2026年12月05日 4回 中山 1日目 11Ｒ"
QString ConvRaceStatus(const OddsRecord& record);

inline const QString kConvFolderMissing = QStringLiteral("設定されたフォルダが見つかりません！");
inline const QString kConvDone = QStringLiteral("変換作業は終了しました！");
inline const QString kConvPrompt = QStringLiteral("このフォルダに変換オッズを出力します。よろしいですか？");

struct ConversionRun {
    int records = 0;
    QStringList written;  // full paths, in the order written
};

// The dialog's execute: checks the folder (its message when missing, nothing written), stores
// it as PAT/ConvOddsDir, converts every record of the day file with the race's status line on
// the progress sink; the caller ends with the closing message kConvDone. The files of the run
// are put in place together: a write failure stops the run and leaves every old file. A folder
// that could not be stored gives its message to notices, to be shown before the outcome.
Result<ConversionRun> ConvertPredictedOdds(AppContext& ctx, const QString& dayFilePath, const PatFormat& format,
                                           const QString& folderText, Notices& notices);

}  // namespace zm
