#pragma once

// The records of PAT's betting logs ("LG-") and race results ("KS-") and of the day's condensed
// results (".SEI"), and what is read from one file of each: the day's bought bets of a log and
// the condensed record of a result.

#include "codes/amount.h"
#include "codes/field_table.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace zm {

// Betting log of PAT95 and PAT98 ("LG-??.JRA").
class Lg95Record : public FixedRecord<1004> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto year = digitsField("year", 0, 4);
    static constexpr auto month = digitsField("month", 4, 2);
    static constexpr auto day = digitsField("day", 6, 2);
    static constexpr auto header1 = textField("header1", 8, 2);
    static constexpr auto header2 = textField("header2", 10, 2);
    static constexpr auto header3 = textField("header3", 12, 4);
    static constexpr auto header4 = textField("header4", 16, 2);
    static constexpr auto header5 = textField("header5", 18, 4);
    static constexpr auto entries = textField("entries", 22, 19, 50);
    static constexpr auto trailer1 = textField("trailer1", 972, 18);
    static constexpr auto trailer2 = textField("trailer2", 990, 8);
    static constexpr auto trailer3 = textField("trailer3", 998, 6);
    // Entry, relative to its start.
    static constexpr auto entryText = textField("entryText", 0, 3);
    static constexpr auto betType = textField("betType", 3, 1);
    static constexpr auto venue = textField("venue", 4, 2);
    static constexpr auto raceNo = digitsField("raceNo", 6, 2);
    static constexpr auto saleKind = textField("saleKind", 8, 1);
    static constexpr auto first = textField("first", 9, 2);
    static constexpr auto second = textField("second", 11, 2);
    static constexpr auto stake = digitsField("stake", 13, 4);
    static constexpr auto state = digitsField("state", 17, 2);
    static constexpr int kEntryLength = 19;
};

// Betting log of PAT31 ("LG-?.JRA").
class Lg31Record : public FixedRecord<938> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto date = textField("date", 0, 8);
    static constexpr auto header1 = textField("header1", 8, 4);
    static constexpr auto header2 = textField("header2", 12, 4);
    static constexpr auto betCount = digitsField("betCount", 16, 2);
    static constexpr auto header3 = textField("header3", 18, 1);
    static constexpr auto entries = textField("entries", 19, 18, 50);
    static constexpr auto totalStake = digitsField("totalStake", 919, 5);
    static constexpr auto trailer1 = textField("trailer1", 924, 8);
    static constexpr auto trailer2 = textField("trailer2", 932, 6);
};

// What the two layouts of a race's result ("KS-") share: the race's head, the finishers' block
// at the same place, and where an entry holds its horse number.
struct KsRaceFields {
    static constexpr auto year = textField("year", 0, 4);
    static constexpr auto month = textField("month", 4, 2);
    static constexpr auto day = textField("day", 6, 2);
    static constexpr auto venueName = textField("venueName", 8, 4);
    static constexpr auto copied = textField("copied", 12, 4);
    static constexpr auto kai = textField("kai", 16, 2);
    static constexpr auto nichi = textField("nichi", 18, 2);
    static constexpr auto raceNo = digitsField("raceNo", 20, 2);
    static constexpr auto finishers = digitsField("finishers", 90, 40, 7);
    // Entries, relative to their start. The finisher's horse number spans bytes 2-3 of its
    // entry (the last two of its 3-byte field).
    static constexpr auto finisherNo = digitsField("finisherNo", 2, 2);
    static constexpr auto horseNo = textField("horseNo", 0, 2);
};

// One race's result in PAT98 ("KS-?????.JRA").
class Ks98Record : public FixedRecord<712>, public KsRaceFields {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto text1 = textField("text1", 22, 68);
    static constexpr auto text2 = textField("text2", 370, 5);
    static constexpr auto win = textField("win", 375, 10, 3);
    static constexpr auto place = textField("place", 405, 10, 5);
    static constexpr auto bracket = textField("bracket", 455, 12, 3);
    static constexpr auto quinella = textField("quinella", 491, 14, 3);
    static constexpr auto wide = textField("wide", 533, 14, 10);
    static constexpr auto text3 = textField("text3", 673, 1);
    static constexpr auto returned = digitsField("returned", 674, 2, 5);
    static constexpr auto returnedMarks = textField("returnedMarks", 684, 1, 5);
    static constexpr auto text4 = textField("text4", 689, 21);
    static constexpr auto lineEnd = textField("lineEnd", 710, 2);
    // Entries, relative to their start.
    static constexpr auto horsePayout = digitsField("horsePayout", 4, 6);
    static constexpr auto bracketPair = textField("bracketPair", 1, 3);
    static constexpr auto bracketPayout = digitsField("bracketPayout", 6, 6);
    static constexpr auto pairFirst = textField("pairFirst", 1, 2);
    static constexpr auto pairSecond = textField("pairSecond", 4, 2);
    static constexpr auto pairPayout = digitsField("pairPayout", 8, 6);
};

// One race's result in PAT95 (no wide block).
class Ks95Record : public FixedRecord<571>, public KsRaceFields {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto text1 = textField("text1", 22, 4);
    static constexpr auto text2 = textField("text2", 26, 4, 2);
    static constexpr auto text3 = textField("text3", 34, 28);
    static constexpr auto text4 = textField("text4", 62, 28);
    static constexpr auto text5 = textField("text5", 370, 4);
    static constexpr auto win = textField("win", 374, 10, 3);
    static constexpr auto place = textField("place", 404, 10, 5);
    static constexpr auto bracket = textField("bracket", 454, 12, 3);
    static constexpr auto quinella = textField("quinella", 490, 14, 3);
    static constexpr auto text6 = textField("text6", 532, 2);
    static constexpr auto returned = digitsField("returned", 534, 2, 5);
    static constexpr auto returnedMarks = textField("returnedMarks", 544, 1, 5);
    static constexpr auto text7 = textField("text7", 549, 22);
    // Entries, relative to their start.
    static constexpr auto horsePayout = digitsField("horsePayout", 2, 8);
    static constexpr auto bracketFirst = textField("bracketFirst", 1, 1);
    static constexpr auto bracketDash = textField("bracketDash", 2, 1);
    static constexpr auto bracketSecond = textField("bracketSecond", 3, 1);
    static constexpr auto bracketPayout = digitsField("bracketPayout", 4, 8);
    static constexpr auto pairFirst = textField("pairFirst", 1, 2);
    static constexpr auto pairSecond = textField("pairSecond", 4, 2);
    static constexpr auto pairPayout = digitsField("pairPayout", 6, 8);
};

// The condensed result of one race, as the day's ".SEI" file holds it.
class SeiRecord : public FixedRecord<186> {
public:
    SeiRecord() { setLineEnd(); }
    explicit SeiRecord(QByteArrayView bytes) : FixedRecord(bytes) {}
    static constexpr auto key = digitsField("key", 0, 6);
    static constexpr auto venueNo = textField("venueNo", 6, 2);
    static constexpr auto venueName = textField("venueName", 8, 4);
    static constexpr auto copied = textField("copied", 12, 4);
    static constexpr auto kai = textField("kai", 16, 1);
    static constexpr auto nichi = textField("nichi", 17, 1);
    static constexpr auto year = textField("year", 18, 4);
    static constexpr auto month = textField("month", 22, 2);
    static constexpr auto day = textField("day", 24, 2);
    static constexpr auto raceNo = digitsField("raceNo", 26, 2);
    static constexpr auto finishers = digitsField("finishers", 28, 2, 3);
    static constexpr auto winHorses = digitsField("winHorses", 34, 2, 2);
    static constexpr auto winPayouts = digitsField("winPayouts", 38, 5, 2);
    static constexpr auto placeHorses = digitsField("placeHorses", 48, 2, 5);
    static constexpr auto placePayouts = digitsField("placePayouts", 58, 5, 5);
    static constexpr auto bracketPairs = textField("bracketPairs", 83, 2, 2);
    static constexpr auto bracketPayouts = digitsField("bracketPayouts", 87, 6, 2);
    static constexpr auto quinellaPairs = textField("quinellaPairs", 99, 4, 2);
    static constexpr auto quinellaPayouts = digitsField("quinellaPayouts", 107, 6, 2);
    static constexpr auto widePairs = textField("widePairs", 119, 4, 5);
    static constexpr auto widePayouts = digitsField("widePayouts", 139, 6, 5);
    static constexpr auto returned = digitsField("returned", 169, 2, 5);
    static constexpr auto returnedMarks = textField("returnedMarks", 179, 1, 5);
    static constexpr auto lineEnd = constantField("lineEnd", 184, 2);
};

// When a folder holds no log file of the generation.
inline const QString kNoLogFiles95 =
    QStringLiteral("指定されたオッズディレクトリには、ＰＡＴのログファイル（LG-??.JRA）がありませんでした。");
inline const QString kNoLogFiles31 =
    QStringLiteral("指定されたオッズディレクトリには、ＰＡＴのログファイル（LG-?.JRA）がありませんでした。");

// Day stake.
struct DayStake {
    QString day;          // "yyyymmdd"
    int count = 0;        // bought bets
    int remaining = 0;    // 900 (PAT31: 300) less the count
    Amount stake;         // sum of stakes

    QString dayText() const;    // "2026/12/05"
    QString stakeText() const;  // "#,###,##0円"
};

// Adds the bought entries of one log file's bytes when the file is of stake.day.
void addLg95Stake(QByteArrayView file, DayStake& stake);
void addLg31Stake(QByteArrayView file, DayStake& stake);

// The records of a KS file's bytes condensed, or nothing when the file is not of day.
std::optional<SeiRecord> seiFromKs98(QByteArrayView ks, const QString& day);
std::optional<SeiRecord> seiFromKs95(QByteArrayView ks, const QString& day);

// Two digits, zero-padded ("3" -> "03").
QString twoDigits(double v);

}  // namespace zm
