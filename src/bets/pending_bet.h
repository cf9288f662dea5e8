#pragma once

// The day's pending-bet file "~B" + yyyymmdd + ".TXT" in the data folder: one bet per line, six
// comma-separated fields (venue, race, type word, combination, odds, amount), Shift-JIS, CR LF.
// Every reader splits a line the same way; every rewrite loads the bets normalized into a
// PendingBetTable and writes the whole file back through a temporary file.

#include "app/paths.h"
#include "codes/field_table.h"
#include "codes/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <vector>

namespace zm {

// Widths of the in-memory record, in characters. The amount is at least seven characters: an
// amount longer than that is kept whole.
struct PendingBetFields {
    static constexpr Field Venue = textField("Venue", 0, 2);
    static constexpr Field Race = textField("Race", 2, 3);
    static constexpr Field BetType = textField("BetType", 5, 6);
    static constexpr Field Combination = textField("Combination", 11, 5);
    static constexpr Field Odds = textField("Odds", 16, 6);
    static constexpr Field Amount = textField("Amount", 22, 7);
    static constexpr Field ScheduleMark = textField("ScheduleMark", 29, 1);
    static constexpr Field RaceTime = textField("RaceTime", 30, 5);
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

    friend bool operator==(const PendingBet&, const PendingBet&) = default;
};
using PendingBetTable = std::vector<PendingBet>;

// The sizes of the tables: a file with more bet lines is refused by the commands that hold one.
constexpr int kPendingBetTableSize = 2048;
constexpr int kSortTableSize = 1024;

// Messages.
inline const QString kNoPendingBets = QStringLiteral("保留ＢＥＴはありません！");
inline const QString kNoPurchaseFile = QStringLiteral("現在、購入ファイルは出力されていません(ﾟ〇ﾟ;)");
inline const QString kPendingBetsEmpty = QStringLiteral("保留ＢＥＴは存在しますが、記載事項がありません！");
inline const QString kPendingBetsOdd = QStringLiteral("保留ＢＥＴの内容が変です(O.O;)(o｡o;)。処理を中止します！");

// DataDir + "~B" + day + ".TXT" and its backup DataDir + "~B" + day + ".BAK".
QString PendingBetPath(const AppPaths& paths, const QString& day);
QString PendingBetBackupPath(const AppPaths& paths, const QString& day);

// Blanks (half-width only) removed at both ends.
QString trimBlanks(QStringView text);
// The numeric value of a field: leading half-width blanks skipped, then the numeric prefix.
double FieldValue(QStringView text);
// The text right-aligned in width characters (blanks in front, cut to its last width).
QString rightPart(QStringView text, int width);
// The text padded with blanks on the right to the field's width and cut to it (characters).
QString fitField(QStringView text, const Field& field);

// The six fields of a line: split at the first five commas, each trimmed; a missing field is
// empty. The sixth keeps any further commas.
using BetLine = std::array<QString, 6>;
BetLine ReadBetLine(QStringView line);

// The lines of a file's text (CR LF or LF), a last line without its end included.
QStringList splitLines(const QString& text);

// The pending-bet file as read: its bytes and its lines decoded.
struct BetFileText {
    bool exists = false;
    QByteArray bytes;
    QStringList lines;
    // Lines whose venue field is not blank.
    int betCount() const;
};
BetFileText ReadBetFile(const QString& path);

// How a type word is normalized: "拡..." always becomes "ワイド" unless keepKaku; a word that is
// exactly "ワ" becomes "ワイド" when waToWide (duplicate removal and merge).
struct NormalizeRules {
    bool keepKaku = false;
    bool waToWide = false;
};

// One bet line's fields normalized into the record widths.
PendingBet NormalizeBet(const BetLine& fields, NormalizeRules rules = {});

// Every bet line of the text, normalized (blank-venue lines skipped).
PendingBetTable NormalizeAll(const BetFileText& file, NormalizeRules rules = {});

// The refusal of a file with more bets than a table holds.
QString tooManyBetsMessage(int bets, int limit);

// The file's lines in the form every rewrite writes: the fields as held, the type word cut to
// six Shift-JIS bytes, joined by ",", CR LF.
QByteArray WriteAllBytes(const PendingBetTable& table);
// Replaces the file with the table's lines through a temporary file.
Status WriteAll(const QString& path, const PendingBetTable& table);

}  // namespace zm
