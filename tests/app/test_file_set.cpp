// A set of files put in place as one, and the recovery of a commit a kill interrupted.

#include "app/file_set.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::StringLiterals;

class FileSetTest : public ::testing::Test {
protected:
    QString folder() const { return dir.path() + u'/'; }
    void put(const QString& name, const QByteArray& bytes) {
        QFile f(folder() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const {
        QFile f(folder() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    QStringList names() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QTemporaryDir dir;
};

TEST_F(FileSetTest, CommitReplacesPutsRemovesDropsAndLeavesNothingElse) {
    put(u"a"_s, "old a");
    put(u"b"_s, "old b");
    put(u"gone"_s, "old");
    FileSet set(folder());
    ASSERT_TRUE(set.put(u"a"_s, "new a").ok());
    ASSERT_TRUE(set.put(u"c"_s, "new c").ok());
    set.drop(u"gone"_s);
    // Until the commit the old files are what a reader sees; the new ones wait beside them.
    EXPECT_EQ(read(u"a"_s), "old a");
    QFile pending(set.pendingPath(u"a"_s));
    ASSERT_TRUE(pending.open(QIODevice::ReadOnly));
    EXPECT_EQ(pending.readAll(), "new a");
    ASSERT_TRUE(set.commit().ok());
    EXPECT_EQ(read(u"a"_s), "new a");
    EXPECT_EQ(read(u"b"_s), "old b");
    EXPECT_EQ(read(u"c"_s), "new c");
    FinishFileSets();
    EXPECT_EQ(names(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
}

// The end of a commit runs in the background; should a crash bring its journal back (its
// removal not yet on the disk), finishing it once more changes nothing.
TEST_F(FileSetTest, AJournalThatComesBackAfterItsCommitChangesNothing) {
    put(u"a"_s, "old a");
    put(u"gone"_s, "old");
    FileSet set(folder());
    ASSERT_TRUE(set.put(u"a"_s, "new a").ok());
    set.drop(u"gone"_s);
    ASSERT_TRUE(set.commit().ok());
    EXPECT_EQ(read(u"a"_s), "new a");
    EXPECT_FALSE(QFile::exists(folder() + u"gone"_s));
    FinishFileSets();
    EXPECT_EQ(names(), QStringList{u"a"_s});

    put(kFileSetJournal, "zenomur file set 1\nput a\ndrop gone\nend\n");
    ASSERT_TRUE(RecoverFileSets(folder()).ok());
    EXPECT_EQ(read(u"a"_s), "new a");
    EXPECT_EQ(names(), QStringList{u"a"_s});
}

TEST_F(FileSetTest, ASetNotCommittedLeavesTheOldFiles) {
    put(u"a"_s, "old a");
    {
        FileSet set(folder());
        ASSERT_TRUE(set.put(u"a"_s, "new a").ok());
        ASSERT_TRUE(set.put(u"b"_s, "new b").ok());
        set.drop(u"a"_s);
    }
    EXPECT_EQ(names(), QStringList{u"a"_s});
    EXPECT_EQ(read(u"a"_s), "old a");
}

// The new files are written in place under their pending names and flushed in the background:
// a name put twice keeps the second content, a drop after a put takes the new file away, and a
// put that could not be written (a folder at the pending name) leaves that file out of the set.
TEST_F(FileSetTest, RepeatedPutsDropsAndAFailedPut) {
    put(u"a"_s, "old a");
    put(u"b"_s, "old b");
    {
        FileSet set(folder());
        ASSERT_TRUE(set.put(u"a"_s, "first a").ok());
        ASSERT_TRUE(set.put(u"a"_s, "second a").ok());
        ASSERT_TRUE(set.put(u"b"_s, "new b").ok());
        set.drop(u"b"_s);
        EXPECT_EQ(names(), (QStringList{u"a"_s, u"a"_s + kFileSetPendingSuffix, u"b"_s, kFileSetJournal}));
        ASSERT_TRUE(set.commit().ok());
    }
    FinishFileSets();
    EXPECT_EQ(read(u"a"_s), "second a");
    EXPECT_EQ(names(), QStringList{u"a"_s});

    ASSERT_TRUE(QDir().mkpath(folder() + u"c"_s + kFileSetPendingSuffix));
    FileSet set(folder());
    ASSERT_TRUE(set.put(u"a"_s, "newer a").ok());
    const Status failed = set.put(u"c"_s, "new c");
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.message().contains(u"c"_s + kFileSetPendingSuffix)) << failed.message().toStdString();
    ASSERT_TRUE(set.commit().ok());
    FinishFileSets();
    EXPECT_EQ(read(u"a"_s), "newer a");
    EXPECT_EQ(names(), QStringList{u"a"_s});
}

TEST_F(FileSetTest, RecoveryFinishesACompleteJournalAndRollsBackAnythingLess) {
    const QByteArray complete = "zenomur file set 1\nput a\nput b\ndrop d\nend\n";
    struct Case {
        const char* what;
        QByteArray journal;  // empty: no journal
        QStringList pending;  // new files waiting beside the old ones
        QByteArray a, b;     // afterwards
        bool dExists;
    };
    const Case cases[] = {
        {"new files without a journal: never committed", {}, {u"a"_s, u"b"_s}, "old a", "old b", true},
        {"complete journal, nothing renamed yet", complete, {u"a"_s, u"b"_s}, "new a", "new b", false},
        {"complete journal, a renamed before the kill", complete, {u"b"_s}, "new a", "new b", false},
        {"complete journal, everything renamed", complete, {}, "new a", "new b", false},
        {"journal cut before its end", "zenomur file set 1\nput a\nput b\n", {u"a"_s, u"b"_s}, "old a", "old b", true},
        {"journal of something else", "garbage\nend\n", {u"a"_s, u"b"_s}, "old a", "old b", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
        const bool renamedA = !c.pending.contains(u"a"_s) && !c.journal.isEmpty() && c.journal == complete;
        const bool renamedB = !c.pending.contains(u"b"_s) && !c.journal.isEmpty() && c.journal == complete;
        put(u"a"_s, renamedA ? "new a" : "old a");
        put(u"b"_s, renamedB ? "new b" : "old b");
        put(u"d"_s, "old d");
        for (const QString& name : c.pending)
            put(name + kFileSetPendingSuffix, "new " + name.toLatin1());
        if (!c.journal.isEmpty())
            put(kFileSetJournal, c.journal);
        ASSERT_TRUE(RecoverFileSets(folder()).ok());
        EXPECT_EQ(read(u"a"_s), c.a);
        EXPECT_EQ(read(u"b"_s), c.b);
        EXPECT_EQ(QFile::exists(folder() + u"d"_s), c.dExists);
        for (const QString& name : names())
            EXPECT_TRUE(name == u"a"_s || name == u"b"_s || name == u"d"_s) << name.toStdString();
    }
}

}  // namespace
}  // namespace zm
