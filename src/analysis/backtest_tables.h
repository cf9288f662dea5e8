#pragma once

// The back-test's tables: as rows for CSV (UTF-8 with a header row, or Shift-JIS for
// spreadsheets on Windows) and the per-style table as text aligned for a terminal.

#include "analysis/backtest.h"
#include "codes/status.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace zm {

struct Table {
    QString suffix;  // "" for the per-style table, else "-types", "-venues", ...
    QStringList header;
    QList<QStringList> rows;
};

// The figures the tables show, in their order: the styles of the report, then the pending bets
// when any of them was judged or left without a result.
std::vector<const StyleFigures*> reportedFigures(const BacktestReport& report);

// Every table of the report: styles, types, venues, months, marks, days, and bets when the
// report kept them.
QList<Table> backtestTables(const BacktestReport& report);

// One table as CSV: the header row, then the rows; a field holding a comma, a quote or a line
// end is quoted. Lines end in CR LF.
QString csvText(const Table& table);

// The file of each table: path for the per-style table, the others beside it with the table's
// suffix before the extension ("out.csv", "out-types.csv", ...).
QString tablePath(const QString& path, const QString& suffix);

// Writes every table, all of them put in place as one file set whose journal is kept in
// journalFolder (the CSV's own folder when empty): a failure names the file and leaves every
// old one. The paths written in order.
Status WriteBacktestCsv(const BacktestReport& report, const QString& path, bool sjis, QStringList* written = nullptr,
                        const QString& journalFolder = {});

// The per-style table (a row for each of reportedFigures) and the mark table (◎ ○ ▲ △ ×) as
// shown to the user: amounts in yen with separators, rates with "%".
Table styleSummaryTable(const BacktestReport& report);
Table markSummaryTable(const BacktestReport& report);

// The cumulative balance of each of reportedFigures over the days of the report: the days tested
// and every day one of them bet on, in order. A row's balance stays as it was on a day it did
// not bet on, and is 0 before its first.
struct BalanceCurves {
    QStringList days;                           // yyyymmdd
    std::vector<std::vector<double>> balances;  // one per row, one value per day
};
BalanceCurves balanceCurves(const BacktestReport& report);

// The per-style table (and the pending bets' row when there were any) aligned for a terminal:
// East Asian wide characters take two columns. Lines end in "\n".
QString styleTableText(const BacktestReport& report);

// The mark table for a terminal.
QString markTableText(const BacktestReport& report);

// Columns padded to their widest cell in terminal columns (CP932 bytes: a wide character takes
// two, as it does on an East Asian terminal), the first leftColumns to the left, the rest to
// the right. Lines end in "\n".
QString aligned(const QStringList& header, const QList<QStringList>& rows, int leftColumns);

// "1,234" of a yen amount; "85.4%" of a rate.
QString yenText(double yen);
QString rateText(double rate);

}  // namespace zm
