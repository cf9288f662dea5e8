#include "analysis/model_days.h"

#include "analysis/race_days.h"
#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "import/day_files.h"
#include "import/records.h"
#include "predict/predict_day.h"
#include "predict/prediction_file.h"
#include "predict/selection.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>

namespace zm {

namespace {

using namespace Qt::Literals::StringLiterals;

ModelRace modelRace(const PredictionRecord& rec, const SeiRecord* result, const OddsRecord* odds) {
    ModelRace race;
    race.runners = predictionFeatures(rec);
    for (int i = 0; i < int(race.runners.size()); ++i) {
        if (result && race.winner < 0 && wonRace(*result, i + 1))
            race.winner = i;
        if (odds)
            race.odds.push_back(predictedWinOdds(*odds, i + 1));
    }
    return race;
}

}  // namespace

std::vector<WinFeatures> predictionFeatures(const PredictionRecord& rec) {
    const int n = std::clamp<int>(rec.runnerCount, 0, kPredictionRunners);
    std::vector<RunnerPrediction> runners;
    runners.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const PredictedRunner& r = rec.runners[size_t(i)];
        const QString mark = MarkOf(r.rank);
        runners.push_back({double(r.index), r.rank, mark.isEmpty() ? QChar(u' ') : mark[0]});
    }
    return raceFeatures(runners);
}

double predictedWinOdds(const OddsRecord& odds, int h) {
    const QString text = odds.text(OddsRecord::winOdds, h).trimmed();
    bool ok = false;
    const int tenths = text.toInt(&ok);
    return ok && tenths > 0 ? tenths / 10.0 : 0;
}

QString modelPath(const AppPaths& paths) { return paths.DataDir + u"winmodel.json"_s; }

ModelDays modelDays(const AppPaths& paths, const QString& from, const QString& to) {
    ModelDays out;
    QStringList names = QDir(paths.DataDir).entryList(QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (!isDayFileName(name, u".DAT"_s))
            continue;
        const QString day = name.left(8);
        if ((!from.isEmpty() && day < from) || (!to.isEmpty() && day > to))
            continue;
        const std::vector<SeiRecord> sei = readDayResults(seiPath(paths.DataDir, day));
        if (sei.empty())
            continue;
        const auto records = readPredictionFile(predictionFilePath(paths.DataDir, day));
        if (!records)
            continue;
        OddsLookup odds;
        const bool haveOdds = [&] {
            auto file = RecordFile::load(paths.DataDir + dayOddsFileName(day), OddsRecord::kLength);
            if (file)
                odds.load(*file);
            return bool(file);
        }();
        for (const PredictionRecord& rec : *records) {
            const SeiRecord* result = raceResult(sei, day, ServiceToJraCode(rec.venueCode), rec.raceNo);
            out.races.push_back(modelRace(rec, result, haveOdds ? odds.find(rec.venueCode, rec.raceNo) : nullptr));
        }
        out.days << day;
    }
    return out;
}

Result<StoredModel> fitModel(const AppPaths& paths, const QString& from, const QString& to) {
    const ModelDays data = modelDays(paths, from, to);
    if (data.days.size() < kMinModelDays) {
        return Status::failure(u"予想と成績のそろった日が%1日しかありません。勝率の推定には%2日以上が必要です。"_s.arg(
            data.days.size()).arg(kMinModelDays));
    }
    const std::optional<WinModel> model = fitWinModel(data.races);
    if (!model)
        return Status::failure(u"勝ち馬のわかるレースがありません。"_s);
    return StoredModel{*model, data.days.first(), data.days.last(), data.days};
}

Status saveModel(const QString& path, const StoredModel& stored) {
    QJsonArray beta;
    for (double b : stored.model.beta)
        beta.append(b);
    const QJsonObject o{{u"beta"_s, beta},
                        {u"from"_s, stored.from},
                        {u"to"_s, stored.to},
                        {u"days"_s, QJsonArray::fromStringList(stored.days)},
                        {u"races"_s, stored.model.races},
                        {u"logLikelihood"_s, stored.model.logLikelihood}};
    return SafeSave::save(path, QJsonDocument(o).toJson());
}

// The largest weight a stored model may hold; a fit's weights stay far below it.
constexpr double kMaxWeight = 1000;

Result<StoredModel> loadModel(const QString& path) {
    if (!QFileInfo::exists(path))
        return Status::failure(u"勝率のモデルがまだありません。zenomur-cli model fit で作ってください。"_s);
    const Result<QByteArray> bytes = readOutsideFile(path, qint64(4) << 20);
    if (!bytes)
        return bytes.status();
    const QJsonObject o = QJsonDocument::fromJson(*bytes).object();
    const QJsonArray beta = o.value(u"beta"_s).toArray();
    StoredModel stored;
    bool ok = beta.size() == kWinFeatures;
    for (int k = 0; ok && k < kWinFeatures; ++k) {
        // A weight out of all proportion is no fit of this program's: it would turn the chances
        // into infinities.
        ok = beta[k].isDouble() && std::isfinite(beta[k].toDouble()) && std::abs(beta[k].toDouble()) <= kMaxWeight;
        stored.model.beta[size_t(k)] = beta[k].toDouble();
    }
    stored.from = o.value(u"from"_s).toString();
    stored.to = o.value(u"to"_s).toString();
    for (const QJsonValue& d : o.value(u"days"_s).toArray())
        stored.days << d.toString();
    stored.model.races = o.value(u"races"_s).toInt();
    stored.model.logLikelihood = o.value(u"logLikelihood"_s).toDouble();
    if (!ok || stored.from.size() != 8 || stored.to.size() != 8)
        return Status::failure(u"%1 は勝率のモデルとして読めません。zenomur-cli model fit で作り直してください。"_s.arg(path));
    return stored;
}

Result<StoredModel> loadUsableModel(const AppPaths& paths) {
    Result<StoredModel> stored = loadModel(modelPath(paths));
    if (stored && stored->days.size() < kMinModelDays) {
        return Status::failure(u"勝率のモデルは%1日分の予想と成績で推定されています。%2日以上で推定し直してください。"_s.arg(
            stored->days.size()).arg(kMinModelDays));
    }
    return stored;
}

}  // namespace zm
