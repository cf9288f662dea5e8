#pragma once

// A race's odds and body weights read from PAT's files through the generation's format.

#include "pat/odds_view.h"
#include "pat/pat_format.h"

#include <QByteArrayView>
#include <QString>

namespace zm {

// folder is the PAT folder ending in "/"; format the generation's (nullptr reads nothing).
WinPlaceOdds ReadWinPlaceOdds(const QString& folder, const PatFormat* format, const PatRaceRef& race);
PairOdds ReadRenOdds(const QString& folder, const PatFormat* format, const PatRaceRef& race);
BodyWeights ReadBodyWeights(const QString& folder, const PatFormat* format, const PatRaceRef& race);

// The same from the bytes of a file already read (any length).
WinPlaceOdds winPlaceOddsFromBytes(QByteArrayView file, PatVer ver);
PairOdds renOddsFromBytes(QByteArrayView file, PatVer ver);
BodyWeights bodyWeightsFromBytes(QByteArrayView file, PatVer ver);

}  // namespace zm
