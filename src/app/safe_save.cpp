#include "app/safe_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

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
