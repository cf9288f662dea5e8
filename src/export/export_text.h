#pragma once

// What the day's exports share: the program version they print, lines joined with CR LF and
// encoded as CP932, and what an export writes.

#include "codes/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>

namespace zm {

// major.minor.revision, as `zenomur-cli --version` prints it.
QString programVersion();

// Every line followed by CR LF, in CP932.
QByteArray crlfLines(const QStringList& lines);

// A stake text of the settings as the bets use it: whole hundreds of yen, at least 100.
int stakeOf(const QString& text);

// What an export of the day run writes: the whole new content of the file at path, or its
// removal, or lines added at its end (a batch's cumulative file). No path: nothing to write.
struct ExportFile {
    ExportFile() = default;
    ExportFile(QString p, QByteArray b, bool appended = false)
        : path(std::move(p)), bytes(std::move(b)), append(appended) {}
    static ExportFile removal(QString p) {
        ExportFile f(std::move(p), {});
        f.remove = true;
        return f;
    }

    QString path;
    QByteArray bytes;
    bool remove = false;
    bool append = false;
    QString warning;  // shown once the file is written
};

// Writes the export's file on its own, without a file set. Its warning is the caller's to show
// once it is written.
Status saveExportFile(const ExportFile& file);

}  // namespace zm
