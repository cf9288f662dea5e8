#include "support/test_home.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::runCliProcess;

class CliModel : public ::testing::Test {
protected:
    QString home() const { return dir.path() + "/home"; }
    test::CliRun run(const QStringList& args) {
        return runCliProcess(QStringList{"--home", home(), "--config", dir.path() + "/z.ini"} + args);
    }
    // days small race days imported with their results read from PAT's folder.
    void makeDays(int days) {
        QProcess sample;
        sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY),
                     {"--home", home(), "--days", QString::number(days), "--venues", "1", "--races", "4"});
        ASSERT_TRUE(sample.waitForFinished(60000));
        ASSERT_EQ(sample.exitCode(), 0);
        for (const QStringList& args : {QStringList{"settings", "set", "PAT", "PatDir", home() + "/PAT/"},
                                        QStringList{"settings", "set", "PAT", "PatOpt", "True"},
                                        QStringList{"settings", "set", "PAT", "Ver", "98"},
                                        QStringList{"--yes", "batch"}})
            ASSERT_EQ(run(args).exitCode, 0) << args.join(' ').toStdString();
        static const QRegularExpression kDay(QStringLiteral("^\\d{8}"), QRegularExpression::MultilineOption);
        for (auto it = kDay.globalMatch(run({"days"}).out); it.hasNext();)
            ASSERT_EQ(run({"pat", "--day", it.next().captured(), "results"}).exitCode, 0);
    }
    QTemporaryDir dir;
};

TEST_F(CliModel, UsageErrorsAndNoModelYet) {
    for (const QStringList& args : {QStringList{"fit", "--from", "x"}, QStringList{"report", "--to", "20261301"},
                                    QStringList{"fit", "--from", "20261206", "--to", "20261205"},
                                    QStringList{"tune"}})
        EXPECT_EQ(run(QStringList{"model"} + args).exitCode, 2) << args.join(' ').toStdString();
    const test::CliRun none = run({"model", "report"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("model fit"))) << none.err.toStdString();
}

// Too few days fit nothing; enough days fit a model that reports on days it did not learn from,
// and a damaged model file is refused by name.
TEST_F(CliModel, FitNeedsTwentyDaysAndReportsOnLaterDays) {
    makeDays(21);
    const test::CliRun few = run({"model", "fit", "--from", "20261101"});
    EXPECT_EQ(few.exitCode, 1);
    EXPECT_TRUE(few.err.contains(QStringLiteral("20日以上"))) << few.err.toStdString();
    EXPECT_FALSE(QFile::exists(home() + "/Data/winmodel.json"));

    const test::CliRun fit = run({"model", "fit", "--to", "20261129"});
    ASSERT_EQ(fit.exitCode, 0) << fit.err.toStdString();
    EXPECT_TRUE(fit.out.contains(QStringLiteral("の 20日"))) << fit.out.toStdString();
    const test::CliRun later = run({"model", "report", "--from", "20261205"});
    ASSERT_EQ(later.exitCode, 0) << later.err.toStdString();
    EXPECT_TRUE(later.out.contains(QStringLiteral("検証: 1日（うち推定に使った日 0日）"))) << later.out.toStdString();
    EXPECT_TRUE(later.out.contains(QStringLiteral("90-100%")));

    QFile model(home() + "/Data/winmodel.json");
    ASSERT_TRUE(model.open(QIODevice::WriteOnly | QIODevice::Truncate));
    model.write("{\"beta\": [1, 2]}");
    model.close();
    const test::CliRun damaged = run({"model", "report"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_TRUE(damaged.err.contains(home() + "/Data/winmodel.json")) << damaged.err.toStdString();
}

}  // namespace
}  // namespace zm
