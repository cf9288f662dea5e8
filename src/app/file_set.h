#pragma once

// Files that belong together (a day's race, entries and horse day files, its odds day file and
// its prediction file) put in place as one. Each new file is written whole beside the old one,
// its flush to the disk running in the background meanwhile; commit() waits until every new
// file is on the disk, then writes a journal into the folder naming every file of the set,
// renames the new files over the old ones, removes the files the set drops, and removes the
// journal. A kill or a full disk at any moment leaves either every old file or, once the
// journal is written, a commit that RecoverFileSets finishes: never a mix of the two. Once the
// journal is on the disk the rest is certain, so the syncs after the renames and the journal's
// removal run in the background; every later use of a file set, and the end of the program,
// waits for them.

#include "app/safe_save.h"
#include "codes/status.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <vector>

namespace zm {

class FileSet {
public:
    // folder holds every file of the set and the journal; it ends in "/".
    explicit FileSet(QString folder);
    ~FileSet();  // what was not committed is discarded
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // The new content of the file name (a name inside the folder), written beside the old
    // file now; the old file stays until commit. A second put of the same name replaces the
    // first. A failure to flush it shows at commit.
    Status put(const QString& name, QByteArrayView bytes);
    // The file name goes at commit (when it exists then).
    void drop(const QString& name);
    // Where the new content of name can be read before the commit; empty when name is not put.
    QString pendingPath(const QString& name) const;
    bool empty() const { return entries_.empty(); }

    // Puts the set in place: the new files are in place when it returns. A failure before the
    // journal is written (a new file that could not be flushed included) leaves every old file;
    // one after it is finished by RecoverFileSets.
    Status commit();
    // Removes the new files; the old ones stay.
    void discard();

private:
    struct Entry {
        QString name;
        bool drop = false;
        std::unique_ptr<BackgroundSave> file;  // the new content, for a put
    };
    QString folder_;
    std::vector<Entry> entries_;
};

// The journal's name in the folder and the suffix of a new file waiting beside its old one.
inline const QString kFileSetJournal = QStringLiteral("zenomur-commit.journal");
inline const QString kFileSetPendingSuffix = QStringLiteral(".zmnew");

// Waits until the end of this program's last commit, which runs in the background, is done:
// its renames on the disk and its journal removed.
void FinishFileSets();

// Finishes a commit whose journal is complete, rolls back one whose journal is not, and removes
// new files no journal names (a set never committed). Done at start and before every import,
// after the end of the last commit of this program.
Status RecoverFileSets(const QString& folder);

}  // namespace zm
