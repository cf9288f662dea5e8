#include "ui/live_odds.h"

#include "import/day_import.h"
#include "pat/odds_read.h"

namespace zm::ui {

const zm::PatFormat* livePatFormat(const AppContext& ctx) {
    return ctx.settings.PatOpt ? zm::patFormatOf(ctx.settings.Ver) : nullptr;
}

zm::PatRaceRef patRaceOf(AppContext& ctx, const QString& day, const QString& venueCode, int raceNo) {
    return {venueCode, QString::number(raceNo), FindNichi(ctx, day, venueCode), day};
}

LiveOdds ReadLiveOdds(AppContext& ctx, const zm::PatFormat& format, const zm::PatRaceRef& race) {
    LiveOdds odds;
    odds.format = &format;
    const QString& folder = ctx.settings.PatDir;
    odds.winPlace = zm::ReadWinPlaceOdds(folder, &format, race);
    odds.pairs = zm::ReadRenOdds(folder, &format, race);
    odds.weights = zm::ReadBodyWeights(folder, &format, race);
    return odds;
}

void fillLiveOdds(zm::RaceCard& race, const LiveOdds& odds) {
    for (zm::CardRow& row : race.rows) {
        const int h = row.umaban.trimmed().toInt();
        if (h < 1 || h > 18) {
            continue;
        }
        const auto i = static_cast<size_t>(h - 1);
        row.winOdds = odds.winPlace.win[i];
        row.placeOdds = odds.winPlace.place[i];
        row.bodyWeight = odds.weights.weights[i];
    }
}

bool isScratched(const zm::CardRow& row) {
    return row.placeOdds == u"ﾄﾘｹｼ" || row.bodyWeight == u"取り消し";
}

}  // namespace zm::ui
