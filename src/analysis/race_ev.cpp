#include "analysis/race_ev.h"

#include "app/file_names.h"
#include "import/day_files.h"
#include "import/records.h"
#include "predict/predict_day.h"

#include <QFileInfo>

namespace zm {

using namespace Qt::Literals::StringLiterals;

const CardModel& CardModelCache::current(const AppPaths& paths) {
    const QString path = modelPath(paths);
    const QFileInfo info(path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (loaded_ && path == path_ && modified == modified_ && size == size_)
        return model_;
    const Result<StoredModel> stored = loadUsableModel(paths);
    model_ = stored ? CardModel{stored->model, {}} : CardModel{std::nullopt, stored.message()};
    path_ = path;
    modified_ = modified;
    size_ = size;
    loaded_ = true;
    return model_;
}

std::array<double, 18> dayPredictedWinOdds(const QString& dataDir, const QString& day, const QString& venueCode,
                                           int raceNo) {
    std::array<double, 18> odds{};
    const auto file = RecordFile::load(dataDir + dayOddsFileName(day), OddsRecord::kLength);
    if (!file)
        return odds;
    for (int k = 1; k <= file->count(); ++k) {
        const OddsRecord r = file->get<OddsRecord>(k);
        if (r.text(OddsRecord::venueCode) != venueCode || int(r.number(OddsRecord::raceNo)) != raceNo ||
            r.text(OddsRecord::raceDate) != day)
            continue;
        for (int h = 1; h <= 18; ++h)
            odds[size_t(h - 1)] = predictedWinOdds(r, h);
        break;
    }
    return odds;
}

std::vector<RunnerEv> raceEv(const WinModel& model, const RaceCard& race, const std::array<double, 18>& predictedOdds) {
    std::vector<RunnerPrediction> runners;
    runners.reserve(race.rows.size());
    for (const CardRow& row : race.rows)
        runners.push_back({row.index.toDouble(), row.rank.toInt(), row.mark.isEmpty() ? QChar(u' ') : row.mark[0]});
    const std::vector<double> chances = model.chances(raceFeatures(runners));
    std::vector<RunnerEv> out(race.rows.size());
    for (size_t i = 0; i < out.size(); ++i) {
        out[i].chance = chances[i];
        bool live = false;
        const double liveOdds = race.rows[i].winOdds.trimmed().toDouble(&live);
        const int horse = race.rows[i].umaban.toInt();
        if (live && liveOdds > 0)
            out[i].odds = liveOdds;
        else if (horse >= 1 && horse <= 18)
            out[i].odds = predictedOdds[size_t(horse - 1)];
    }
    return out;
}

QString chanceText(const RunnerEv& runner) { return QString::number(runner.chance * 100, 'f', 1) + u'%'; }

QString evText(const RunnerEv& runner) {
    return runner.hasValue() ? QString::number(runner.value(), 'f', 2) : QString();
}

std::vector<int> evPicks(const WinModel& model, const PredictionRecord& rec, const OddsRecord* odds, double threshold) {
    std::vector<int> horses;
    if (!odds)
        return horses;
    const std::vector<double> chances = model.chances(predictionFeatures(rec));
    for (size_t i = 0; i < chances.size(); ++i) {
        const double price = predictedWinOdds(*odds, int(i) + 1);
        if (price > 0 && chances[i] * price >= threshold)
            horses.push_back(int(i) + 1);
    }
    return horses;
}

}  // namespace zm
