#pragma once

// Bets of one race written into the day's pending-bet file: the rows of the bet output dialog
// (3 win, 3 place, 5 bracket quinella, 10 quinella, each a check, an entry and a stake as typed),
// their tests, the default stakes of section "PAT", and the lines appended.

#include "app/context.h"
#include "bets/pending_bet.h"
#include "codes/status.h"

#include <QString>
#include <QStringList>
#include <array>

namespace zm {

struct BetRow {
    bool checked = false;
    QString entry;  // horse number, two bracket digits ("18") or "5-12"
    QString stake;  // as typed
    bool isEmpty() const { return !checked && entry.isEmpty() && stake.isEmpty(); }
};

enum BetGroup { GroupWin = 0, GroupPlace, GroupBracket, GroupQuinella };
inline constexpr std::array<int, 4> kBetGroupRows = {3, 3, 5, 10};

struct BetOutForm {
    std::array<BetRow, 3> tan;
    std::array<BetRow, 3> fuku;
    std::array<BetRow, 5> waku;
    std::array<BetRow, 10> uma;
    // The four default stakes (単勝, 複勝, 枠連, 馬連) as the dialog's boxes hold them.
    std::array<QString, 4> defaults;

    BetRow* row(BetGroup group, int i);
    // The first row of the group with nothing in it, or nullptr when all are used.
    BetRow* nextFreeRow(BetGroup group);
};

// The settings keys of the default stakes, in the order of the boxes.
inline const std::array<QString, 4> kDefaultStakeKeys = {QStringLiteral("BetTan"), QStringLiteral("BetFuku"),
                                                        QStringLiteral("BetWaku"), QStringLiteral("BetUma")};

// A default stake as shown and stored: the trimmed text, "100" when its value is below 100.
QString normalizedDefaultStake(const QString& text);

// The dialog as it opens: the four defaults from the settings record, and the rows filled from
// the race's recommended bets (0 the win pick, 1-10 the pair picks; a pair without "-" goes to
// the bracket row of the same index, which exists for the first five only).
BetOutForm OpenBetOutForm(const AppSettings& settings, const std::array<QString, 11>& recommendations = {});

// The race part of a line: " 1R", "11R".
QString betRaceText(double raceNo);
// A stake as written: right-aligned in five characters with "円" (longer stakes whole).
QString betStakeText(Amount stake);
// Kept for now for the bulk output: the typed value cut to whole hundreds, at least 100.
QString betStakeText(double typed);

// The bets of the checked rows that pass their tests, in buffer order (win, place, bracket,
// quinella), and one text per checked row that does not, naming the row and why. A row's
// entry and stake may hold full-width digits; the stake must be a whole number of hundreds
// from 100 to 99,999,900 yen as typed (no commas). venueCode is the race's service venue code.
struct BetOutBets {
    PendingBetTable bets;
    QStringList skipped;
};
BetOutBets BetOutBetsOf(const BetOutForm& form, const QString& venueCode, int raceNo);

// The same bets as the lines the output writes.
QStringList BetOutLines(const BetOutForm& form, const QString& venueCode, double raceNo);

// Stores the four defaults (settings store and record), then appends the bets to the day's
// file through AppendPendingBets (created when missing; nothing is touched when no row
// qualifies). With allOrNothing a checked row that is skipped refuses the whole output. A
// default that could not be stored gives its message to notices; the bets are written all the same.
struct BetOutResult {
    int written = 0;
    QStringList skipped;
};
Result<BetOutResult> WriteBetOut(AppContext& ctx, const QString& day, const BetOutForm& form, const QString& venueCode,
                                 double raceNo, Notices& notices, bool allOrNothing = false);

// The message of an output that skipped rows: the count and every skipped row.
QString skippedRowsText(const QStringList& skipped);

}  // namespace zm
