#include "export/service_csv.h"

#include "app/context.h"
#include "app/safe_save.h"
#include "export/export_text.h"
#include "import/day_files.h"
#include "import/race_model.h"

namespace zm {

namespace {

// A slot: value, set-flag and three empty fields; five empty fields when there is no value.
void appendSlot(QStringList& fields, const QString& value, std::int16_t flag) {
    if (value.isEmpty()) {
        for (int k = 0; k < 5; ++k)
            fields << QString();
        return;
    }
    fields << value << QString::number(flag) << QString() << QString() << QString();
}

void appendWinGroup(QStringList& fields, const PredictionRecord& rec) {
    const PickEntry& win = rec.winPicks[0];
    appendSlot(fields, win.code != 0 ? QString::number(win.code) : QString(), win.flag);
    appendSlot(fields, QString(), 0);
    appendSlot(fields, QString(), 0);
}

}  // namespace

QString serviceCsvHeader(const QDateTime& written, const QString& version) {
    return QStringList{QStringLiteral("(MUR>VAN)"),
                       QStringLiteral("0001"),
                       written.toString(QStringLiteral("yyyyMMdd")),
                       written.toString(QStringLiteral("HHmmss")),
                       QStringLiteral("ゼノゼノＭＵＲ 駿馬堂OnLine版"),
                       version,
                       kServiceCsvAuthor,
                       kServiceCsvUser,
                       QString(),
                       QString(),
                       QString()}
        .join(u',');
}

bool serviceCsvTakesRace(const PredictionRecord& rec) {
    return rec.winPicks[0].code >= 1 || rec.quinellaPicks[0].code >= 1 || rec.smallPicks[0].code >= 1;
}

QString serviceCsvRaceLine(const PredictionRecord& rec) {
    QStringList fields{kServiceSoftCode,
                       rec.raceDate,
                       rec.venueCode,
                       QString::number(rec.meeting),
                       QString::number(rec.dayNo),
                       QString::number(rec.raceNo)};
    appendWinGroup(fields, rec);
    appendWinGroup(fields, rec);
    for (const PickEntry& p : rec.smallPicks)
        appendSlot(fields, p.code != 0 ? QString::number(p.code) : QString(), p.flag);
    for (const PickEntry& p : rec.quinellaPicks)
        appendSlot(fields, p.code != 0 ? QStringLiteral("%1").arg(p.code, 4, 10, QLatin1Char('0')) : QString(), p.flag);
    for (int k = 0; k < 10; ++k)
        appendSlot(fields, QString(), 0);
    return fields.join(u',');
}

QStringList serviceCsvLines(const std::vector<PredictionRecord>& records, const QDateTime& written,
                            const QString& version) {
    QStringList lines;
    for (const PredictionRecord& rec : records) {
        if (serviceCsvTakesRace(rec))
            lines << serviceCsvRaceLine(rec);
    }
    if (!lines.isEmpty())
        lines.prepend(serviceCsvHeader(written, version));
    return lines;
}

ExportFile ServiceCsvFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set) {
    const auto records =
        readPredictionFile(dayFileToRead(set, predictionFilePath(ctx.paths.DataDir, imported.date)));
    if (!records || records->empty())
        return {};
    const QStringList lines = serviceCsvLines(*records, QDateTime::currentDateTime(), programVersion());
    if (lines.isEmpty())
        return {};
    const QString path = ctx.settings.OutPutDir + QStringLiteral("K") + records->back().raceDate + QStringLiteral(".CSV");
    return ExportFile(path, crlfLines(lines));
}

}  // namespace zm
