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
    EXPECT_TRUE(failed.message().contains(folder() + u"c "_s)) << failed.message().toStdString();
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


// A set whose files lie in several folders: the journal stays in its own folder and names every
// file by its full path, so that recovery finishes or rolls back the files of every folder.
class FileSetFoldersTest : public FileSetTest {
protected:
    QString other() const { return otherDir.path() + u'/'; }
    QStringList otherNames() const { return QDir(other()).entryList(QDir::Files, QDir::Name); }
    QByteArray readOther(const QString& name) const {
        QFile f(other() + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    void putOther(const QString& name, const QByteArray& bytes) {
        QFile f(other() + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir otherDir;
};

TEST_F(FileSetFoldersTest, CommitAndDiscardReachEveryFolder) {
    put(u"day"_s, "old day");
    putOther(u"out"_s, "old out");
    putOther(u"gone"_s, "old");
    {
        FileSet set(folder());
        ASSERT_TRUE(set.put(u"day"_s, "new day").ok());
        ASSERT_TRUE(set.put(other() + u"out"_s, "new out").ok());
        set.drop(other() + u"gone"_s);
        // A reader of the set sees the new content before the commit, and no dropped file.
        EXPECT_EQ(set.readPath(other() + u"out"_s), other() + u"out"_s + kFileSetPendingSuffix);
        EXPECT_FALSE(QFile::exists(set.readPath(other() + u"gone"_s)));
        EXPECT_EQ(set.readPath(other() + u"kept"_s), other() + u"kept"_s);
    }  // not committed
    EXPECT_EQ(names(), QStringList{u"day"_s});
    EXPECT_EQ(otherNames(), (QStringList{u"gone"_s, u"out"_s}));
    EXPECT_EQ(readOther(u"out"_s), "old out");

    FileSet set(folder());
    ASSERT_TRUE(set.put(u"day"_s, "new day").ok());
    ASSERT_TRUE(set.put(other() + u"out"_s, "new out").ok());
    set.drop(other() + u"gone"_s);
    ASSERT_TRUE(set.commit().ok());
    FinishFileSets();
    EXPECT_EQ(read(u"day"_s), "new day");
    EXPECT_EQ(readOther(u"out"_s), "new out");
    EXPECT_EQ(names(), QStringList{u"day"_s});
    EXPECT_EQ(otherNames(), QStringList{u"out"_s});
}

TEST_F(FileSetFoldersTest, RecoveryFinishesOrRollsBackTheFilesOfEveryFolder) {
    const QByteArray head = "zenomur file set 1\nput day\n";
    struct Case {
        const char* what;
        bool complete;
        bool outRenamed;  // the kill came after out was renamed
        QByteArray day, out;
        bool goneExists;
    };
    const Case cases[] = {
        {"journal not complete: everything old", false, false, "old day", "old out", true},
        {"complete, nothing renamed", true, false, "new day", "new out", false},
        {"complete, out renamed before the kill", true, true, "new day", "new out", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& f : names())
            QFile::remove(folder() + f);
        for (const QString& f : QDir(other()).entryList(QDir::Files))
            QFile::remove(other() + f);
        put(u"day"_s, "old day");
        put(u"day"_s + kFileSetPendingSuffix, "new day");
        putOther(u"out"_s, c.outRenamed ? "new out" : "old out");
        if (!c.outRenamed)
            putOther(u"out"_s + kFileSetPendingSuffix, "new out");
        putOther(u"gone"_s, "old");
        // Not named by any journal: a file of someone else's, whatever its name.
        putOther(u"theirs"_s + kFileSetPendingSuffix, "theirs");
        QByteArray journal = head + "put " + QFile::encodeName(other() + u"out"_s) + "\ndrop " +
                             QFile::encodeName(other() + u"gone"_s) + "\n";
        if (c.complete)
            journal += "end\n";
        put(u"zenomur-commit-2.journal"_s, journal);
        ASSERT_TRUE(RecoverFileSets(folder()).ok());
        EXPECT_EQ(read(u"day"_s), c.day);
        EXPECT_EQ(readOther(u"out"_s), c.out);
        EXPECT_EQ(QFile::exists(other() + u"gone"_s), c.goneExists);
        EXPECT_EQ(names(), QStringList{u"day"_s});
        EXPECT_TRUE(QFile::exists(other() + u"theirs"_s + kFileSetPendingSuffix));
        EXPECT_FALSE(QFile::exists(other() + u"out"_s + kFileSetPendingSuffix));
    }
}

// A set still open in this program (a batch's day while an earlier one is recovered) keeps its
// journal and new files; a folder that appears at a name after its put fails the commit, which
// names it, says nothing was changed and leaves every old file.
TEST_F(FileSetFoldersTest, RecoveryLeavesOpenSetsAloneAndAFailedCommitChangesNothing) {
    put(u"day"_s, "old day");
    putOther(u"out"_s, "old out");
    FileSet set(folder());
    ASSERT_TRUE(set.put(u"day"_s, "new day").ok());
    ASSERT_TRUE(set.put(other() + u"late"_s, "new late").ok());
    ASSERT_TRUE(RecoverFileSets(folder()).ok());
    ASSERT_TRUE(RecoverFileSets(other()).ok());
    EXPECT_TRUE(QFile::exists(set.pendingPath(u"day"_s)));
    EXPECT_TRUE(QFile::exists(set.pendingPath(other() + u"late"_s)));

    ASSERT_TRUE(QDir().mkpath(other() + u"late"_s));
    const Status committed = set.commit();
    ASSERT_FALSE(committed.ok());
    EXPECT_TRUE(committed.message().contains(other() + u"late"_s)) << committed.message().toStdString();
    EXPECT_TRUE(committed.message().endsWith(kFileSetUnchanged));
    EXPECT_EQ(read(u"day"_s), "old day");
    EXPECT_EQ(names(), QStringList{u"day"_s});
    EXPECT_EQ(otherNames(), QStringList{u"out"_s});
}

}  // namespace
}  // namespace zm
