#pragma once

// The day's pending-bet file "~B" + yyyymmdd + ".TXT" in the data folder: one bet per line, six
// comma-separated fields (venue, race, type word, combination, odds, amount), Shift-JIS, CR LF.
// Every reader splits a line the same way; every rewrite loads the bets normalized into a
// PendingBetTable and writes the whole file back through a temporary file.

#include "app/paths.h"
#include "codes/amount.h"
#include "codes/field_table.h"
#include "codes/status.h"
#include "codes/text_fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

namespace zm {

// Widths of the in-memory record, in characters. The amount is at least seven characters: an
// amount longer than that is kept whole.
struct PendingBetFields {
    static constexpr auto Venue = textField("Venue", 0, 2);
    static constexpr auto Race = textField("Race", 2, 3);
    static constexpr auto BetType = textField("BetType", 5, 6);
    static constexpr auto Combination = textField("Combination", 11, 5);
    static constexpr auto Odds = textField("Odds", 16, 6);
    static constexpr auto Amount = textField("Amount", 22, 7);
    static constexpr auto ScheduleMark = textField("ScheduleMark", 29, 1);
    static constexpr auto RaceTime = textField("RaceTime", 30, 5);
    static constexpr int kLength = 35;
    static constexpr Field kFields[] = {Venue, Race, BetType, Combination, Odds, Amount, ScheduleMark, RaceTime};
};
static_assert(fieldTableCoversRecord(PendingBetFields::kFields, PendingBetFields::kLength));

struct PendingBet {
    QString Venue;
    QString Race;
    QString BetType;
    QString Combination;
    QString Odds;
    QString Amount;
    QString ScheduleMark;  // the bet's schedule group digit, only while a schedule is built
    QString RaceTime;      // "hh:mm", only while a schedule is built

    // The stake the amount field holds (blanks and a final "円" allowed); nothing when the field
    // is not a whole number of yen.
    std::optional<zm::Amount> stake() const;

    friend bool operator==(const PendingBet&, const PendingBet&) = default;
};
using PendingBetTable = std::vector<PendingBet>;

// The size of the table: a file with more bets is refused by every reader, and no writer adds
// bets past it. The sort holds as many bets as the others.
constexpr int kPendingBetTableSize = 2048;
constexpr int kSortTableSize = kPendingBetTableSize;

// Messages.
inline const QString kNoPendingBets = QStringLiteral("保留ＢＥＴはありません！");
inline const QString kNoPurchaseFile = QStringLiteral("現在、購入ファイルは出力されていません(ﾟ〇ﾟ;)");
inline const QString kPendingBetsEmpty = QStringLiteral("保留ＢＥＴは存在しますが、記載事項がありません！");
inline const QString kPendingBetsOdd = QStringLiteral("保留ＢＥＴの内容が変です(O.O;)(o｡o;)。処理を中止します！");

// DataDir + "~B" + day + ".TXT" and its backup DataDir + "~B" + day + ".BAK".
QString PendingBetPath(const AppPaths& paths, const QString& day);
QString PendingBetBackupPath(const AppPaths& paths, const QString& day);

// The numeric value of a field: leading half-width blanks skipped, then the numeric prefix.
double FieldValue(QStringView text);
// The text right-aligned in width characters (blanks in front, cut to its last width).
QString rightPart(QStringView text, int width);
// The text padded with blanks on the right to the field's width and cut to it (characters).
QString fitField(QStringView text, const Field& field);

// How a type word is normalized: "拡..." always becomes "ワイド" unless keepKaku; a word that is
// exactly "ワ" becomes "ワイド" when waToWide (duplicate removal and merge).
struct NormalizeRules {
    bool keepKaku = false;
    bool waToWide = false;
};

// The refusal of a file with more bets than a table holds.
QString tooManyBetsMessage(int bets, int limit);

// ---- The one reader and the writers of the pending-bet file ----

// The largest pending-bet file read: 2,048 bets of long lines with room for blank lines.
inline constexpr qint64 kMaxPendingBetFile = qint64(4) << 20;

// True for a venue name of the venue table that fits the two-character venue field.
bool isKnownVenueName(QStringView name);

// The amount field of a stake: its digits and "円", right-aligned in seven characters; an amount
// longer than that is kept whole.
QString amountFieldText(Amount stake);

// A bet in the record's widths from its parts. raceNo 1..12; combination as a writer forms it.
PendingBet MakePendingBet(const QString& venue, int raceNo, const QString& betType, const QString& combination,
                          Amount stake, const QString& odds = QString());

// One line read strictly: exactly six comma-separated fields (blanks around a field ignored), a
// known venue, race "1R".."12R", a known type word of at most six bytes, a combination of that
// type, odds blank, a number or a scratched mark, and a stake (see isValidStake). The bet comes
// back normalized; a failure says what is wrong with the line.
Result<PendingBet> ParsePendingBetLine(QStringView line, NormalizeRules rules = {});

// The file as read. Blank lines (nothing but half-width blanks) are skipped.
struct PendingBetFile {
    bool exists = false;  // false: no file at the path (not a failure)
    QByteArray bytes;     // the file as it is on disk
    QStringList lines;    // its lines decoded, blank ones included
    PendingBetTable bets;
    // True when the file is empty or its last byte ends a line.
    bool endsWithLineEnd() const;
};

// Reads the file through the capped regular-file read. CR LF, LF and CR each end a line. A file
// that is a FIFO, device or folder, is larger than kMaxPendingBetFile, is not Shift-JIS (UTF-8
// from another editor included), holds a line ParsePendingBetLine refuses, or holds more than
// kPendingBetTableSize bets is a failure naming the file and, for a line, its number and text.
Result<PendingBetFile> ReadPendingBets(const QString& path, NormalizeRules rules = {});
// The same on bytes already read; path only names the file in messages.
Result<PendingBetFile> ParsePendingBets(const QString& path, QByteArray bytes, NormalizeRules rules = {});

// How a line is laid out: Rewrite is the form of every rewrite and bulk writer (type word
// padded to six bytes, amount in seven characters); Output the form of the bet output of one
// race (type word as is, amount digits right-aligned in five characters and "円").
enum class BetLineForm { Rewrite, Output };
QString PendingBetLineText(const PendingBet& bet, BetLineForm form = BetLineForm::Rewrite);

// The bytes of the table as whole lines (Shift-JIS, CR LF). Refused, naming the bet, when a bet
// would not read back as the same bet, and when the table holds more than kPendingBetTableSize.
Result<QByteArray> PendingBetBytes(const PendingBetTable& table, BetLineForm form = BetLineForm::Rewrite);

// Replaces the file with the table (through PendingBetBytes and SafeSave).
Status WritePendingBets(const QString& path, const PendingBetTable& table);

// Adds the bets at the end of the file (created when missing): the existing file must read
// (ReadPendingBets) and existing + new bets must fit the table, else nothing is written. A file
// whose last line has no line end gets one first, so the old last bet stays whole.
Status AppendPendingBets(const QString& path, const PendingBetTable& bets, BetLineForm form = BetLineForm::Rewrite);

// The bet named in messages: "東京 11R 馬連 05-12".
QString pendingBetName(const PendingBet& bet);

}  // namespace zm
