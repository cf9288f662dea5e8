#pragma once

// Bringing the ledger up to date from the files of the data and PAT folders: a day's vote log
// judged against its results, the results themselves and the day's pending bets.

#include "analysis/ledger.h"
#include "app/context.h"
#include "app/file_names.h"

#include <QStringList>

namespace zm {

// The days in from..to ("yyyymmdd", empty for no bound) that the data folder holds a results
// file (".SEI") or a pending-bet file of, oldest first.
QStringList ledgerSourceDays(const AppPaths& paths, const QString& from = {}, const QString& to = {});

// The day as its files hold it: the vote log's bets (when PAT is set up and its folder holds the
// day's logs) judged against the day's results, each marked when it stands in the day's pending
// bets; the results; the pending bets. A results or pending-bet file that cannot be read is a
// failure naming it; a day without logs simply has no bets. patFolder holds the names of PAT's
// folder, read once for a run over many days.
Result<LedgerDay> ledgerDayFromFiles(AppContext& ctx, const QString& day, const FolderNames& patFolder);

struct LedgerUpdate {
    int added = 0;
    int replaced = 0;
    int unchanged = 0;
    QStringList failures;  // one message a day that could not be read
};
// Writes each of days into the ledger, a day at a time; stops at a failure of the ledger itself.
// progress, when given, is told each day before it is read and the share of days done.
Result<LedgerUpdate> updateLedger(AppContext& ctx, Ledger& ledger, const QStringList& days,
                                  ProgressSink* progress = nullptr);

// "Data/ledger.sqlite".
QString ledgerPath(const AppPaths& paths);

}  // namespace zm
