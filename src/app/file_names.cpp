#include "app/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zm {

QString decodeNativePath(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        // The length and smallest value of a well-formed UTF-8 sequence starting with b.
        int len = 0;
        char32_t min = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            len = 1;
            cp = b;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1Fu;
            min = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0Fu;
            min = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07u;
            min = 0x10000;
        }
        bool ok = len > 0 && i + len <= n;
        for (int k = 1; ok && k < len; ++k) {
            ok = (p[i + k] & 0xC0u) == 0x80u;
            cp = (cp << 6) | (p[i + k] & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
        ok = ok && cp >= min && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (!ok) {
            out += QChar(char16_t(0xDC00u + b));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out += QChar(QChar::highSurrogate(cp));
            out += QChar(QChar::lowSurrogate(cp));
        } else {
            out += QChar(char16_t(cp));
        }
        i += len;
    }
    return out;
}

QByteArray encodeNativePath(const QString& path) {
    QByteArray out;
    out.reserve(path.size());
    qsizetype from = 0;  // start of the run of ordinary text not yet encoded
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t u = path.at(i).unicode();
        const bool escapedByte = u >= 0xDC80 && u <= 0xDCFF && (i == 0 || !path.at(i - 1).isHighSurrogate());
        if (!escapedByte)
            continue;
        out += QStringView(path).mid(from, i - from).toUtf8();
        out += char(u - 0xDC00);
        from = i + 1;
    }
    out += QStringView(path).mid(from).toUtf8();
    return out;
}

bool isRegularFile(const QString& path) {
    if (path.isEmpty())
        return false;
    // QFileInfo::isFile() also holds for FIFOs and devices; stat follows links as open does.
    struct stat st {};
    return ::stat(encodeNativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFileEntry(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(encodeNativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool openRegularFile(QFile& file, const QString& path) {
    file.close();
    if (path.isEmpty())
        return false;
    // Opened without waiting for a writer (a FIFO would block), then checked on the open file
    // itself, so nothing can swap the name between the check and the read.
    const int fd = ::open(encodeNativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    // Reads of a regular file never wait; the flag is dropped all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool isRealFolder(const QString& path) {
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    struct stat st {};
    return !p.isEmpty() && ::lstat(encodeNativePath(p).constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString notRealFolderMessage(const QString& path) {
    return QStringLiteral("フォルダ「%1」がフォルダではありません（リンクなど）。処理を中止します。")
        .arg(QDir::toNativeSeparators(path));
}

std::optional<QByteArray> readRegularFile(const QString& path) {
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    return file.readAll();
}

Result<QByteArray> readOutsideFile(const QString& path, qint64 maxBytes) {
    const QString name = QDir::toNativeSeparators(path);
    struct stat st {};
    if (path.isEmpty() || ::stat(encodeNativePath(path).constData(), &st) != 0)
        return Result<QByteArray>::failure(QStringLiteral("%1 が見つかりません。").arg(name));
    QFile file;
    if (!openRegularFile(file, path)) {
        if (!S_ISREG(st.st_mode))
            return Result<QByteArray>::failure(notRegularFileMessage(path));
        return Result<QByteArray>::failure(QStringLiteral("%1 を読み込めませんでした。").arg(name));
    }
    auto tooBig = [&] {
        return Result<QByteArray>::failure(
            QStringLiteral("%1 は大きすぎます（%2 バイトまで）。").arg(name).arg(maxBytes));
    };
    if (file.size() > maxBytes)
        return tooBig();
    // Read up to one byte past what it holds (the cap at most): a file that grows past the cap
    // while it is read is refused too.
    QByteArray bytes = file.read(std::min(file.size(), maxBytes) + 1);
    if (bytes.size() > maxBytes)
        return tooBig();
    if (file.error() != QFileDevice::NoError)
        return Result<QByteArray>::failure(QStringLiteral("%1 を読み込めませんでした。").arg(name));
    return bytes;
}

QString notRegularFileMessage(const QString& path) {
    return QStringLiteral("%1 は通常のファイルではありません。").arg(QDir::toNativeSeparators(path));
}

namespace {

// Those of the names in dir that are regular files, sorted by name ignoring case (then
// exactly), at most limit of them (all when limit < 0).
QStringList sortedRegularFiles(const QDir& dir, const QStringList& candidates, int limit) {
    QStringList names;
    for (const QString& name : candidates) {
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

}  // namespace

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
    // Name filters of QDir ignore case unless told otherwise.
    return sortedRegularFiles(dir, dir.entryList(QStringList{pattern}, QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort), limit);
}

FolderNames::FolderNames(QString folder) : folder_(std::move(folder)) {
    if (folder_.isEmpty())
        return;
    // The names alone: what each one is, is asked of those that match a pattern only.
    DIR* dir = ::opendir(encodeNativePath(folder_).constData());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names_ << decodeNativePath(QByteArray(entry->d_name));
    }
    ::closedir(dir);
}

QStringList FolderNames::matching(const QString& pattern, int limit) const {
    if (folder_.isEmpty())
        return {};
    auto known = matched_.constFind(pattern);
    if (known == matched_.cend()) {
        // The wildcard as QDir's name filters read it.
        const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(pattern),
                                          QRegularExpression::CaseInsensitiveOption);
        QStringList matched;
        for (const QString& name : names_) {
            if (wildcard.match(name).hasMatch())
                matched << name;
        }
        known = matched_.insert(pattern, sortedRegularFiles(QDir(folder_), matched, -1));
    }
    return limit >= 0 && known->size() > limit ? known->first(limit) : *known;
}

}  // namespace zm
