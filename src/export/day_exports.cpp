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
// lines alone, under the name's own spelling. False after the message naming the file, which
// is then left out of the set.
bool putExport(AppContext& ctx, FileSet& set, ExportFile file, bool batchStarted, QStringList& failures) {
    if (file.path.isEmpty())
        return true;
    file.path = QFileInfo(file.path).absoluteFilePath();
    if (file.remove) {
        set.drop(file.path);
        return true;
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
                ctx.prompter.critical(old.message());
                failures << existing;
                return false;
            }
            bytes = std::move(old.value());
        }
        bytes += file.bytes;
        put = set.put(existing.isEmpty() || !batchStarted ? canonical : existing, bytes);
    } else {
        put = set.put(file.path, file.bytes);
    }
    if (!put) {
        ctx.prompter.critical(put.message());
        failures << file.path;
        return false;
    }
    if (!file.warning.isEmpty())
        ctx.prompter.warning(file.warning);
    return true;
}

}  // namespace

QStringList RunDayExports(AppContext& ctx, const ImportedDay& day, FileSet& set, bool batchStarted) {
    QStringList failures;
    if (ctx.settings.MurOut)
        putExport(ctx, set, ServiceCsvFile(ctx, day, &set), batchStarted, failures);
    if (ctx.settings.DuelOut)
        putExport(ctx, set, DuelTextFile(ctx, day, &set), batchStarted, failures);
    if (ctx.settings.MurTextOut)
        putExport(ctx, set, MurContestTextFile(ctx, day, &set), batchStarted, failures);
    if (ctx.settings.DenCsvOut)
        putExport(ctx, set, RaceCardCsvFile(ctx, day, &set), batchStarted, failures);
    return failures;
}

}  // namespace zm
