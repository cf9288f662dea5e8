#include "export/day_exports.h"

#include "export/duel_text.h"
#include "export/export_text.h"
#include "export/mur_contest_text.h"
#include "export/race_card_csv.h"
#include "export/service_csv.h"
#include "predict/predict_hooks.h"

namespace zm {

void RunDayExports(AppContext& ctx, ImportState& state) {
    if (ctx.settings.MurOut)
        reportExportFailure(ctx, WriteServiceCsv(ctx, state));
    if (ctx.settings.DuelOut)
        reportExportFailure(ctx, WriteDuelText(ctx, state));
    if (ctx.settings.MurTextOut)
        reportExportFailure(ctx, WriteMurContestText(ctx, state));
    if (ctx.settings.DenCsvOut)
        reportExportFailure(ctx, ExportRaceCardCsv(ctx, state));
}

DayHooks dayRunHooks() {
    DayHooks hooks = predictionHooks();
    hooks.exports = [](AppContext& ctx, ImportState& state) { RunDayExports(ctx, state); };
    return hooks;
}

}  // namespace zm
