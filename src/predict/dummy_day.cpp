#include "predict/dummy_day.h"

#include "app/context.h"
#include "app/file_names.h"
#include "app/file_set.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "import/race_model.h"
#include "predict/predict_day.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace zm {

namespace {

constexpr int kFirstYear = 1991;
constexpr int kLastYear = 2099;

bool allDigits(const QString& s) {
    if (s.isEmpty()) {
        return false;
    }
    for (QChar c : s) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// A month or day part: one or two digits with the value in lo..hi, else 0.
int partValue(const QString& part, int lo, int hi) {
    if (part.size() > 2 || !allDigits(part)) {
        return 0;
    }
    const int v = part.toInt();
    return v >= lo && v <= hi ? v : 0;
}

}  // namespace

QString dummyDayPreset(const QDate& today) {
    const QString ymd = NearestRaceDay(today);
    return ymd.left(4) + u'/' + ymd.mid(4, 2) + u'/' + ymd.mid(6, 2);
}

Result<QString> parseDummyDate(const QString& typed) {
    const QString t = typed.trimmed();
    if (t.size() < 8 || t.size() > 10) {
        return Status::failure(QStringLiteral("日付記入の書式が違います！") + QStringLiteral("\r\n") + kDummyDateRule);
    }
    const QString yearText = t.left(4);
    const int year = allDigits(yearText) ? yearText.toInt() : 0;
    if (year < kFirstYear || year > kLastYear) {
        return Status::failure(QStringLiteral("西暦年の書式が違います！") + QStringLiteral("\r\n") + kDummyDateRule);
    }
    // Month and day are the parts between and after the separators; the year part is its
    // four digits alone.
    const QStringList parts = t.split(u'/');
    const int month = parts.value(0).size() == 4 ? partValue(parts.value(1), 1, 12) : 0;
    if (month == 0) {
        return Status::failure(QStringLiteral("「月」の書式が違います！") + QStringLiteral("\r\n") + kDummyDateRule);
    }
    const int day = parts.size() == 3 ? partValue(parts.value(2), 1, 31) : 0;
    // A day the month does not have (2001/2/30) is refused like any other bad day.
    if (day == 0 || !QDate(year, month, day).isValid()) {
        return Status::failure(QStringLiteral("「日」の書式が違います！") + QStringLiteral("\r\n") + kDummyDateRule);
    }
    return QString::number(year) + TwoDigits(static_cast<std::int16_t>(month)) +
           TwoDigits(static_cast<std::int16_t>(day));
}

Status CreateDummyDay(AppContext& ctx, const QString& date) {
    RaceRecord race;
    race.setText(RaceRecord::venueCode, u"00");
    race.setText(RaceRecord::meetingYear, date.left(4));
    race.setText(RaceRecord::raceYear, date.left(4));
    race.setText(RaceRecord::kai, u" 1");
    race.setText(RaceRecord::nichi, u" 1");
    race.setText(RaceRecord::raceNo, u" 1");
    race.setText(RaceRecord::raceMonth, date.mid(4, 2));
    race.setText(RaceRecord::raceDay, date.mid(6, 2));

    // The missing files of the day go in place together.
    if (Status recovered = RecoverFileSets(ctx.paths.DataDir); !recovered)
        return recovered;
    FileSet set(ctx.paths.DataDir);
    const QString raceName = QStringLiteral("MUR") + date + QStringLiteral("_1.DEN");
    if (findFileNoCase(ctx.paths.DataDir, raceName).isEmpty()) {
        if (const Status saved = set.put(raceName, race.bytes()); !saved)
            return saved;
    }
    const QString predictionPath = predictionFilePath(ctx.paths.DataDir, date);
    const QString predictionName = QFileInfo(predictionPath).fileName();
    if (findFileNoCase(ctx.paths.DataDir, predictionName).isEmpty()) {
        RunnerArray runners;
        for (int i = 1; i <= kRunnerSlots; ++i) {
            LoadBlankRunner(runners, i);
        }
        const PredictionRecord rec = WritePrediction(predictedRaceOf(race), runners, SelectionLists{}, false);
        if (!set.put(predictionName, encodePredictionFile({rec})))
            return Status::failure(QStringLiteral("「") + predictionPath + QStringLiteral("」を書き込めません。"));
    }
    if (const Status committed = set.commit(); !committed)
        return committed;
    ctx.ImportedDay = date;
    return {};
}

}  // namespace zm
