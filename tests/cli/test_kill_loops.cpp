// Commands that write several files as one set, killed at random moments: after the next start
// (which finishes or rolls back what the kill interrupted) the program's folders hold either
// every old file or every new one, and nothing else. ZENOMUR_KILLS sets the kills per command
// (scripts/kill-loops runs a thousand), ZENOMUR_KILL_SEED the random moments.

#include "support/test_home.h"
#include "../bets/bet_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <random>

namespace zm {
namespace {

using Snapshot = std::map<QString, QByteArray>;  // file under the home folder -> bytes

// The folders of the home a set may write into.
const QStringList kFolders{QStringLiteral("Data"), QStringLiteral("OutPut"), QStringLiteral("PAT"), QStringLiteral("Conv")};

int killsPerCommand() {
    const int n = qEnvironmentVariableIntValue("ZENOMUR_KILLS");
    return n > 0 ? n : 6;
}

unsigned killSeed() {
    bool ok = false;
    const unsigned seed = qEnvironmentVariable("ZENOMUR_KILL_SEED").toUInt(&ok);
    return ok ? seed : std::random_device{}();
}

// The service CSV's first line holds the time it was written: two runs differ there only.
QByteArray comparable(const QString& name, const QByteArray& bytes) {
    if (name.startsWith(QStringLiteral("OutPut/K")) && name.endsWith(QStringLiteral(".CSV")))
        return bytes.mid(bytes.indexOf('\n') + 1);
    return bytes;
}

bool sameFiles(const Snapshot& a, const Snapshot& b) {
    if (a.size() != b.size())
        return false;
    for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
        if (i->first != j->first || comparable(i->first, i->second) != comparable(j->first, j->second))
            return false;
    }
    return true;
}

// What differs from old and from fresh, for the failure's message.
std::string differences(const Snapshot& now, const Snapshot& old, const Snapshot& fresh) {
    std::string out;
    for (const auto& [name, bytes] : now) {
        const bool isOld = old.count(name) && comparable(name, old.at(name)) == comparable(name, bytes);
        const bool isNew = fresh.count(name) && comparable(name, fresh.at(name)) == comparable(name, bytes);
        out += name.toStdString() + (isOld && isNew ? " (same)" : isOld ? " (old)" : isNew ? " (new)" : " (FOREIGN)") + "\n";
    }
    for (const auto& [name, bytes] : old)
        if (!now.count(name))
            out += name.toStdString() + " (missing, was old)\n";
    return out;
}

class KillLoop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {QStringLiteral("--home"), home()});
        ASSERT_TRUE(sample.waitForFinished(60000));
        ASSERT_EQ(sample.exitCode(), 0);
        QDir().mkpath(home() + QStringLiteral("/Conv"));
    }

    QString home() const { return dir.path() + QStringLiteral("/home"); }
    QStringList base() const {
        return {QStringLiteral("--home"), home(), QStringLiteral("--config"), dir.path() + QStringLiteral("/z.ini")};
    }
    void run(const QStringList& args, int exitCode = 0) {
        const test::CliRun r = test::runCliProcess(base() + args);
        ASSERT_EQ(r.exitCode, exitCode) << args.join(u' ').toStdString() << ": " << r.err.toStdString();
    }

    // Every file of the folders a set may write into.
    Snapshot snapshot() const {
        Snapshot files;
        for (const QString& sub : kFolders) {
            const QDir d(home() + u'/' + sub);
            for (const QString& f : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
                files[sub + u'/' + f] = test::readBytes(d.filePath(f));
        }
        return files;
    }
    void restore(const Snapshot& files) const {
        for (const QString& sub : kFolders) {
            QDir d(home() + u'/' + sub);
            for (const QString& f : d.entryList(QDir::Files | QDir::Hidden | QDir::System))
                d.remove(f);
        }
        for (const auto& [name, bytes] : files)
            test::writeBytes(home() + u'/' + name, bytes);
    }

    // From old, runs args to completion for the new files, then kills it at random moments up to
    // a little past its whole run, each time starting the program once more afterwards.
    void killLoop(const char* what, const Snapshot& old, const QStringList& args) {
        restore(old);
        QElapsedTimer timer;
        timer.start();
        run(args);
        const qint64 fullUs = timer.nsecsElapsed() / 1000;
        const Snapshot fresh = snapshot();
        ASSERT_FALSE(sameFiles(old, fresh)) << what << ": the command changed nothing";

        const unsigned seed = killSeed();
        std::mt19937 random(seed);
        std::uniform_int_distribution<qint64> moment(0, fullUs * 13 / 10);
        const int kills = killsPerCommand();
        int sawOld = 0, sawNew = 0, mixed = 0;
        for (int k = 0; k < kills; ++k) {
            restore(old);
            const qint64 at = moment(random);
            QProcess p;
            p.start(QStringLiteral(ZENOMUR_CLI_BINARY), base() + args);
            ASSERT_TRUE(p.waitForStarted());
            QThread::usleep(static_cast<unsigned long>(at));
            p.kill();
            p.waitForFinished();
            run({QStringLiteral("days")});  // the next start recovers
            const Snapshot now = snapshot();
            if (sameFiles(now, old)) {
                ++sawOld;
            } else if (sameFiles(now, fresh)) {
                ++sawNew;
            } else {
                ++mixed;
                ADD_FAILURE() << what << ": kill after " << at << " us (seed " << seed << ") left\n"
                              << differences(now, old, fresh);
            }
        }
        std::cout << "[kill-loop] " << what << ": " << kills << " kills in a run of " << fullUs / 1000 << " ms, "
                  << sawOld << " old, " << sawNew << " new, " << mixed << " mixed or foreign (seed " << seed << ")"
                  << std::endl;
    }

    QTemporaryDir dir;
};

TEST_F(KillLoop, ImportWithItsExports) {
    for (const char* key : {"MurOut", "MurTextOut", "DuelOut", "DenCsvOut"})
        run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("File"), QString::fromLatin1(key),
             QStringLiteral("True")});
    const QStringList import{QStringLiteral("import"), home() + QStringLiteral("/MurData/H261205.LZH")};
    run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("UserInfo"), QStringLiteral("Yosou"),
         QStringLiteral("1")});
    run(import);
    const Snapshot old = snapshot();
    run({QStringLiteral("settings"), QStringLiteral("set"), QStringLiteral("UserInfo"), QStringLiteral("Yosou"),
         QStringLiteral("4")});
    killLoop("import", old, import);
}

TEST_F(KillLoop, ConvertOdds) {
    const QStringList convert{QStringLiteral("convert-odds"), QStringLiteral("--to"), home() + QStringLiteral("/Conv"),
                              QStringLiteral("--pat")};
    const QString archive = home() + QStringLiteral("/MurData/j261205.lzh");
    run(convert + QStringList{QStringLiteral("95"), archive});
    killLoop("convert-odds", snapshot(), convert + QStringList{QStringLiteral("98"), archive});
}

TEST_F(KillLoop, PurchaseFiles) {
    const QString day = QStringLiteral("20261205");
    const QString pending = QStringLiteral("Data/~B") + day + QStringLiteral(".TXT");
    auto bets = [](int count, int stake) {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << QStringLiteral("中山,%1R,単勝,%2,,%3円").arg(i % 12 + 1).arg(i % 16 + 1).arg(stake);
        return test::betBytes(lines);
    };
    // Three files of an earlier cut; the pending bets now make two.
    test::writeBytes(home() + u'/' + pending, bets(120, 100));
    const QStringList sakutto{QStringLiteral("--no"), QStringLiteral("bets"), QStringLiteral("--day"), day,
                              QStringLiteral("sakutto")};
    run(sakutto);
    Snapshot old = snapshot();
    ASSERT_TRUE(old.count(QStringLiteral("OutPut/") + day + QStringLiteral("_3.BET")));
    old[pending] = bets(60, 200);
    killLoop("sakutto", old, sakutto);
}

}  // namespace
}  // namespace zm
