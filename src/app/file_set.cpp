#include "app/file_set.h"

#include "app/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace zm {

namespace {

const QByteArray kJournalHead = "zenomur file set 1\n";
const QByteArray kJournalEnd = "end\n";

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// Makes the renames and removals in folder durable.
void syncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
void syncFolder(const QString& folder) {
    syncFolder(encoded(folder));
}

// The end of a commit once its journal is on the disk: the renames made durable, the journal
// removed and that made durable, and the replaced files let go (held open until then, so that
// freeing their blocks waits here too). From the journal on a crash is finished by
// RecoverFileSets, so this runs on a thread of its own while the program goes on. Every use of
// a file set, and the end of the program, first waits for it: no new file of a set is written
// while the old journal might still come back.
class CommitTail {
public:
    ~CommitTail() { wait(); }

    void start(QByteArray folder, QByteArray journal, std::vector<int> held) {
        std::lock_guard lock(mutex_);
        joinLocked();
        auto work = std::make_shared<Work>(Work{std::move(folder), std::move(journal), std::move(held)});
        try {
            thread_ = std::thread([work] { work->run(); });
        } catch (const std::system_error&) {
            work->run();  // no thread to be had: finished here
        }
    }

    void wait() {
        std::lock_guard lock(mutex_);
        joinLocked();
    }

private:
    struct Work {
        QByteArray folder;
        QByteArray journal;
        std::vector<int> held;
        void run() const {
            syncFolder(folder);
            ::unlink(journal.constData());
            syncFolder(folder);
            for (const int fd : held)
                ::close(fd);
        }
    };

    void joinLocked() {
        if (thread_.joinable())
            thread_.join();
    }

    std::mutex mutex_;
    std::thread thread_;
};

CommitTail& commitTail() {
    static CommitTail tail;
    return tail;
}

void closeAll(const std::vector<int>& fds) {
    for (const int fd : fds)
        ::close(fd);
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
// file already renamed is simply no longer there. With held, each file replaced or removed is
// kept open there first, so that its blocks are freed only when that is closed. The caller
// makes the renames durable.
Status finish(const QString& folder, const std::vector<std::pair<QString, bool>>& entries,
              std::vector<int>* held = nullptr) {
    for (const auto& [name, dropped] : entries) {
        const QString target = folder + name;
        if (held) {
            const int fd = ::open(encoded(target).constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
            if (fd >= 0)
                held->push_back(fd);
        }
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
    return {};
}

}  // namespace

FileSet::FileSet(QString folder) : folder_(std::move(folder)) {}

FileSet::~FileSet() { discard(); }

Status FileSet::put(const QString& name, QByteArrayView bytes) {
    commitTail().wait();
    // An earlier put of the name is let finish before its file is written again.
    std::erase_if(entries_, [&](const Entry& e) { return e.name == name; });
    entries_.push_back({name, false, std::make_unique<BackgroundSave>()});
    // The pending name is scratch until the journal names it (RecoverFileSets removes it
    // otherwise), so it is written in place; the flush only has to be done before the journal.
    return entries_.back().file->write(pendingPath(name), bytes);
}

void FileSet::drop(const QString& name) {
    commitTail().wait();
    const bool wasPut = !pendingPath(name).isEmpty();
    std::erase_if(entries_, [&](const Entry& e) { return e.name == name; });
    if (wasPut)
        removeIfThere(folder_ + name + kFileSetPendingSuffix);
    entries_.push_back({name, true, nullptr});
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
    commitTail().wait();
    // Every new file must be on the disk before the journal that names it.
    for (const Entry& e : entries_) {
        if (!e.file)
            continue;
        if (Status flushed = e.file->finish(); !flushed) {
            discard();
            return flushed;
        }
    }
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
    // The names of the journal and of the new files reach the disk before any rename: a power
    // cut must not keep a rename whose journal it lost.
    syncFolder(folder_);
    // From here on the set is committed: what is not done now is done by RecoverFileSets. The
    // new files are in place when commit returns; the rest goes on in the background.
    entries_.clear();
    std::vector<int> held;
    if (Status done = finish(folder_, list, &held); !done) {
        closeAll(held);
        return done;
    }
    commitTail().start(encoded(folder_), encoded(journalPath), std::move(held));
    return {};
}

void FileSet::discard() {
    std::vector<Entry> entries = std::move(entries_);
    entries_.clear();
    for (Entry& e : entries) {
        if (e.drop)
            continue;
        e.file.reset();  // its flush finished
        removeIfThere(folder_ + e.name + kFileSetPendingSuffix);
    }
}

void FinishFileSets() {
    commitTail().wait();
}

Status RecoverFileSets(const QString& folder) {
    commitTail().wait();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    const QString journalPath = folder + kFileSetJournal;
    QFile file(journalPath);
    // A commit leaves its folder synced; only what is finished or removed here needs it again.
    bool changed = false;
    if (QFileInfo(journalPath).isFile() && file.open(QIODevice::ReadOnly)) {
        const Journal journal = readJournal(file.read(1 << 20));
        file.close();
        if (journal.complete) {
            if (Status done = finish(folder, journal.entries); !done)
                return done;
            syncFolder(folder);  // the renames are on the disk before the journal goes
        }
        if (!removeIfThere(journalPath))
            return Status::failure(QStringLiteral("%1 を削除できませんでした。").arg(QDir::toNativeSeparators(journalPath)));
        changed = true;
    }
    // New files no complete journal names, and temporary files of an interrupted save of one.
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.endsWith(kFileSetPendingSuffix) || name.contains(kFileSetPendingSuffix + u'.') ||
            name.startsWith(kFileSetJournal + u'.')) {
            removeIfThere(folder + name);
            changed = true;
        }
    }
    if (changed)
        syncFolder(folder);
    return {};
}

}  // namespace zm
