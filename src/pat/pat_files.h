#pragma once

// PAT's per-race files: their names, the record layouts of the three generations (PAT31, PAT95,
// PAT98) and the lookup of one odds value. Every layout is one typed field table; the records
// are read and written only through it.

#include "codes/field_table.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zm {

// Where the PAT settings are made: the command line and the desktop program's menu.
QString patSettingsHint();
// The message for a PAT folder that is not set or is not a folder.
QString patFolderMissingMessage(const QString& folder);

// The largest PAT file read (each holds one record of a few kilobytes).
inline constexpr qint64 kMaxPatFile = qint64(1) << 20;
// The first length bytes of a PAT file, read only when it is a regular file of at most
// kMaxPatFile bytes; empty otherwise.
QByteArray readPatFile(const QString& path, qint64 length);
// The race day a PAT95/PAT98 file's header names (yyyymmdd).
QString patFileDay(QByteArrayView file);

// File name prefixes.
inline const QString kQuinellaPrefix = QStringLiteral("UO-");  // quinella (and PAT98 wide)
inline const QString kWinPlacePrefix = QStringLiteral("ZO-");  // win, place, bracket quinella
inline const QString kWeightPrefix = QStringLiteral("UT-");    // body weights

// The JRA venue number of a service venue code as one character ("03" 小倉 -> "A"); empty
// text for a code outside the ten courses.
QString PatVenueLetter(QStringView venueCode);
// 10 -> "A", 11 -> "B", 12 -> "C", else the last character of the number's text.
QString PatRaceLetter(QStringView raceNo);
// Venue letter, "1", race letter.
QString PatFileCode31(QStringView venueCode, QStringView raceNo);
// Venue letter, last character of the day number, race letter.
QString PatFileCode(QStringView venueCode, QStringView raceNo, QStringView dayNo);

// The odds file of a PAT31 race for the odds display: the name with middle character "1", or
// when that file is missing the one with "2"; empty text when neither exists. prefix is "UO-"
// or "ZO-"; folder ends in "/".
QString FindPat31File(const QString& folder, const QString& prefix, QStringView venueCode, QStringView raceNo);

// Header of the PAT95 and PAT98 files (bytes 0-139).
struct Pat95Header {
    static constexpr auto date = textField("date", 0, 8);
    static constexpr auto dateAndZeros = textField("dateAndZeros", 8, 20);
    static constexpr auto venueName = textField("venueName", 28, 4);
    static constexpr auto year = textField("year", 32, 4);
    static constexpr auto kai = textField("kai", 36, 2);
    static constexpr auto nichi = textField("nichi", 38, 2);
    static constexpr auto raceNo = textField("raceNo", 40, 2);
    static constexpr auto mark = textField("mark", 42, 2);
    static constexpr auto thousand = textField("thousand", 44, 4);
    static constexpr auto blank1 = textField("blank1", 48, 28);
    static constexpr auto blank2 = textField("blank2", 76, 64);
    static constexpr int kLength = 140;
};

// Header of the PAT31 files (bytes 0-149).
struct Pat31Header {
    static constexpr auto date = textField("date", 0, 8);
    static constexpr auto blank1 = textField("blank1", 8, 8);
    static constexpr auto blank2 = textField("blank2", 16, 2);
    static constexpr auto blank3 = textField("blank3", 18, 8);
    static constexpr auto blank4 = textField("blank4", 26, 2);
    static constexpr auto venueName = textField("venueName", 28, 4);
    static constexpr auto year = textField("year", 32, 4);
    static constexpr auto kai = textField("kai", 36, 2);
    static constexpr auto nichi = textField("nichi", 38, 2);
    static constexpr auto raceNo = textField("raceNo", 40, 2);
    static constexpr auto zero = textField("zero", 42, 1);
    static constexpr auto kind = textField("kind", 43, 1);
    static constexpr auto thousand = textField("thousand", 44, 4);
    static constexpr auto blank5 = textField("blank5", 48, 28);
    static constexpr auto blank6 = textField("blank6", 76, 28);
    static constexpr auto blank7 = textField("blank7", 104, 44);
    static constexpr auto runners = digitsField("runners", 148, 2);
    static constexpr int kLength = 150;
};

// Win, place and bracket odds of PAT95 and PAT98.
class Zo95Record : public FixedRecord<828> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto runners = digitsField("runners", 140, 2);
    static constexpr auto zero = textField("zero", 142, 1);
    static constexpr auto horses = textField("horses", 143, 18, 18);
    static constexpr auto blank = textField("blank", 467, 1);
    static constexpr auto brackets = textField("brackets", 468, 10, 36);
    // Horse entry, relative to its start.
    static constexpr auto horseNo = digitsField("horseNo", 0, 2);
    static constexpr auto winOdds = textField("winOdds", 2, 5);
    static constexpr auto placeLow = textField("placeLow", 7, 5);
    static constexpr auto placeHigh = textField("placeHigh", 12, 5);
    static constexpr auto horseEnd = textField("horseEnd", 17, 1);
    // Bracket entry, relative to its start.
    static constexpr auto bracket1 = textField("bracket1", 0, 1);
    static constexpr auto dash = textField("dash", 1, 1);
    static constexpr auto bracket2 = textField("bracket2", 2, 1);
    static constexpr auto bracketOdds = textField("bracketOdds", 3, 5);
    static constexpr auto bracketEnd = textField("bracketEnd", 8, 2);
};

// Win, place and bracket odds of PAT31.
class Zo31Record : public FixedRecord<908> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto horses = textField("horses", 150, 18, 18);
    static constexpr auto blank = textField("blank", 474, 73);
    static constexpr auto brackets = textField("brackets", 547, 10, 36);
    static constexpr auto tail = textField("tail", 907, 1);
    static constexpr auto horseStart = textField("horseStart", 0, 1);
    static constexpr auto horseNo = digitsField("horseNo", 1, 2);
    static constexpr auto winOdds = textField("winOdds", 3, 5);
    static constexpr auto placeLow = textField("placeLow", 8, 5);
    static constexpr auto placeHigh = textField("placeHigh", 13, 5);
    static constexpr auto bracketStart = textField("bracketStart", 0, 1);
    static constexpr auto bracket1 = textField("bracket1", 1, 1);
    static constexpr auto dash = textField("dash", 2, 1);
    static constexpr auto bracket2 = textField("bracket2", 3, 1);
    static constexpr auto bracketOdds = textField("bracketOdds", 4, 5);
    static constexpr auto bracketEnd = textField("bracketEnd", 9, 1);
};

// Quinella and wide odds of PAT98.
class Uo98Record : public FixedRecord<3971> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto runners = digitsField("runners", 140, 2);
    static constexpr auto eleven = textField("eleven", 142, 2);
    static constexpr auto pairs = textField("pairs", 144, 25, 153);
    static constexpr auto lineEnd = constantField("lineEnd", 3969, 2);
    static constexpr auto pairStart = textField("pairStart", 0, 2);
    static constexpr auto horse1 = digitsField("horse1", 2, 2);
    static constexpr auto dash = textField("dash", 4, 1);
    static constexpr auto horse2 = digitsField("horse2", 5, 2);
    static constexpr auto quinellaOdds = textField("quinellaOdds", 7, 6);
    static constexpr auto wideLow = textField("wideLow", 13, 6);
    static constexpr auto wideHigh = textField("wideHigh", 19, 6);
    static constexpr int kPairLength = 25;
};

// Quinella odds of PAT95.
class Uo95Record : public FixedRecord<1980> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto blank = textField("blank", 140, 1);
    static constexpr auto runners = digitsField("runners", 141, 2);
    static constexpr auto pairs = textField("pairs", 143, 12, 153);
    static constexpr auto tail = textField("tail", 1979, 1);
    static constexpr auto horse1 = digitsField("horse1", 0, 2);
    static constexpr auto dash = textField("dash", 2, 1);
    static constexpr auto horse2 = digitsField("horse2", 3, 2);
    static constexpr auto quinellaOdds = textField("quinellaOdds", 5, 6);
    static constexpr auto pairEnd = textField("pairEnd", 11, 1);
    static constexpr int kPairLength = 12;
};

// Quinella odds of PAT31.
class Uo31Record : public FixedRecord<1988> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto pairs = textField("pairs", 150, 12, 153);
    static constexpr auto tail = textField("tail", 1986, 2);
    static constexpr auto pairStart = textField("pairStart", 0, 1);
    static constexpr auto horse1 = digitsField("horse1", 1, 2);
    static constexpr auto dash = textField("dash", 3, 1);
    static constexpr auto horse2 = digitsField("horse2", 4, 2);
    static constexpr auto quinellaOdds = textField("quinellaOdds", 6, 6);
    static constexpr int kPairLength = 12;
};

// Body weights of PAT95/PAT98 (270 bytes) and PAT31 (310 bytes).
struct UtWeightEntry {
    static constexpr auto horseNo = digitsField("horseNo", 0, 2);
    static constexpr auto status = textField("status", 2, 1);
    static constexpr auto weight = digitsField("weight", 3, 3);
    static constexpr auto change = digitsField("change", 6, 2);
    static constexpr auto sign = textField("sign", 8, 1);
    static constexpr auto spare = textField("spare", 9, 1);
    static constexpr int kLength = 10;
};
class Ut95Record : public FixedRecord<270> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto header = textField("header", 0, 88);
    static constexpr auto horses = textField("horses", 88, 10, 18);
    static constexpr auto lineEnd = constantField("lineEnd", 268, 2);
};
class Ut31Record : public FixedRecord<310> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto header = textField("header", 0, 88);
    static constexpr auto horses = textField("horses", 88, 10, 18);
    static constexpr auto header2 = textField("header2", 268, 40);
    static constexpr auto lineEnd = constantField("lineEnd", 308, 2);
};

// The 1-based entry (1-36) of the bracket pair a-b (a <= b) in the bracket tables, 0 when the
// pair is not one.
int BracketEntryOf(int first, int second);
// The 1-based entry (1-153) of the pair a-b (a < b) of an n-runner race, 0 when not a pair.
int PairEntryOf(int first, int second, int runners);

// One odds value, right-aligned in six characters, or six blanks when nothing is found. kind is
// the one-character bet type ("単", "複", "枠", "馬", "ワ"); combination the horse number, the
// bracket pair "a-b", or the pair as four digits (first two and last two characters). The
// *FromBytes forms read a record already in memory (the file's bytes, any length).
QString PatOdds98FromBytes(QByteArrayView file, QStringView kind, QStringView combination);
QString PatOdds95FromBytes(QByteArrayView file, QStringView kind, QStringView combination);
QString PatOdds31FromBytes(QByteArrayView file, QStringView kind, QStringView combination);
// The same from the file named (the UO file for "馬" and "ワ", the ZO file otherwise); a
// missing or unreadable file gives six blanks.
QString ReadPatOdds98(const QString& file, QStringView kind, QStringView combination);
QString ReadPatOdds95(const QString& file, QStringView kind, QStringView combination);
QString ReadPatOdds31(const QString& file, QStringView kind, QStringView combination);

// Whether a kind reads the UO file (quinella and wide) rather than the ZO file.
bool readsQuinellaFile(QStringView kind);

}  // namespace zm
