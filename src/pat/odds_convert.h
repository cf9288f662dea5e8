#pragma once

// The service's predicted odds ("MURODDS" + yyyymmdd + ".DAT") written as PAT odds files, so
// that PAT and every odds reader show predicted odds before real ones exist: one ZO file per
// race and, for races of more than eight starters, one UO file, in the chosen generation's
// layout.

#include "app/context.h"
#include "codes/status.h"
#include "import/records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zm::pat {

enum class ConvGeneration { Pat98, Pat95, Pat31 };

// The record's fields the conversion reads beyond the race key.
struct PredictedOddsFields {
    static constexpr Field runners = digitsField("runners", 109, 2);
    static constexpr Field nonRunners = digitsField("nonRunners", 111, 2);
    // The bracket-quinella odds of the 36 bracket pairs.
    static constexpr Field bracketOdds = OddsRecord::placeOdds;
};

// One odds value of tenths in w characters: "35" -> "  3.5" (w 5), "1234" -> " 123.4" (w 6).
QString FormatTenths(double tenths, int width);

// The marker of a source odds text: its first non-blank character when that is "*", "/" or
// "-", else 0.
char16_t OddsMarker(QStringView source);

// The file code of a record's race: venue letter ("0" outside the table), "1" for PAT31 or the
// last character of the day number, race letter.
QString ConvFileCode(const OddsRecord& record, ConvGeneration generation);

// The records of each layout, as the files hold them.
QByteArray Zo95Bytes(const OddsRecord& record);
QByteArray Zo31Bytes(const OddsRecord& record);
QByteArray Uo98Bytes(const OddsRecord& record);
QByteArray Uo95Bytes(const OddsRecord& record);
QByteArray Uo31Bytes(const OddsRecord& record);

// The writers: one file of folder (ending in "/") named prefix + fileCode + ".JRA", replaced
// whole.
Status WriteZo95(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteZo31(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo98(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo95(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo31(const QString& folder, const QString& fileCode, const OddsRecord& record);

// Texts of the conversion dialog.
QString ConvDialogCaption(ConvGeneration generation);  // "競馬ブック予想オッズをＰＡＴ９８形式に変換"
QString ConvStatusText(ConvGeneration generation);     // "ＰＡＴ９８形式オッズファイルを出力中！"
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
// are put in place together: a write failure stops the run and leaves every old file.
Result<ConversionRun> ConvertPredictedOdds(AppContext& ctx, const QString& dayFilePath, ConvGeneration generation,
                                           const QString& folderText);

}  // namespace zm::pat
