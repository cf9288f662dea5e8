#pragma once

// The one adapter to LZH archives. Extraction goes through liblhasa; creation uses our own
// -lh5- encoder with level-2 headers. Nothing is ever written outside the destination folder:
// a member with an absolute path, a drive letter, "..", or that is a link or device refuses the
// whole archive. A corrupt or truncated archive is refused with a message; the destination is
// then left empty.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace zm {

struct ArchiveMember {
    QString path;     // as stored, with "/" between folders
    QByteArray data;
    bool isDir = false;   // a folder entry (path without trailing "/", no data)
    qint64 mtime = 0;     // modification time, seconds since 1970 (UTC); 0 when unknown
};

// Limits of what an archive may hold; anything beyond refuses the whole archive.
inline constexpr qint64 kMaxArchiveBytes = 64LL * 1024 * 1024;     // the archive file itself
inline constexpr qint64 kMaxMemberBytes = 64LL * 1024 * 1024;      // one member, unpacked
inline constexpr qint64 kMaxUnpackedBytes = 256LL * 1024 * 1024;   // all members, unpacked
inline constexpr int kMaxMembers = 4096;

// Reads every member of an archive held in memory, checking lengths, CRCs, names and limits.
// On failure returns nothing and sets message (in the program's Japanese).
std::optional<std::vector<ArchiveMember>> readArchive(QByteArrayView bytes, const QString& archiveName,
                                                      QString& message);

// Builds an archive in memory (-lh5-, level-2 headers) from the members.
QByteArray writeArchive(const std::vector<ArchiveMember>& members);

// "x": extract with stored folders; "e": extract flat. destDir is emptied first, so it is scratch
// space: its files are written without a flush to the disk (SafeSave::Flush::None).
bool extractArchive(const QString& archiveFile, const QString& destDir, bool keepFolders, QString& message);

// The regular files that extraction with stored folders ("x") would leave at the top of an
// emptied folder, read into memory instead: for a reader of the archive's files that needs no
// files written. A later member of a name replaces an earlier one; a member extraction could
// not write (a file where a folder is, or the other way round) refuses the archive with
// extractArchive's message, as do the archive file's and the reader's failures.
std::optional<std::vector<ArchiveMember>> unpackTopFiles(const QString& archiveFile, QString& message);

// The message for a folder (Work/) that could not be emptied before an extraction.
QString cannotEmptyFolderMessage(const QString& folder);

// "a": create archiveFile from the named files (stored under their file names); ".LZH" is added
// when the name has no extension. Written through a temporary file and renamed into place.
bool createArchive(const QString& archiveFile, const QStringList& files, QString& message);

}  // namespace zm
