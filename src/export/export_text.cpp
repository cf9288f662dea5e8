#include "export/export_text.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include "zenomur_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace zm {

QString programVersion() {
    return QStringLiteral(ZENOMUR_VERSION);
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toSjis(line);
        bytes += "\r\n";
    }
    return bytes;
}

int stakeOf(const QString& text) {
    const double hundreds = std::floor(Val(text) / 100.0);
    if (!(hundreds >= 1.0))
        return 100;
    return hundreds > 1e7 ? 1000000000 : static_cast<int>(hundreds) * 100;
}

Status saveExportFile(const ExportFile& file) {
    if (file.path.isEmpty())
        return {};
    Status saved;
    if (file.remove) {
        if (QFile::exists(file.path) && !QFile::remove(file.path))
            saved = Status::failure(QStringLiteral("%1 を削除できませんでした。").arg(QDir::toNativeSeparators(file.path)));
    } else {
        // Lines are added to the file under whatever spelling of its name it has.
        const QFileInfo info(file.path);
        const QString existing = file.append ? findFileNoCase(info.path() + u'/', info.fileName()) : QString();
        saved = file.append ? SafeSave::append(existing.isEmpty() ? file.path : existing, file.bytes)
                            : SafeSave::save(file.path, file.bytes);
    }
    return saved;
}

}  // namespace zm
