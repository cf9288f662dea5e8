#include "card/predicted_odds.h"

#include "card/cardtext.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "import/records.h"

#include <QFileInfo>

namespace zm {

using namespace Qt::Literals::StringLiterals;

QString predictedOddsPath(const QString& dataDir, const QString& day) {
    return dataDir + u"MURODDS"_s + day + u".DAT"_s;
}

QString PredictedOddsText(QStringView field) {
    if (field.contains(u'*')) {
        return u"範囲外"_s;
    }
    if (field.contains(u'-') || field.contains(u'/')) {
        return u"取消"_s;
    }
    const double tenths = Val(field);
    if (tenths <= 0) {
        return {};
    }
    return QString::number(Int(tenths) / 10.0, 'f', 1);
}

PredictedOddsLoad LoadPredictedOdds(const QString& dataDir, const QString& day, const QString& venueCode, int raceNo,
                                    int runners, PredictedOdds& out) {
    const QString path = predictedOddsPath(dataDir, day);
    if (!QFileInfo::exists(path)) {
        return PredictedOddsLoad::NoFile;
    }
    const auto file = RecordFile::load(path, OddsRecord::kLength);
    if (!file) {
        return PredictedOddsLoad::NoFile;
    }
    const int n = runners >= 1 && runners <= 18 ? runners : 18;
    for (int k = 1; k <= file->count(); ++k) {
        const OddsRecord r = file->get<OddsRecord>(k);
        if (r.text(OddsRecord::venueCode) != venueCode || ToInt16(r.number(OddsRecord::raceNo)) != raceNo ||
            r.text(OddsRecord::raceDate) != day) {
            continue;
        }
        PredictedOdds odds;
        odds.caption = u"【"_s + VenueName(venueCode) + u"】"_s + RaceNumberText(raceNo) + u"Ｒ 予想オッズ"_s;
        for (int h = 1; h <= n; ++h) {
            odds.win.push_back({QString::number(h), PredictedOddsText(r.text(OddsRecord::winOdds, h))});
        }
        for (int a = 1; a < n; ++a) {
            for (int b = a + 1; b <= n; ++b) {
                odds.quinella.push_back({QString::number(a) + u'-' + QString::number(b),
                                         PredictedOddsText(r.text(OddsRecord::quinellaField(a, b)))});
            }
        }
        out = odds;
        return PredictedOddsLoad::Ok;
    }
    return PredictedOddsLoad::NoRace;
}

}  // namespace zm
