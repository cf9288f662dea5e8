#pragma once

// The live odds and body weights of one race as the race card and the odds window show them,
// read from PAT's per-race files of the generation in use. Every text is returned as a value;
// a missing file (or a PAT31 file of another day) leaves its texts blank.

#include <QByteArrayView>
#include <QString>
#include <array>

namespace zm {

// The PAT generation of the setting "Ver": "31", "95", "98"; anything else is None (the card
// then shows the predicted odds instead).
enum class PatVer { None, V31, V95, V98 };
PatVer patVerOf(const QString& ver);

// The race whose files are read.
struct PatRaceRef {
    QString venueCode;  // the service's venue code ("04" 東京)
    QString raceNo;     // "11"
    QString dayNo;      // the meeting's day number (日目), for PAT95/98 file names
    QString date;       // "yyyymmdd", checked against PAT31 files
};

struct BracketOddsRow {
    QString pair;  // "1-2", or 3 blanks
    QString odds;  // 5 characters, or 5 blanks
};

struct WinPlaceOdds {
    bool found = false;
    std::array<QString, 18> win;    // WinOddsText: 5 characters each
    std::array<QString, 18> place;  // PlaceOddsText: "lower-upper" in 9 characters, or "ﾄﾘｹｼ"
    std::array<BracketOddsRow, 36> brackets;
};

struct PairOddsRow {
    QString pair;      // "01-02", or 5 blanks
    QString quinella;  // 6 characters
    QString wideLow;   // PAT98 only, else 6 blanks
    QString wideHigh;
};

struct PairOdds {
    bool found = false;
    std::array<PairOddsRow, 153> pairs;
};

struct BodyWeights {
    bool found = false;
    std::array<QString, 18> weights;  // "４８０＋０４", "取り消し", "４６２ 初出", or empty
};

}  // namespace zm
