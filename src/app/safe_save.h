#pragma once

// The one way the program writes a file whole, and the one way it appends to one.
//
// saveFile writes into a temporary file beside the target, flushes it to the disk and renames it
// into place: a crash, a kill or a full disk leaves either the old file or the new one, never
// a part of either. A failure names the file (and says when the disk is full) and leaves the old
// file as it was. appendToFile adds whole lines the same way, so a file never ends in half a line.

#include "codes/status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace zm {

Status saveFile(const QString& path, QByteArrayView bytes);

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

// The message for a file that could not be written: names the file, and says so when the
// disk holding it is full.
QString writeFailureMessage(const QString& path, const QString& reason, qint64 bytesNeeded = 0);

}  // namespace zm
