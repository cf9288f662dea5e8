#pragma once

// Readers of the two contest texts the day run writes: the DUEL text (duel_text.h) and the
// service contest text (mur_contest_text.h). Each turns a file's text into the bets it holds for
// one race day and one software code, so that the day's picks can be read back into pending
// bets. They are pure functions of the text: no file, no settings, no messages.
//
// Both keep only race entries of the given day whose software code matches (letter case
// ignored), races 1-12, horse numbers 1-18 (brackets 1-8), pairs of two different numbers, and at
// most six selections per bet type in one race entry. A text whose lines keep failing to begin
// a race entry is refused after kContestLineGuard such lines in a row. CR LF, LF and a lone CR
// all end a line. A venue is exactly a name of the venue table; an entry with any other venue
// text gives no bets and is counted in the skips, when given.

#include "codes/status.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <vector>

namespace zm {

enum class ContestFormat { Duel, Mur };

enum class ContestBetType { Win, Place, Bracket, Quinella, Wide };

struct ContestBet {
    QString venue;  // the course name as the text writes it ("中山")
    int race = 0;   // 1..12
    ContestBetType type = ContestBetType::Win;
    int first = 0;   // horse number (bracket number for Bracket)
    int second = 0;  // the pair's other number; 0 for Win and Place
    int stake = 0;   // yen as written; 0 when the text carries no stake (DUEL)

    friend bool operator==(const ContestBet&, const ContestBet&) = default;
};

// Race entries a reader passed over because their venue is not a name of the venue table.
struct ContestSkips {
    int venueLines = 0;
    QString firstVenueLine;
};

// Lines examined since the last race entry after which a reader gives up.
constexpr int kContestLineGuard = 20000;
// Selections of one bet type kept per race entry.
constexpr int kContestSelectionsPerType = 6;

// The message of a text that trips the line guard.
QString contestLineGuardMessage();

// The bet-type character a selection line of the service contest text begins with
// (単, 複, 枠, 馬, ワ), and the type of such a character.
QChar contestBetTypeChar(ContestBetType type);
bool contestBetTypeOf(QChar c, ContestBetType& type);

// The service contest text. A race entry is a header line of at least 31 characters whose
// character 8 is "Ｒ", characters 10-17 the day (yyyymmdd) and 20-23 the software code; its venue
// is characters 3-4 (blanks trimmed) when they are a venue name, else characters 1-2; the race number is
// characters 6-7. The lines after it that begin with a bet-type character are its selections:
// the first number (or pair "a-b") after the type word, and the number before "円" as the stake.
Result<std::vector<ContestBet>> readMurContestText(QStringView text, QStringView day, QStringView softCode,
                                                   ContestSkips* skips = nullptr);

// The DUEL text: a venue header "<venue> yyyy年  k回  n日目 mm月 dd日(w) [code] ..." begins a
// block of race lines "rrR  ww" followed by six six-character pick slots ("  a- b" a quinella
// pick, "    ab" a small-field pick of one-digit numbers). The header's date must be the day;
// separators inside a block are passed over, any other line ends it.
Result<std::vector<ContestBet>> readDuelContestText(QStringView text, QStringView day, QStringView softCode,
                                                    ContestSkips* skips = nullptr);

// A file's bytes (CP932) read in the given format.
Result<std::vector<ContestBet>> readContestFile(QByteArrayView bytes, ContestFormat format, QStringView day,
                                                QStringView softCode, ContestSkips* skips = nullptr);

}  // namespace zm
