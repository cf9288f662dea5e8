// Re-imports killed at random moments and re-imports onto a full disk: afterwards every day is
// wholly the old import or wholly the new one, and the next import runs.

#include "support/test_home.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <iostream>
#include <map>

namespace zm::test {
namespace {

using namespace Qt::StringLiterals;

const QString kDay = u"20261205"_s;
// The files of the day an import writes with the default settings.
const QStringList kDayFiles = {kDay + u".DAT"_s, u"MUR"_s + kDay + u"_1.DEN"_s, u"MUR"_s + kDay + u"_2.DEN"_s};

using Digests = std::map<QString, QByteArray>;

Digests digestsOf(const QString& dataDir) {
    Digests d;
    for (const QString& name : kDayFiles) {
        QFile f(dataDir + name);
        d[name] = f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                              : QByteArray("(missing)");
    }
    return d;
}

QString sampleArchive(const QString& home, int seed) {
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY),
                 {u"--home"_s, home, u"--days"_s, u"1"_s, u"--seed"_s, QString::number(seed)});
    sample.waitForFinished(60000);
    return home + u"/MurData/H261205.LZH"_s;
}

// Two archives of the same day with different horses, and the day files each import gives.
class ImportCrash : public ::testing::Test {
protected:
    void SetUp() override {
        sampleArchive(home.home(), 1);  // the jockey file and folders
        for (int k = 0; k < 2; ++k) {
            archives[k] = sampleArchive(refs[k].home(), k + 1);
            ASSERT_TRUE(QFile::exists(archives[k]));
            // The same jockeys everywhere: the days then differ only by their archive.
            QFile::remove(refs[k].home() + u"/mur_kis.kd2"_s);
            ASSERT_TRUE(QFile::copy(home.home() + u"/mur_kis.kd2"_s, refs[k].home() + u"/mur_kis.kd2"_s));
            QElapsedTimer timer;
            timer.start();
            const CliRun r = import(refs[k], archives[k]);
            importMicroseconds = std::max<qint64>(importMicroseconds, timer.nsecsElapsed() / 1000);
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            expected[k] = digestsOf(refs[k].home() + u"/Data/"_s);
        }
        ASSERT_NE(expected[0], expected[1]);
    }
    QStringList args(TestHome& h, const QStringList& rest) const {
        return QStringList{u"--home"_s, h.home(), u"--config"_s, h.configFile(), u"--yes"_s} + rest;
    }
    CliRun import(TestHome& h, const QString& archive) { return runCliProcess(args(h, {u"import"_s, archive})); }
    // Which import the day is wholly (0 or 1), -1 for a mix.
    int wholly(const Digests& d) const { return d == expected[0] ? 0 : d == expected[1] ? 1 : -1; }

    TestHome refs[2];
    QString archives[2];
    Digests expected[2];
    qint64 importMicroseconds = 0;
    TestHome home;
};

TEST_F(ImportCrash, AKilledReImportLeavesTheOldDayOrTheNewOne) {
    ASSERT_EQ(import(home, archives[0]).exitCode, 0);
    const QString data = home.home() + u"/Data/"_s;
    int killedMidway = 0;
    int finished = 0;
    int newDays = 0;  // rounds after which the day was the new import
    for (int round = 0; round < 24; ++round) {
        QProcess p;
        p.start(QStringLiteral(ZENOMUR_CLI_BINARY), args(home, {u"import"_s, archives[(round + 1) % 2]}));
        ASSERT_TRUE(p.waitForStarted());
        // A moment anywhere from the start to a little past the usual end of an import.
        const int ms = static_cast<int>(QRandomGenerator::global()->bounded(importMicroseconds * 5 / 4 + 1) / 1000);
        if (!p.waitForFinished(std::max(ms, 1))) {
            ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
            ++killedMidway;
        } else {
            ++finished;
        }
        p.waitForFinished(60000);
        // The next start finishes or rolls back what the kill left.
        const CliRun days = runCliProcess(args(home, {u"days"_s}));
        ASSERT_EQ(days.exitCode, 0) << days.err.toStdString();
        const int which = wholly(digestsOf(data));
        ASSERT_NE(which, -1) << "a mixed day after round " << round;
        newDays += which == (round + 1) % 2 ? 1 : 0;
        for (const QString& name : QDir(data).entryList(QDir::Files))
            EXPECT_FALSE(name.contains(u".zmnew"_s) || name.contains(u"journal"_s)) << name.toStdString();
    }
    EXPECT_GT(killedMidway, 0);
    std::cout << "[          ] " << killedMidway << " imports killed, " << finished << " finished, " << newDays
              << " days new afterwards" << std::endl;
    const CliRun last = import(home, archives[1]);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_EQ(wholly(digestsOf(data)), 1);
}

TEST_F(ImportCrash, AReImportOntoAFullDiskLeavesTheOldDayAndSaysTheDiskIsFull) {
    if (QStandardPaths::findExecutable(u"unshare"_s).isEmpty() ||
        QProcess::execute(u"unshare"_s, {u"-m"_s, u"--propagation"_s, u"private"_s, u"true"_s}) != 0) {
        GTEST_SKIP() << "no private mount namespace here: the disk-full re-import is not run";
    }
    ASSERT_EQ(import(home, archives[0]).exitCode, 0);
    const QString data = home.home() + u"/Data"_s;
    const QString saved = home.home() + u"/saved"_s;
    const QString after = home.home() + u"/after"_s;
    ASSERT_TRUE(QDir().mkpath(saved));
    ASSERT_TRUE(QDir().mkpath(after));
    for (const QString& name : kDayFiles)
        ASSERT_TRUE(QFile::copy(data + u'/' + name, saved + u'/' + name));
    // Data/ becomes a tmpfs holding the old day with room for a part of a new one only.
    const QString script =
        u"mount -t tmpfs -o size=1000k tmpfs \"$1\" && cp \"$2\"/* \"$1\"/ && shift 3 && \"$@\"; rc=$?; "
        "cp \"$D\"/* \"$A\"/ 2>/dev/null; exit $rc"_s;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"D"_s, data);
    env.insert(u"A"_s, after);
    p.setProcessEnvironment(env);
    p.start(u"unshare"_s, QStringList{u"-m"_s, u"--propagation"_s, u"private"_s, u"sh"_s, u"-c"_s, script, u"sh"_s,
                                      data, saved, after, QStringLiteral(ZENOMUR_CLI_BINARY)} +
                              args(home, {u"import"_s, archives[1]}));
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(u"ディスクの空きがない"_s)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"Unknown error"_s)) << err.toStdString();
    EXPECT_EQ(digestsOf(after + u'/'), expected[0]);
    EXPECT_EQ(QDir(after).entryList(QDir::Files).size(), kDayFiles.size());
    // On a disk with room the next import runs.
    EXPECT_EQ(import(home, archives[1]).exitCode, 0);
    EXPECT_EQ(wholly(digestsOf(data + u'/')), 1);
}

}  // namespace
}  // namespace zm::test
