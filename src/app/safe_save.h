#pragma once

// The one way the program writes a file whole, and the one way it appends to one.
//
// saveFile writes into a temporary file beside the target ("NAME.zmsave-XXXXXX"), checks every
// write, flushes the file to the disk, renames it into place and flushes the folder: a crash, a
// kill or a full disk leaves either the old file or the new one, never a part of either. A
// failure names the file (and says when the disk is full), removes the temporary file and leaves
// the old file as it was. A link, a folder, a FIFO or a device at the name is refused, never
// written through. The new file keeps the mode of the old one (a new file gets 0666 less the
// umask). appendToFile adds whole lines the same way, so a file never ends in half a line.
// writeScratchFile is for scratch space only, where none of that is needed.

#include "codes/status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <cerrno>

#include <thread>

namespace zm {

Status saveFile(const QString& path, QByteArrayView bytes);

// Writes a file of scratch space: a folder the program empties before it writes there (Work/),
// whose files nothing needs after a crash. The file is written straight into place, without a
// temporary file and without a flush to the disk; a link at the name is refused, not followed.
// A failure names the file like saveFile's and may leave part of the file.
Status writeScratchFile(const QString& path, QByteArrayView bytes);

// Adds bytes at the end of the file (created when missing): the old content and the new bytes
// are written together as a new file that replaces the old one.
Status appendToFile(const QString& path, QByteArrayView bytes);

// A file written piece by piece and put in place by commit(). Pieces after a failed write are
// ignored; commit() then reports the failure and the old file stays.
class SafeSave {
public:
    explicit SafeSave(const QString& path);
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    void write(QByteArrayView bytes);
    Status commit();
    const QString& path() const { return path_; }
    ~SafeSave();  // an uncommitted save removes its temporary file

private:
    void fail(int error, const QString& reason = {});
    void removeTemporary();

    QString path_;
    QByteArray temporary_;  // the temporary file's name as bytes, empty once gone
    int fd_ = -1;
    qint64 written_ = 0;
    Status failure_;
    bool done_ = false;
};

// A file written whole under its own name, without a temporary file, whose flush to the disk
// runs on a thread of its own while the caller goes on; finish() waits for it. For files that
// need only be on the disk before a later step (the new files of a file set, before its
// journal), so that the flush overlaps the work in between. A failed write or flush names the
// file like saveFile's; what was written stays for the caller to remove.
class BackgroundSave {
public:
    BackgroundSave() = default;
    ~BackgroundSave();  // waits for the flush
    BackgroundSave(const BackgroundSave&) = delete;
    BackgroundSave& operator=(const BackgroundSave&) = delete;

    // Writes bytes as the whole file at path (a link there is refused) and starts the flush.
    Status write(const QString& path, QByteArrayView bytes);
    // Waits for the flush: the file is then on the disk, or the failure says why not.
    Status finish();

private:
    void join();

    QString path_;
    int fd_ = -1;
    qint64 size_ = 0;
    Status writeFailure_;
    std::thread flusher_;
    int flushError_ = 0;
};

// The message for a file that could not be written: names the file, and says so when the
// disk holding it is full.
QString writeFailureMessage(const QString& path, const QString& reason, qint64 bytesNeeded = 0);
// The same for a failed system call: ENOSPC and EDQUOT say that the disk is full.
QString writeFailureMessage(const QString& path, int error);
inline bool isDiskFull(int error) {
    return error == ENOSPC || error == EDQUOT;
}

// What saveFile puts between a file's name and the six random letters and digits of its
// temporary file.
inline constexpr char kSaveTemporaryMark[] = ".zmsave-";

// True for the name of a temporary file of saveFile (and of SafeSave and appendToFile).
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
