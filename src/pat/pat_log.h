#pragma once

// PAT's betting logs ("LG-") and race results ("KS-") read back: the day's stake, the results
// condensed into the day's ".SEI" file, the hit judgement of each bet and the vote log with its
// profit and loss, and the log's text export. Results come back as values; every message goes
// through the prompter.

#include "app/context.h"
#include "app/file_names.h"
#include "codes/amount.h"
#include "codes/status.h"
#include "pat/log_records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zm {

class PatFormat;

// The messages of the PAT menu.
QString patNotSetMessage();  // M1
inline const QString kNoResultFiles = QStringLiteral("ＰＡＴの競争成績ファイルが見つかりませんでした！");
inline const QString kResults31Refused =
    QStringLiteral("申し訳ありません(__)。「PAT95」及び「PAT98」のみ対応しています。");
inline const QString kVoteLog31Refused = QStringLiteral("申し訳ありません(__)。「ＰＡＴ９５」しか対応していません。");

// The PAT files of folder matching a pattern ("LG-??.JRA"), ignoring case, in name order
// ignoring case.
QStringList patFiles(const QString& folder, const QString& pattern);
QStringList patFiles(const FolderNames& names, const QString& pattern);

// The reference day of the log views: the current race day when one is set, else today.
QString referenceDay(const QString& currentRaceDate);

// The day's stake from the log files of the PAT folder of the generation PAT/Ver; the failure
// when there is none, M1 for a "Ver" that names no generation.
Result<DayStake> ShowDayStake(const AppContext& ctx, const QString& day);

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
// written. The generation's result files are read (one that has none gives the failure).
Result<std::vector<SeiRecord>> BuildResults(const AppContext& ctx, const PatFormat& format, const QString& day);
// The menu item: PAT/PatOpt and PAT/Ver decide (M1, the PAT31 refusal, or the above).
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
// The generation must be one with result files (PAT95 or PAT98).
Result<VoteLog> ShowVoteLog(AppContext& ctx, const PatFormat& format, const QString& day);
// The menu item: PAT/PatOpt and PAT/Ver decide.
Result<VoteLog> ShowVoteLog(AppContext& ctx, const QString& day);
// The same with the names of PAT's folder read beforehand, for a run over many days.
Result<VoteLog> ShowVoteLog(AppContext& ctx, const QString& day, const FolderNames& patFolder);

// The text export of the view, lines ending in CR LF.
QString voteLogText(const VoteLog& log);
// Appends the export to file (created when missing).
Status ExportPatView(const VoteLog& log, const QString& file);
// The save dialog's filters.
inline const QString kExportFilter = QStringLiteral("テキストファイル (*.TXT)|*.TXT|すべてのファイル (*.*)|*.*|");

}  // namespace zm
