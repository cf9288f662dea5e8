#pragma once

// The maintenance commands on the day's pending-bet file: sort, duplicate removal, duplicate
// merge, odds import from PAT's files, delete by odds range, totals, and the file to edit. Each
// reads the whole file, works on a fresh table and, when it changes the file, writes it whole
// through a temporary file. Messages and questions go through the context's prompter.

#include "app/context.h"
#include "bets/pending_bet.h"
#include "codes/status.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace zm {

// How a command that did not fail ended. A failure (missing or short file, a refusal, a write
// failure) comes as the Status of its Result.
enum class BetOutcome { Done, NothingToDo, Declined };
// The outcome and what the command has to say after it (often nothing).
struct BetDone {
    BetDone(BetOutcome outcome = BetOutcome::Done, Notice notice = {})  // NOLINT(google-explicit-constructor)
        : outcome(outcome), notice(std::move(notice)) {}

    BetOutcome outcome = BetOutcome::Done;
    Notice notice;
};

// The nine-digit sort key of a normalized bet: JRA venue, race, type digit, CombinationKey.
QString BetSortKeyOf(const PendingBet& bet);
// The four-digit key of a combination within its type.
QString CombinationKey(QStringView combination, QStringView betType);

// The exchange sort of the table by the numeric value of its keys (fewer than two bets stay).
void SortBets(PendingBetTable& table);

// Sorts the file after asking "ソート結果に基づき…" (OK rewrites).
Result<BetDone> SortPendingBets(AppContext& ctx, const QString& day);
// Removes later duplicates (same venue, race, type and combination) after asking.
Result<BetDone> RemoveDuplicateBets(AppContext& ctx, const QString& day);
// Merges later duplicates into the first, summing the amounts, after asking.
Result<BetDone> MergeDuplicateBets(AppContext& ctx, const QString& day);

// The duplicate rule on a table in memory: returns the kept records and the number of
// duplicates; with merge the amounts are summed into the first. A merged sum that no longer
// fits the amount field fails with a message naming the bet.
struct DuplicateResult {
    PendingBetTable kept;
    int duplicates = 0;
};
Result<DuplicateResult> FoldDuplicates(const PendingBetTable& table, bool merge);

// Why PAT's odds cannot be read with these settings ("Ver" unset or not 31, 95, 98 or FHDUEL,
// "PatDir" unset or not a folder); done when they can.
Status PatSettingsProblem(const AppSettings& settings);

// Fills the odds column from PAT's odds files (settings "PAT"/"Ver" and "PatDir") and rewrites
// the file without a question.
Result<BetDone> ImportBetOdds(AppContext& ctx, const QString& day);

// The odds-range dialog's values: five rows (単勝, 複勝, 枠連, 馬連, ワイド) of a delete box and
// two bounds as typed, and the treatment of bets without odds.
inline const std::array<QString, 5> kOddsRangeTypes = {QStringLiteral("単勝"), QStringLiteral("複勝"),
                                                      QStringLiteral("枠連"), QStringLiteral("馬連"),
                                                      QStringLiteral("ワイド")};
struct OddsRangeDialog {
    std::array<bool, 5> checked{};
    std::array<QString, 5> minText;
    std::array<QString, 5> maxText;
    bool noOddsAsOne = false;  // オッズを「１倍」として扱う; else 削除対象から除外
};
// The bounds stored and compared.
struct OddsRangeBounds {
    std::array<bool, 5> checked{};
    std::array<std::int16_t, 5> min{};
    std::array<std::int16_t, 5> max{};
};

// The dialog as it opens from section "保留BET".
OddsRangeDialog OpenOddsRangeDialog(const SettingsStore& store);
// The bounds 削除開始 stores: rounded half to even, the upper raised to lower + 1 when not above it.
OddsRangeBounds OddsRangeBoundsOf(const OddsRangeDialog& dialog);
// Writes the fifteen keys of section "保留BET" ("無オッズFLAG" is never written).
Status StoreOddsRangeSettings(SettingsStore& store, const OddsRangeBounds& bounds);
// 削除開始: checks the file, stores the settings, deletes the bets in range after the message,
// keeping the previous file as "~B" + day + ".BAK".
Result<BetDone> DeleteBetsByOddsRange(AppContext& ctx, const QString& day, const OddsRangeDialog& dialog);

// Counts and sums per type (単勝, 複勝, 枠連, 馬連, ワイド).
struct BetTotals {
    QString heading;  // "2031年 3月 9日 の保留ＢＥＴ内訳です…"
    std::array<std::int64_t, 5> counts{};
    std::array<Amount, 5> sums{};
    std::int64_t totalCount() const;
    Amount totalAmount() const;
};
// "#,##0" (rounded half away from zero).
QString thousands(double value);
QString totalsHeading(const QString& day);
// Reads the file; a failure when it is missing or cannot be read as pending bets.
Result<BetTotals> PendingBetTotals(const AppPaths& paths, const QString& day);

// The file for the desktop's editor, or the message when there is none.
Result<QString> PendingBetFileToEdit(const AppPaths& paths, const QString& day);

}  // namespace zm
