#pragma once

// Files that belong together put in place as one: a day's race, entries and horse day files,
// its odds day file, its prediction file and the exports of the day in the output folders; the
// PAT odds files of a conversion; the purchase files; the CSV files of a back-test. The files
// may lie in several folders.
//
// The set keeps a journal in its journal folder (the program's Data/ folder) naming the full
// path of every file it touches, each named there before its new content is written. Each new
// file is written whole beside the old one under a pending name (the old name and ".zmnew").
// commit() flushes every new file to the disk, then marks the journal complete, renames the new files over the old ones,
// removes the files the set drops, and removes the journal. A kill or a full disk at any moment
// leaves either every old file or, once the journal is complete, a commit that RecoverFileSets
// finishes: never a mix of the two. A journal that is not complete names every pending file the
// set may have left, in any folder, so that RecoverFileSets takes them away. Once the journal is
// complete the rest is certain, so the syncs after the renames and the journal's removal run in
// the background; every later use of a file set, and the end of the program, waits for them.

#include "app/safe_save.h"
#include "codes/status.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

namespace zm {

class FileSet {
public:
    // journalFolder holds the journal; it ends in "/". A file of the set is given either by its
    // name inside the journal folder or by its full path ("/…") in any folder.
    explicit FileSet(QString journalFolder);
    ~FileSet();  // what was not committed is discarded
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // The new content of file, written beside the old file now; the old file stays until
    // commit. A second put of the same file replaces the first. A put that fails (its message
    // names the file) leaves the file out of the set and the rest of the set as it was. A
    // failure to flush it shows at commit.
    Status put(const QString& file, QByteArrayView bytes);
    // The file goes at commit (when it exists then).
    void drop(const QString& file);
    // Where the new content of file can be read before the commit; empty when file is not put.
    QString pendingPath(const QString& file) const;
    // Where what file holds after the commit can be read now: its new content when it is put,
    // a name that does not exist when it is dropped, the file itself otherwise.
    QString readPath(const QString& file) const;
    bool empty() const { return entries_.empty(); }
    // Whether file is put or dropped in this set.
    bool holds(const QString& file) const;

    // Puts the set in place: the new files are in place when it returns. A failure before the
    // journal is complete (a new file that could not be flushed included) leaves every old file
    // and says so; one after it is finished by RecoverFileSets.
    Status commit();
    // Removes the new files; the old ones stay.
    void discard();

    // The full path of a file as given to put or drop.
    QString fullPath(const QString& file) const;

private:
    struct Entry {
        QString path;  // full path
        bool drop = false;
    };
    Status note(const char* what, const QString& path);
    void closeJournal(bool remove);

    QString folder_;
    std::vector<Entry> entries_;
    QString journalPath_;  // empty until the first put or drop
    int journalFd_ = -1;
    bool journalFailed_ = false;
};

// The journal's name in its folder (a second set alive at the same time takes
// "zenomur-commit-2.journal" and so on) and the suffix of a new file waiting beside its old one.
inline const QString kFileSetJournal = QStringLiteral("zenomur-commit.journal");
inline const QString kFileSetPendingSuffix = QStringLiteral(".zmnew");

// The words a set's failure ends with when every old file stays.
inline const QString kFileSetUnchanged = QStringLiteral("何も変更していません。");
// message followed, on a line of its own, by kFileSetUnchanged (once).
QString unchangedMessage(const QString& message);

// Waits until the end of this program's last commit, which runs in the background, is done:
// its renames on the disk and its journal removed.
void FinishFileSets();

// Finishes every commit of folder's journals that is complete, rolls back every one that is not
// (its pending files removed, whatever folder they are in), and removes new files of folder no
// journal names (a set never committed). Journals of sets this program still holds are left
// alone. Done at start and before every import, after the end of the last commit of this program.
Status RecoverFileSets(const QString& folder);

}  // namespace zm
