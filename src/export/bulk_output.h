#pragma once

// The bulk bet output (frmBetIkkatuOut): a day's contest text (the DUEL text or the service
// contest text, read by contest_readers.h) turned into pending bets for every race at once, with
// one stake per bet type, an optional odds column from PAT's files and an optional odds window.
// The dialog's settings live in section "DavazOrev"; the five stakes in section "PAT".

#include "app/context.h"
#include "bets/pending_bet.h"
#include "codes/amount.h"
#include "export/contest_readers.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace zm {

inline const QString kBulkSection = QStringLiteral("DavazOrev");
inline const QString kBulkTitle = QStringLiteral("予想買い目を保留ＢＥＴファイルへ一括出力");
inline const QString kBulkFileMissing = QStringLiteral("指定されたファイルが見つかりません！　設定を確認してください。");
QString bulkNothingFoundMessage();
// "保留ＢＥＴファイルに、" + the count in full-width digits + "ベット出力しました。"
QString bulkCountMessage(int lines);
// The race entries passed over for a venue that is not a venue name, the first one's header.
QString bulkSkippedMessage(int entries, const QString& first);

// The largest contest text read.
inline constexpr qint64 kMaxContestFile = qint64(32) << 20;

// The options of "Syubetu" (取り込み項目の設定).
enum class BulkTypes { WinAndPairs = 0, PairsOnly = 1, WinOnly = 2, PlaceFromWin = 3 };

// The stake boxes in order: 単勝, 複勝, 枠連, 馬連, ワイド (keys BetTan … BetWide of "PAT").
inline const std::array<QString, 5> kBulkStakeKeys = {QStringLiteral("BetTan"), QStringLiteral("BetFuku"),
                                                     QStringLiteral("BetWaku"), QStringLiteral("BetUma"),
                                                     QStringLiteral("BetWide")};

// The dialog as the user sees it: texts as typed, choices as set.
struct BulkOutForm {
    QString Path;
    bool murFormat = false;  // "Sikibetu" = "MUR"
    QString SoftCode_MUR;
    QString SoftCode_DUEL;
    BulkTypes Syubetu = BulkTypes::WinAndPairs;
    bool OddsIN = false;
    bool OddsReng = false;
    QString TminOdds, TmaxOdds;  // win and place window
    QString RminOdds, RmaxOdds;  // bracket, quinella and wide window
    std::array<QString, 5> stakes;
    bool quinellaToWide = false;  // 馬連 → ワイド (not stored)
};

// Window defaults, and the ranges a typed bound is accepted from.
constexpr int kTwinDefaultMin = 1, kTwinDefaultMax = 999;
constexpr int kRwinDefaultMin = 1, kRwinDefaultMax = 9999;

// The dialog as it opens for the day: section "DavazOrev" with its load rules, the stakes of the
// settings record.
BulkOutForm OpenBulkOutForm(const SettingsStore& store, const AppSettings& settings, const QString& day);
// The dialog's close: the section "DavazOrev" and the five stakes (store and record).
Status SaveBulkOutForm(AppContext& ctx, const BulkOutForm& form);
// "2026年12月05日の予想を保留ＢＥＴファイルへ一括出力します。"
QString bulkHeading(const QString& day);

// The odds window a run uses: bounds as accepted from the typed texts.
struct OddsWindow {
    int winMin = kTwinDefaultMin, winMax = kTwinDefaultMax;
    int pairMin = kRwinDefaultMin, pairMax = kRwinDefaultMax;
};
OddsWindow oddsWindowOf(const BulkOutForm& form);

// A stake as the run takes it: whole hundreds, at least 100 (a run refuses one above the
// largest stake before it comes to this).
Amount bulkStakeOf(const QString& typed);

// The odds of one bet: the six-character odds text of PAT, six blanks when none is found, or
// the failure that stops the lookup.
using BulkOddsLookup = std::function<Result<QString>(const PendingBet& bet)>;
// The lookup of the pending-bet odds import: PAT's ZO/UO files of the generation "PAT"/"Ver"
// in "PAT"/"PatDir", each file read once.
BulkOddsLookup patOddsLookup(AppContext& ctx, const QString& day);

// The pending bets of the read selections, in the order read, before odds and window.
PendingBetTable bulkBets(const std::vector<ContestBet>& selections, const BulkOutForm& form);

// How a run that did not fail ended; what it has to say after it is its notice.
enum class BulkOutcome { Written, NothingFound, Cancelled };
struct BulkResult {
    BulkOutcome outcome = BulkOutcome::Cancelled;
    Notice notice;
    int written = 0;
    int skippedEntries = 0;  // race entries with a venue that is not a venue name
    QString firstSkippedEntry;
};

// 保留ベット出力: reads the file, builds the lines, asks overwrite / append / cancel when the
// day's pending-bet file exists, writes, and gives the count to show. lookup defaults to
// patOddsLookup.
Result<BulkResult> RunBulkOutput(AppContext& ctx, const QString& day, const BulkOutForm& form,
                         const BulkOddsLookup& lookup = {});

}  // namespace zm
