#pragma once

// The live odds and body weights of the race on the card, read from PAT's files when PAT is
// used and its generation is one whose files the program reads.

#include "app/context.h"
#include "card/cardday.h"
#include "pat/pat_format.h"

#include <optional>

namespace zm::ui {

// The PAT generation the windows read: nullptr when PAT is not used or "Ver" names no
// generation with odds files.
const zm::PatFormat* livePatFormat(const AppContext& ctx);

// The PAT files' reference of a race of a predicted day; the day number (日目) comes from the
// day's race file.
zm::PatRaceRef patRaceOf(AppContext& ctx, const QString& day, const QString& venueCode, int raceNo);

// What PAT's files say of one race.
struct LiveOdds {
    const zm::PatFormat* format = nullptr;
    zm::WinPlaceOdds winPlace;
    zm::PairOdds pairs;
    zm::BodyWeights weights;
};
LiveOdds ReadLiveOdds(AppContext& ctx, const zm::PatFormat& format, const zm::PatRaceRef& race);

// Puts the win odds, place odds and body weights into the card's rows (by horse number).
void fillLiveOdds(zm::RaceCard& race, const LiveOdds& odds);

// A scratched horse: "ﾄﾘｹｼ" in the place odds or "取り消し" as its body weight.
bool isScratched(const zm::CardRow& row);

}  // namespace zm::ui
