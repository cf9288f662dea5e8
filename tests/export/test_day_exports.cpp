#include "codes/sjis.h"
#include "export/contest_readers.h"
#include "export/day_exports.h"
#include "export/duel_text.h"
#include "export/export_text.h"
#include "export/race_card_csv.h"
#include "day/day_pipeline.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

const QDate kDate(2026, 12, 5);
const QString kDay = QStringLiteral("20261205");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class DayExportsTest : public ::testing::Test {
protected:
    void SetUp() override { write(ctx().paths.jockeyFile(), sample::makeJockeyFile(5)); }

    AppContext& ctx() { return home_.ctx(); }
    QString out(const QString& name) { return ctx().settings.OutPutDir + name; }
    QStringList outputs() { return QDir(ctx().settings.OutPutDir).entryList(QDir::Files, QDir::Name); }

    bool runDay(const QDate& date = kDate) {
        const sample::DayFiles day = sample::makeDay(date, 5);
        write(ctx().paths.workRaceFile, day.races);
        write(ctx().paths.workEntryFile, day.entries);
        write(ctx().paths.workHorseFile, day.horses);
        outcome_ = DayRun(ctx(), DaySteps::whole());
        return outcome_.ok();
    }

    std::vector<PredictionRecord> predictions() {
        const auto recs = readPredictionFile(predictionFilePath(ctx().paths.DataDir, kDay));
        return recs ? *recs : std::vector<PredictionRecord>{};
    }

    test::TestHome home_;
    DayOutcome outcome_;
};

TEST_F(DayExportsTest, EachSettingWritesItsOwnFileOnly) {
    ASSERT_TRUE(runDay());
    EXPECT_TRUE(outputs().isEmpty());
    struct Case {
        bool AppSettings::*flag;
        QString file;
    };
    const Case cases[] = {{&AppSettings::MurOut, "K20261205.CSV"},
                          {&AppSettings::DuelOut, "W20261205.TXT"},
                          {&AppSettings::MurTextOut, "MUR20261205.TXT"},
                          {&AppSettings::DenCsvOut, "DEN20261205.CSV"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        for (const QString& f : outputs())
            QFile::remove(out(f));
        ctx().settings.*c.flag = true;
        ASSERT_TRUE(runDay());
        EXPECT_EQ(outputs(), QStringList{c.file});
        ctx().settings.*c.flag = false;
    }
    EXPECT_TRUE(home_.prompter().log().empty());
}

// Every pick the prediction made comes back from the contest texts: all of them from the service
// contest text, the slots of the races it takes from the DUEL text.
TEST_F(DayExportsTest, ContestTextsReadBackThePicksOfTheDay) {
    ctx().settings.Yosou = 4;  // ten pairs a race
    ctx().settings.DuelOut = true;
    ctx().settings.MurTextOut = true;
    ASSERT_TRUE(runDay());
    size_t murExpected = 0;
    size_t duelExpected = 0;
    for (const PredictionRecord& p : predictions()) {
        const int n = p.runnerCount;
        size_t pairs = 0;
        for (size_t k = 0; k < 10; ++k) {
            const int c = n <= 8 ? p.smallPicks[k].code : p.quinellaPicks[k].code;
            const int a = n <= 8 ? c / 10 : c / 100;
            const int b = n <= 8 ? c % 10 : c % 100;
            if (a >= 1 && a <= n && b >= 1 && b <= n && a != b) {
                ++pairs;
                if (duelTakesRace(p) && static_cast<int>(k) < (n == 8 ? 1 : n == 9 ? 4 : n == 10 ? 5 : 6))
                    ++duelExpected;
            }
        }
        const bool win = p.winPicks[0].code >= 1;
        murExpected += pairs + (win ? 1 : 0);
        duelExpected += duelTakesRace(p) ? 1 : 0;
    }
    const auto mur = readContestFile(readAll(out("MUR20261205.TXT")), ContestFormat::Mur, kDay, u"A917");
    ASSERT_TRUE(mur.ok());
    EXPECT_EQ(mur->size(), murExpected);
    EXPECT_GT(murExpected, 36u * 7);
    const auto duel = readContestFile(readAll(out("W20261205.TXT")), ContestFormat::Duel, kDay, u"0863");
    ASSERT_TRUE(duel.ok());
    EXPECT_EQ(duel->size(), duelExpected);
    for (const auto* bets : {&mur.value(), &duel.value()}) {
        const int stake = bets == &mur.value() ? 100 : 0;
        for (const ContestBet& b : *bets)
            EXPECT_EQ(b.stake, stake);
    }
    EXPECT_TRUE(readContestFile(readAll(out("MUR20261205.TXT")), ContestFormat::Mur, u"20261206", u"A917")->empty());
}

TEST_F(DayExportsTest, OverTheBudgetTheTextIsWrittenAndTheMessageShown) {
    EXPECT_TRUE(ctx().store.SaveAppSetting(QStringLiteral("File"), QStringLiteral("MurBudget"), QStringLiteral("1000")).ok());
    ctx().settings.MurTextOut = true;
    ASSERT_TRUE(runDay());
    EXPECT_TRUE(QFile::exists(out("MUR20261205.TXT")));
    EXPECT_TRUE(home_.prompter().texts().isEmpty());  // the front end shows it
    ASSERT_EQ(outcome_.notices.size(), 1);
    EXPECT_EQ(outcome_.notices[0].severity, Severity::Warning);
    EXPECT_TRUE(outcome_.notices[0].text.startsWith(QStringLiteral("【MURコンテスト版】の投票金額が ")));
    EXPECT_TRUE(outcome_.notices[0].text.endsWith(QStringLiteral("持ち点の 10００円をオーバーしました！")));
}

TEST_F(DayExportsTest, BatchAppendsEveryDayToTheCumulativeFiles) {
    ctx().settings.DuelOut = true;
    ctx().settings.DenCsvOut = true;
    write(out("duel.TXT"), "old\r\n");
    write(out("DEN.CSV"), "old\r\n");
    int runners = 0;
    for (const QDate& d : {kDate, kDate.addDays(1)}) {
        const sample::DayFiles day = sample::makeDay(d, 5);
        write(ctx().settings.MurDataDir + QStringLiteral("hb") + sample::yymmdd(d) + QStringLiteral(".lzh"),
              sample::dayArchive(day));
    }
    const BatchResult result = BatchRun(ctx(), DaySteps::whole(), [&](const Notice& m) { ctx().prompter.critical(m.text); });
    ASSERT_EQ(result.imported, 2);
    EXPECT_FALSE(ctx().BatchRequested);
    EXPECT_EQ(outputs(), QStringList({"DEN.CSV", "Duel.TXT"}));
    for (const QString& day : {kDay, QStringLiteral("20261206")}) {
        const auto recs = readPredictionFile(predictionFilePath(ctx().paths.DataDir, day));
        ASSERT_TRUE(recs);
        for (const PredictionRecord& p : *recs)
            runners += p.runnerCount;
    }
    const QString csv = fromSjis(readAll(out("DEN.CSV")));
    EXPECT_EQ(csv.count(QStringLiteral("\r\n")), runners);
    EXPECT_FALSE(csv.contains(QStringLiteral("年月日")));
    EXPECT_TRUE(csv.startsWith(QStringLiteral("20261205,")));
    const QString duel = fromSjis(readAll(out("Duel.TXT")));
    EXPECT_FALSE(duel.startsWith(QStringLiteral("old")));
    EXPECT_TRUE(duel.contains(QStringLiteral("12月  5日")));
    EXPECT_TRUE(duel.contains(QStringLiteral("12月  6日")));
    EXPECT_EQ(duel.count(QStringLiteral("\r\n\r\n\r\n")), 2);
}

TEST_F(DayExportsTest, RaceCardCsvSkipsRunnersMissingFromTheEntriesAndKeepsTheBatchFile) {
    ctx().settings.DenCsvOut = true;
    ASSERT_TRUE(runDay());
    const QString den = out("DEN20261205.CSV");
    const QStringList before = fromSjis(readAll(den)).split(QStringLiteral("\r\n"));

    // The first runner's horse code no longer matches an entry.
    const QString entries = ctx().paths.DataDir + QStringLiteral("MUR20261205_2.DEN");
    QByteArray bytes = readAll(entries);
    const QByteArray code = toSjis(predictions()[0].runners[0].horseCode);
    for (qsizetype at = 25; at < bytes.size(); at += EntryRecord::kLength)
        if (bytes.mid(at, 7) == code)
            bytes.replace(at, 7, "XXXXXXX");
    write(entries, bytes);
    ASSERT_TRUE(ExportRaceCardCsv(ctx(), *outcome_.day).ok());
    QStringList after = fromSjis(readAll(den)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(after.size(), before.size() - 1);
    EXPECT_EQ(after.mid(1), before.mid(2));

    QFile::remove(entries);
    ctx().BatchRequested = true;
    write(out("DEN.CSV"), "kept\r\n");
    ASSERT_TRUE(ExportRaceCardCsv(ctx(), *outcome_.day).ok());
    EXPECT_EQ(readAll(out("DEN.CSV")), QByteArray("kept\r\n"));
    ctx().BatchRequested = false;
    ASSERT_TRUE(ExportRaceCardCsv(ctx(), *outcome_.day).ok());
    EXPECT_FALSE(QFile::exists(den));
}

TEST(ExportVersion, IsTheVersionTheCommandLinePrints) {
    const test::CliRun run = test::runCliProcess({QStringLiteral("--version")});
    EXPECT_EQ(run.out.trimmed(), QStringLiteral("zenomur-cli ") + programVersion());
    EXPECT_EQ(programVersion().count(u'.'), 2);
}

}  // namespace
}  // namespace zm
