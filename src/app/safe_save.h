#pragma once

// The one way the program writes a file whole, and the one way it appends to one.
//
// saveFile writes into a temporary file beside the target, flushes it to the disk and renames it
// into place: a crash, a kill or a full disk leaves either the old file or the new one, never
// a part of either. A failure names the file (and says when the disk is full) and leaves the old
// file as it was. appendToFile adds whole lines the same way, so a file never ends in half a line.
// writeScratchFile is for scratch space only, where none of that is needed.

#include "codes/status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

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

private:
    QString path_;
    QSaveFile file_;
    qint64 written_ = 0;
    bool failed_ = false;
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

}  // namespace zm
