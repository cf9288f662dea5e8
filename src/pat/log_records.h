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
    static constexpr Field year = digitsField("year", 0, 4);
    static constexpr Field month = digitsField("month", 4, 2);
    static constexpr Field day = digitsField("day", 6, 2);
    static constexpr Field header1 = textField("header1", 8, 2);
    static constexpr Field header2 = textField("header2", 10, 2);
    static constexpr Field header3 = textField("header3", 12, 4);
    static constexpr Field header4 = textField("header4", 16, 2);
    static constexpr Field header5 = textField("header5", 18, 4);
    static constexpr Field entries = textField("entries", 22, 19, 50);
    static constexpr Field trailer1 = textField("trailer1", 972, 18);
    static constexpr Field trailer2 = textField("trailer2", 990, 8);
    static constexpr Field trailer3 = textField("trailer3", 998, 6);
    // Entry, relative to its start.
    static constexpr Field entryText = textField("entryText", 0, 3);
    static constexpr Field betType = textField("betType", 3, 1);
    static constexpr Field venue = textField("venue", 4, 2);
    static constexpr Field raceNo = textField("raceNo", 6, 2);
    static constexpr Field saleKind = textField("saleKind", 8, 1);
    static constexpr Field first = textField("first", 9, 2);
    static constexpr Field second = textField("second", 11, 2);
    static constexpr Field stake = digitsField("stake", 13, 4);
    static constexpr Field state = digitsField("state", 17, 2);
    static constexpr int kEntryLength = 19;
};

// Betting log of PAT31 ("LG-?.JRA").
class Lg31Record : public FixedRecord<938> {
public:
    using FixedRecord::FixedRecord;
    static constexpr Field date = textField("date", 0, 8);
    static constexpr Field header1 = textField("header1", 8, 4);
    static constexpr Field header2 = textField("header2", 12, 4);
    static constexpr Field betCount = digitsField("betCount", 16, 2);
    static constexpr Field header3 = textField("header3", 18, 1);
    static constexpr Field entries = textField("entries", 19, 18, 50);
    static constexpr Field totalStake = digitsField("totalStake", 919, 5);
    static constexpr Field trailer1 = textField("trailer1", 924, 8);
    static constexpr Field trailer2 = textField("trailer2", 932, 6);
};

// One race's result in PAT98 ("KS-?????.JRA").
class Ks98Record : public FixedRecord<712> {
public:
    using FixedRecord::FixedRecord;
    static constexpr Field year = textField("year", 0, 4);
    static constexpr Field month = textField("month", 4, 2);
    static constexpr Field day = textField("day", 6, 2);
    static constexpr Field venueName = textField("venueName", 8, 4);
    static constexpr Field copied = textField("copied", 12, 4);
    static constexpr Field kai = textField("kai", 16, 2);
    static constexpr Field nichi = textField("nichi", 18, 2);
    static constexpr Field raceNo = textField("raceNo", 20, 2);
    static constexpr Field text1 = textField("text1", 22, 68);
    static constexpr Field finishers = textField("finishers", 90, 40, 7);
    static constexpr Field text2 = textField("text2", 370, 5);
    static constexpr Field win = textField("win", 375, 10, 3);
    static constexpr Field place = textField("place", 405, 10, 5);
    static constexpr Field bracket = textField("bracket", 455, 12, 3);
    static constexpr Field quinella = textField("quinella", 491, 14, 3);
    static constexpr Field wide = textField("wide", 533, 14, 10);
    static constexpr Field text3 = textField("text3", 673, 1);
    static constexpr Field returned = textField("returned", 674, 2, 5);
    static constexpr Field returnedMarks = textField("returnedMarks", 684, 1, 5);
    static constexpr Field text4 = textField("text4", 689, 21);
    static constexpr Field lineEnd = textField("lineEnd", 710, 2);
    // Entries, relative to their start.
    static constexpr Field finisherNo = textField("finisherNo", 2, 2);
    static constexpr Field horseNo = textField("horseNo", 0, 2);
    static constexpr Field horsePayout = textField("horsePayout", 4, 6);
    static constexpr Field bracketPair = textField("bracketPair", 1, 3);
    static constexpr Field bracketPayout = textField("bracketPayout", 6, 6);
    static constexpr Field pairFirst = textField("pairFirst", 1, 2);
    static constexpr Field pairSecond = textField("pairSecond", 4, 2);
    static constexpr Field pairPayout = textField("pairPayout", 8, 6);
};

// One race's result in PAT95 (no wide block).
class Ks95Record : public FixedRecord<571> {
public:
    using FixedRecord::FixedRecord;
    static constexpr Field year = textField("year", 0, 4);
    static constexpr Field month = textField("month", 4, 2);
    static constexpr Field day = textField("day", 6, 2);
    static constexpr Field venueName = textField("venueName", 8, 4);
    static constexpr Field copied = textField("copied", 12, 4);
    static constexpr Field kai = textField("kai", 16, 2);
    static constexpr Field nichi = textField("nichi", 18, 2);
    static constexpr Field raceNo = textField("raceNo", 20, 2);
    static constexpr Field text1 = textField("text1", 22, 4);
    static constexpr Field text2 = textField("text2", 26, 4, 2);
    static constexpr Field text3 = textField("text3", 34, 28);
    static constexpr Field text4 = textField("text4", 62, 28);
    static constexpr Field finishers = textField("finishers", 90, 40, 7);
    static constexpr Field text5 = textField("text5", 370, 4);
    static constexpr Field win = textField("win", 374, 10, 3);
    static constexpr Field place = textField("place", 404, 10, 5);
    static constexpr Field bracket = textField("bracket", 454, 12, 3);
    static constexpr Field quinella = textField("quinella", 490, 14, 3);
    static constexpr Field text6 = textField("text6", 532, 2);
    static constexpr Field returned = textField("returned", 534, 2, 5);
    static constexpr Field returnedMarks = textField("returnedMarks", 544, 1, 5);
    static constexpr Field text7 = textField("text7", 549, 22);
    // Entries, relative to their start. The finisher's horse number spans bytes 2-3 of its
    // entry (the last two of its 3-byte field).
    static constexpr Field finisherNo = textField("finisherNo", 2, 2);
    static constexpr Field horseNo = textField("horseNo", 0, 2);
    static constexpr Field horsePayout = textField("horsePayout", 2, 8);
    static constexpr Field bracketFirst = textField("bracketFirst", 1, 1);
    static constexpr Field bracketDash = textField("bracketDash", 2, 1);
    static constexpr Field bracketSecond = textField("bracketSecond", 3, 1);
    static constexpr Field bracketPayout = textField("bracketPayout", 4, 8);
    static constexpr Field pairFirst = textField("pairFirst", 1, 2);
    static constexpr Field pairSecond = textField("pairSecond", 4, 2);
    static constexpr Field pairPayout = textField("pairPayout", 6, 8);
};

// The condensed result of one race, as the day's ".SEI" file holds it.
class SeiRecord : public FixedRecord<186> {
public:
    SeiRecord() { setLineEnd(); }
    explicit SeiRecord(QByteArrayView bytes) : FixedRecord(bytes) {}
    static constexpr Field key = digitsField("key", 0, 6);
    static constexpr Field venueNo = textField("venueNo", 6, 2);
    static constexpr Field venueName = textField("venueName", 8, 4);
    static constexpr Field copied = textField("copied", 12, 4);
    static constexpr Field kai = textField("kai", 16, 1);
    static constexpr Field nichi = textField("nichi", 17, 1);
    static constexpr Field year = textField("year", 18, 4);
    static constexpr Field month = textField("month", 22, 2);
    static constexpr Field day = textField("day", 24, 2);
    static constexpr Field raceNo = textField("raceNo", 26, 2);
    static constexpr Field finishers = textField("finishers", 28, 2, 3);
    static constexpr Field winHorses = textField("winHorses", 34, 2, 2);
    static constexpr Field winPayouts = textField("winPayouts", 38, 5, 2);
    static constexpr Field placeHorses = textField("placeHorses", 48, 2, 5);
    static constexpr Field placePayouts = textField("placePayouts", 58, 5, 5);
    static constexpr Field bracketPairs = textField("bracketPairs", 83, 2, 2);
    static constexpr Field bracketPayouts = textField("bracketPayouts", 87, 6, 2);
    static constexpr Field quinellaPairs = textField("quinellaPairs", 99, 4, 2);
    static constexpr Field quinellaPayouts = textField("quinellaPayouts", 107, 6, 2);
    static constexpr Field widePairs = textField("widePairs", 119, 4, 5);
    static constexpr Field widePayouts = textField("widePayouts", 139, 6, 5);
    static constexpr Field returned = textField("returned", 169, 2, 5);
    static constexpr Field returnedMarks = textField("returnedMarks", 179, 1, 5);
    static constexpr Field lineEnd = constantField("lineEnd", 184, 2);
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
