#pragma once

// Files that belong together (a day's race, entries and horse day files, its odds day file and
// its prediction file) put in place as one. Each new file is written whole beside the old one;
// commit() then writes a journal into the folder naming every file of the set, renames the
// new files over the old ones, removes the files the set drops, and removes the journal. A kill
// or a full disk at any moment leaves either every old file or, once the journal is written,
// a commit that RecoverFileSets finishes: never a mix of the two.

#include "codes/status.h"

#include <QByteArrayView>
#include <QString>
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
    // file now; the old file stays until commit. A second put of the same name replaces the first.
    Status put(const QString& name, QByteArrayView bytes);
    // The file name goes at commit (when it exists then).
    void drop(const QString& name);
    // Where the new content of name can be read before the commit; empty when name is not put.
    QString pendingPath(const QString& name) const;
    bool empty() const { return entries_.empty(); }

    // Puts the set in place. A failure before the journal is written leaves every old file; one
    // after it is finished by RecoverFileSets.
    Status commit();
    // Removes the new files; the old ones stay.
    void discard();

private:
    struct Entry {
        QString name;
        bool drop = false;
    };
    QString folder_;
    std::vector<Entry> entries_;
};

// The journal's name in the folder and the suffix of a new file waiting beside its old one.
inline const QString kFileSetJournal = QStringLiteral("zenomur-commit.journal");
inline const QString kFileSetPendingSuffix = QStringLiteral(".zmnew");

// Finishes a commit whose journal is complete, rolls back one whose journal is not, and removes
// new files no journal names (a set never committed). Done at start and before every import.
Status RecoverFileSets(const QString& folder);

}  // namespace zm
