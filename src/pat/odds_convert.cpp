#include "pat/odds_convert.h"

#include "app/file_set.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "pat/pat_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace zm {

namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(u'/') || folder.endsWith(u'\\') ? folder : folder + u'/';
}

}  // namespace

QString ConvFileCode(const OddsRecord& record, const PatFormat& format) {
    QString venue = PatVenueLetter(record.text(OddsRecord::venueCode));
    if (venue.isEmpty())
        venue = QStringLiteral("0");
    const QString nichi = record.text(OddsRecord::nichi);
    const QString middle = !format.namesFilesByMeetingDay() ? QStringLiteral("1")
                           : nichi.isEmpty()                ? QString()
                                                            : QString(nichi.back());
    const int race = static_cast<int>(record.number(OddsRecord::raceNo));
    const QString letter = race == 10   ? QStringLiteral("A")
                           : race == 11 ? QStringLiteral("B")
                           : race == 12 ? QStringLiteral("C")
                                        : QString::number(race);
    return venue + middle + letter;
}


QString ConvDialogCaption(const PatFormat& format) {
    return QStringLiteral("競馬ブック予想オッズを") + format.title() + QStringLiteral("形式に変換");
}

QString ConvStatusText(const PatFormat& format) {
    return format.title() + QStringLiteral("形式オッズファイルを出力中！");
}

QString ConvHeading(const QString& dayFilePath) {
    // "MURODDS" + yyyymmdd + ".DAT"
    const QString date = QFileInfo(dayFilePath).fileName().mid(7, 8);
    return date.left(4) + u'年' + date.mid(4, 2) + u'月' + date.mid(6, 2) +
           QStringLiteral("日分の予想オッズをＰＡＴ形式に変換します。");
}

QString ConvRaceStatus(const OddsRecord& r) {
    const QString date = r.text(OddsRecord::raceDate);
    const QString kai = r.text(OddsRecord::kai);
    const QString nichi = r.text(OddsRecord::nichi);
    return date.left(4) + u'年' + date.mid(4, 2) + u'月' + date.mid(6, 2) + QStringLiteral("日 ") +
           (kai.isEmpty() ? QString() : QString(kai.back())) + QStringLiteral("回 ") +
           VenueName(r.text(OddsRecord::venueCode)) + u' ' + (nichi.isEmpty() ? QString() : QString(nichi.back())) +
           QStringLiteral("日目 ") + r.text(OddsRecord::raceNo) + QStringLiteral("Ｒ");
}

Result<ConversionRun> ConvertPredictedOdds(AppContext& ctx, const QString& dayFilePath, const PatFormat& format,
                                           const QString& folderText, Notices& notices) {
    const QString folder = folderText.trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return Status::warning(kConvFolderMissing);
    const QString target = withSlash(folder);
    // A setting that could not be stored is said; the conversion goes on.
    if (const Status stored = ctx.store.SaveAppSetting(QStringLiteral("PAT"), QStringLiteral("ConvOddsDir"), target); !stored)
        notices << Notice(stored.message(), {}, Severity::Critical);
    ctx.settings.ConvOddsDir = target;

    QByteArray day;
    QFile f(dayFilePath);
    if (f.open(QIODevice::ReadOnly))
        day = f.readAll();
    const auto count = static_cast<int>(std::llround(static_cast<double>(day.size()) / OddsRecord::kLength));

    ProgressSink& progress = ctx.progressSink();
    progress.setCaption(ConvDialogCaption(format));
    // Every file of the conversion is put in place at once: PAT never reads a mix of old and new.
    FileSet set(ctx.paths.DataDir);
    const QString setFolder = QDir(target).absolutePath() + u'/';
    auto put = [&](const QString& prefix, const QString& code, const QByteArray& bytes) {
        return set.put(setFolder + prefix + code + QStringLiteral(".JRA"), bytes);
    };
    ConversionRun run;
    run.records = count;
    for (int n = 1; n <= count; ++n) {
        const OddsRecord record(QByteArrayView(day).sliced(std::min<qsizetype>(day.size(), qsizetype(n - 1) * OddsRecord::kLength)));
        progress.setPercent(100.0 * n / count);
        progress.setLabel(ConvRaceStatus(record));
        progress.idle();
        const QString code = ConvFileCode(record, format);
        const bool pairs = record.number(PredictedOddsFields::runners) - record.number(PredictedOddsFields::nonRunners) > 8;
        Status st = put(kWinPlacePrefix, code, format.predictedWinPlace(record));
        if (st && pairs)
            st = put(kQuinellaPrefix, code, format.predictedQuinella(record));
        if (!st) {
            set.discard();
            return Status::failure(unchangedMessage(st.message()));
        }
        run.written << target + kWinPlacePrefix + code + QStringLiteral(".JRA");
        if (pairs)
            run.written << target + kQuinellaPrefix + code + QStringLiteral(".JRA");
    }
    if (Status committed = set.commit(); !committed)
        return committed;
    return run;
}

}  // namespace zm
