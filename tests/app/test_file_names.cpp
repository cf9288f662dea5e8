// Paths as bytes: names that are not UTF-8 survive the trip through the program's text, and
// only regular files are ever opened.

#include "app/file_names.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace zm {
namespace {

TEST(NativePath, EveryByteSequenceSurvivesTheRoundTrip) {
    const struct {
        const char* what;
        QByteArray bytes;
        QString text;  // the decoded text, empty when only the round trip is checked
    } cases[] = {
        {"ASCII", "/tmp/H261205.LZH", QStringLiteral("/tmp/H261205.LZH")},
        {"UTF-8 Japanese", "/data/東京", QStringLiteral("/data/東京")},
        {"Shift-JIS 東京", "\x93\x8c\x8b\x9e", QString(QChar(0xDC93)) + QChar(0xDC8C) + QChar(0xDC8B) + QChar(0xDC9E)},
        {"0xFF", "a\xff" "b", QStringLiteral("a") + QChar(0xDCFF) + QStringLiteral("b")},
        {"cut sequence", "\xe6\x9d", QString(QChar(0xDCE6)) + QChar(0xDC9D)},
        {"overlong slash", "\xc0\xaf", QString(QChar(0xDCC0)) + QChar(0xDCAF)},
        {"encoded surrogate", "\xed\xb3\xbf", QString(QChar(0xDCED)) + QChar(0xDCB3) + QChar(0xDCBF)},
        {"past U+10FFFF", "\xf4\x90\x80\x80", {}},
        {"four-byte character", "\xf0\x9f\x90\x8e", QString::fromUcs4(U"\U0001F40E")},
        {"character then stray byte", "\xf0\x90\x82\x80\x80", QString::fromUcs4(U"\U00010080") + QChar(0xDC80)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString text = decodeNativePath(c.bytes);
        if (!c.text.isEmpty()) {
            EXPECT_EQ(text, c.text);
        }
        EXPECT_EQ(encodeNativePath(text), c.bytes);
    }
}

TEST(NativePath, OnlyRegularFilesAreOpened) {
    QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    const QString odd = decodeNativePath(base + "/\xff\x93.LZH");
    {
        QFile f(QString::fromUtf8(base) + QStringLiteral("/plain"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("abc");
    }
    ASSERT_EQ(::link((base + "/plain").constData(), encodeNativePath(odd).constData()), 0);
    ASSERT_EQ(::mkfifo((base + "/fifo").constData(), 0600), 0);
    const struct {
        QString path;
        bool regular;
        bool entry;
    } cases[] = {
        {dir.path() + QStringLiteral("/plain"), true, true},
        {odd, true, true},
        {dir.path() + QStringLiteral("/fifo"), false, true},
        {dir.path(), false, false},
        {dir.path() + QStringLiteral("/missing"), false, false},
        {QString(), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(isRegularFile(c.path), c.regular);
        EXPECT_EQ(isFileEntry(c.path), c.entry);
        QFile f;
        EXPECT_EQ(openRegularFile(f, c.path), c.regular);  // a FIFO without a writer: no hang
        EXPECT_EQ(readRegularFile(c.path), c.regular ? std::optional<QByteArray>("abc") : std::nullopt);
    }
}

TEST(NativePath, OutsideFilesAreCapped) {
    QTemporaryDir dir;
    const QString d = dir.path() + u'/';
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(d + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(QStringLiteral("small"), "0123456789");
    write(QStringLiteral("empty"), {});
    ASSERT_EQ(::mkfifo(QFile::encodeName(d + QStringLiteral("fifo")).constData(), 0600), 0);
    const struct {
        QString path;
        qint64 cap;
        std::optional<QByteArray> bytes;
    } cases[] = {
        {d + QStringLiteral("small"), 10, QByteArray("0123456789")},
        {d + QStringLiteral("small"), 9, std::nullopt},
        {d + QStringLiteral("empty"), 10, QByteArray()},
        {d + QStringLiteral("fifo"), 10, std::nullopt},
        {dir.path(), 10, std::nullopt},
        {d + QStringLiteral("missing"), 10, std::nullopt},
        {QStringLiteral("/dev/zero"), 10, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const Result<QByteArray> got = readOutsideFile(c.path, c.cap);
        ASSERT_EQ(got.ok(), c.bytes.has_value()) << got.message().toStdString();
        if (got) {
            EXPECT_EQ(*got, *c.bytes);
        } else {
            EXPECT_TRUE(got.message().contains(QDir::toNativeSeparators(c.path))) << got.message().toStdString();
        }
    }
}

// A folder's names read once answer every pattern as a listing of the folder would: case and
// wildcards ignored alike, only regular files (a link to one counts), names that are not UTF-8
// kept, the same order and limit; a FIFO or a dangling link is never one of the files.
TEST(FolderNames, AnswerAsAListingOfTheFolder) {
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    for (const char* name : {"LG-01.JRA", "lg-02.jra", "LG-10.JRA", "LG-1.JRA", "KS-11101.JRA", "ks-1110a.JRA", "LG-03.txt"})
        QFile(root + QString::fromLatin1(name)).open(QIODevice::WriteOnly);
    QFile(root + decodeNativePath("LG-\x93\x8c.JRA")).open(QIODevice::WriteOnly);
    QDir(root).mkdir(QStringLiteral("LG-99.JRA"));  // a folder is never one of the files
    ASSERT_EQ(::symlink((root + QStringLiteral("LG-01.JRA")).toLocal8Bit().constData(),
                        (root + QStringLiteral("LG-50.JRA")).toLocal8Bit().constData()), 0);
    ASSERT_EQ(::symlink((root + QStringLiteral("gone")).toLocal8Bit().constData(),
                        (root + QStringLiteral("LG-51.JRA")).toLocal8Bit().constData()), 0);  // dangling
    ASSERT_EQ(::mkfifo((root + QStringLiteral("LG-60.JRA")).toLocal8Bit().constData(), 0600), 0);
    const FolderNames names(root);
    const struct {
        const char* pattern;
        int limit;
    } cases[] = {{"LG-??.JRA", -1}, {"lg-*.jra", -1}, {"LG-*", 2}, {"KS-?????.JRA", -1}, {"*", -1}, {"nothing*", -1}};
    for (const auto& c : cases) {
        const QString pattern = QString::fromLatin1(c.pattern);
        EXPECT_EQ(names.matching(pattern, c.limit), listFilesNoCase(root, pattern, c.limit)) << c.pattern;
    }
    EXPECT_EQ(names.matching(QStringLiteral("LG-??.JRA")).size(), 5);  // 01, 02, 10, the link 50 and 東 in Shift-JIS
    EXPECT_TRUE(FolderNames(root + QStringLiteral("missing")).matching(QStringLiteral("*")).isEmpty());
    EXPECT_TRUE(FolderNames(QString()).matching(QStringLiteral("*")).isEmpty());
}

}  // namespace
}  // namespace zm
