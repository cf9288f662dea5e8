#include "app/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zm {

namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

const QString kFolderAtName = QStringLiteral("同じ名前のフォルダがあります");
const QString kLinkAtName = QStringLiteral("同じ名前のリンクがあります");
const QString kNotAFile = QStringLiteral("通常のファイルではありません");

// Why an existing entry of this kind cannot be replaced or appended to; empty for a plain file.
QString refusalFor(mode_t mode) {
    if (S_ISREG(mode))
        return {};
    if (S_ISLNK(mode))
        return kLinkAtName;
    if (S_ISDIR(mode))
        return kFolderAtName;
    return kNotAFile;
}

// Writes all of bytes to fd; 0, or the error (a write that makes no progress counts as a full
// disk).
int writeAll(int fd, const char* at, qsizetype left) {
    while (left > 0) {
        const ssize_t n = ::write(fd, at, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        at += n;
        left -= n;
    }
    return 0;
}

// Flushes a folder's entries (a rename in it) to the disk. Filesystems that cannot flush a
// folder say EINVAL; that is not a failure.
int syncFolderOf(const QByteArray& file) {
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : file.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    ::close(fd);
    return error;
}

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool endsInSixAlnum(QByteArrayView name) {
    if (name.size() < 6)
        return false;
    for (qsizetype i = name.size() - 6; i < name.size(); ++i) {
        if (!isAlnum(name[i]))
            return false;
    }
    return true;
}

// Six random letters and digits, as the earlier way of saving put after a name, mix upper and
// lower case nearly always; a suffix a person gave ("backup", "OLD123", "202612") does not.
bool looksRandom(QByteArrayView six) {
    const bool upper = std::any_of(six.begin(), six.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    const bool lower = std::any_of(six.begin(), six.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    return upper && lower;
}

// The longest a name in a folder may be, in bytes.
constexpr qsizetype kNameMax = 255;

}  // namespace

QString writeFailureMessage(const QString& path, const QString& reason, qint64 bytesNeeded) {
    const QString name = QDir::toNativeSeparators(path);
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    if (disk.isValid() && disk.isReady() && disk.bytesAvailable() <= qMax<qint64>(bytesNeeded, 0))
        return QStringLiteral("ディスクの空きがないため、%1 を書き込めませんでした。").arg(name);
    if (reason.isEmpty())
        return QStringLiteral("%1 を書き込めませんでした。").arg(name);
    return QStringLiteral("%1 を書き込めませんでした。（%2）").arg(name, reason);
}

QString writeFailureMessage(const QString& path, int error) {
    if (isDiskFull(error))
        return QStringLiteral("ディスクの空きがないため、%1 を書き込めませんでした。").arg(QDir::toNativeSeparators(path));
    return QStringLiteral("%1 を書き込めませんでした。（%2）").arg(QDir::toNativeSeparators(path), reasonOf(error));
}

bool isSaveTemporaryName(QByteArrayView name) {
    const qsizetype mark = qsizetype(sizeof(kSaveTemporaryMark)) - 1;
    if (name.size() < mark + 6 + 1 || !endsInSixAlnum(name))
        return false;
    return name.sliced(name.size() - 6 - mark, mark) == QByteArrayView(kSaveTemporaryMark, mark);
}

SafeSave::SafeSave(const QString& path, Flush flush) : path_(path), flush_(flush) {
    const QByteArray target = QFile::encodeName(path);
    if (target.isEmpty() || target.endsWith('/')) {
        fail(EISDIR, kFolderAtName);
        return;
    }
    struct stat old {};
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (!exists && errno != ENOENT) {
        fail(errno);
        return;
    }
    if (exists) {
        if (const QString refusal = refusalFor(old.st_mode); !refusal.isEmpty()) {
            fail(0, refusal);
            return;
        }
    }
    // The temporary name keeps the whole file name when it fits, so that it shows whose it is.
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray base = target.mid(slash + 1);
    const qsizetype room = kNameMax - qsizetype(sizeof(kSaveTemporaryMark)) + 1 - 6;
    if (base.size() > room)
        base.truncate(room);
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = target.left(slash + 1) + base + kSaveTemporaryMark;
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int(sizeof(kLetters)) - 1)];
        // 0666 less the umask for a new file, as any new file gets.
        fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temporary_ = name;
            break;
        }
        if (errno != EEXIST) {
            fail(errno);
            return;
        }
    }
    if (fd_ < 0) {
        fail(EEXIST);
        return;
    }
    if (exists) {
        // The new file keeps the old one's permissions (and, for a superuser, its owner).
        if (::geteuid() == 0 && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
            (void)!::fchown(fd_, old.st_uid, old.st_gid);
        if (::fchmod(fd_, old.st_mode & 07777) != 0)
            fail(errno);
    }
}

SafeSave::~SafeSave() {
    if (!done_)
        removeTemporary();
}

void SafeSave::fail(int error, const QString& reason) {
    if (!failure_.ok())
        return;
    failure_ = Status::failure(reason.isEmpty() ? writeFailureMessage(path_, error)
                                                : QStringLiteral("%1 を書き込めませんでした。（%2）")
                                                      .arg(QDir::toNativeSeparators(path_), reason));
    removeTemporary();
}

void SafeSave::removeTemporary() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

void SafeSave::write(QByteArrayView bytes) {
    if (!failure_.ok() || done_ || bytes.isEmpty())
        return;
    if (const int error = writeAll(fd_, bytes.data(), bytes.size()); error != 0)
        fail(error);
}

Status SafeSave::commit() {
    if (done_)
        return failure_;
    done_ = true;
    if (!failure_.ok())
        return failure_;
    if (flush_ == Flush::Durable && ::fsync(fd_) != 0) {
        fail(errno);
        return failure_;
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        fail(errno);
        return failure_;
    }
    // Something may have been put at the name since the save began: it is refused all the same.
    const QByteArray target = QFile::encodeName(path_);
    struct stat now {};
    if (::lstat(target.constData(), &now) == 0) {
        if (const QString refusal = refusalFor(now.st_mode); !refusal.isEmpty()) {
            fail(0, refusal);
            return failure_;
        }
    }
    if (::rename(temporary_.constData(), target.constData()) != 0) {
        fail(errno);
        return failure_;
    }
    temporary_.clear();
    if (flush_ == Flush::None)
        return {};
    if (const int error = syncFolderOf(target); error != 0)
        return failure_ = Status::failure(writeFailureMessage(path_, error));
    return {};
}

Status SafeSave::save(const QString& path, QByteArrayView bytes, Flush flush) {
    SafeSave out(path, flush);
    out.write(bytes);
    return out.commit();
}

Status SafeSave::append(const QString& path, QByteArrayView bytes) {
    const QByteArray name = QFile::encodeName(path);
    QByteArray old;
    // The old content is read through the very file at the name: never a link's target, and
    // nothing but a plain file (a FIFO is not waited on).
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT) {
        const int error = errno;
        struct stat st {};
        QString refusal = ::lstat(name.constData(), &st) == 0 ? refusalFor(st.st_mode) : QString();
        if (refusal.isEmpty())
            refusal = reasonOf(error);
        return Status::failure(
            QStringLiteral("%1 を書き込めませんでした。（%2）").arg(QDir::toNativeSeparators(path), refusal));
    }
    if (fd >= 0) {
        struct stat st {};
        QString refusal;
        if (::fstat(fd, &st) != 0)
            refusal = reasonOf(errno);
        else
            refusal = refusalFor(st.st_mode);
        if (refusal.isEmpty()) {
            old.reserve(qsizetype(st.st_size) + bytes.size());
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0) {
                    refusal = reasonOf(errno);
                    break;
                }
                if (n == 0)
                    break;
                old.append(buffer, n);
            }
        }
        ::close(fd);
        if (!refusal.isEmpty())
            return Status::failure(QStringLiteral("%1 を読み込めませんでした。（%2）").arg(QDir::toNativeSeparators(path), refusal));
    }
    SafeSave out(path);
    out.write(old);
    out.write(bytes);
    return out.commit();
}

int removeInterruptedSaves(const QString& folder, const QString& onlyFor, const QStringList& legacyNames) {
    if (folder.isEmpty())
        return 0;
    const QByteArray dirName = QFile::encodeName(folder);
    DIR* dir = ::opendir(dirName.constData());
    if (!dir)
        return 0;
    const QByteArray only = QFile::encodeName(onlyFor);
    std::vector<QRegularExpression> legacy;
    for (const QString& pattern : legacyNames)
        legacy.emplace_back(QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive));
    const qsizetype mark = qsizetype(sizeof(kSaveTemporaryMark)) - 1;
    std::vector<QByteArray> doomed;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        bool ours = false;
        if (isSaveTemporaryName(name)) {
            const QByteArrayView base = name.first(name.size() - 6 - mark);
            ours = only.isEmpty() || base == only || (only.size() > base.size() && only.startsWith(base) &&
                                                      name.size() == kNameMax);
        } else if (!legacy.empty() && endsInSixAlnum(name) && name.size() > 7 && name[name.size() - 7] == '.' &&
                   looksRandom(name.last(6))) {
            const QString base = QFile::decodeName(name.first(name.size() - 7).toByteArray());
            ours = std::any_of(legacy.begin(), legacy.end(),
                               [&](const QRegularExpression& re) { return re.match(base).hasMatch(); });
        }
        if (ours)
            doomed.emplace_back(name.toByteArray());
    }
    ::closedir(dir);
    int removed = 0;
    const QByteArray prefix = dirName.endsWith('/') ? dirName : dirName + '/';
    for (const QByteArray& name : doomed) {
        const QByteArray path = prefix + name;
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.constData()) == 0)
            ++removed;
    }
    if (removed > 0)
        (void)syncFolderOf(prefix + "x");
    return removed;
}

}  // namespace zm
