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
// weighs the runners of a later race card and bets in the back-test only after its own days;
// a damaged model file is refused by name.
TEST_F(CliModel, FitNeedsTwentyDaysAndIsUsedOnLaterDays) {
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

    ASSERT_EQ(run({"--yes", "odds-import", home() + "/MurData/j261205.lzh"}).exitCode, 0);
    static const QRegularExpression kVenue(QStringLiteral("【(.+)】"));
    const QString venue = kVenue.match(run({"card", "20261205"}).out).captured(1);
    const test::CliRun plain = run({"card", "20261205", venue, "1"});
    const test::CliRun ev = run({"card", "20261205", venue, "1", "--ev"});
    ASSERT_EQ(ev.exitCode, 0) << ev.err.toStdString();
    EXPECT_FALSE(plain.out.contains(QStringLiteral("期待値")));
    const QStringList lines = ev.out.split(u'\n');
    const qsizetype header = lines.indexOf(QRegularExpression(QStringLiteral(".*勝率 +期待値$")));
    ASSERT_GT(header, 0) << ev.out.toStdString();
    double total = 0;
    int valued = 0;
    for (qsizetype i = header + 1; i < lines.size() && !lines[i].isEmpty(); ++i) {
        QStringList cells = lines[i].split(u' ', Qt::SkipEmptyParts);
        QString value = cells.last().endsWith(u'%') ? QString() : cells.takeLast();
        ASSERT_TRUE(cells.last().endsWith(u'%')) << lines[i].toStdString();
        total += cells.last().chopped(1).toDouble();
        if (value.isEmpty())
            continue;
        ++valued;
        const bool marked = value.endsWith(u'*');
        EXPECT_EQ(marked, value.remove(u'*').toDouble() > 1.0) << lines[i].toStdString();
    }
    EXPECT_NEAR(total, 100, 1);
    EXPECT_GT(valued, 0) << "the day's predicted odds weigh the chances";
    // The option only adds the two columns to the plain card's lines.
    const QStringList plainLines = plain.out.split(u'\n');
    ASSERT_EQ(plainLines.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].startsWith(plainLines[i])) << lines[i].toStdString();

    const test::CliRun backtest = run({"backtest", "--style", "9", "--ev-threshold", "0.5"});
    ASSERT_EQ(backtest.exitCode, 0) << backtest.err.toStdString();
    EXPECT_TRUE(backtest.out.contains(QStringLiteral("期待値 0.5以上の単勝（100円）、モデルの推定期間内で除外 20 (")))
        << backtest.out.toStdString();

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
