#include "app/paths.h"

#include <QDir>
#include <QFileInfo>

namespace zm {

QString withTrailingSlash(const QString& folder) {
    if (folder.isEmpty()) {
        return folder;
    }
    QString f = folder;
    f.replace(u'\\', u'/');
    while (f.size() > 1 && f.endsWith(u'/')) {
        f.chop(1);
    }
    if (f == u"/") {
        return f;
    }
    return f + u'/';
}

AppPaths AppPaths::forHome(const QString& home) {
    AppPaths p;
    p.AppPath = withTrailingSlash(QDir(home).absolutePath());
    p.MurDataDefault = p.AppPath + QStringLiteral("MurData/");
    p.DataDir = p.AppPath + QStringLiteral("Data/");
    p.OutPutDefault = p.AppPath + QStringLiteral("OutPut/");
    p.WorkDir = p.AppPath + QStringLiteral("Work/");
    p.workRaceFile = p.WorkDir + QStringLiteral("mur_den1.kd2");
    p.workEntryFile = p.WorkDir + QStringLiteral("mur_den2.kd2");
    p.workHorseFile = p.WorkDir + QStringLiteral("mur_uma.kd2");
    return p;
}

bool FolderExists(const QString& path) {
    if (path.trimmed().isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}

void CreateFolders(const AppPaths& paths) {
    for (const QString& folder : {paths.MurDataDefault, paths.DataDir, paths.OutPutDefault, paths.WorkDir}) {
        QDir().mkpath(folder);
    }
}

}  // namespace zm
