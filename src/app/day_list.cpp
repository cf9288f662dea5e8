#include "app/day_list.h"

#include "app/file_names.h"
#include "codes/codetables.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <functional>

namespace zm {

QStringList ListPredictedDays(const QString& dataDir, qsizetype* total) {
    if (total)
        *total = 0;
    if (dataDir.isEmpty())
        return {};
    const QDir dir(dataDir);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    QSet<QString> raceFileDays;  // days with "MUR" + day + "_1.DEN"
    QSet<QString> predictionDays;
    for (const QString& name : names) {
        const QString upper = name.toUpper();
        if (upper.size() == 17 && upper.startsWith(u"MUR") && upper.endsWith(u"_1.DEN")) {
            if (isRegularFile(dir.filePath(name)))
                raceFileDays.insert(upper.mid(3, 8));
        } else if (upper.size() == 12 && upper.endsWith(u".DAT")) {
            if (DateFromYmd(QStringView(upper).left(8)).isValid() && isRegularFile(dir.filePath(name)))
                predictionDays.insert(upper.left(8));
        }
    }
    QStringList days;
    for (const QString& day : predictionDays) {
        if (raceFileDays.contains(day))
            days << day;
    }
    std::sort(days.begin(), days.end(), std::greater<>());
    if (total)
        *total = days.size();
    if (days.size() > kMaxListedDays)
        days.resize(kMaxListedDays);
    return days;
}

QString daysNotListedMessage(qsizetype total) {
    if (total <= kMaxListedDays)
        return {};
    return QStringLiteral("予想済みデータが %1 日分あります。新しい %2 日分だけを表示しています。")
        .arg(total)
        .arg(kMaxListedDays);
}

}  // namespace zm
