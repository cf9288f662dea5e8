#include "import/work_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zm {

QString findFileNoCase(const QString& folder, const QString& name) {
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

QStringList listFilesNoCase(const QString& folder, const QString& pattern, int limit) {
    QDir dir(folder);
    QStringList names = dir.entryList(QStringList{pattern}, QDir::Files | QDir::Hidden, QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    if (limit >= 0 && names.size() > limit)
        names.resize(limit);
    return names;
}

void emptyFolder(const QString& folder) {
    if (folder.isEmpty())
        return;
    QDir dir(folder);
    if (!dir.exists())
        return;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : entries) {
        if (info.isDir() && !info.isSymLink())
            QDir(info.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(info.absoluteFilePath());
    }
}

}  // namespace zm
