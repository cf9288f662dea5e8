#include "import/work_folder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace zm {

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
