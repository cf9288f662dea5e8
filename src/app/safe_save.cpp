#include "app/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace zm {

QString writeFailureMessage(const QString& path, const QString& reason, qint64 bytesNeeded) {
    const QString name = QDir::toNativeSeparators(path);
    const QStorageInfo disk(QFileInfo(path).absolutePath());
    if (disk.isValid() && disk.isReady() && disk.bytesAvailable() <= qMax<qint64>(bytesNeeded, 0))
        return QStringLiteral("ディスクの空きがないため、%1 を書き込めませんでした。").arg(name);
    if (reason.isEmpty())
        return QStringLiteral("%1 を書き込めませんでした。").arg(name);
    return QStringLiteral("%1 を書き込めませんでした。（%2）").arg(name, reason);
}

SafeSave::SafeSave(const QString& path) : path_(path), file_(path) {
    // Write next to the target only: never fall back to writing into the old file in place.
    file_.setDirectWriteFallback(false);
    if (QFileInfo(path).isDir() || !file_.open(QIODevice::WriteOnly))
        failed_ = true;
}

void SafeSave::write(QByteArrayView bytes) {
    if (failed_ || bytes.isEmpty())
        return;
    if (file_.write(bytes.data(), bytes.size()) != bytes.size()) {
        failed_ = true;
        return;
    }
    written_ += bytes.size();
}

Status SafeSave::commit() {
    if (failed_ || !file_.commit()) {
        const QString reason = QFileInfo(path_).isDir() ? QStringLiteral("同じ名前のフォルダがあります")
                                                        : file_.errorString();
        if (file_.isOpen())
            file_.cancelWriting();
        return Status::failure(writeFailureMessage(path_, reason, written_));
    }
    return {};
}

Status saveFile(const QString& path, QByteArrayView bytes) {
    SafeSave out(path);
    out.write(bytes);
    return out.commit();
}

namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Opens path for writing it whole (created, or emptied) without following a link there, and
// writes bytes. The open file, or -1 with failure set.
int writeWhole(const QString& path, QByteArrayView bytes, Status& failure) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const QString reason =
            QFileInfo(path).isDir() ? QStringLiteral("同じ名前のフォルダがあります") : reasonOf(errno);
        failure = Status::failure(writeFailureMessage(path, reason));
        return -1;
    }
    const char* at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failure = Status::failure(writeFailureMessage(path, reasonOf(n < 0 ? errno : ENOSPC), left));
            ::close(fd);
            return -1;
        }
        at += n;
        left -= n;
    }
    return fd;
}

}  // namespace

Status writeScratchFile(const QString& path, QByteArrayView bytes) {
    Status failure;
    const int fd = writeWhole(path, bytes, failure);
    if (fd < 0)
        return failure;
    if (::close(fd) != 0)
        return Status::failure(writeFailureMessage(path, reasonOf(errno)));
    return {};
}

BackgroundSave::~BackgroundSave() {
    join();
}

void BackgroundSave::join() {
    if (flusher_.joinable())
        flusher_.join();
    if (fd_ >= 0 && ::close(fd_) != 0 && flushError_ == 0)
        flushError_ = errno;
    fd_ = -1;
}

Status BackgroundSave::write(const QString& path, QByteArrayView bytes) {
    join();
    path_ = path;
    size_ = bytes.size();
    flushError_ = 0;
    writeFailure_ = {};
    fd_ = writeWhole(path, bytes, writeFailure_);
    if (fd_ < 0)
        return writeFailure_;
    const int fd = fd_;
    auto flush = [this, fd] {
        if (::fdatasync(fd) != 0)
            flushError_ = errno;
    };
    try {
        flusher_ = std::thread(flush);
    } catch (const std::system_error&) {
        flush();  // no thread to be had: flushed here instead
    }
    return {};
}

Status BackgroundSave::finish() {
    join();
    if (!writeFailure_)
        return writeFailure_;
    if (flushError_ != 0)
        return Status::failure(writeFailureMessage(path_, reasonOf(flushError_), size_));
    return {};
}

Status appendToFile(const QString& path, QByteArrayView bytes) {
    QByteArray old;
    QFile in(path);
    if (in.exists()) {
        if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly))
            return Status::failure(QStringLiteral("%1 を読み込めませんでした。").arg(QDir::toNativeSeparators(path)));
        old = in.readAll();
        in.close();
    }
    SafeSave out(path);
    out.write(old);
    out.write(bytes);
    return out.commit();
}

}  // namespace zm
