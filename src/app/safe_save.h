#pragma once

// The one way the program writes a file, whole or piece by piece, and the one way it appends
// to one.
//
// A save writes into a temporary file beside the target ("NAME.zmsave-XXXXXX"), checks every
// write, flushes the file to the disk, renames it into place and flushes the folder: a crash, a
// kill or a full disk leaves either the old file or the new one, never a part of either. A
// failure names the file (and says when the disk is full), removes the temporary file and leaves
// the old file as it was. A link, a folder, a FIFO or a device at the name is refused, never
// written through. The new file keeps the mode of the old one (a new file gets 0666 less the
// umask). append() adds whole lines the same way, so a file never ends in half a line.

#include "codes/status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cerrno>

namespace zm {

class SafeSave {
public:
    enum class Flush {
        Durable,  // the file and its name are on the disk when commit() succeeds
        // Nothing is flushed: for scratch space the program empties before it writes there
        // (Work/), and for a file whose owner flushes it later (the new files of a file set).
        None,
    };

    // Writes bytes as the whole file at path.
    static Status save(const QString& path, QByteArrayView bytes, Flush flush = Flush::Durable);
    // Adds bytes at the end of the file (created when missing): the old content and the new
    // bytes are written together as a new file that replaces the old one.
    static Status append(const QString& path, QByteArrayView bytes);

    // A file written piece by piece and put in place by commit(). Pieces after a failed write
    // are ignored; commit() then reports the failure and the old file stays.
    explicit SafeSave(const QString& path, Flush flush = Flush::Durable);
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;
    ~SafeSave();  // an uncommitted save removes its temporary file

    void write(QByteArrayView bytes);
    Status commit();
    const QString& path() const { return path_; }

private:
    void fail(int error, const QString& reason = {});
    void removeTemporary();

    QString path_;
    QByteArray temporary_;  // the temporary file's name as bytes, empty once gone
    int fd_ = -1;
    Flush flush_;
    Status failure_;
    bool done_ = false;
};

// The message for a file that could not be written: names the file, and says so when the
// disk holding it is full.
QString writeFailureMessage(const QString& path, const QString& reason, qint64 bytesNeeded = 0);
// The same for a failed system call: ENOSPC and EDQUOT say that the disk is full.
QString writeFailureMessage(const QString& path, int error);
inline bool isDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// What a save puts between a file's name and the six random letters and digits of its
// temporary file.
inline constexpr char kSaveTemporaryMark[] = ".zmsave-";

// True for the name of a temporary file of a save.
bool isSaveTemporaryName(QByteArrayView name);

// Removes from folder the temporary files interrupted saves left there: names of the
// "NAME.zmsave-XXXXXX" form only, and only plain files (never a link or a folder). When
// onlyFor is not empty, only the temporary files of that one file go. When legacyNames is
// given, a plain file named "BASE.XXXXXX" (six letters and digits, upper and lower case mixed),
// where BASE matches one of those patterns (case ignored), goes too: what the earlier way of
// saving left behind. Returns how many were removed.
int removeInterruptedSaves(const QString& folder, const QString& onlyFor = {},
                           const QStringList& legacyNames = {});

}  // namespace zm
