#include "support/test_home.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::runCliProcess;

class CliLedger : public ::testing::Test {
protected:
    QString home() const { return dir.path() + "/home"; }
    QString ledger() const { return home() + "/Data/ledger.sqlite"; }
    test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{"--home", home(), "--config", dir.path() + "/z.ini"} + args);
    }
    QTemporaryDir dir;
};

TEST_F(CliLedger, UsageErrors) {
    const QStringList cases[] = {{"update", "--from", "2026"},
                                 {"report", "--from", "20261206", "--to", "20261205"},
                                 {"report", "--by", "week"},
                                 {"report", "--type", "三連単"},
                                 {"report", "--venue", "大井"},
                                 {"report", "--sjis"},
                                 {"rebuild"},
                                 {}};
    for (const QStringList& args : cases)
        EXPECT_EQ(run(QStringList{"ledger"} + args).exitCode, 2) << args.join(' ').toStdString();
}

// The sample day's vote log and results into the ledger: a second update changes nothing, the
// report adds up as the vote log does, and a foreign file at the ledger's name is refused and kept.
TEST_F(CliLedger, SampleDayUpdateIsIdempotentAndReportsTheVoteLog) {
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {"--home", home(), "--days", "1"});
    ASSERT_TRUE(sample.waitForFinished(60000));
    ASSERT_EQ(sample.exitCode(), 0);
    for (const QStringList& args : {QStringList{"settings", "set", "PAT", "PatDir", home() + "/PAT/"},
                                    QStringList{"settings", "set", "PAT", "PatOpt", "True"},
                                    QStringList{"settings", "set", "PAT", "Ver", "98"},
                                    QStringList{"pat", "--day", "20261205", "results"}})
        ASSERT_EQ(run(args).exitCode, 0) << args.join(' ').toStdString();

    const test::CliRun first = run({"ledger", "update"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(first.out.trimmed(), QStringLiteral("1 days: 1 added, 0 replaced, 0 unchanged"));
    const test::CliRun again = run({"ledger", "update", "--from", "20261205", "--to", "20261205"});
    EXPECT_EQ(again.out.trimmed(), QStringLiteral("1 days: 0 added, 0 replaced, 1 unchanged"));

    // The vote log says 5,800 yen staked and 5,410 back; 200 of each were refunds.
    const test::CliRun log = run({"pat", "--day", "20261205", "log"});
    ASSERT_TRUE(log.out.contains(QStringLiteral("投資額合計 5,800円"))) << log.out.toStdString();
    const test::CliRun report = run({"ledger", "report", "--by", "day"});
    ASSERT_EQ(report.exitCode, 0) << report.err.toStdString();
    const QStringList lines = report.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << report.out.toStdString();
    const QStringList total = lines[2].split(u' ', Qt::SkipEmptyParts);
    EXPECT_EQ(total.value(0), QStringLiteral("合計"));
    EXPECT_EQ(total.value(3), QStringLiteral("5,600"));
    EXPECT_EQ(total.value(4), QStringLiteral("5,210"));
    EXPECT_EQ(total.value(11), QStringLiteral("200"));

    QFile::remove(ledger());
    {
        QFile f(ledger());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a ledger\r\n");
    }
    const test::CliRun refused = run({"ledger", "update"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(ledger())) << refused.err.toStdString();
    QFile f(ledger());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a ledger\r\n"));
}

}  // namespace
}  // namespace zm
