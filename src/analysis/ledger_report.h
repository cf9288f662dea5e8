#pragma once

// The season's figures from the ledger's bets: grouped by day, month, year, course, bet type or
// prediction style. Refunded bets are shown with their amount but kept out of the stake, the
// returns and every rate; bets not yet judged are counted apart and kept out of the rest.

#include "analysis/backtest_tables.h"
#include "analysis/ledger.h"

#include <QStringList>
#include <optional>
#include <vector>

namespace zm {

enum class LedgerGrouping { Day, Month, Year, Venue, Type, Style };

// "day", "month", ... as the command line writes them; nothing for any other word.
std::optional<LedgerGrouping> ledgerGroupingOf(const QString& word);

struct LedgerFilter {
    QStringList typeCodes;  // "1".."5"; empty for every type
    QStringList venueNos;   // "01".."10"; empty for every course
};

struct LedgerFigures {
    QString key;  // the group's name ("2026-12", "中山", "馬連", ...); "合計" for the total
    int bets = 0;      // judged bets, refunds left out
    int hits = 0;
    int refunds = 0;
    Amount refunded;   // the stakes that came back
    int unjudged = 0;
    Amount stake;
    Amount returns;
    int longestLosingRun = 0;  // misses in a row, in the order the bets were made
    Amount largestDrawdown;    // the deepest fall of the running balance from its last peak

    Amount balance() const { return Amount::yen(returns.value() - stake.value()); }
    double recoveryRate() const;  // returns / stake x 100, 0 without stake
    double hitRate() const;       // hits / bets x 100, 0 without bets
};

struct LedgerReport {
    std::vector<LedgerFigures> groups;  // in the grouping's order (days and months in time)
    LedgerFigures total;
};

LedgerReport ledgerReport(const std::vector<Ledger::DatedBet>& bets, LedgerGrouping grouping,
                          const LedgerFilter& filter = {});

// The running balance after each bet that counts (judged and not refunded), in the order the
// bets were made, grouped by day: the curve whose deepest fall is the total's largest drawdown.
struct LedgerDayBalances {
    QString day;
    std::vector<Amount> balances;  // after each of the day's bets that count
};
std::vector<LedgerDayBalances> ledgerRunningBalance(const std::vector<Ledger::DatedBet>& bets);

// The report as a table: a row a group, the total last; amounts in yen with separators, rates
// with "%". csvText and aligned (backtest_tables.h) write it out.
Table ledgerTable(const LedgerReport& report);

}  // namespace zm
