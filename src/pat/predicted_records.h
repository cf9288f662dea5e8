#pragma once

// The service's predicted odds of one race written as PAT's odds records (ZO: win, place and
// bracket quinella; UO: quinella, and wide for PAT98) of each generation's layout.

#include "codes/status.h"
#include "import/records.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace zm {

// The record's fields the conversion reads beyond the race key.
struct PredictedOddsFields {
    static constexpr auto runners = digitsField("runners", 109, 2);
    static constexpr auto nonRunners = digitsField("nonRunners", 111, 2);
    // The bracket-quinella odds of the 36 bracket pairs.
    static constexpr auto bracketOdds = OddsRecord::placeOdds;
};

// One odds value of tenths in w characters: "35" -> "  3.5" (w 5), "1234" -> " 123.4" (w 6).
QString FormatTenths(double tenths, int width);

// The marker of a source odds text: its first non-blank character when that is "*", "/" or
// "-", else 0.
char16_t OddsMarker(QStringView source);

// The records of each layout, as the files hold them.
QByteArray Zo95Bytes(const OddsRecord& record);
QByteArray Zo31Bytes(const OddsRecord& record);
QByteArray Uo98Bytes(const OddsRecord& record);
QByteArray Uo95Bytes(const OddsRecord& record);
QByteArray Uo31Bytes(const OddsRecord& record);

// The writers: one file of folder (ending in "/") named prefix + fileCode + ".JRA", replaced
// whole.
Status WriteZo95(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteZo31(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo98(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo95(const QString& folder, const QString& fileCode, const OddsRecord& record);
Status WriteUo31(const QString& folder, const QString& fileCode, const OddsRecord& record);

}  // namespace zm
