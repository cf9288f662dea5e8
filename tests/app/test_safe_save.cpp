#include "app/safe_save.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.TXT"));
    put(path, "old\r\n");
    ASSERT_TRUE(saveFile(path, "new\r\n").ok());
    EXPECT_EQ(contentOf(path), "new\r\n");
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("a.TXT")});
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
        const Status s = saveFile(c.path, "data");
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
    ASSERT_TRUE(appendToFile(path, "one\r\n").ok());
    ASSERT_TRUE(appendToFile(path, "two\r\n").ok());
    EXPECT_EQ(contentOf(path), "one\r\ntwo\r\n");
    EXPECT_FALSE(appendToFile(dir.path(), "x\r\n").ok());
    EXPECT_EQ(namesIn(dir.path()), QStringList{QStringLiteral("log.TXT")});
}

TEST(SafeSave, PiecesAfterAFailedOpenAreIgnoredAndCommitReportsIt) {
    QTemporaryDir dir;
    SafeSave out(dir.filePath(QStringLiteral("no/such/folder.TXT")));
    out.write("a");
    out.write("b");
    EXPECT_FALSE(out.commit().ok());
}

// The two writers that skip the temporary file: the scratch writer and the one whose flush runs
// in the background. Each writes the whole file, replaces what was there, refuses to write
// through a link, and names the file when it fails.
using Writer = Status (*)(const QString&, QByteArrayView);
Status flushedInTheBackground(const QString& path, QByteArrayView bytes) {
    BackgroundSave save;
    if (Status written = save.write(path, bytes); !written)
        return written;
    return save.finish();
}

TEST(SafeSave, WritersWithoutATemporaryFile) {
    const struct {
        const char* name;
        Writer write;
    } writers[] = {{"scratch", writeScratchFile}, {"background flush", flushedInTheBackground}};
    for (const auto& w : writers) {
        SCOPED_TRACE(w.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.kd2"));
        put(path, "a much longer old content");
        ASSERT_TRUE(w.write(path, "new").ok());
        EXPECT_EQ(contentOf(path), "new");
        ASSERT_TRUE(w.write(dir.filePath(QStringLiteral("empty")), "").ok());
        EXPECT_EQ(contentOf(dir.filePath(QStringLiteral("empty"))), "");

        const QString target = dir.filePath(QStringLiteral("target"));
        put(target, "keep");
        ASSERT_TRUE(QFile::link(target, dir.filePath(QStringLiteral("link"))));
        const QString failing[] = {dir.filePath(QStringLiteral("link")), dir.path(),
                                   dir.filePath(QStringLiteral("none/child"))};
        for (const QString& bad : failing) {
            const Status s = w.write(bad, "data");
            EXPECT_FALSE(s.ok()) << bad.toStdString();
            EXPECT_TRUE(s.message().contains(QDir::toNativeSeparators(bad))) << s.message().toStdString();
        }
        EXPECT_EQ(contentOf(target), "keep");
        EXPECT_EQ(namesIn(dir.path()), (QStringList{QStringLiteral("a.kd2"), QStringLiteral("empty"),
                                                    QStringLiteral("link"), QStringLiteral("target")}));
    }
}

// A background save that could not write reports it again when it is waited for, and one
// reused for a second write waits for the first flush and starts afresh.
TEST(SafeSave, BackgroundSaveReportsAFailedWriteAtFinishAndCanBeReused) {
    QTemporaryDir dir;
    BackgroundSave save;
    EXPECT_TRUE(save.finish().ok());  // nothing written, nothing to wait for
    EXPECT_FALSE(save.write(dir.filePath(QStringLiteral("none/child")), "x").ok());
    EXPECT_FALSE(save.finish().ok());
    const QString path = dir.filePath(QStringLiteral("b"));
    ASSERT_TRUE(save.write(path, "first").ok());
    ASSERT_TRUE(save.write(path, "second").ok());
    EXPECT_TRUE(save.finish().ok());
    EXPECT_EQ(contentOf(path), "second");
}

}  // namespace
}  // namespace zm
