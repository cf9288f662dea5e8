// The command line against hostile folders and damaged files: each case once reported success,
// hung or touched what it must not.

#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace zm::test {
namespace {

using namespace Qt::StringLiterals;

const QString kDay = u"20261205"_s;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

bool put(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A home with the sample archives and, after importDay(), one predicted day.
class HostileCli : public ::testing::Test {
protected:
    void SetUp() override {
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {u"--home"_s, home.home(), u"--days"_s, u"1"_s});
        ASSERT_TRUE(sample.waitForFinished(60000));
        ASSERT_EQ(sample.exitCode(), 0) << sample.readAllStandardError().toStdString();
    }
    CliRun cli(const QStringList& rest, int timeoutMs = 60000) {
        return runCliProcess(QStringList{u"--home"_s, home.home(), u"--config"_s, home.configFile(), u"--yes"_s} + rest, {},
                             timeoutMs);
    }
    QString data(const QString& name) const { return home.home() + u"/Data/"_s + name; }
    QString archive() const { return home.home() + u"/MurData/H261205.LZH"_s; }
    void importDay() {
        const CliRun r = cli({u"import"_s, archive()});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    TestHome home;
};

TEST_F(HostileCli, EmptyHomeOrConfigIsAUsageError) {
    for (const QString& option : {u"--home"_s, u"--config"_s}) {
        const CliRun r = runCliProcess({option, QString(), u"days"_s});
        EXPECT_EQ(r.exitCode, 2) << option.toStdString();
        EXPECT_TRUE(r.err.contains(u"needs a value"_s)) << r.err.toStdString();
    }
}

TEST_F(HostileCli, SettingsThatCannotBeWrittenStopWithTheFileNamed) {
    struct Case {
        const char* what;
        QString config;
    };
    const QString base = home.home() + u"/cfg"_s;
    ASSERT_TRUE(QDir().mkpath(base + u"/folder.ini"_s));
    ASSERT_TRUE(put(base + u"/plainfile"_s, "x"));
    const Case cases[] = {
        {"a folder at the name", base + u"/folder.ini"_s},
        {"the parent is a file", base + u"/plainfile/zenomur.ini"_s},
    };
    for (const Case& c : cases) {
        const CliRun r = runCliProcess({u"--home"_s, home.home(), u"--config"_s, c.config, u"settings"_s, u"set"_s,
                                        u"File"_s, u"umaF"_s, u"True"_s});
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.err.contains(u"書き込めません"_s)) << c.what << ": " << r.err.toStdString();
    }
}

TEST_F(HostileCli, AFifoAtAnyFileTheCommandsReadIsAMessageNotAHang) {
    importDay();
    struct Case {
        const char* what;
        QString path;
        QStringList command;
    };
    const QString fifoArchive = home.home() + u"/MurData/fifo.lzh"_s;
    const Case cases[] = {
        {"race day file", data(u"MUR"_s + kDay + u"_1.DEN"_s), {u"card"_s, kDay}},
        {"entries day file", data(u"MUR"_s + kDay + u"_2.DEN"_s), {u"card"_s, kDay}},
        {"prediction file", data(kDay + u".DAT"_s), {u"card"_s, kDay}},
        {"archive", fifoArchive, {u"import"_s, fifoArchive}},
        {"odds archive", fifoArchive, {u"odds-import"_s, fifoArchive}},
        {"jockey file", home.home() + u"/mur_kis.kd2"_s, {u"import"_s, archive()}},
    };
    for (const Case& c : cases) {
        const QString saved = c.path + u".saved"_s;
        QFile::rename(c.path, saved);
        ASSERT_EQ(::mkfifo(QFile::encodeName(c.path).constData(), 0600), 0) << c.what;
        const CliRun r = cli(c.command, 20000);
        EXPECT_NE(r.exitCode, -1) << c.what << " hung";
        if (QString::fromLatin1(c.what) != u"jockey file"_s) {
            EXPECT_EQ(r.exitCode, 1) << c.what << ": " << r.err.toStdString();
        }
        QFile::remove(c.path);
        QFile::rename(saved, c.path);
    }
}

TEST_F(HostileCli, DamagedDayFilesAreNamedAndNeverShownAsADay) {
    importDay();
    const QString prediction = data(kDay + u".DAT"_s);
    const QString entries = data(u"MUR"_s + kDay + u"_2.DEN"_s);
    const QByteArray goodPrediction = readAll(prediction);
    const QByteArray goodEntries = readAll(entries);
    struct Case {
        const char* what;
        QString path;
        QByteArray bytes;  // empty with folder: a folder at the name
        bool folder;
    };
    const Case cases[] = {
        {"prediction file of 0 bytes", prediction, {}, false},
        {"prediction file cut inside a record", prediction, goodPrediction.left(goodPrediction.size() - 100), false},
        {"prediction file cut past half a record", prediction, goodPrediction.left(goodPrediction.size() - 6000), false},
        {"a folder at the prediction file", prediction, {}, true},
        {"entries day file of 0 bytes", entries, {}, false},
    };
    for (const Case& c : cases) {
        QFile::remove(c.path);
        if (c.folder) {
            ASSERT_TRUE(QDir().mkpath(c.path));
        } else {
            ASSERT_TRUE(put(c.path, c.bytes));
        }
        const CliRun r = cli({u"card"_s, kDay});
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.err.contains(QFileInfo(c.path).fileName())) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.what;
        QDir(c.path).removeRecursively();
        QFile::remove(c.path);
        put(prediction, goodPrediction);
        put(entries, goodEntries);
    }
    EXPECT_EQ(cli({u"card"_s, kDay}).exitCode, 0);
}

TEST_F(HostileCli, ADayStoredInLowerCaseIsListedAndOpens) {
    importDay();
    for (const QString& name : {kDay + u".DAT"_s, u"MUR"_s + kDay + u"_1.DEN"_s, u"MUR"_s + kDay + u"_2.DEN"_s})
        ASSERT_TRUE(QFile::rename(data(name), data(name.toLower())));
    const CliRun days = cli({u"days"_s});
    EXPECT_TRUE(days.out.startsWith(kDay)) << days.out.toStdString();
    const CliRun card = cli({u"card"_s, kDay});
    EXPECT_EQ(card.exitCode, 0) << card.err.toStdString();
    EXPECT_FALSE(card.out.isEmpty());
}

TEST_F(HostileCli, AWorkFolderThatIsALinkIsRefusedAndItsTargetKept) {
    const QString target = home.home() + u"/elsewhere"_s;
    ASSERT_TRUE(QDir().mkpath(target));
    ASSERT_TRUE(put(target + u"/precious.txt"_s, "keep"));
    const QString work = home.home() + u"/Work"_s;
    QDir(work).removeRecursively();
    ASSERT_TRUE(QFile::link(target, work));
    for (const QStringList& command : {QStringList{u"import"_s, archive()}, QStringList{u"split"_s, archive()}}) {
        const CliRun r = cli(command);
        EXPECT_EQ(r.exitCode, 1) << command.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_EQ(readAll(target + u"/precious.txt"_s), "keep");
    }
}

TEST_F(HostileCli, AnArchivePickedFromTheWorkFolderIsReadBeforeItIsEmptied) {
    const QString inWork = home.home() + u"/Work/H261205.LZH"_s;
    ASSERT_TRUE(QFile::copy(archive(), inWork));
    const CliRun r = cli({u"import"_s, inWork});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(data(kDay + u".DAT"_s)));
}

// An archive whose path is not UTF-8 (a folder named in another encoding) is found and imported;
// a missing one is named with its bytes escaped. The path reaches the program as raw bytes.
TEST_F(HostileCli, AnArchivePathThatIsNotUtf8IsFound) {
    const QByteArray folder = QFile::encodeName(home.home()) + "/\xff\x93\x8c";  // 0xFF, then Shift-JIS 東
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    ASSERT_EQ(::link(QFile::encodeName(archive()).constData(), (folder + "/H261205.LZH").constData()), 0);
    auto run = [&](const char* name) {
        QProcess p;
        // printf turns the octal escapes into the bytes, so no text decoding touches the path.
        p.start(u"/bin/sh"_s, {u"-c"_s, u"exec \"$0\" --home \"$1\" --config \"$2\" --yes import \"$1/$(printf '\\377\\223\\214')/$3\""_s,
                                QStringLiteral(ZENOMUR_CLI_BINARY), home.home(), home.configFile(), QString::fromLatin1(name)});
        EXPECT_TRUE(p.waitForFinished(60000));
        return std::pair{p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
    };
    const auto [code, err] = run("H261205.LZH");
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_TRUE(QFile::exists(data(kDay + u".DAT"_s)));
    const auto [missingCode, missingErr] = run("H261206.LZH");
    EXPECT_NE(missingCode, 0);
    EXPECT_TRUE(missingErr.contains(u"/\\xFF\\x93\\x8C/H261206.LZH"_s)) << missingErr.toStdString();
}

// A read-only Data/ needs a private mount namespace: root ignores file permissions.
TEST_F(HostileCli, DeleteDaysThatCannotDeleteSaysSoAndFails) {
    importDay();
    if (QStandardPaths::findExecutable(u"unshare"_s).isEmpty() ||
        QProcess::execute(u"unshare"_s, {u"-m"_s, u"--propagation"_s, u"private"_s, u"true"_s}) != 0) {
        GTEST_SKIP() << "no private mount namespace on this machine: the read-only Data/ case is not run";
    }
    const QString dataDir = home.home() + u"/Data"_s;
    const QString script = u"mount --bind \"$1\" \"$1\" && mount -o remount,ro,bind \"$1\" && shift && exec \"$@\""_s;
    QProcess p;
    p.start(u"unshare"_s, {u"-m"_s, u"--propagation"_s, u"private"_s, u"sh"_s, u"-c"_s, script, u"sh"_s, dataDir,
                           QStringLiteral(ZENOMUR_CLI_BINARY), u"--home"_s, home.home(), u"--config"_s,
                           home.configFile(), u"delete-days"_s, u"--all"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(u"削除できませんでした"_s)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"1個のデータを削除しました"_s)) << err.toStdString();
}

}  // namespace
}  // namespace zm::test
