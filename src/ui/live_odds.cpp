#include "ui/live_odds.h"

#include "import/day_import.h"
#include "pat/odds_read.h"

namespace zm::ui {

const pat::PatFormat* livePatFormat(const AppContext& ctx) {
    return ctx.settings.PatOpt ? pat::patFormatOf(ctx.settings.Ver) : nullptr;
}

pat::PatRaceRef patRaceOf(AppContext& ctx, const QString& day, const QString& venueCode, int raceNo) {
    return {venueCode, QString::number(raceNo), FindNichi(ctx, day, venueCode), day};
}

LiveOdds ReadLiveOdds(AppContext& ctx, const pat::PatFormat& format, const pat::PatRaceRef& race) {
    LiveOdds odds;
    odds.format = &format;
    const QString& folder = ctx.settings.PatDir;
    odds.winPlace = pat::ReadWinPlaceOdds(folder, &format, race);
    odds.pairs = pat::ReadRenOdds(folder, &format, race);
    odds.weights = pat::ReadBodyWeights(folder, &format, race);
    return odds;
}

void fillLiveOdds(card::RaceCard& race, const LiveOdds& odds) {
    for (card::CardRow& row : race.rows) {
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

bool isScratched(const card::CardRow& row) {
    return row.placeOdds == u"ﾄﾘｹｼ" || row.bodyWeight == u"取り消し";
}

}  // namespace zm::ui
