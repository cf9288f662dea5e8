#include "export/day_exports.h"

#include "app/file_names.h"
#include "app/file_set.h"
#include "export/duel_text.h"
#include "export/export_text.h"
#include "export/mur_contest_text.h"
#include "export/race_card_csv.h"
#include "export/service_csv.h"
#include "import/race_model.h"

#include <QFileInfo>

namespace zm {

namespace {

// A cumulative file of the batch holds at most this much before a day's lines are added.
constexpr qint64 kCumulativeCap = qint64(1) << 30;

// Puts the export's file into the day's set. A batch's cumulative file gets what the batch
// wrote there so far and the day's lines; on the first day of the batch it holds the day's
// lines alone, under the name's own spelling. A file that cannot be written is left out of the
// set and named, with its message; a file put in gives its warning, if it has one.
void putExport(FileSet& set, ExportFile file, bool batchStarted, QStringList& failures, Notices& notices) {
    if (file.path.isEmpty())
        return;
    file.path = QFileInfo(file.path).absoluteFilePath();
    if (file.remove) {
        set.drop(file.path);
        return;
    }
    Status put;
    if (file.append) {
        const QString folder = QFileInfo(file.path).path() + u'/';
        const QString canonical = folder + QFileInfo(file.path).fileName();
        const QString existing = findFileNoCase(folder, QFileInfo(file.path).fileName());
        QByteArray bytes;
        if (batchStarted && !existing.isEmpty()) {
            Result<QByteArray> old = readOutsideFile(existing, kCumulativeCap);
            if (!old.ok()) {
                notices << Notice(old.message(), {}, Severity::Critical);
                failures << existing;
                return;
            }
            bytes = std::move(old.value());
        }
        bytes += file.bytes;
        put = set.put(existing.isEmpty() || !batchStarted ? canonical : existing, bytes);
    } else {
        put = set.put(file.path, file.bytes);
    }
    if (!put) {
        notices << Notice(put.message(), {}, Severity::Critical);
        failures << file.path;
        return;
    }
    if (!file.warning.isEmpty())
        notices << Notice(file.warning, {}, Severity::Warning);
}

}  // namespace

QStringList RunDayExports(AppContext& ctx, const ImportedDay& day, FileSet& set, bool batchStarted, Notices& notices) {
    QStringList failures;
    if (ctx.settings.MurOut)
        putExport(set, ServiceCsvFile(ctx, day, &set), batchStarted, failures, notices);
    if (ctx.settings.DuelOut)
        putExport(set, DuelTextFile(ctx, day, &set), batchStarted, failures, notices);
    if (ctx.settings.MurTextOut)
        putExport(set, MurContestTextFile(ctx, day, &set), batchStarted, failures, notices);
    if (ctx.settings.DenCsvOut)
        putExport(set, RaceCardCsvFile(ctx, day, &set), batchStarted, failures, notices);
    return failures;
}

}  // namespace zm
