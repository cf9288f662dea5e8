#pragma once

// How the 的中会 import and the bulk output put new bets into the day's pending-bet file. Both
// go through writeNewPendingBets, the one place that replaces or appends: the file on disk is
// read first (a FIFO, a device, a folder or an oversized file is a message, never a hang), a
// file that is not a clean pending-bet file is never appended to, the table limit is checked
// before anything is written, and an append always starts on a new line.

#include "codes/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zm {

// The day's pending-bet file as it stands before new bets are written.
struct PendingBetsOnDisk {
    bool exists = false;
    QByteArray bytes;
    int bets = 0;  // lines that hold a bet
};

// Reads the file; a failure names the file (not a regular file, too large, unreadable) or the
// first line that is not six comma-separated fields with a known venue, or says the file is not
// Shift-JIS text.
Result<PendingBetsOnDisk> readPendingBetsForWriting(const QString& path);

// Writes newBets pending-bet lines (Shift-JIS, each ended by CR LF) to path: replacing the
// file, or appended after the bets on disk. Refused, with nothing written, when the bets would
// exceed the table.
Status writeNewPendingBets(const QString& path, const PendingBetsOnDisk& onDisk, QByteArray bytes, int newBets,
                           bool append);

}  // namespace zm
