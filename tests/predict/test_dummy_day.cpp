#include "import/race_model.h"
#include "predict/dummy_day.h"
#include "predict/prediction_file.h"
#include "support/test_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(DummyDay, DateChecks) {
    const struct {
        const char* typed;
        const char* day;      // the day, or empty
        const char* message;  // the message, or empty
    } cases[] = {
        {"2001/9/3", "20010903", ""},
        {" 2001/09/03 ", "20010903", ""},
        {"2026/12/06", "20261206", ""},  // today's race days
        {"2011/01/01", "20110101", ""},
        {"1991/1/1", "19910101", ""},
        {"2099/12/31", "20991231", ""},
        {"1990/12/31", "", "西暦年の書式が違います！"},
        {"2100/01/01", "", "西暦年の書式が違います！"},
        {"20o1/01/01", "", "西暦年の書式が違います！"},
        {"01/09/03", "", "西暦年の書式が違います！"},
        {"2001/13/01", "", "「月」の書式が違います！"},
        {"2001/0/11", "", "「月」の書式が違います！"},
        {"20010903", "", "「月」の書式が違います！"},
        {"2001/1/32", "", "「日」の書式が違います！"},
        {"2001/2/29", "", "「日」の書式が違います！"},  // not a leap year
        {"2001/9/x", "", "「日」の書式が違います！"},
        {"2001/9/", "", "日付記入の書式が違います！"},
        {"2001/09/031", "", "日付記入の書式が違います！"},
        {"", "", "日付記入の書式が違います！"},
    };
    for (const auto& c : cases) {
        const Result<QString> day = parseDummyDate(QString::fromUtf8(c.typed));
        EXPECT_EQ(day ? *day : QString(), QString::fromLatin1(c.day)) << c.typed;
        const QString message = QString::fromUtf8(c.message);
        EXPECT_EQ(day.message(), message.isEmpty() ? message : message + QStringLiteral("\r\n") + kDummyDateRule)
            << c.typed;
    }
}

TEST(DummyDay, PresetIsAcceptedAsTyped) {
    const QString preset = dummyDayPreset(QDate(2026, 12, 8));
    EXPECT_EQ(preset, QStringLiteral("2026/12/06"));
    const Result<QString> day = parseDummyDate(preset);
    ASSERT_TRUE(day);
    EXPECT_EQ(*day, QStringLiteral("20261206"));
}

TEST(DummyDay, WritesTheBlankRaceAndItsPredictionOnce) {
    test::TestHome home;
    ASSERT_TRUE(CreateDummyDay(home.ctx(), QStringLiteral("20010903")));
    EXPECT_EQ(home.ctx().ImportedDay, QStringLiteral("20010903"));

    const QString racePath = home.ctx().paths.DataDir + QStringLiteral("MUR20010903_1.DEN");
    QFile f(racePath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray race = f.readAll();
    f.close();
    ASSERT_EQ(race.size(), 779);
    EXPECT_EQ(race.left(20), QByteArray("002001 1 1 120010903"));
    EXPECT_EQ(race.mid(20, 757), QByteArray(757, ' '));
    EXPECT_EQ(race.right(2), QByteArray("\r\n"));

    const QString predPath = predictionFilePath(home.ctx().paths.DataDir, QStringLiteral("20010903"));
    const auto recs = readPredictionFile(predPath);
    ASSERT_TRUE(recs && recs->size() == 1u);
    const PredictionRecord& rec = (*recs)[0];
    EXPECT_EQ(rec.raceDate, QStringLiteral("20010903"));
    EXPECT_EQ(rec.venueCode, QStringLiteral("00"));
    EXPECT_EQ(rec.meeting, 1);
    EXPECT_EQ(rec.dayNo, 1);
    EXPECT_EQ(rec.raceNo, 1);
    EXPECT_EQ(rec.runnerCount, 0);
    EXPECT_EQ(rec.startTime, QStringLiteral("    "));
    EXPECT_EQ(rec.runners[0].horseCode, QStringLiteral("       "));
    EXPECT_EQ(rec.winPicks, (std::array<PickEntry, 3>{}));

    // A second time leaves existing files alone.
    QFile p(predPath);
    ASSERT_TRUE(p.open(QIODevice::Append));
    p.write(QByteArray(kPredictionRecordLength, 'x'));
    p.close();
    ASSERT_TRUE(CreateDummyDay(home.ctx(), QStringLiteral("20010903")));
    EXPECT_EQ(QFileInfo(predPath).size(), 2 * kPredictionRecordLength);
}

TEST(DummyDay, CommandLine) {
    test::TestHome home;
    const QStringList base = {QStringLiteral("--home"), home.home(), QStringLiteral("--config"), home.configFile(),
                              QStringLiteral("dummy-day")};
    const test::CliRun ok = test::runCliProcess(base + QStringList{QStringLiteral("2026/12/6")});
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out.trimmed(), QStringLiteral("20261206"));
    EXPECT_TRUE(QFile::exists(home.ctx().paths.DataDir + QStringLiteral("20261206.DAT")));

    const test::CliRun bad = test::runCliProcess(base + QStringList{QStringLiteral("2001/13/01")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("「月」の書式が違います！"))) << bad.err.toStdString();

    EXPECT_EQ(test::runCliProcess(base).exitCode, 2);
}

}  // namespace
}  // namespace zm
