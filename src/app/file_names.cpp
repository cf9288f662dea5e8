#include "app/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include <sys/stat.h>

namespace zm {

bool isRegularFile(const QString& path) {
    if (path.isEmpty())
        return false;
    // QFileInfo::isFile() also holds for FIFOs and devices; stat follows links as open does.
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isRealFolder(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    struct stat st {};
    return !p.isEmpty() && ::lstat(QFile::encodeName(p).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString notRealFolderMessage(const QString& path) {
    return QStringLiteral("フォルダ「%1」がフォルダではありません（リンクなど）。処理を中止します。")
        .arg(QDir::toNativeSeparators(path));
}

std::optional<QByteArray> readRegularFile(const QString& path) {
    if (!isRegularFile(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

QString notRegularFileMessage(const QString& path) {
    return QStringLiteral("%1 は通常のファイルではありません。").arg(QDir::toNativeSeparators(path));
}

QString findFileNoCase(const QString& folder, const QString& name) {
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QDir dir(folder);
    if (isRegularFile(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0 && isRegularFile(dir.filePath(entry)))
            return dir.filePath(entry);
    }
    return {};
}

QStringList listFilesNoCase(const QString& folder, const QString& pattern, int limit) {
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    QStringList names;
    // Name filters of QDir ignore case unless told otherwise.
    for (const QString& name : dir.entryList(QStringList{pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort)) {
        if (isRegularFile(dir.filePath(name)))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    if (limit >= 0 && names.size() > limit)
        names.resize(limit);
    return names;
}

}  // namespace zm
