#include "analysis/race_days.h"

#include "codes/numeric.h"

#include <QFile>

namespace zm {


bool isDayFileName(const QString& name, const QString& suffix) {
    if (name.size() != 8 + suffix.size() || !name.endsWith(suffix, Qt::CaseInsensitive))
        return false;
    for (int i = 0; i < 8; ++i) {
        if (!name[i].isDigit())
            return false;
    }
    return true;
}

std::vector<SeiRecord> readDayResults(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return seiRecords(f.readAll());
}

const SeiRecord* raceResult(const std::vector<SeiRecord>& sei, const QString& day, const QString& venueNo, int raceNo) {
    const double key = Val(day.mid(6, 2) + venueNo + QString::number(raceNo).rightJustified(2, u'0'));
    for (const SeiRecord& s : sei) {
        if (s.number(SeiRecord::key) == key)
            return &s;
    }
    return nullptr;
}

bool wonRace(const SeiRecord& result, int horse) {
    for (int i = 1; i <= 2; ++i) {
        if (result.number(SeiRecord::winHorses, i) == horse)
            return true;
    }
    return result.number(SeiRecord::finishers, 1) == horse;
}

bool finishedWithin(const SeiRecord& result, int horse, int count) {
    if (wonRace(result, horse))
        return true;
    for (int i = 2; i <= count; ++i) {
        if (result.number(SeiRecord::finishers, i) == horse)
            return true;
    }
    return false;
}

}  // namespace zm
