#include "app/safe_save.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zm {
namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Nothing but the named files: no temporary file is left beside them.
QStringList namesIn(const QString& dir) { return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden); }

TEST(SafeSave, ReplacesTheFileWholeAndLeavesNothingBeside) {
    for (const SafeSave::Flush flush : {SafeSave::Flush::Durable, SafeSave::Flush::None}) {
        SCOPED_TRACE(flush == SafeSave::Flush::None ? "no flush" : "durable");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.TXT"));
        put(path, "a much longer old content\r\n");
        ASSERT_TRUE(SafeSave::save(path, "new\r\n", flush).ok());
        EXPECT_EQ(contentOf(path), "new\r\n");
        ASSERT_TRUE(SafeSave::save(dir.filePath(QStringLiteral("empty")), "", flush).ok());
        EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("empty"))), "");
        EXPECT_EQ(namesIn(dir.path()), (QStringList{QStringLiteral("a.TXT"), QStringLiteral("empty")}));
    }
}

TEST(SafeSave, AFailureNamesTheFileAndKeepsWhatWasThere) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("plain"));
    put(file, "x");
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case {
        const char* what;
        QString path;
    };
    const Case cases[] = {
        {"parent is a file", file + QStringLiteral("/child.TXT")},
        {"target is a folder", folder},
        {"parent missing", dir.filePath(QStringLiteral("none/child.TXT"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Status s = SafeSave::save(c.path, "data");
        EXPECT_FALSE(s.ok());
        EXPECT_TRUE(s.message().contains(QDir::toNativeSeparators(c.path))) << s.message().toStdString();
    }
    EXPECT_EQ(contentOf(file), "x");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(namesIn(dir.path()).size(), 2);
}

TEST(SafeSave, AppendAddsWholeLinesAndCreatesAMissingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.TXT"));
    ASSERT_TRUE(SafeSave::append(path, "one\r\n").ok());
    ASSERT_TRUE(SafeSave::append(path, "two\r\n").ok());
    EXPECT_EQ(contentOf(path), "one\r\ntwo\r\n");
    EXPECT_FALSE(SafeSave::append(dir.path(), "x\r\n").ok());
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("log.TXT")});
}

TEST(SafeSave, PiecesAfterAFailedOpenAreIgnoredAndCommitReportsIt) {
    QTemporaryDir dir;
    SafeSave out(dir.filePath(QStringLiteral("no/such/folder.TXT")));
    out.write("a");
    out.write("b");
    EXPECT_FALSE(out.commit().ok());
}

// Every way the program replaces or extends a file, against every kind of entry at the file's
// name that is not a plain file: each is refused with the name, nothing is written where a link
// points, and no temporary file stays.
using Save = Status (*)(const QString&, QByteArrayView);
Status saved(const QString& path, QByteArrayView bytes) { return SafeSave::save(path, bytes); }
Status savedAsScratch(const QString& path, QByteArrayView bytes) {
    return SafeSave::save(path, bytes, SafeSave::Flush::None);
}
Status savedInPieces(const QString& path, QByteArrayView bytes) {
    SafeSave out(path);
    out.write(bytes.first(1));
    out.write(bytes.sliced(1));
    return out.commit();
}

TEST(SafeSave, NeverWritesThroughALinkOrIntoAnythingButAFile) {
    const struct {
        const char* name;
        Save save;
    } saves[] = {{"save", saved}, {"scratch", savedAsScratch}, {"pieces", savedInPieces}, {"append", SafeSave::append}};
    const struct {
        const char* what;
        void (*make)(const QString& at, const QString& file, const QString& folder);
    } entries[] = {
        {"link to a file", [](const QString& at, const QString& file, const QString&) { QFile::link(file, at); }},
        {"link to nothing", [](const QString& at, const QString& file, const QString&) { QFile::link(file + "-gone", at); }},
        {"link to a folder", [](const QString& at, const QString&, const QString& folder) { QFile::link(folder, at); }},
        {"folder", [](const QString& at, const QString&, const QString&) { QDir().mkpath(at); }},
        {"FIFO", [](const QString& at, const QString&, const QString&) { ::mkfifo(QFile::encodeName(at).constData(), 0600); }},
    };
    for (const auto& s : saves) {
        for (const auto& e : entries) {
            SCOPED_TRACE(std::string(s.name) + " / " + e.what);
            QTemporaryDir dir;
            const QString file = dir.filePath(QStringLiteral("target"));
            const QString folder = dir.filePath(QStringLiteral("elsewhere"));
            put(file, "keep");
            ASSERT_TRUE(QDir().mkpath(folder));
            const QString at = dir.filePath(QStringLiteral("~B20261206.TXT"));
            e.make(at, file, folder);
            const QStringList before = namesIn(dir.path());
            const Status st = s.save(at, "new line\r\n");
            EXPECT_FALSE(st.ok());
            EXPECT_TRUE(st.message().contains(QDir::toNativeSeparators(at))) << st.message().toStdString();
            EXPECT_EQ(contentOf(file), "keep");
            EXPECT_TRUE(QDir(folder).isEmpty());
            EXPECT_EQ(namesIn(dir.path()), before);
        }
    }
}

// A write that the file system cuts short (here a file size limit, as a full disk would) fails
// naming the file; the old file stays byte for byte and the temporary file goes.
TEST(SafeSave, AWriteCutShortKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.SEI"));
    const QByteArray old(3000, 'o');
    put(path, old);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const Status whole = SafeSave::save(path, QByteArray(12000, 'n'));
    const Status appended = SafeSave::append(path, QByteArray(2000, 'a'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    for (const Status& st : {whole, appended}) {
        EXPECT_FALSE(st.ok());
        EXPECT_TRUE(st.message().contains(QDir::toNativeSeparators(path))) << st.message().toStdString();
    }
    EXPECT_EQ(contentOf(path), old);
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("a.SEI")});
}

TEST(SafeSave, KeepsTheModeOfTheFileItReplaces) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.TXT"));
    put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(SafeSave::save(path, "new").ok());
    ASSERT_TRUE(SafeSave::append(path, "er").ok());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(contentOf(path), "newer");

    const mode_t mask = ::umask(027);
    const QString fresh = dir.filePath(QStringLiteral("b.TXT"));
    const Status made = SafeSave::save(fresh, "x");
    ::umask(mask);
    ASSERT_TRUE(made.ok());
    ASSERT_EQ(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// What recovery removes: the temporary files of saves, and with a list of the folder's own
// names, the leftovers of the earlier way of saving; never anything else.
TEST(SafeSave, RemovingInterruptedSavesTakesOnlyTheirOwnFiles) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        bool goes;
    } files[] = {
        {"~B20261206.TXT.zmsave-a1B2c3", true},
        {"ZO-615.JRA.zmsave-XyZ789", true},
        {".zmsave-abc123", false},               // no file name before the mark
        {"a.TXT.zmsave-abc12", false},           // five characters
        {"a.TXT.zmsave-abc1234", false},         // seven
        {"a.TXT.zmsave-abc-12", false},          // not a letter or digit
        {"~B20261206.TXT.TYIZoQ", true},         // earlier leftover of a file written here
        {"~b20261206.txt.TYIZoQ", true},         // names match in any case
        {"notes.TXT.TYIZoQ", false},             // not a name written here
        {"~B20261206.TXT.backup", false},        // a suffix someone chose: one case only
        {"~B20261206.TXT.OLD123", false},
        {"~B20261206.TXT.TYIZo", false},
        {"~B20261206.TXT", false},
        {"20261206.DAT", false},
    };
    for (const auto& f : files)
        put(dir.filePath(QString::fromUtf8(f.name)), "x");
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("b.TXT.zmsave-folder"))));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("20261206.DAT")), dir.filePath(QStringLiteral("c.zmsave-Link12"))));
    EXPECT_EQ(removeInterruptedSaves(dir.path(), {}, {QStringLiteral("~B*.*")}), 4);
    for (const auto& f : files)
        EXPECT_EQ(QFile::exists(dir.filePath(QString::fromUtf8(f.name))), !f.goes) << f.name;
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("c.zmsave-Link12"))).isSymLink());

    // Limited to one file's temporary files.
    put(dir.filePath(QStringLiteral("z.ini.zmsave-abcdef")), "x");
    put(dir.filePath(QStringLiteral("other.ini.zmsave-abcdef")), "x");
    EXPECT_EQ(removeInterruptedSaves(dir.path(), QStringLiteral("z.ini")), 1);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("other.ini.zmsave-abcdef"))));
}

}  // namespace
}  // namespace zm
