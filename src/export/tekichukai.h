#pragma once

// The 的中会 contest post in both directions. Out: the day's pending bets as post lines
// ("#,yyyymmdd,venue,race,type,combination,stake"), framed by a title, a summary and a version
// line. In: a pasted post read back, line by line, into pending bets of the day.

#include "app/context.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "codes/amount.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zm {

// ---------------------------------------------------------------------------------------------
// Output.

constexpr int kTekichukaiMaxBets = 300;
inline const QString kTekichukaiTooMany =
    QStringLiteral("BET数が300を超えています。Ronetの300行制限に抵触しますのでBET数を減らしてください");

// One bet of the pending-bet file as a post line (read with the type word "拡…" kept, whose
// first character is the post's type). The stake is right-aligned in six; a larger one is
// written whole, never cut.
QString TekichukaiBetLine(const PendingBet& bet, const QString& day);

// The stake of a pending bet's amount field ("1200円", blanks around): nothing when it is not
// an amount.
std::optional<Amount> pendingBetStake(QStringView amountField);

// The day's bets as the dialog lists them.
struct TekichukaiList {
    bool fileExists = false;
    int bets = 0;          // bet lines of the file (blank venues skipped)
    bool tooMany = false;  // more than 300: nothing is listed
    QString refused;       // the file cannot be posted (a bet without a readable stake): why
    QStringList lines;     // the post lines, empty when tooMany or refused
    // The text area's text: every line ended by CR LF.
    QString text() const;
};
TekichukaiList ListTekichukaiBets(const QString& pendingBetPath, const QString& day);

// The recount of the text area: lines with at least seven comma-separated fields, and the sum
// of their seventh fields.
struct TekichukaiTotals {
    int count = 0;
    Amount stake;
};
TekichukaiTotals RecountTekichukai(const QString& text);

// "#,###": no digits at all for 0.
QString thousandsOrEmpty(Amount value);

// The title and version lines, exactly 42 Shift-JIS bytes each.
QString TekichukaiTitle(const QString& day);
QString TekichukaiVersionLine(const QString& version);
// The text cut to `bytes` Shift-JIS bytes, a two-byte character that would be halved replaced
// by "-", and filled with "-" when shorter.
QString cutToBytesWithDashes(const QString& text, int bytes);

// Every line of at least 21 characters that holds ",馬," has its first ",馬," made ",ワ,".
QString QuinellaToWide(const QString& text);

// The whole post (CR LF line ends) from the text area's text.
QString TekichukaiPost(const QString& day, const QString& areaText, bool quinellaToWide, const QString& version);

// OutPutDir + "的中会" + day + ".TXT".
QString TekichukaiFilePath(const QString& outPutDir, const QString& day);

inline const QString kTekichukaiOutTitle = QStringLiteral("「的中会投票」形式で出力");
inline const QString kTekichukaiClipboardDone = QStringLiteral("「クリップボードにコピーしました！");
QString tekichukaiFileDoneMessage(const QString& path);

// ---------------------------------------------------------------------------------------------
// Import.

inline const QString kTekichukaiNothing = QStringLiteral("何も見あたりませんが…");
inline const QString kTekichukaiNoValid = QStringLiteral("正規の投票はありませんでした！");
inline const QString kTekichukaiNoDay =
    QStringLiteral("開催日が特定できませんので、出馬表表示画面から実行してください！");
inline const QString kTekichukaiConfirmTitle = QStringLiteral("保留ＢＥＴへの出力確認");
inline const QString kTekichukaiOverwriteTitle = QStringLiteral("的中会予想を保留ＢＥＴファイルへ一括出力");

// The field parsers of one post line: the value written to the pending-bet file, or nothing
// when the field is not valid.
std::optional<QString> ParseVenue(QStringView field);
std::optional<QString> ParseRace(QStringView field);
std::optional<QString> ParseBetType(QStringView field);  // the six-byte type word
std::optional<QString> ParseCombination(QStringView field, QStringView typeWord);
// A stake: whole hundreds from 100 to 99,999,900, half- or full-width digits, blanks around.
std::optional<Amount> ParseStake(QStringView field);

// The fixed amounts of 金額の変更, in the order 単勝, 複勝, 枠連, 馬連, ワイド.
struct TekichukaiFixedAmounts {
    std::array<bool, 5> on{};
    std::array<QString, 5> amount;
};
// A typed fixed amount: cut to whole hundreds, 100 the lowest (an empty box too); nothing when
// the text is not an amount or is above the largest stake.
std::optional<Amount> FixedAmountValue(QStringView text);
// Which of the five a type word is, -1 for none.
int fixedAmountIndex(QStringView typeWord);

// The lines of the post that are bets of the day: blanks trimmed, first field "#" and second
// the day (full-width commas read as commas). Lines of other days are not the import's business.
// The lines are views into text, which must outlive them.
QList<QStringView> TekichukaiFirstPass(const QString& text, const QString& day);

// The second pass: the pending-bet lines of the valid lines, with their stake total, and the
// lines passed over (a field that is not valid) with the first of them and why.
struct TekichukaiImport {
    // The pending-bet lines, at most one more than a pending-bet file holds: a post with more is
    // refused as a whole, so the rest are only counted.
    QStringList lines;
    int bets = 0;  // every valid line
    Amount total;
    int skipped = 0;
    QString firstSkipped;  // the line as posted
    QString firstReason;
};
TekichukaiImport TekichukaiSecondPass(const QList<QStringView>& kept, const TekichukaiFixedAmounts& fixed);

// The question before writing: "3BET  1500円  の買い目が…".
QString tekichukaiConfirmText(int count, Amount total);

// The closing message: how many bets were taken and how many lines were passed over.
QString tekichukaiDoneMessage(const TekichukaiImport& bets);
// The part naming the lines passed over (empty when none).
QString tekichukaiSkippedText(const TekichukaiImport& bets);

// 保留BETに出力: both passes, the two questions, then the pending-bet file replaced or appended.
Result<BetDone> ImportTekichukai(AppContext& ctx, const QString& day, const QString& text,
                            const TekichukaiFixedAmounts& fixed);

// A post file's bytes as text: UTF-8 when the bytes are valid UTF-8 holding a multi-byte
// character, else Shift-JIS.
QString decodePostFile(const QByteArray& bytes);

// The largest post file read.
inline constexpr qint64 kMaxPostFile = qint64(8) << 20;

}  // namespace zm
