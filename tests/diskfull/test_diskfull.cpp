// Every command that writes, run on a nearly full disk: at each amount of free space every file
// the command touches is either as it was before or as the same command leaves it on a roomy
// disk, no temporary file stays, and the exit code tells which: 0 only when the whole new
// state is there, 1 with a file named otherwise.
//
// The free space runs from 0 to 64 KiB in steps of 4, and on through eighths of what the
// command needs when that is more. The disk is a small tmpfs mounted in a mount namespace of this process's own, made before any
// thread starts (so the program needs its own main). Where that is not allowed (not root, no
// namespaces) every test is skipped with the reason.

#include "support/test_home.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <ostream>
#include <map>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zm {
namespace {

QString gRoot;        // where the homes are made: the tmpfs, else a temporary folder
bool gDisk = false;   // gRoot is the small tmpfs
QString gWhyNot;      // why it is not

const QString kDay = QStringLiteral("20261205");

bool mountDisk() {
    if (::geteuid() != 0) {
        gWhyNot = QStringLiteral("needs root to mount a small disk");
        return false;
    }
    if (::unshare(CLONE_NEWNS) != 0) {
        gWhyNot = QStringLiteral("unshare(CLONE_NEWNS) not allowed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        gWhyNot = QStringLiteral("cannot make the mounts private: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    char folder[] = "/tmp/zm-diskfull-XXXXXX";
    if (!::mkdtemp(folder)) {
        gWhyNot = QStringLiteral("no temporary folder");
        return false;
    }
    if (::mount("tmpfs", folder, "tmpfs", 0, "size=24m,nr_inodes=20000,mode=0755") != 0) {
        gWhyNot = QStringLiteral("cannot mount a tmpfs: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        ::rmdir(folder);
        return false;
    }
    gRoot = QString::fromLocal8Bit(folder);
    gDisk = true;
    return true;
}

QString home() { return gRoot + QStringLiteral("/h"); }
QString seed() { return gRoot + QStringLiteral("/seed"); }
QString filler() { return gRoot + QStringLiteral("/filler"); }

test::CliRun cli(const QStringList& args) {
    return test::runCliProcess(QStringList{QStringLiteral("--home"), home(), QStringLiteral("--config"),
                                           home() + QStringLiteral("/z.ini")} +
                               args);
}

bool shell(const QString& program, const QStringList& args) {
    return QProcess::execute(program, args) == 0;
}

// Every file under the home: its bytes, or what else is at the name.
using Snapshot = std::map<QString, QByteArray>;
Snapshot snapshot() {
    Snapshot files;
    QDirIterator it(home(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = path.mid(home().size() + 1);
        if (name == u".zenomur.lock")
            continue;
        if (info.isSymLink()) {
            files[name] = "<link>";
        } else if (info.isDir()) {
            continue;
        } else {
            QFile f(path);
            files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
    }
    return files;
}

QByteArray at(const Snapshot& s, const QString& name) {
    const auto found = s.find(name);
    return found == s.end() ? QByteArray("<absent>") : found->second;
}

QString describe(const QByteArray& bytes) {
    return bytes.startsWith('<') && bytes.endsWith('>') && bytes.size() < 16 ? QString::fromLatin1(bytes)
                                                                             : QStringLiteral("%1 bytes").arg(bytes.size());
}

// The home as it was after the seed was made.
void reset() {
    shell(QStringLiteral("rm"), {QStringLiteral("-rf"), home(), filler()});
    shell(QStringLiteral("cp"), {QStringLiteral("-a"), seed(), home()});
}

qint64 freeBytes() {
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(gRoot).constData(), &disk) != 0)
        return -1;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
}

// Fills the disk so that exactly bytes stay free.
bool leaveFree(qint64 bytes) {
    const qint64 take = freeBytes() - bytes;
    if (take < 0)
        return false;
    const int fd = ::open(QFile::encodeName(filler()).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = take == 0 || ::posix_fallocate(fd, 0, take) == 0;
    ::close(fd);
    return ok && freeBytes() == bytes;
}

// The sample home with PAT98 set up, every export of a day run switched on, one day imported
// and pending bets (with duplicates) for it; then a prediction style the commands that predict
// again will change the files with, and an empty ledger.
bool makeSeed(QString& why) {
    static int made = 0;  // 1 made, -1 failed
    if (made != 0)
        return made > 0;
    made = -1;
    const QString h = home();
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {QStringLiteral("--home"), h, QStringLiteral("--days"), QStringLiteral("0")});
    if (!sample.waitForFinished(120000) || sample.exitCode() != 0) {
        why = QStringLiteral("the sample could not be written");
        return false;
    }
    const QStringList steps[] = {
        {"settings", "set", "PAT", "PatDir", h + "/PAT/"},
        {"settings", "set", "PAT", "PatOpt", "True"},
        {"settings", "set", "PAT", "Ver", "98"},
        {"settings", "set", "File", "DuelOut", "True"},
        {"settings", "set", "File", "DenCsvOut", "True"},
        {"settings", "set", "File", "MurOut", "True"},
        {"settings", "set", "File", "MurTextOut", "True"},
        {"import", h + "/MurData/H261205.LZH"},
        {"bets", "--day", kDay, "add", "中山", "1", "--picks"},
        {"bets", "--day", kDay, "add", "中山", "1", "--picks"},
        {"bets", "--day", kDay, "add", "中山", "2", "--win", "3", "--quinella", "1-2:300"},
        {"bets", "--day", kDay, "add", "中山", "5", "--picks"},
        {"settings", "set", "UserInfo", "Yosou", "3"},
        {"ledger", "report"},  // an empty ledger, which the ledger's update fills
    };
    for (const QStringList& step : steps) {
        const test::CliRun r = cli(step);
        if (r.exitCode != 0) {
            why = step.join(u' ') + QStringLiteral(": ") + r.err;
            return false;
        }
    }
    if (!shell(QStringLiteral("cp"), {QStringLiteral("-a"), h, seed()})) {
        why = QStringLiteral("the seed could not be copied");
        return false;
    }
    made = 1;
    return true;
}

struct Command {
    const char* name;
    QStringList args;  // "{H}" stands for the home folder
    // The files (names under the home starting with one of these) that a command that stops
    // leaves as they were; steps the command takes before its main work (a backup, a setting
    // it keeps, a day file) are outside.
    QStringList together = {QString()};
    // False for a command that finds its day already there when anything is at the name, and
    // so leaves a link or a folder there alone.
    bool writesOverAnything = true;
};

void PrintTo(const Command& c, std::ostream* os) {
    *os << c.name;
}

QStringList argsOf(const Command& c) {
    QStringList args;
    for (const QString& a : c.args)
        args << QString(a).replace(QStringLiteral("{H}"), home());
    return args;
}

// The free space of each run, in KiB: every 4 KiB from 0 to 64, then eighths of what the command
// takes on the disk (need, in KiB) up to just short of it, where a command that writes more than
// 64 KiB runs out of room halfway through its files.
// With ZENOMUR_DISKFULL_STEPS=fine every 4 KiB up to all the command needs (the long run of
// scripts/diskfull-sweep).
std::vector<int> freeSteps(int need) {
    std::vector<int> steps;
    const bool fine = qEnvironmentVariable("ZENOMUR_DISKFULL_STEPS") == u"fine";
    for (int k = 0; k <= (fine ? std::max(64, need + 4) : 64); k += 4)
        steps.push_back(k);
    if (fine)
        return steps;
    for (int eighth = 1; eighth <= 8 && need > 64; ++eighth) {
        const int k = std::max(0, (need * eighth / 8 - (eighth == 8 ? 4 : 0)) / 4 * 4);
        if (k > 64)
            steps.push_back(k);
    }
    return steps;
}

class DiskFull : public ::testing::TestWithParam<Command> {};

TEST_P(DiskFull, EveryFileWholeOldOrWholeNewAndTheExitCodeTrue) {
    if (!gDisk)
        GTEST_SKIP() << gWhyNot.toStdString();
    QString why;
    ASSERT_TRUE(makeSeed(why)) << why.toStdString();
    const Command& command = GetParam();

    reset();
    const Snapshot before = snapshot();
    const test::CliRun roomyRun = cli(argsOf(command));
    ASSERT_EQ(roomyRun.exitCode, 0) << roomyRun.err.toStdString();
    const Snapshot roomy = snapshot();
    // What the command needs while it writes: every new file beside the old one, in pages.
    qint64 needBytes = 0;
    for (const auto& [name, bytes] : roomy) {
        if (bytes != at(before, name))
            needBytes += (bytes.size() + 4095) / 4096 * 4096;
    }
    const int need = int(needBytes / 1024);
    EXPECT_NE(before, roomy) << "the command changes nothing: the sweep proves little";

    for (const int kib : freeSteps(need)) {
        SCOPED_TRACE(QStringLiteral("%1 KiB free").arg(kib).toStdString());
        reset();
        ASSERT_TRUE(leaveFree(qint64(kib) * 1024)) << "could not leave the free space";
        const test::CliRun r = cli(argsOf(command));
        const Snapshot after = snapshot();
        QFile::remove(filler());

        std::map<QString, bool> names;
        for (const Snapshot* s : {&before, &roomy, &after})
            for (const auto& [name, bytes] : *s)
                names[name] = true;
        bool allNew = true;
        QStringList changed;
        for (const auto& [name, unused] : names) {
            const QByteArray now = at(after, name);
            if (name.contains(u".zmsave-") || name.contains(u".zmnew") || name.contains(u"commit.journal")) {
                ADD_FAILURE() << "left behind: " << name.toStdString();
                continue;
            }
            if (now != at(roomy, name))
                allNew = false;
            if (now != at(before, name) &&
                std::any_of(command.together.begin(), command.together.end(),
                            [&](const QString& prefix) { return name.startsWith(prefix); }))
                changed << name;
            if (now != at(before, name) && now != at(roomy, name))
                ADD_FAILURE() << name.toStdString() << " is " << describe(now).toStdString() << ", neither the old "
                              << describe(at(before, name)).toStdString() << " nor the new "
                              << describe(at(roomy, name)).toStdString();
        }
        if (r.exitCode == 0) {
            EXPECT_TRUE(allNew) << "exit 0 without the whole new state; stderr: " << r.err.toStdString();
        } else {
            EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(home())) << "no file named: " << r.err.toStdString();
            // A command that stops changes nothing: the files it writes together go as one.
            EXPECT_TRUE(changed.isEmpty()) << "stopped after changing " << changed.join(u' ').toStdString();
        }
    }
}

const Command kCommands[] = {
    {"settings_set", {"settings", "set", "File", "umaF", "True"}},
    {"import", {"import", "{H}/MurData/H261205.LZH"}},
    {"bets_add", {"bets", "--day", kDay, "add", "中山", "3", "--win", "1", "--quinella", "1-2"}},
    {"bets_sort", {"--yes", "bets", "--day", kDay, "sort"}},
    {"bets_dedupe", {"--yes", "bets", "--day", kDay, "dedupe"}},
    {"bets_merge", {"--yes", "bets", "--day", kDay, "merge"}},
    {"bets_odds", {"bets", "--day", kDay, "odds"}},
    {"bets_prune",
     {"bets", "--day", kDay, "prune", "--type", "単勝", "--min", "1", "--max", "999", "--no-odds", "one"},
     {"Data/~B" + kDay + ".TXT"}},
    {"pat_results", {"pat", "--day", kDay, "results"}},
    {"tekichukai_out", {"bets", "--day", kDay, "tekichukai-out", "--file"}},
    {"voterobo", {"--yes", "bets", "--day", kDay, "voterobo"}},
    {"convert_odds", {"convert-odds", "--pat", "98", "{H}/MurData/j261205.lzh"}, {"PAT/"}},
    {"sakutto", {"--yes", "bets", "--day", kDay, "sakutto"}},
    {"backtest_csv", {"backtest", "--csv", "{H}/OutPut/bt.csv"}},
    {"detail", {"detail", kDay}},
    {"odds_import", {"odds-import", "{H}/MurData/j261205.lzh"}},
    {"pat_log_export", {"pat", "--day", kDay, "log", "--export", "{H}/OutPut/log.txt"}},
    {"dummy_day", {"dummy-day", "2026/12/12"}, {QString()}, false},
    {"delete_days", {"--yes", "delete-days", kDay}},
    {"ledger_update", {"ledger", "update"}},
};

// A link or a folder at a name the command writes: nothing is written where the link points
// and the folder stays as it was; the command stops naming the file, or (a file set, whose
// renames replace the entry at the name rather than write through it) puts a plain file there.
class HostileName : public ::testing::TestWithParam<Command> {};

TEST_P(HostileName, ALinkOrAFolderAtAWrittenNameIsNeverWrittenThrough) {
    QString why;
    ASSERT_TRUE(makeSeed(why)) << why.toStdString();
    const Command& command = GetParam();
    reset();
    const Snapshot before = snapshot();
    ASSERT_EQ(cli(argsOf(command)).exitCode, 0);
    const Snapshot roomy = snapshot();
    QStringList written;  // files it leaves new or changed (not the ones it removes)
    for (const auto& [name, bytes] : roomy) {
        if (bytes != at(before, name))
            written << name;
    }
    if (written.isEmpty())
        GTEST_SKIP() << "the command only removes files";
    if (!command.writesOverAnything)
        GTEST_SKIP() << "the command keeps what is at its names";
    // The first and the last name it writes are enough to meet every writer of a command.
    const QStringList names = written.size() == 1 ? written : QStringList{written.front(), written.back()};
    const QString victim = gRoot + QStringLiteral("/victim");
    for (const QString& name : names) {
        for (const bool link : {true, false}) {
            SCOPED_TRACE(name.toStdString() + (link ? " as a link" : " as a folder"));
            reset();
            const QString path = home() + u'/' + name;
            QFile::remove(path);
            QFile v(victim);
            ASSERT_TRUE(v.open(QIODevice::WriteOnly));
            v.write("victim");
            v.close();
            if (link)
                ASSERT_TRUE(QFile::link(victim, path));
            else
                ASSERT_TRUE(QDir().mkpath(path) && QFile::copy(victim, path + QStringLiteral("/inside")));
            const test::CliRun r = cli(argsOf(command));
            QFile check(victim);
            ASSERT_TRUE(check.open(QIODevice::ReadOnly));
            EXPECT_EQ(check.readAll(), "victim");
            const QFileInfo now(path);
            const bool sideStep = std::none_of(command.together.begin(), command.together.end(),
                                               [&](const QString& prefix) { return name.startsWith(prefix); });
            if (r.exitCode == 0 && sideStep) {
                // A step before the main work (a setting it keeps) may fail with its message alone.
                EXPECT_TRUE(r.err.contains(path) || (now.isFile() && !now.isSymLink())) << r.err.toStdString();
            } else if (r.exitCode == 0) {
                EXPECT_TRUE(now.isFile() && !now.isSymLink()) << "exit 0 and still no file at the name";
            } else {
                EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
                EXPECT_TRUE(r.err.contains(path)) << "the name is not in: " << r.err.toStdString();
            }
            if (!link && r.exitCode != 0) {
                EXPECT_TRUE(QFile::exists(path + QStringLiteral("/inside")));
            }
            QFile::remove(victim);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, HostileName, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<Command>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Commands, DiskFull, ::testing::ValuesIn(kCommands),
                         [](const ::testing::TestParamInfo<Command>& info) { return std::string(info.param.name); });

// With no room at all, a command stops before its work and says that the disk is full.
TEST(DiskFullStart, TheLockMessageSaysTheDiskIsFull) {
    if (!gDisk)
        GTEST_SKIP() << gWhyNot.toStdString();
    QString why;
    ASSERT_TRUE(makeSeed(why)) << why.toStdString();
    reset();
    ASSERT_TRUE(leaveFree(0));
    const test::CliRun r = cli({QStringLiteral("days")});
    QFile::remove(filler());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ディスクの空きがない"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("ロックできません"))) << r.err.toStdString();
}

}  // namespace
}  // namespace zm

int main(int argc, char** argv) {
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || QByteArrayView(argv[i]).startsWith("--gtest_list_tests");
    // Before any thread: a process with threads cannot have a mount namespace of its own.
    if (!listing && !zm::mountDisk()) {
        char folder[] = "/tmp/zm-names-XXXXXX";
        if (::mkdtemp(folder))
            zm::gRoot = QString::fromLocal8Bit(folder);
    }
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    if (zm::gDisk)
        ::umount2(QFile::encodeName(zm::gRoot).constData(), MNT_DETACH);
    else if (!zm::gRoot.isEmpty())
        QDir(zm::gRoot).removeRecursively();
    if (!zm::gRoot.isEmpty())
        ::rmdir(QFile::encodeName(zm::gRoot).constData());
    return result;
}
