// The day run's exports as part of the day's file set: put in place with the day or not at all.

#include "app/file_set.h"
#include "codes/sjis.h"
#include "export/day_exports.h"
#include "day/day_pipeline.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <map>

namespace zm {
namespace {

const QDate kDate(2026, 12, 5);

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class DaySetTest : public ::testing::Test {
protected:
    void SetUp() override {
        write(ctx().paths.jockeyFile(), sample::makeJockeyFile(5));
        ctx().settings.MurOut = ctx().settings.DuelOut = ctx().settings.MurTextOut = ctx().settings.DenCsvOut = true;
    }
    AppContext& ctx() { return home_.ctx(); }
    QString out(const QString& name) { return ctx().settings.OutPutDir + name; }

    bool runDay(const DaySteps& hooks) {
        const sample::DayFiles day = sample::makeDay(kDate, 5);
        write(ctx().paths.workRaceFile, day.races);
        write(ctx().paths.workEntryFile, day.entries);
        write(ctx().paths.workHorseFile, day.horses);
        outcome_ = DayRun(ctx(), hooks);
        return outcome_.ok();
    }

    // Every file of the data and output folders.
    std::map<QString, QByteArray> files() {
        FinishFileSets();
        std::map<QString, QByteArray> all;
        for (const QString& folder : {ctx().paths.DataDir, ctx().settings.OutPutDir})
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                all[folder + name] = readAll(folder + name);
        return all;
    }

    test::TestHome home_;
    DayOutcome outcome_;
};

// An export that cannot be written is named and left out; the day and the other exports go in.
TEST_F(DaySetTest, AnExportThatCannotBeWrittenIsNamedAndTheDayGoesIn) {
    ASSERT_TRUE(QDir().mkpath(out(QStringLiteral("K20261205.CSV"))));
    ASSERT_TRUE(runDay(DaySteps::whole()));
    EXPECT_EQ(outcome_.exportFailures, QStringList{QFileInfo(out(QStringLiteral("K20261205.CSV"))).absoluteFilePath()});
    ASSERT_EQ(outcome_.notices.size(), 1);
    EXPECT_EQ(outcome_.notices[0].severity, Severity::Critical);
    EXPECT_TRUE(outcome_.notices[0].text.contains(QStringLiteral("K20261205.CSV")));
    for (const char* name : {"W20261205.TXT", "MUR20261205.TXT", "DEN20261205.CSV"})
        EXPECT_TRUE(QFileInfo(out(QString::fromLatin1(name))).isFile()) << name;
    EXPECT_TRUE(QFile::exists(ctx().paths.DataDir + QStringLiteral("MUR20261205_1.DEN")));
}

// A day that does not go through leaves the old day and the old exports, byte for byte, whether
// its prediction stopped or its set could not be put in place.
TEST_F(DaySetTest, ADayThatFailsLeavesTheOldDayAndItsOldExports) {
    ctx().settings.Yosou = 1;
    ASSERT_TRUE(runDay(DaySteps::whole()));
    const auto old = files();
    ASSERT_EQ(old.size(), 7u);
    ctx().settings.Yosou = 4;

    DaySteps stopped = DaySteps::whole();
    stopped.predict = [](AppContext&, const ImportedDay&, FileSet&) { return Status::failure(QStringLiteral("stopped")); };
    DaySteps unplaceable = DaySteps::whole();
    unplaceable.exports = [this](AppContext& c, const ImportedDay& day, FileSet& set, bool batchStarted, Notices& notices) {
        const QStringList failures = RunDayExports(c, day, set, batchStarted, notices);
        // Something takes an export's name after it was written beside it.
        QFile::remove(out(QStringLiteral("DEN20261205.CSV")));
        QDir().mkpath(out(QStringLiteral("DEN20261205.CSV")));
        return failures;
    };
    struct Case {
        const char* what;
        const DaySteps* hooks;
    } cases[] = {{"prediction stopped", &stopped}, {"set not put in place", &unplaceable}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home_.prompter().clear();
        EXPECT_FALSE(runDay(*c.hooks));
        auto now = files();
        QDir(out(QStringLiteral("DEN20261205.CSV"))).removeRecursively();
        if (c.hooks == &unplaceable) {
            // The one old file the test itself removed; everything else is as it was.
            now[out(QStringLiteral("DEN20261205.CSV"))] = old.at(out(QStringLiteral("DEN20261205.CSV")));
            EXPECT_TRUE(home_.prompter().texts().isEmpty());
            EXPECT_TRUE(outcome_.status.message().endsWith(kFileSetUnchanged));
            write(out(QStringLiteral("DEN20261205.CSV")), old.at(out(QStringLiteral("DEN20261205.CSV"))));
        }
        EXPECT_EQ(now, old);
    }
}

// A batch in which no day goes through leaves what an earlier batch wrote.
TEST_F(DaySetTest, ABatchWithoutADayLeavesTheCumulativeFiles) {
    write(out(QStringLiteral("Duel.TXT")), "earlier batch\r\n");
    write(out(QStringLiteral("DEN.CSV")), "earlier batch\r\n");
    write(ctx().settings.MurDataDir + QStringLiteral("hb261205.lzh"), "not an archive");
    write(ctx().settings.MurDataDir + QStringLiteral("hb261206.lzh"), "");
    const BatchResult result = BatchRun(ctx(), DaySteps::whole(), [&](const Notice& m) { ctx().prompter.critical(m.text); });
    EXPECT_EQ(result.archives, 2);
    EXPECT_EQ(result.imported, 0);
    EXPECT_EQ(readAll(out(QStringLiteral("Duel.TXT"))), "earlier batch\r\n");
    EXPECT_EQ(readAll(out(QStringLiteral("DEN.CSV"))), "earlier batch\r\n");
}

}  // namespace
}  // namespace zm
