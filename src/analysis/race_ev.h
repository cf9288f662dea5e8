#pragma once

// The win model applied to races: each runner's chance of winning within its race and its
// expected value (the chance times its win odds), as the race card shows them and as the
// back-test's expected-value style bets on them. The desktop card and the command line both
// take their figures and texts from here.

#include "analysis/model_days.h"
#include "card/cardday.h"

#include <QDateTime>
#include <array>
#include <optional>
#include <vector>

namespace zm {

class OddsRecord;

// The stored model as the card uses it: the model, or why there is none.
struct CardModel {
    std::optional<WinModel> model;
    QString problem;
};

// The stored model, read again only when its file changed since the last call (a refit while a
// card is open is shown on the next race).
class CardModelCache {
public:
    const CardModel& current(const AppPaths& paths);

private:
    CardModel model_;
    QString path_;
    QDateTime modified_;
    qint64 size_ = -1;
    bool loaded_ = false;
};

// One runner weighed: its chance (0..1) and the win odds it is weighed at (0: none known).
struct RunnerEv {
    double chance = 0;
    double odds = 0;
    double value() const { return chance * odds; }
    bool hasValue() const { return odds > 0; }
    // A value above 1.0: the odds pay more than the chance costs.
    bool marked() const { return hasValue() && value() > 1.0; }
};

// The predicted win odds of the race by horse number (index 0 for horse 1); 0 where there are
// none, all 0 when the day has no predicted-odds file or it lacks the race.
std::array<double, 18> dayPredictedWinOdds(const QString& dataDir, const QString& day, const QString& venueCode,
                                           int raceNo);

// The card's runners weighed, one per row in the rows' order: the chance among the race's
// runners, at the live win odds of the row when they were read, else at the predicted odds.
std::vector<RunnerEv> raceEv(const WinModel& model, const RaceCard& race, const std::array<double, 18>& predictedOdds);

// "23.4%" of a chance; the value as "1.25" (empty without odds).
QString chanceText(const RunnerEv& runner);
QString evText(const RunnerEv& runner);

// The horses (1-based) of a stored prediction whose value at the predicted odds is at least
// threshold, in horse-number order; none without odds.
std::vector<int> evPicks(const WinModel& model, const PredictionRecord& rec, const OddsRecord* odds, double threshold);

// The column headings.
inline const QString kChanceHeading = QStringLiteral("勝率");
inline const QString kEvHeading = QStringLiteral("期待値");

}  // namespace zm
