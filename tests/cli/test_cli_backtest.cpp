#include "codes/sjis.h"
#include "support/test_home.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::runCliProcess;

class CliBacktest : public ::testing::Test {
protected:
    QString home() const { return dir.path() + "/home"; }
    test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{"--home", home(), "--config", dir.path() + "/z.ini"} + args);
    }
    QTemporaryDir dir;
};

TEST_F(CliBacktest, UsageErrors) {
    const QStringList cases[] = {{"--style", "10"}, {"--style", "x"},         {"--sjis"},
                                 {"--ev-threshold", "0"}, {"--ev-threshold", "x"},
                                 {"--from", "2026"}, {"--from", "20261206", "--to", "20261205"},
                                 {"--bogus"},        {"--csv"}};
    for (const QStringList& args : cases)
        EXPECT_EQ(run(QStringList{"backtest"} + args).exitCode, 2) << args.join(' ').toStdString();
    // No day at all is no error: an empty table.
    const test::CliRun empty = run({"backtest"});
    EXPECT_EQ(empty.exitCode, 0) << empty.err.toStdString();
    EXPECT_TRUE(empty.out.contains(QStringLiteral("検証日数 0")));
}

// The sample's two race days imported, their results read from PAT's folder, then the back-test.
TEST_F(CliBacktest, SampleDaysEndToEnd) {
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {"--home", home(), "--days", "2"});
    ASSERT_TRUE(sample.waitForFinished(60000));
    ASSERT_EQ(sample.exitCode(), 0);
    ASSERT_EQ(run({"--yes", "batch"}).exitCode, 0);
    ASSERT_EQ(run({"settings", "set", "PAT", "PatDir", home() + "/PAT/"}).exitCode, 0);
    ASSERT_EQ(run({"settings", "set", "PAT", "PatOpt", "True"}).exitCode, 0);
    ASSERT_EQ(run({"settings", "set", "PAT", "Ver", "98"}).exitCode, 0);
    for (const char* day : {"20261205", "20261129"})
        ASSERT_EQ(run({"pat", "--day", day, "results"}).exitCode, 0) << day;

    const QString csv = dir.path() + "/bt.csv";
    const test::CliRun r = run({"backtest", "--style", "0", "--style", "7", "--csv", csv, "--sjis"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("３点流し"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("５頭ＢＯＸ")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("４点流し")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("検証日数 2"))) << r.out.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = fromSjis(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    // Style 0 bets a win and three pairs on every race with a selection: 72 races at most.
    const QStringList style0 = lines[1].split(u',');
    EXPECT_EQ(style0[1], QStringLiteral("３点流し"));
    EXPECT_GT(style0[3].toInt(), 0);
    EXPECT_LE(style0[3].toInt(), 72 * 4);
    for (const char* suffix : {"-types", "-venues", "-months", "-marks", "-days", "-bets"})
        EXPECT_TRUE(QFile::exists(dir.path() + "/bt" + suffix + ".csv")) << suffix;

    // A range of the later day only.
    const test::CliRun one = run({"backtest", "--from", "20261201", "--style", "0"});
    EXPECT_TRUE(one.out.contains(QStringLiteral("検証日数 1"))) << one.out.toStdString();
}

}  // namespace
}  // namespace zm
