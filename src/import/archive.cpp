#include "import/archive.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/sjis.h"
#include "import/archive_decode.h"
#include "import/lzh_encode.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <cstring>
#include <memory>

extern "C" {
#include <lha_reader.h>
}

namespace zm {

namespace {

// ---------------------------------------------------------------------------------------------
// Messages

QString brokenMessage(const QString& archive) {
    return QStringLiteral("圧縮ファイル「%1」が壊れています。").arg(archive);
}

QString badNameMessage(const QString& archive, const QString& name) {
    return QStringLiteral("圧縮ファイル「%1」に不正なファイル名「%2」が含まれているため処理を中止します。")
        .arg(archive, name);
}

QString notPlainMessage(const QString& archive, const QString& name) {
    return QStringLiteral("圧縮ファイル「%1」に通常のファイルでない「%2」が含まれているため処理を中止します。")
        .arg(archive, name);
}

QString tooLargeMessage(const QString& archive) {
    return QStringLiteral("圧縮ファイル「%1」は大きすぎるため処理を中止します。").arg(archive);
}

QString methodMessage(const QString& archive, const QString& method) {
    return QStringLiteral("圧縮ファイル「%1」の圧縮形式「%2」には対応していません。").arg(archive, method);
}

// ---------------------------------------------------------------------------------------------
// Reading through liblhasa from memory

struct MemoryStream {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
};

// liblhasa treats 0 from a read as "try again" in places; -1 at the end of the data keeps a
// truncated archive from spinning.
int memoryRead(void* handle, void* buf, std::size_t len) {
    auto* s = static_cast<MemoryStream*>(handle);
    const std::size_t avail = s->size - s->pos;
    if (len == 0) {
        return 0;
    }
    if (avail == 0) {
        return -1;
    }
    const std::size_t n = std::min({len, avail, std::size_t(1) << 30});
    std::memcpy(buf, s->data + s->pos, n);
    s->pos += n;
    return static_cast<int>(n);
}

int memorySkip(void* handle, std::size_t bytes) {
    auto* s = static_cast<MemoryStream*>(handle);
    if (bytes > s->size - s->pos) {
        s->pos = s->size;
        return 0;
    }
    s->pos += bytes;
    return 1;
}

void memoryClose(void*) {}

const LHAInputStreamType kMemoryStreamType = {memoryRead, memorySkip, memoryClose};

struct ReaderDeleter {
    void operator()(LHAReader* r) const { lha_reader_free(r); }
};
struct StreamDeleter {
    void operator()(LHAInputStream* s) const { lha_input_stream_free(s); }
};

enum class NameCheck { Ok, Bad };

// Checks a stored member name and gives it with "/" separators, no empty or "." parts.
// Refuses absolute paths, drive letters (any ":"), "..", control characters, bytes that are
// not Shift-JIS, and the characters Windows does not allow in names ("|" also marks a link).
NameCheck checkName(const QString& raw, QString& clean) {
    QString name = raw;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char(':'))) {
        return NameCheck::Bad;
    }
    for (const QChar ch : name) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || ch == QChar(0xFFFD) ||
            QStringView(u"|<>\"*?").contains(ch)) {
            return NameCheck::Bad;
        }
    }
    QStringList parts;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            return NameCheck::Bad;
        }
        if (part != QLatin1String(".")) {
            parts << part;
        }
    }
    clean = parts.join(QLatin1Char('/'));
    return NameCheck::Ok;
}

unsigned rawU16(const std::uint8_t* p) {
    return unsigned(p[0]) | (unsigned(p[1]) << 8);
}

std::size_t rawU32(const std::uint8_t* p) {
    return std::size_t(p[0]) | (std::size_t(p[1]) << 8) | (std::size_t(p[2]) << 16) | (std::size_t(p[3]) << 24);
}

// The member's name bytes as the header stores them, folders joined with "/". liblhasa's own
// path and file name are altered (all-capital MS-DOS names come back in small letters, a
// Shift-JIS second byte 0x5C may be taken for a separator), so the name is read from the raw
// header. Returns nothing when the header layout is not understood.
std::optional<QByteArray> storedName(const LHAFileHeader* h) {
    const std::uint8_t* raw = h->raw_data;
    const std::size_t len = h->raw_data_len;
    if (raw == nullptr || len < 21) {
        return std::nullopt;
    }
    const int level = raw[20];
    QByteArray file;
    QByteArray dir;
    std::size_t pos = 0;
    std::size_t next = 0;
    int sizeBytes = 2;
    if (level == 0 || level == 1) {
        const std::size_t nameLen = len > 21 ? raw[21] : 0;
        if (len < 22 + nameLen) {
            return std::nullopt;
        }
        file = QByteArray(reinterpret_cast<const char*>(raw + 22), static_cast<qsizetype>(nameLen));
        if (level == 1) {
            const std::size_t base = std::size_t(raw[0]) + 2;
            if (base < 2 || base > len) {
                return std::nullopt;
            }
            pos = base;
            next = rawU16(raw + base - 2);
        }
    } else if (level == 2) {
        if (len < 26) {
            return std::nullopt;
        }
        pos = 26;
        next = rawU16(raw + 24);
    } else if (level == 3) {
        if (len < 32) {
            return std::nullopt;
        }
        pos = 32;
        next = rawU32(raw + 28);
        sizeBytes = 4;
    } else {
        return std::nullopt;
    }
    // Extended headers: type byte, body, size of the next one.
    while (next != 0) {
        if (next < std::size_t(1) + std::size_t(sizeBytes) || next > len - std::min(pos, len)) {
            return std::nullopt;
        }
        const std::uint8_t type = raw[pos];
        const auto* body = reinterpret_cast<const char*>(raw + pos + 1);
        const auto bodyLen = static_cast<qsizetype>(next - 1 - sizeBytes);
        if (type == 0x01) {
            file = QByteArray(body, bodyLen);
        } else if (type == 0x02) {
            dir = QByteArray(body, bodyLen);
        }
        const std::uint8_t* sizeAt = raw + pos + next - sizeBytes;
        pos += next;
        next = sizeBytes == 2 ? rawU16(sizeAt) : rawU32(sizeAt);
    }
    QByteArray name = dir;
    if (!name.isEmpty() && !name.endsWith('\xFF') && !file.isEmpty()) {
        name.append('/');
    }
    name.append(file);
    name.replace('\xFF', '/');  // never a Shift-JIS byte; some writers separate folders with it
    return name;
}

bool isKnownMethod(const char* method) {
    static const char* const kMethods[] = {"-lh0-", "-lh1-", "-lh4-", "-lh5-", "-lh6-", "-lh7-",
                                           "-lz4-", "-lz5-", "-lzs-", "-pm0-", "-pm1-", "-pm2-"};
    for (const char* m : kMethods) {
        if (std::strcmp(method, m) == 0) {
            return true;
        }
    }
    return false;
}

// Unix file-type bits, when the header carries Unix permissions.
constexpr unsigned kTypeMask = 0170000;
constexpr unsigned kTypeRegular = 0100000;
constexpr unsigned kTypeDirectory = 0040000;

bool emptyFolder(const QString& dir) {
    QDir d(dir);
    if (!d.exists() && !QDir().mkpath(dir)) {
        return false;
    }
    bool ok = true;
    const QFileInfoList entries =
        d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : entries) {
        if (fi.isDir() && !fi.isSymLink()) {
            ok = QDir(fi.absoluteFilePath()).removeRecursively() && ok;
        } else {
            ok = QFile::remove(fi.absoluteFilePath()) && ok;
        }
    }
    return ok;
}

bool isInside(const QString& path, const QString& canonicalRoot) {
    const QString c = QFileInfo(path).canonicalFilePath();
    return !c.isEmpty() && (c == canonicalRoot || c.startsWith(canonicalRoot + QLatin1Char('/')));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

namespace {

// Where the reader stands between members.
struct ReadPosition {
    std::size_t nextHeader = 0;  // where the header after the last member must start
    qint64 unpacked = 0;         // bytes of data so far
    int members = 0;
};

// Checks one member's header: that it follows the previous member without a gap, that its
// data lies inside the archive, that it is a plain file or folder with a safe name, a known
// method and a size within the limits. The member without its data, or nothing with message
// set.
std::optional<ArchiveMember> checkMemberHeader(const LHAFileHeader* h, const MemoryStream& ms, ReadPosition& at,
                                               const QString& archiveName, QString& message) {
    // liblhasa looks past bytes it cannot read as a header for the next header; members
    // must follow one another without a gap, from the first byte on.
    const std::size_t dataStart = ms.pos;
    if (h->raw_data_len > dataStart || dataStart - h->raw_data_len != at.nextHeader) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    QByteArray rawName;
    if (const auto stored = storedName(h)) {
        rawName = *stored;
    } else {
        if (h->path != nullptr)
            rawName += h->path;
        if (h->filename != nullptr)
            rawName += h->filename;
    }
    const QString shownName = fromSjis(rawName);

    if (h->compressed_length > ms.size - std::min(dataStart, ms.size)) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    at.nextHeader = dataStart + h->compressed_length;

    const bool isDir = std::strcmp(h->compress_method, LHA_COMPRESS_TYPE_DIR) == 0;
    if (h->symlink_target != nullptr) {
        message = notPlainMessage(archiveName, shownName);
        return std::nullopt;
    }
    if (LHA_FILE_HAVE_EXTRA(h, LHA_FILE_UNIX_PERMS)) {
        const unsigned type = h->unix_perms & kTypeMask;
        if (type != 0 && type != (isDir ? kTypeDirectory : kTypeRegular)) {
            message = notPlainMessage(archiveName, shownName);
            return std::nullopt;
        }
    }
    QString clean;
    if (checkName(shownName, clean) != NameCheck::Ok || (clean.isEmpty() && !isDir)) {
        message = badNameMessage(archiveName, shownName);
        return std::nullopt;
    }
    if (!isDir && !isKnownMethod(h->compress_method)) {
        message = methodMessage(archiveName, QString::fromLatin1(h->compress_method, 5));
        return std::nullopt;
    }
    if (at.members >= kMaxMembers) {
        message = tooLargeMessage(archiveName);
        return std::nullopt;
    }
    if (isDir && h->length != 0) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    if (!isDir && (h->length > static_cast<std::size_t>(kMaxMemberBytes) ||
                   at.unpacked + static_cast<qint64>(h->length) > kMaxUnpackedBytes)) {
        message = tooLargeMessage(archiveName);
        return std::nullopt;
    }
    ArchiveMember m;
    m.path = clean;
    m.isDir = isDir;
    m.mtime = h->timestamp;
    return m;
}

// The data of a Macintosh member goes through the reader, which takes off a MacBinary header
// the decoder's CRC covers: there the CRC is taken of the data handed back.
bool readMacMember(LHAReader* reader, const LHAFileHeader* h, ArchiveMember& m) {
    m.data.resize(static_cast<qsizetype>(h->length));
    auto* out = reinterpret_cast<std::uint8_t*>(m.data.data());
    std::size_t got = 0;
    while (got < h->length) {
        const std::size_t n = lha_reader_read(reader, out + got, h->length - got);
        if (n == 0)
            break;
        got += n;
    }
    return got == h->length && lzhCrc16(m.data) == h->crc;
}

PackedMember packedMember(const MemoryStream& ms, const LHAFileHeader* h) {
    PackedMember p;
    p.packed = ms.data + ms.pos;
    p.packedLength = h->compressed_length;
    p.length = h->length;
    p.crc = h->crc;
    std::memcpy(p.method.data(), h->compress_method, std::min(p.method.size() - 1, std::strlen(h->compress_method)));
    return p;
}

}  // namespace

std::optional<std::vector<ArchiveMember>> readArchive(QByteArrayView bytes, const QString& archiveName,
                                                      QString& message) {
    if (bytes.size() > kMaxArchiveBytes) {
        message = tooLargeMessage(archiveName);
        return std::nullopt;
    }
    if (bytes.isEmpty()) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    MemoryStream ms{reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<std::size_t>(bytes.size()),
                    0};
    std::unique_ptr<LHAInputStream, StreamDeleter> stream(lha_input_stream_new(&kMemoryStreamType, &ms));
    std::unique_ptr<LHAReader, ReaderDeleter> reader(stream ? lha_reader_new(stream.get()) : nullptr);
    if (!reader) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);

    // The headers are read first and the members' data unpacked after, side by side. A member
    // found damaged comes before any fault of a later header, as it would one after another.
    std::vector<ArchiveMember> members;
    std::vector<PackedMember> packed;
    std::vector<std::size_t> packedOf;  // the member of each
    ReadPosition at;
    QString headerFault;
    bool headerFailed = false;
    while (const LHAFileHeader* h = lha_reader_next_file(reader.get())) {
        std::optional<ArchiveMember> m = checkMemberHeader(h, ms, at, archiveName, headerFault);
        if (!m) {
            headerFailed = true;
            break;
        }
        if (m->isDir) {
            if (!m->path.isEmpty()) {
                members.push_back(std::move(*m));
                ++at.members;
            }
            continue;
        }
        if (h->os_type == LHA_OS_TYPE_MACOS) {
            if (!readMacMember(reader.get(), h, *m)) {
                message = brokenMessage(archiveName);
                return std::nullopt;
            }
        } else {
            packed.push_back(packedMember(ms, h));
            packedOf.push_back(members.size());
        }
        at.unpacked += static_cast<qint64>(h->length);
        members.push_back(std::move(*m));
        ++at.members;
    }
    for (std::size_t i = 0; i < packed.size(); ++i)
        packed[i].data = &members[packedOf[i]].data;
    if (!unpackMembers(packed)) {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    if (headerFailed) {
        message = headerFault;
        return std::nullopt;
    }

    // No further header could be read: what follows the last member must be the end mark.
    // Without it the archive may have been cut right after a member.
    if (at.nextHeader >= ms.size || bytes[static_cast<qsizetype>(at.nextHeader)] != '\0') {
        message = brokenMessage(archiveName);
        return std::nullopt;
    }
    return members;
}

namespace {

// The archive file's bytes, read whole; a file that is not there, not a regular file or cannot
// be opened, and one over the size limit, are told apart.
struct ArchiveFile {
    bool opened = false;
    bool tooLarge = false;
    QByteArray bytes;
};

ArchiveFile readArchiveFile(const QString& archiveFile) {
    ArchiveFile a;
    QFile in;
    a.opened = openRegularFile(in, archiveFile);
    a.tooLarge = a.opened && in.size() > kMaxArchiveBytes;
    // Read to its end (the reader refuses bytes beyond the limit should the file have grown):
    // a read of the limit itself would take a buffer of that size first.
    if (a.opened && !a.tooLarge)
        a.bytes = in.readAll();
    return a;
}

}  // namespace

QString cannotEmptyFolderMessage(const QString& folder) {
    return QStringLiteral("フォルダ「%1」を空にできません。").arg(QDir::toNativeSeparators(QDir::cleanPath(folder) + u'/'));
}

namespace {

QString cannotOpenMessage(const QString& archiveName) {
    return QStringLiteral("圧縮ファイル「%1」を開けません。").arg(archiveName);
}

QString cannotWriteMessage(const QString& archiveName, const QString& member) {
    return QStringLiteral("圧縮ファイル「%1」の「%2」を書き出せません。").arg(archiveName, member);
}

}  // namespace

std::optional<std::vector<ArchiveMember>> unpackTopFiles(const QString& archiveFile, QString& message) {
    const QString archiveName = QFileInfo(archiveFile).fileName();
    const ArchiveFile file = readArchiveFile(archiveFile);
    if (!file.opened) {
        message = cannotOpenMessage(archiveName);
        return std::nullopt;
    }
    if (file.tooLarge) {
        message = tooLargeMessage(archiveName);
        return std::nullopt;
    }
    auto members = readArchive(file.bytes, archiveName, message);
    if (!members)
        return std::nullopt;
    // What extraction with folders builds in an empty folder, member by member: a folder where
    // a file was (or the other way round) cannot be written there, and refuses the archive.
    QSet<QString> folders;
    QHash<QString, qsizetype> files;  // path -> member
    auto addFolders = [&](const QString& path, bool withItself) {
        const QStringList parts = path.split(u'/');
        QString at;
        for (qsizetype i = 0; i < parts.size() - (withItself ? 0 : 1); ++i) {
            at += (i > 0 ? QStringLiteral("/") : QString()) + parts[i];
            if (files.contains(at))
                return false;
            folders.insert(at);
        }
        return true;
    };
    for (qsizetype i = 0; i < qsizetype(members->size()); ++i) {
        const ArchiveMember& m = (*members)[size_t(i)];
        if (!addFolders(m.path, m.isDir) || (!m.isDir && folders.contains(m.path))) {
            message = cannotWriteMessage(archiveName, m.path);
            return std::nullopt;
        }
        if (!m.isDir)
            files.insert(m.path, i);
    }
    std::vector<ArchiveMember> top;
    for (qsizetype i = 0; i < qsizetype(members->size()); ++i) {
        ArchiveMember& m = (*members)[size_t(i)];
        if (!m.isDir && !m.path.contains(u'/') && files.value(m.path) == i)
            top.push_back(std::move(m));
    }
    return top;
}

bool extractArchive(const QString& archiveFile, const QString& destDir, bool keepFolders, QString& message) {
    const QString archiveName = QFileInfo(archiveFile).fileName();
    // The destination is emptied first: an empty path (the current folder) or a root folder
    // is never taken for it.
    if (destDir.trimmed().isEmpty() || QDir(QDir::cleanPath(destDir)).isRoot()) {
        message = QStringLiteral("展開先のフォルダ「%1」は使えません。").arg(destDir);
        return false;
    }
    const QString dest = QDir::cleanPath(destDir) + QLatin1Char('/');
    if (QFileInfo(QDir::cleanPath(destDir)).isSymLink()) {
        message = notRealFolderMessage(dest);
        return false;
    }

    // The archive is read before the destination is emptied: it may lie in that folder.
    const ArchiveFile file = readArchiveFile(archiveFile);

    if (!emptyFolder(dest)) {
        message = cannotEmptyFolderMessage(dest);
        return false;
    }
    if (!file.opened) {
        message = cannotOpenMessage(archiveName);
        return false;
    }
    if (file.tooLarge) {
        message = tooLargeMessage(archiveName);
        return false;
    }

    auto members = readArchive(file.bytes, archiveName, message);
    if (!members) {
        return false;
    }

    const QString root = QFileInfo(dest).canonicalFilePath();
    auto fail = [&](const QString& name) {
        message = cannotWriteMessage(archiveName, name);
        emptyFolder(dest);
        return false;
    };
    for (const ArchiveMember& m : *members) {
        if (m.isDir) {
            if (keepFolders && (!QDir().mkpath(dest + m.path) || !isInside(dest + m.path, root))) {
                return fail(m.path);
            }
            continue;
        }
        const QString rel = keepFolders ? m.path : m.path.section(QLatin1Char('/'), -1);
        const QString target = dest + rel;
        const QString parent = QFileInfo(target).path();
        if (!QDir().mkpath(parent) || !isInside(parent, root)) {
            return fail(m.path);
        }
        // The destination was emptied above and is emptied again on failure: scratch space.
        if (!SafeSave::save(target, m.data, SafeSave::Flush::None)) {
            return fail(m.path);
        }
    }
    return true;
}

}  // namespace zm
