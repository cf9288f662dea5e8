#pragma once

// The service's predicted odds of one race, as the race card's predicted-odds view shows them:
// the win odds of every runner and the quinella odds of every pair of runners.

#include <QString>
#include <optional>
#include <vector>

namespace zm {

inline const QString kNoPredictedOdds = QStringLiteral("ＭＵＲ予想オッズがありません！");

// "MURODDS" + yyyymmdd + ".DAT" in the data folder.
QString predictedOddsPath(const QString& dataDir, const QString& day);

// One odds field of the predicted-odds record (odds in tenths) as display text: "00123" gives
// "12.3"; a field holding "*" (above the service's range) gives "範囲外", one holding "-" or "/"
// (scratched) gives "取消"; blanks or no positive number give empty text.
QString PredictedOddsText(QStringView field);

struct PredictedOdds {
    QString caption;  // "【中山】１１Ｒ 予想オッズ"
    struct Line {
        QString label;  // "5" or "1-5"
        QString odds;
    };
    std::vector<Line> win;       // horse numbers 1..runners
    std::vector<Line> quinella;  // every pair of 1..runners
};

enum class PredictedOddsLoad { Ok, NoFile, NoRace };

// The predicted odds of race raceNo at the venue on the day, for horse numbers 1..runners
// (1..18 when runners is outside that range).
PredictedOddsLoad LoadPredictedOdds(const QString& dataDir, const QString& day, const QString& venueCode, int raceNo,
                                    int runners, PredictedOdds& out);

}  // namespace zm
