#include "../bets/bet_files.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::runCliProcess;

// The sample home with PAT98 settings, through the command line as a user would drive it.
class CliPat : public ::testing::Test {
protected:
    void SetUp() override {
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {"--home", home(), "--days", "0"});
        ASSERT_TRUE(sample.waitForFinished(60000));
        ASSERT_EQ(sample.exitCode(), 0);
    }
    QString home() const { return dir.path() + "/home"; }
    test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{"--home", home(), "--config", dir.path() + "/z.ini"} + args);
    }
    void set(const QString& key, const QString& value) { ASSERT_EQ(run({"settings", "set", "PAT", key, value}).exitCode, 0); }

    QTemporaryDir dir;
};

TEST_F(CliPat, CommandsAndExitCodes) {
    // PAT not set: M1, exit 1.
    EXPECT_EQ(run({"pat", "--day", "20261205", "stake"}).exitCode, 1);
    EXPECT_EQ(run({"pat", "--day", "20261205", "results"}).exitCode, 1);
    EXPECT_EQ(run({"pat", "stake", "extra"}).exitCode, 2);
    EXPECT_EQ(run({"pat", "results"}).exitCode, 2);
    EXPECT_EQ(run({"pat", "--day", "20261305", "stake"}).exitCode, 2);
    set("PatDir", home() + "/PAT/");
    set("PatOpt", "True");
    set("Ver", "98");
    const auto stake = run({"pat", "--day", "20261205", "stake"});
    EXPECT_EQ(stake.exitCode, 0);
    EXPECT_TRUE(stake.out.startsWith("日付 2026/12/05\n")) << stake.out.toStdString();
    EXPECT_EQ(run({"pat", "--day", "20261205", "results"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(home() + "/Data/20261205.SEI"));
    const QString exported = home() + "/OutPut/log.txt";
    const auto log = run({"pat", "--day", "20261205", "log", "--export", exported});
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_TRUE(log.out.contains("的中！"));
    EXPECT_TRUE(QFile::exists(exported));
    set("Ver", "31");
    EXPECT_EQ(run({"pat", "--day", "20261205", "log"}).exitCode, 1);

    // Conversion: a missing folder stops after the day file is written.
    const QString archive = home() + "/MurData/j261205.lzh";
    EXPECT_EQ(run({"convert-odds", "--pat", "95", "--to", home() + "/none", archive}).exitCode, 1);
    EXPECT_TRUE(QFile::exists(home() + "/Data/MURODDS20261205.DAT"));
    EXPECT_FALSE(QDir(home() + "/none").exists());
    QDir().mkpath(home() + "/conv");
    const auto conv = run({"convert-odds", "--pat", "31", "--to", home() + "/conv", archive});
    EXPECT_EQ(conv.exitCode, 0) << conv.err.toStdString();
    EXPECT_EQ(QDir(home() + "/conv").entryList(QStringList{"ZO-*.JRA"}, QDir::Files).size(), 36);
    EXPECT_EQ(run({"convert-odds", "--pat", "97", archive}).exitCode, 2);
}

// A day's results are never replaced by fewer races; a missing PAT folder and what stands at
// the results' name are messages naming where PAT is set, exit 1, and nothing changes.
TEST_F(CliPat, ResultsKeptAndFoldersChecked) {
    set("PatOpt", "True");
    set("Ver", "98");
    const auto unset = run({"pat", "--day", "20261205", "odds", "東京", "11"});
    EXPECT_EQ(unset.exitCode, 1);
    EXPECT_TRUE(unset.err.contains("zenomur-cli settings set PAT")) << unset.err.toStdString();
    EXPECT_EQ(unset.out, "");
    set("PatDir", home() + "/none/");
    for (const QStringList& args : {QStringList{"odds", "東京", "11"}, QStringList{"results"}, QStringList{"log"}}) {
        const auto r = run(QStringList{"pat", "--day", "20261205"} + args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("［ＰＡＴの設定］")) << r.err.toStdString();
    }
    set("PatDir", home() + "/PAT/");
    const QString sei = home() + "/Data/20261205.SEI";
    ASSERT_EQ(run({"pat", "--day", "20261205", "results"}).exitCode, 0);
    const QByteArray held = test::readBytes(sei);
    ASSERT_GT(held.size(), 0);
    // The day's KS files leave the PAT folder: the old results stay.
    for (const QString& ks : QDir(home() + "/PAT").entryList(QStringList{"KS-*"}, QDir::Files))
        QFile::remove(home() + "/PAT/" + ks);
    const auto gone = run({"pat", "--day", "20261205", "results"});
    EXPECT_EQ(gone.exitCode, 1);
    EXPECT_EQ(test::readBytes(sei), held);
    EXPECT_TRUE(run({"pat", "--day", "20261205", "log"}).out.contains("的中！"));

    // Something other than a result file at its name: a message, never a hang.
    QFile::remove(sei);
    ASSERT_EQ(::mkfifo(QFile::encodeName(sei).constData(), 0600), 0);
    const auto fifo = run({"pat", "--day", "20261205", "log"});
    EXPECT_EQ(fifo.exitCode, 1);
    EXPECT_FALSE(fifo.err.isEmpty());
}

}  // namespace
}  // namespace zm
