#include "import/day_files.h"

#include "app/file_set.h"

namespace zm {

QString dayRaceFileName(const QString& date) { return QStringLiteral("MUR") + date + QStringLiteral("_1.DEN"); }
QString dayEntryFileName(const QString& date) { return QStringLiteral("MUR") + date + QStringLiteral("_2.DEN"); }
QString dayHorseFileName(const QString& date) { return QStringLiteral("MUR") + date + QStringLiteral(".UMA"); }
QString dayOddsFileName(const QString& date) { return QStringLiteral("MURODDS") + date + QStringLiteral(".DAT"); }

QString dayFileToRead(const FileSet* set, const QString& path) {
    return set ? set->readPath(path) : path;
}

QString dayFileWriteMessage(const QString& path, const Status& failure) {
    const QString crLf = QStringLiteral("\r\n");
    return QStringLiteral("ファイル「") + path + QStringLiteral("」に書き込めません！") + crLf + failure.message() + crLf +
           QStringLiteral("処理を中止します。");
}

}  // namespace zm
