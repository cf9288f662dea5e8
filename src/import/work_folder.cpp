#include "import/work_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zm {

bool emptyFolder(const QString& folder) {
    if (folder.isEmpty())
        return true;
    QDir dir(folder);
    if (!dir.exists())
        return true;
    bool emptied = true;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& info : entries) {
        if (info.isDir() && !info.isSymLink())
            emptied = QDir(info.absoluteFilePath()).removeRecursively() && emptied;
        else
            emptied = QFile::remove(info.absoluteFilePath()) && emptied;
    }
    return emptied;
}

}  // namespace zm
