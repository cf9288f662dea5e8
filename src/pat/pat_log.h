#pragma once

// PAT's betting logs ("LG-") and race results ("KS-") read back: the day's stake, the results
// condensed into the day's ".SEI" file, the hit judgement of each bet and the vote log with its
// profit and loss, and the log's text export. Results come back as values; every message goes
// through the prompter.

#include "app/context.h"
#include "codes/amount.h"
#include "codes/field_table.h"
#include "codes/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zm::pat {

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

// The messages of the PAT menu.
QString patNotSetMessage();  // M1
inline const QString kNoLogFiles95 =
    QStringLiteral("指定されたオッズディレクトリには、ＰＡＴのログファイル（LG-??.JRA）がありませんでした。");
inline const QString kNoLogFiles31 =
    QStringLiteral("指定されたオッズディレクトリには、ＰＡＴのログファイル（LG-?.JRA）がありませんでした。");
inline const QString kNoResultFiles = QStringLiteral("ＰＡＴの競争成績ファイルが見つかりませんでした！");
inline const QString kResults31Refused =
    QStringLiteral("申し訳ありません(__)。「PAT95」及び「PAT98」のみ対応しています。");
inline const QString kVoteLog31Refused = QStringLiteral("申し訳ありません(__)。「ＰＡＴ９５」しか対応していません。");

// The PAT files of folder matching a pattern ("LG-??.JRA"), ignoring case, in name order
// ignoring case.
QStringList patFiles(const QString& folder, const QString& pattern);

// The reference day of the log views: the current race day when one is set, else today.
QString referenceDay(const QString& currentRaceDate);

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
// From the log files of folder; the failure when there is none.
Result<DayStake> ShowDayStake95(const AppContext& ctx, const QString& day);
Result<DayStake> ShowDayStake31(const AppContext& ctx, const QString& day);
// The menu item: chooses by PAT/Ver; M1 for any other value.
Result<DayStake> ShowDayStake(const AppContext& ctx, const QString& day);

// The records of a KS file's bytes condensed, or nothing when the file is not of day.
std::optional<SeiRecord> seiFromKs98(QByteArrayView ks, const QString& day);
std::optional<SeiRecord> seiFromKs95(QByteArrayView ks, const QString& day);
// Sorts by key (the exchange sort the file has always been written with) and keeps 50.
void sortSeiRecords(std::vector<SeiRecord>& records);

// The largest ".SEI" file read (50 records of 186 bytes fit many times over).
inline constexpr qint64 kMaxSeiFile = qint64(64) << 10;

// The refusal to replace a day's ".SEI" file of held records by found ones (fewer, or none).
QString resultsKeptMessage(const QString& day, int found, const QString& path, int held);

// "Data/" + day + ".SEI".
QString seiPath(const QString& dataDir, const QString& day);

// Reads the KS files of the PAT folder, writes the day's ".SEI" file and returns its records;
// a failure when there is no KS file, when they hold no race of the day or fewer races than the
// ".SEI" file already holds (the file is then left as it is), or when the file cannot be read or
// written.
Result<std::vector<SeiRecord>> BuildResults98(const AppContext& ctx, const QString& day);
Result<std::vector<SeiRecord>> BuildResults95(const AppContext& ctx, const QString& day);
// The menu item: PAT/PatOpt and PAT/Ver decide (M1, the PAT31 refusal, or one of the above).
Result<std::vector<SeiRecord>> BuildResults(const AppContext& ctx, const QString& day);

// Brings the day's ".SEI" file up to date without a word when PAT is used (PAT98 or PAT95) and
// its folder holds result files newer than the file (or the file is missing): the day's races
// are condensed and written, unless they are none or fewer than the file holds, which leaves
// the file as it is, as does anything but a regular file at its name. Only a failed write fails.
enum class ResultsRefresh { UpToDate, Written, NothingNew };
Result<ResultsRefresh> RefreshResults(const AppContext& ctx, const QString& day);

// The results list: its column titles and one row per record (venue, race, then the columns).
QStringList resultsColumns();
QStringList resultsRow(const SeiRecord& record);

// The records of a ".SEI" file's bytes.
std::vector<SeiRecord> seiRecords(QByteArrayView file);

enum class Judgement { Unjudged = 0, Hit = 1, Miss = 2, Refund = 3 };
struct JudgeResult {
    Judgement judgement = Judgement::Unjudged;
    double payout = 0;  // yen per 100 yen on a hit
};
// The judgement of one bet against the day's results: day of month, JRA venue number and race
// (two characters each), bet type code "1"-"5", and the log's first and second fields.
JudgeResult JudgeBet(const std::vector<SeiRecord>& sei, const QString& dayOfMonth, const QString& venueNo,
                     const QString& raceNo, const QString& typeCode, const QString& first, const QString& second);
QString judgementText(Judgement j);  // "未判定", "的中！", "ハズレ", "返還"

struct VoteRow {
    int number = 0;
    QString numberText;  // "001"
    QString venue;       // venue name of the JRA number
    QString race;        // the log's two characters
    QString type;        // "単勝" … "WIDE", "？？"
    QString combination;  // " 3" or " 3- 5"
    QString odds;         // trimmed odds text
    Amount stake;
    QString stakeText;  // "#,###,###"
    Judgement judgement = Judgement::Unjudged;
    QString judgementText;
    Amount payout;       // per 100 yen, on a hit
    QString payoutText;
    Amount returned;     // the payout times the stake's hundreds on a hit, the stake on a refund
    QString returnText;  // "#,###,##0"
    QString remark;      // "前売り" or empty
};

struct VoteLog {
    QString day;
    std::vector<VoteRow> rows;
    Amount investment;
    Amount returns;
    QString investmentText() const;  // "#,###,##0円"
    QString returnsText() const;
    QString balanceText() const;
    QString rateText() const;  // "85.4%"
};

// The vote log of the day from the LG files and the ".SEI" file as it stands (every row
// unjudged without one); the failure when there is no LG file. The desktop program's vote log
// brings the ".SEI" file up to date first (RefreshResults).
Result<VoteLog> ShowVoteLog98(AppContext& ctx, const QString& day);
Result<VoteLog> ShowVoteLog95(AppContext& ctx, const QString& day);
// The menu item: PAT/PatOpt and PAT/Ver decide.
Result<VoteLog> ShowVoteLog(AppContext& ctx, const QString& day);

// The text export of the view, lines ending in CR LF.
QString voteLogText(const VoteLog& log);
// Appends the export to file (created when missing).
Status ExportPatView(const VoteLog& log, const QString& file);
// The save dialog's filters.
inline const QString kExportFilter = QStringLiteral("テキストファイル (*.TXT)|*.TXT|すべてのファイル (*.*)|*.*|");

}  // namespace zm::pat
