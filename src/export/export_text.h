#pragma once

// What the day's exports share: the program version they print, lines joined with CR LF and
// encoded as CP932, the output folder's file names, and the report of a failed write.

#include "codes/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zm {

struct AppContext;

// major.minor.revision, as `zenomur-cli --version` prints it.
QString programVersion();

// Every line followed by CR LF, in CP932.
QByteArray crlfLines(const QStringList& lines);

// A stake text of the settings as the bets use it: whole hundreds of yen, at least 100.
int stakeOf(const QString& text);

// Shows the failure of an export (a file that could not be written); nothing when done.
void reportExportFailure(AppContext& ctx, const Status& status);

}  // namespace zm
