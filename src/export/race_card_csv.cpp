#include "export/race_card_csv.h"

#include "app/context.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "export/export_text.h"
#include "import/day_files.h"
#include "import/race_model.h"
#include "import/work_folder.h"
#include "predict/predict_day.h"

#include <QFile>
#include <QHash>

namespace zm {

namespace {

const QString kCsvProgressText = QStringLiteral("出馬表を「ＣＳＶ形式」ファイルに出力中…！");

QString ageText(const EntryRecord& e) {
    const QString stored = e.text(EntryRecord::age);
    const int age = static_cast<int>(e.number(EntryRecord::age));
    if (age == 0)
        return QString();
    if (age >= 1 && age <= 9)
        return FullWidthDigits(QString::number(age)) + u'歳';
    return stored + u'歳';
}

QString weightText(const EntryRecord& e) {
    const QString w = e.text(EntryRecord::weight);
    return w.left(2) + u'.' + w.right(1);
}

// The first six characters of an 8-byte name field, trailing blanks kept.
QString shortName(const EntryRecord& e, const Field& f) {
    return e.text(f).left(6);
}

QString numberOrEmpty(double value) {
    return value == 0.0 ? QString() : NumberText(value);
}

QString meetingText(const PredictedPastRun& run) {
    if (Val(run.date) == 0.0)
        return QString();
    return run.date + u' ' + run.meeting + VenueName(run.venueCode) + run.day + u' ' + SurfaceName(run.track) +
           NumberText(static_cast<double>(run.distance));
}

QString finishText(const PredictedPastRun& run) {
    if (Val(run.finish) == 0.0)
        return QString();
    return run.fieldSize + u'頭' + run.popularity + u'人' + run.finish + u'着';
}

// The first predicted-odds record of the race (venue code, race number and date), if any.
const OddsRecord* oddsFor(const std::vector<OddsRecord>& odds, const PredictionRecord& p) {
    for (const OddsRecord& r : odds) {
        if (static_cast<int>(r.number(OddsRecord::raceNo)) == p.raceNo && r.text(OddsRecord::venueCode) == p.venueCode &&
            r.text(OddsRecord::raceDate) == p.raceDate)
            return &r;
    }
    return nullptr;
}

}  // namespace

QString raceCardCsvHeader() {
    return QStringLiteral(
        "年月日,JRACODE,開催場所,回次,日次,レース,枠番,馬番,馬名,性別,年齢,斤量,騎手,調教師,前走開催,２走前開催,"
        "３走前開催,４走前開催,５走前開催,前走着順,２走前着順,３走前着順,４走前着順,５走前着順,予想指数,前走指数,"
        "２走前指数,３走前指数,４走前指数,５走前指数,今回オッズ,前走オッズ,２走前オッズ,３走前オッズ,４走前オッズ,"
        "５走前オッズ");
}

QString todaysOddsText(const OddsRecord& odds, int i) {
    const QString text = odds.text(OddsRecord::winOdds, i);
    if (text.contains(u'*'))
        return QStringLiteral("  50.0");
    if (text.contains(u'/'))
        return QStringLiteral(" ﾄﾘｹｼ ");
    if (text.contains(u'-'))
        return QString();
    return NumberText(Val(text) / 10.0).rightJustified(6, u' ');
}

QString raceCardCsvLine(const PredictionRecord& p, int i, const EntryRecord& e, const OddsRecord* odds) {
    const PredictedRunner& runner = p.runners[static_cast<size_t>(i - 1)];
    QStringList v;
    v << p.raceDate << ServiceToJraCode(p.venueCode) << VenueName(p.venueCode)
      << QString::number(p.meeting) + u'回' << QString::number(p.dayNo) + QStringLiteral("日目")
      << QString::number(p.raceNo);
    v << e.text(EntryRecord::waku) << e.text(EntryRecord::umaban) << LeftBytes(e.text(EntryRecord::horseName), 18)
      << SexName(e.text(EntryRecord::sex)) << ageText(e) << weightText(e)
      << shortName(e, EntryRecord::jockeyShort) << shortName(e, EntryRecord::trainerShort);
    for (const PredictedPastRun& run : runner.pastRuns)
        v << meetingText(run);
    for (const PredictedPastRun& run : runner.pastRuns)
        v << finishText(run);
    v << QString::number(runner.index);
    for (const PredictedPastRun& run : runner.pastRuns)
        v << numberOrEmpty(run.figure);
    v << (odds ? todaysOddsText(*odds, i) : QString());
    for (const PredictedPastRun& run : runner.pastRuns)
        v << numberOrEmpty(Val(run.odds));
    QString line;
    for (const QString& value : v)
        line += value + u',';
    return line;
}

ExportFile RaceCardCsvFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set) {
    const QString day = imported.date;
    const QString data = ctx.paths.DataDir;
    const QString out = ctx.settings.OutPutDir;
    const bool batch = ctx.BatchRequested;
    QString path = out + QStringLiteral("DEN") + day + QStringLiteral(".CSV");
    if (batch)
        path = out + QStringLiteral("DEN.CSV");

    std::vector<OddsRecord> odds;
    if (const auto file = RecordFile::load(dayFileToRead(set, data + dayOddsFileName(day)), OddsRecord::kLength)) {
        odds.reserve(static_cast<size_t>(file->count()));
        for (int n = 1; n <= file->count(); ++n)
            odds.push_back(file->get<OddsRecord>(n));
    }
    const auto races = RecordFile::load(dayFileToRead(set, data + dayRaceFileName(day)), RaceRecord::kLength);
    const auto entries = RecordFile::load(dayFileToRead(set, data + dayEntryFileName(day)), EntryRecord::kLength);
    if (!races || !entries) {
        if (!batch && QFile::exists(path))
            return ExportFile::removal(path);
        return {};
    }
    const auto predictions = readPredictionFile(dayFileToRead(set, predictionFilePath(data, day)));

    // The first entry record of each horse code.
    QHash<QString, int> entryOf;
    for (int n = 1; n <= entries->count(); ++n) {
        const QString code = entries->get<EntryRecord>(n).text(EntryRecord::horseCode);
        if (!entryOf.contains(code))
            entryOf.insert(code, n);
    }

    ProgressSink& progress = ctx.progressSink();
    progress.setCaption(predictionCaption(day));
    progress.setLabel(kCsvProgressText);
    progress.setPercent(0);

    QStringList lines;
    if (!batch)
        lines << raceCardCsvHeader();
    const int raceCount = races->count();
    const int steps = predictions ? std::min<int>(raceCount, static_cast<int>(predictions->size())) : 0;
    for (int k = 0; k < steps; ++k) {
        const PredictionRecord& p = (*predictions)[static_cast<size_t>(k)];
        progress.setPercent(100.0 * (k + 1) / raceCount);
        progress.idle();
        const OddsRecord* raceOdds = oddsFor(odds, p);
        const int n = std::min<int>(p.runnerCount, kPredictionRunners);
        for (int i = 1; i <= n; ++i) {
            const int recNo = entryOf.value(p.runners[static_cast<size_t>(i - 1)].horseCode, 0);
            if (recNo == 0)
                continue;  // a runner the entries day file does not hold
            lines << raceCardCsvLine(p, i, entries->get<EntryRecord>(recNo), raceOdds);
        }
    }
    return ExportFile(path, crlfLines(lines), batch);
}

Status ExportRaceCardCsv(AppContext& ctx, const ImportedDay& imported) {
    return saveExportFile(RaceCardCsvFile(ctx, imported));
}

}  // namespace zm
