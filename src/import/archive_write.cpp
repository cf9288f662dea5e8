// The writing side of the archive adapter: -lh5- members with level-2 headers.

#include "import/archive.h"

#include "app/safe_save.h"
#include "codes/sjis.h"
#include "codes/status.h"
#include "import/lzh_encode.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zm {

namespace {

void putU16(QByteArray& out, unsigned v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void putU32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

void putExtended(QByteArray& out, char type, const QByteArray& body) {
    putU16(out, static_cast<unsigned>(body.size() + 3));
    out.append(type);
    out.append(body);
}

// One member with a level-2 header: the base header, the common header (its CRC filled in at
// the end), the file name and folder name headers, then the data.
void appendMember(QByteArray& out, const ArchiveMember& m) {
    QString path = m.path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    QString folder;
    QString file = path;
    if (m.isDir) {
        folder = path;
        file.clear();
    } else if (const qsizetype slash = path.lastIndexOf(QLatin1Char('/')); slash >= 0) {
        folder = path.left(slash);
        file = path.mid(slash + 1);
    }

    QByteArray payload;
    const char* method = "-lhd-";
    if (!m.isDir) {
        payload = lzhCompressLh5(m.data);
        method = "-lh5-";
        if (payload.size() >= m.data.size()) {
            payload = m.data;
            method = "-lh0-";
        }
    }

    QByteArray h;
    putU16(h, 0);  // total header size, filled in below
    h.append(method, 5);
    putU32(h, static_cast<quint32>(payload.size()));
    putU32(h, m.isDir ? 0U : static_cast<quint32>(m.data.size()));
    putU32(h, static_cast<quint32>(qBound<qint64>(0, m.mtime, 0xFFFFFFFFLL)));
    h.append(static_cast<char>(m.isDir ? 0x10 : 0x20));  // MS-DOS attribute
    h.append(static_cast<char>(2));                        // header level
    putU16(h, m.isDir ? 0U : lzhCrc16(m.data));
    h.append('w');  // Windows: readers keep the case of the names as stored

    const qsizetype commonAt = h.size();
    putExtended(h, 0x00, QByteArray(2, '\0'));
    if (!m.isDir) {
        putExtended(h, 0x01, toSjis(file));
    }
    if (!folder.isEmpty()) {
        QByteArray dir = toSjis(folder);
        dir.replace('/', '\xFF');
        dir.append('\xFF');
        putExtended(h, 0x02, dir);
    }
    putU16(h, 0);  // no further extended header
    if ((h.size() & 0xFF) == 0) {
        h.append('\0');  // a header whose size ends in a zero byte would read as the end mark
    }
    h[0] = static_cast<char>(h.size() & 0xFF);
    h[1] = static_cast<char>((h.size() >> 8) & 0xFF);
    const std::uint16_t headerCrc = lzhCrc16(h);
    h[commonAt + 3] = static_cast<char>(headerCrc & 0xFF);
    h[commonAt + 4] = static_cast<char>(headerCrc >> 8);

    out.append(h);
    out.append(payload);
}

}  // namespace

QByteArray writeArchive(const std::vector<ArchiveMember>& members) {
    QByteArray out;
    for (const ArchiveMember& m : members) {
        appendMember(out, m);
    }
    out.append('\0');
    return out;
}

bool createArchive(const QString& archiveFile, const QStringList& files, QString& message) {
    QString target = archiveFile;
    if (!QFileInfo(target).fileName().contains(QLatin1Char('.'))) {
        target += QStringLiteral(".LZH");
    }
    std::vector<ArchiveMember> members;
    members.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            message = QStringLiteral("ファイル「%1」を読み込めません。").arg(QDir::toNativeSeparators(path));
            return false;
        }
        ArchiveMember m;
        m.path = QFileInfo(path).fileName();
        m.data = f.readAll();
        m.mtime = QFileInfo(path).lastModified().toSecsSinceEpoch();
        members.push_back(std::move(m));
    }
    const QByteArray bytes = writeArchive(members);
    if (const Status saved = SafeSave::save(target, bytes); !saved) {
        message = QStringLiteral("圧縮ファイル「%1」を作成できません。").arg(QDir::toNativeSeparators(target)) +
                  QStringLiteral("\r\n") + saved.message();
        return false;
    }
    return true;
}

}  // namespace zm
