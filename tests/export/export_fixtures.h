#pragma once

// Prediction records built in the test, and a sample race day run through the day run with the
// exports.

#include "predict/prediction_file.h"

#include <initializer_list>

namespace zm::test {

// A race of n runners with the first win pick and pair picks (quinella codes a*100+b for n >= 9
// or n < 1, small-field codes a*10+b otherwise), flags set beside every non-zero code.
inline PredictionRecord raceWith(const QString& venue, int raceNo, int n, int win, std::initializer_list<int> pairs) {
    PredictionRecord r;
    r.raceDate = QStringLiteral("20261205");
    r.venueCode = venue;
    r.meeting = 2;
    r.dayNo = 1;
    r.raceNo = static_cast<std::int16_t>(raceNo);
    r.runnerCount = static_cast<std::int16_t>(n);
    r.startTime = QStringLiteral("1025");
    r.winPicks[0] = PickEntry{static_cast<std::int16_t>(win), static_cast<std::int16_t>(win != 0)};
    const bool small = n >= 1 && n <= 8;
    size_t k = 0;
    for (int code : pairs) {
        (small ? r.smallPicks : r.quinellaPicks)[k++] =
            PickEntry{static_cast<std::int16_t>(code), static_cast<std::int16_t>(code != 0)};
    }
    return r;
}

}  // namespace zm::test
