#pragma once

// The days that exist: the one rule the race card, the day list of the command line and the
// deletion dialog share.

#include <QString>
#include <QStringList>

namespace zm {

// The most days a day list holds.
constexpr int kMaxListedDays = 1024;

// The predicted days of dataDir, newest first ("yyyymmdd"): a day is there when dataDir holds
// its prediction file yyyymmdd + ".DAT" and its race day file "MUR" + yyyymmdd + "_1.DEN", both
// regular files, names compared ignoring case, and yyyymmdd is a real date. At most
// kMaxListedDays, the newest; total (when given) receives how many days there are in all.
QStringList ListPredictedDays(const QString& dataDir, qsizetype* total = nullptr);

// The message for the days a list leaves out (empty when it leaves none out).
QString daysNotListedMessage(qsizetype total);

}  // namespace zm
