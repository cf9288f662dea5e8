#pragma once

// File lookups that ignore case (the service's files come from a platform that does), and the
// one way the program opens a file for reading: only a regular file is ever opened, so a FIFO,
// a device or a folder at a file's name is a message rather than a read that never returns.

#include "codes/status.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class QFile;

namespace zm {

// The full path of the regular file in folder whose name equals name ignoring case (an
// exact-case match wins when both exist); empty text when there is none.
QString findFileNoCase(const QString& folder, const QString& name);

// The regular files of folder whose names match a wildcard pattern ignoring case, sorted by
// name ignoring case (then exactly), at most limit of them (all when limit < 0).
QStringList listFilesNoCase(const QString& folder, const QString& pattern, int limit);

// The names in a folder, read once: for a run that looks for many names or patterns in a large
// folder (a season's days in PAT's folder), each look-up then costs no listing of the folder, and
// a pattern asked again costs nothing. For one thread.
class FolderNames {
public:
    explicit FolderNames(QString folder);
    const QString& folder() const { return folder_; }
    // As listFilesNoCase, among the names read.
    QStringList matching(const QString& pattern, int limit = -1) const;

private:
    QString folder_;
    QStringList names_;
    mutable QHash<QString, QStringList> matched_;  // by pattern, every match
};

// A path as the system gives it (command-line arguments, names in folders) and back. Bytes that
// are not UTF-8 are kept as the lone surrogates U+DC80..U+DCFF, so a file whose name is not
// valid UTF-8 can still be opened; messages show them as "\xNN" (escapeControls).
QString decodeNativePath(const QByteArray& bytes);
QByteArray encodeNativePath(const QString& path);

// True when path names a regular file (a link to one counts).
bool isRegularFile(const QString& path);

// True when something other than a folder is at path (a regular file, a FIFO, a device).
bool isFileEntry(const QString& path);

// Opens a regular file for reading into file; false, with file closed, when path is missing,
// is not a regular file (never blocks on a FIFO) or cannot be read.
bool openRegularFile(QFile& file, const QString& path);

// The whole content of a regular file; nothing when path is missing, is not a regular file or
// cannot be read.
std::optional<QByteArray> readRegularFile(const QString& path);

// The largest file from outside the program (pending bets, posts, contest texts, PAT's files,
// results) that any reader takes; each reader may set a smaller cap of its own.
inline constexpr qint64 kMaxOutsideFile = qint64(64) << 20;

// The whole content of a file from outside the program, read through openRegularFile and never
// more than maxBytes of it: a failure naming the file when it is missing, is not a regular file
// (a FIFO, a device, a folder), is larger than maxBytes or cannot be read whole.
Result<QByteArray> readOutsideFile(const QString& path, qint64 maxBytes = kMaxOutsideFile);

// True when path (with or without a trailing "/") is a folder itself, not a link to one.
bool isRealFolder(const QString& path);

// The message for a work folder that is not a real folder of the program folder.
QString notRealFolderMessage(const QString& path);

// The message for a file that exists but is not a regular file (a FIFO, a device, a folder).
QString notRegularFileMessage(const QString& path);

}  // namespace zm
