#pragma once

// A dummy race day for pending-bet work on a date no archive was imported for: one blank race
// of venue "00" in the day's race file and its prediction record.

#include <QDate>
#include <QString>

#include "codes/status.h"

namespace zm {

struct AppContext;

// The date dialog's preset: the race day nearest to today, "yyyy/mm/dd".
QString dummyDayPreset(const QDate& today);

// The line under every refusal of a typed date: what a valid one is.
inline const QString kDummyDateRule =
    QStringLiteral("「2001/09/03」のように、1991年～2099年の実在する日付を入力してください。");

// Checks the typed date ("2001/9/3", "2001/09/03") and gives "yyyymmdd", or the message of the
// first check that fails, followed by kDummyDateRule (a warning).
Result<QString> parseDummyDate(const QString& typed);

// Writes "MUR" + date + "_1.DEN" and date + ".DAT" of the checked date ("yyyymmdd") when they
// are missing, and sets ctx.ImportedDay. A failure carries its message.
Status CreateDummyDay(AppContext& ctx, const QString& date);

}  // namespace zm
