#include "app/file_set.h"

#include "app/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zm {

namespace {

const QByteArray kJournalHead = "zenomur file set 1\n";
const QByteArray kJournalEnd = "end\n";

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// Makes the renames and removals in folder durable.
void syncFolder(const QString& folder) {
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool removeIfThere(const QString& path) {
    return ::unlink(encoded(path).constData()) == 0 || errno == ENOENT;
}

struct Journal {
    bool complete = false;
    std::vector<std::pair<QString, bool>> entries;  // name, dropped
};

Journal readJournal(const QByteArray& text) {
    Journal j;
    const QList<QByteArray> lines = text.split('\n');
    if (!text.startsWith(kJournalHead))
        return j;
    j.complete = text.endsWith("\n" + kJournalEnd);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.startsWith("put ") || line.startsWith("drop "))
            j.entries.emplace_back(QFile::decodeName(line.mid(line.indexOf(' ') + 1)), line.startsWith("drop "));
    }
    return j;
}

// Renames every new file over its old one and removes the dropped files. Safe to repeat: a new
// file already renamed is simply no longer there.
Status finish(const QString& folder, const std::vector<std::pair<QString, bool>>& entries) {
    for (const auto& [name, dropped] : entries) {
        const QString target = folder + name;
        if (dropped) {
            if (!removeIfThere(target))
                return Status::failure(QStringLiteral("%1 を削除できませんでした。").arg(QDir::toNativeSeparators(target)));
            continue;
        }
        const QString pending = target + kFileSetPendingSuffix;
        if (!QFileInfo::exists(pending))
            continue;
        if (::rename(encoded(pending).constData(), encoded(target).constData()) != 0)
            return Status::failure(writeFailureMessage(target, QString::fromLocal8Bit(std::strerror(errno))));
    }
    syncFolder(folder);
    return {};
}

}  // namespace

FileSet::FileSet(QString folder) : folder_(std::move(folder)) {}

FileSet::~FileSet() { discard(); }

Status FileSet::put(const QString& name, QByteArrayView bytes) {
    std::erase_if(entries_, [&](const Entry& e) { return e.name == name; });
    entries_.push_back({name, false});
    return saveFile(pendingPath(name), bytes);
}

void FileSet::drop(const QString& name) {
    for (const Entry& e : entries_) {
        if (e.name == name && !e.drop)
            removeIfThere(folder_ + name + kFileSetPendingSuffix);
    }
    std::erase_if(entries_, [&](const Entry& e) { return e.name == name; });
    entries_.push_back({name, true});
}

QString FileSet::pendingPath(const QString& name) const {
    for (const Entry& e : entries_) {
        if (e.name == name && !e.drop)
            return folder_ + name + kFileSetPendingSuffix;
    }
    return {};
}

Status FileSet::commit() {
    if (entries_.empty())
        return {};
    QByteArray journal = kJournalHead;
    std::vector<std::pair<QString, bool>> list;
    for (const Entry& e : entries_) {
        journal += (e.drop ? "drop " : "put ") + encoded(e.name) + '\n';
        list.emplace_back(e.name, e.drop);
    }
    journal += kJournalEnd;
    const QString journalPath = folder_ + kFileSetJournal;
    if (Status written = saveFile(journalPath, journal); !written) {
        discard();
        return written;
    }
    // From here on the set is committed: what is not done now is done by RecoverFileSets.
    entries_.clear();
    if (Status done = finish(folder_, list); !done)
        return done;
    removeIfThere(journalPath);
    syncFolder(folder_);
    return {};
}

void FileSet::discard() {
    for (const Entry& e : entries_) {
        if (!e.drop)
            removeIfThere(folder_ + e.name + kFileSetPendingSuffix);
    }
    entries_.clear();
}

Status RecoverFileSets(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    const QString journalPath = folder + kFileSetJournal;
    QFile file(journalPath);
    if (QFileInfo(journalPath).isFile() && file.open(QIODevice::ReadOnly)) {
        const Journal journal = readJournal(file.read(1 << 20));
        file.close();
        if (journal.complete) {
            if (Status done = finish(folder, journal.entries); !done)
                return done;
        }
        if (!removeIfThere(journalPath))
            return Status::failure(QStringLiteral("%1 を削除できませんでした。").arg(QDir::toNativeSeparators(journalPath)));
    }
    // New files no complete journal names, and temporary files of an interrupted save of one.
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.endsWith(kFileSetPendingSuffix) || name.contains(kFileSetPendingSuffix + u'.') ||
            name.startsWith(kFileSetJournal + u'.'))
            removeIfThere(folder + name);
    }
    syncFolder(folder);
    return {};
}

}  // namespace zm
