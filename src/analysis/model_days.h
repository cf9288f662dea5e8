#pragma once

// The win model's material and its stored fit: the races of the days whose predictions and
// results the data folder both holds, and the fitted weights kept in "Data/winmodel.json" with
// the range and the days they were fitted on.

#include "analysis/win_model.h"
#include "app/paths.h"
#include "codes/status.h"
#include "predict/prediction_file.h"

#include <QStringList>

namespace zm {

class OddsRecord;

// Fewer days than this fit no model: the weights would follow chance.
inline constexpr int kMinModelDays = 20;

// The features of the runners of a stored prediction record, in horse-number order.
std::vector<WinFeatures> predictionFeatures(const PredictionRecord& rec);

// The win odds of horse h (1..18) in a race's predicted odds: 0 where there are none (a
// scratched or unknown horse, a price out of range).
double predictedWinOdds(const OddsRecord& odds, int h);

struct ModelDays {
    std::vector<ModelRace> races;
    QStringList days;  // the days the races come from, oldest first
};

// Every predicted race of the days in from..to (empty for no bound) that have a results file:
// the runners' features, the winner when the results hold the race, and the win odds of the
// day's predicted-odds file when there is one.
ModelDays modelDays(const AppPaths& paths, const QString& from = {}, const QString& to = {});

struct StoredModel {
    WinModel model;
    QString from;  // the first and last day fitted on
    QString to;
    QStringList days;
};

// "Data/winmodel.json".
QString modelPath(const AppPaths& paths);

// Fits the model to the days of the range; a failure when there are fewer than kMinModelDays
// days (saying how many there are) or no race with a winner.
Result<StoredModel> fitModel(const AppPaths& paths, const QString& from = {}, const QString& to = {});

// The stored model written and read back. Reading a file that is not a stored model is a
// failure naming it; no file is a failure that says how to fit one.
Status saveModel(const QString& path, const StoredModel& stored);
Result<StoredModel> loadModel(const QString& path);

// The stored model of the data folder when it may be used to weigh races: a failure saying why
// not when there is none, it cannot be read or it was fitted on fewer than kMinModelDays days.
Result<StoredModel> loadUsableModel(const AppPaths& paths);

}  // namespace zm
