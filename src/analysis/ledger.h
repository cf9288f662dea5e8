#pragma once

// The season ledger: every judged bet of the vote logs, each day's results and the day's pending
// bets as last written, kept in one SQLite file ("Data/ledger.sqlite") so that a season can be
// looked at by month, course, bet type and prediction style. A day is written whole in one
// transaction: writing the same day twice changes nothing, a day whose files changed is replaced,
// and a run killed half way leaves the day as it was.

#include "bets/pending_bet.h"
#include "codes/amount.h"
#include "codes/status.h"
#include "pat/pat_log.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace zm {

// One bet as the ledger keeps it.
struct LedgerBet {
    QString venueNo;  // JRA venue number "01".."10"
    int race = 0;
    QString typeCode;     // "1" 単勝 .. "5" ワイド
    QString combination;  // " 3", " 3- 5"
    Amount stake;
    Judgement judgement = Judgement::Unjudged;
    Amount payout;   // per 100 yen on a hit
    Amount returns;  // what came back: the payout on a hit, the stake on a refund
    bool pending = false;  // the bet stood in the day's pending bets
    int style = -1;        // the prediction style of the day's pending bets, -1 when not known

    friend bool operator==(const LedgerBet&, const LedgerBet&) = default;
};

// Everything the ledger holds of one day.
struct LedgerDay {
    QString day;  // "yyyymmdd"
    std::vector<LedgerBet> bets;
    std::vector<QByteArray> results;  // the day's result records as the ".SEI" file holds them
    PendingBetTable pending;
};

// The file's name in the data folder.
inline const QString kLedgerFileName = QStringLiteral("ledger.sqlite");

class Ledger {
public:
    // Opens the ledger at path, making a new one when nothing is there (or an empty file). Anything
    // else at the name that is not a ledger of this program (another database, a damaged file, a
    // folder, a link) is refused with a message naming it; it is never replaced.
    static Result<std::unique_ptr<Ledger>> open(const QString& path);
    ~Ledger();
    Ledger(const Ledger&) = delete;
    Ledger& operator=(const Ledger&) = delete;

    enum class Change { Unchanged, Added, Replaced };
    // Writes the day whole in one transaction: a process killed at any point leaves the day as
    // it was or as written.
    Result<Change> writeDay(const LedgerDay& day);
    // Puts every day written so far on the disk (a checkpoint of the write-ahead log).
    Status flush();
    // The day as held, or an empty day (no bets, no results) when it is not held.
    Result<LedgerDay> readDay(const QString& day) const;
    // The days held in from..to (both "yyyymmdd", empty for no bound), oldest first.
    Result<QStringList> days(const QString& from = {}, const QString& to = {}) const;
    // The bets of those days in the order they were made (day, then as the log lists them).
    struct DatedBet {
        QString day;
        LedgerBet bet;
    };
    Result<std::vector<DatedBet>> bets(const QString& from = {}, const QString& to = {}) const;

    // The schema this program writes (PRAGMA user_version).
    static constexpr int kSchemaVersion = 1;

private:
    Ledger(QString path, QString connection);
    Status start(bool fresh);
    Status failure(const QString& what) const;

    QString path_;
    QString connection_;
};

}  // namespace zm
