#include "analysis/backtest.h"
#include "analysis/backtest_tables.h"
#include "analysis/model_days.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "day/day_pipeline.h"
#include "import/day_files.h"
#include "import/records.h"
#include "predict/predict_day.h"
#include "sample/sample.h"
#include "support/test_home.h"

#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

using zm::SeiRecord;

// A stored prediction: runners 1..n, ranks as given (0 for a race without bet selection).
PredictionRecord predicted(const QString& day, const QString& serviceVenue, int raceNo, std::vector<int> ranks) {
    PredictionRecord r;
    r.raceDate = day;
    r.venueCode = serviceVenue;
    r.raceNo = static_cast<std::int16_t>(raceNo);
    r.runnerCount = static_cast<std::int16_t>(ranks.size());
    for (size_t i = 0; i < ranks.size(); ++i) {
        r.runners[i].rank = static_cast<std::int16_t>(ranks[i]);
    }
    return r;
}

struct Result {
    QString venueNo;  // JRA
    int raceNo = 0;
    std::vector<int> order;  // first three home
    std::vector<std::pair<int, int>> win;  // horse, payout
    std::vector<std::pair<QString, int>> quinella;  // "0103", payout
    std::vector<int> returned;
};

SeiRecord sei(const QString& day, const Result& r) {
    SeiRecord s;
    const QString race = QString::number(r.raceNo).rightJustified(2, u'0');
    s.setText(SeiRecord::key, day.mid(6, 2) + r.venueNo + race);
    s.setText(SeiRecord::venueNo, r.venueNo);
    s.setText(SeiRecord::raceNo, race);
    auto two = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    for (size_t i = 0; i < r.order.size(); ++i) s.setText(SeiRecord::finishers.element(int(i) + 1), two(r.order[i]));
    for (size_t i = 0; i < r.win.size(); ++i) {
        s.setText(SeiRecord::winHorses.element(int(i) + 1), two(r.win[i].first));
        s.setText(SeiRecord::winPayouts.element(int(i) + 1), QString::number(r.win[i].second).rightJustified(5));
    }
    for (size_t i = 0; i < r.quinella.size(); ++i) {
        s.setText(SeiRecord::quinellaPairs.element(int(i) + 1), r.quinella[i].first);
        s.setText(SeiRecord::quinellaPayouts.element(int(i) + 1), QString::number(r.quinella[i].second).rightJustified(6));
    }
    for (size_t i = 0; i < r.returned.size(); ++i) s.setText(SeiRecord::returned.element(int(i) + 1), two(r.returned[i]));
    return s;
}

class Backtest : public ::testing::Test {
protected:
    void SetUp() override {
        home.ctx().settings.BetTan = QStringLiteral("250");  // whole hundreds: 200
        home.ctx().settings.BetUma = QStringLiteral("100");
    }
    const QString& dataDir() { return home.ctx().paths.DataDir; }
    void writePrediction(const QString& day, const std::vector<PredictionRecord>& records) {
        ASSERT_TRUE(writePredictionFile(predictionFilePath(dataDir(), day), records));
    }
    void writeSei(const QString& day, const std::vector<Result>& results) {
        QByteArray bytes;
        for (const Result& r : results) bytes += sei(day, r).bytes();
        ASSERT_TRUE(SafeSave::save(zm::seiPath(dataDir(), day), bytes));
    }
    void writeBets(const QString& day, const QString& text) {
        ASSERT_TRUE(SafeSave::save(dataDir() + QStringLiteral("~B") + day + QStringLiteral(".TXT"), toSjis(text)));
    }
    BacktestReport run(BacktestOptions o = {}) {
        return RunBacktest(home.ctx().paths, home.ctx().settings, o, nullProgress());
    }
    test::TestHome home;
};

// 東京 is service "04", JRA "05".
const QString kTokyo = QStringLiteral("04");
const QString kTokyoJra = QStringLiteral("05");

// One day judged by hand:
// race 1, ten runners ranked in runner order: 1 wins (250), 1-3 pays 800;
// race 2, eight runners, the top pick (runner 2) returned: win and pairs refunded;
// race 3 without bet selection; race 4 without a result.
TEST_F(Backtest, HandJudgedDayPerStyle) {
    const QString day = QStringLiteral("20260103");
    writePrediction(day, {predicted(day, kTokyo, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}),
                          predicted(day, kTokyo, 2, {2, 1, 3, 4, 5, 6, 7, 8}),
                          predicted(day, kTokyo, 3, std::vector<int>(12, 0)),
                          predicted(day, kTokyo, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
    writeSei(day, {{kTokyoJra, 1, {1, 3, 2}, {{1, 250}}, {{"0103", 800}}, {}},
                   {kTokyoJra, 2, {1, 3, 4}, {{1, 400}}, {{"0103", 900}}, {2}},
                   {kTokyoJra, 3, {1, 2, 3}, {{1, 300}}, {{"0102", 500}}, {}}});
    const BacktestReport r = run();
    ASSERT_EQ(r.styles.size(), size_t(kStyleCount));
    EXPECT_EQ(r.daysTested, QStringList{day});
    const struct {
        int style;
        int races, bets, hits, refunds;
        double stake, returns;
        int unjudged;
    } cases[] = {
        // race 1: win 200 -> 500, pairs 100 each, 1-3 -> 800; race 2: win 200 + pair 100 refunded.
        {0, 2, 6, 2, 2, 800, 1600, 4},   // 1-2 1-3 1-4
        {1, 2, 7, 2, 2, 900, 1600, 5},   // 1-2 .. 1-5
        {4, 2, 13, 2, 3, 1500, 1700, 9},  // 1-2 .. 1-10 (ten runners end at R10); eight add 1-8
        {5, 2, 6, 2, 2, 800, 1600, 4},   // 1-2 1-3 2-3
        {7, 2, 13, 2, 2, 1500, 1600, 11},  // ten pairs of the top five
        {8, 0, 0, 0, 0, 0, 0, 0},        // no predicted-odds file: left out
        {kStyleEv, 0, 0, 0, 0, 0, 0, 0},  // no model
    };
    for (const auto& c : cases) {
        const Tally& t = r.styles[static_cast<size_t>(c.style)].total;
        SCOPED_TRACE(c.style);
        EXPECT_EQ(t.races, c.races);
        EXPECT_EQ(t.bets, c.bets);
        EXPECT_EQ(t.hits, c.hits);
        EXPECT_EQ(t.refunds, c.refunds);
        EXPECT_EQ(t.stake, c.stake);
        EXPECT_EQ(t.returns, c.returns);
        EXPECT_EQ(r.styles[static_cast<size_t>(c.style)].unjudged, c.unjudged);
    }
    EXPECT_EQ(r.daysWithoutOdds, QStringList{day});
    // The splits add up to the total.
    const StyleFigures& s0 = r.styles[0];
    EXPECT_EQ(s0.byType.at("1").bets, 2);
    EXPECT_EQ(s0.byType.at("1").returns, 700);
    EXPECT_EQ(s0.byType.at("4").bets, 4);
    EXPECT_EQ(s0.byType.at("4").races, 2);
    EXPECT_EQ(s0.byVenue.at(kTokyoJra).bets, 6);
    EXPECT_EQ(s0.byMonth.at("2026/01").stake, 800);
    ASSERT_EQ(s0.days.size(), 1u);
    EXPECT_EQ(s0.days[0].cumulativeBalance, 800);
    // Marks over races 1 and 2 (race 3 has no ranks, race 4 no result).
    const struct {
        int rank, runs, wins, two, three;
    } marks[] = {{1, 2, 1, 1, 1}, {2, 2, 1, 1, 2}, {3, 2, 0, 2, 2}, {4, 2, 0, 0, 1}, {5, 2, 0, 0, 0}};
    for (const auto& m : marks) {
        const MarkFigures& f = r.marks[static_cast<size_t>(m.rank - 1)];
        SCOPED_TRACE(m.rank);
        EXPECT_EQ(f.runs, m.runs);
        EXPECT_EQ(f.wins, m.wins);
        EXPECT_EQ(f.topTwo, m.two);
        EXPECT_EQ(f.topThree, m.three);
    }
}

TEST_F(Backtest, DaysWithoutResultsOrPredictionAndThePendingBets) {
    const QString tested = QStringLiteral("20260103");
    const QString noResults = QStringLiteral("20260104");
    const QString noPrediction = QStringLiteral("20260110");
    writePrediction(tested, {predicted(tested, kTokyo, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
    writePrediction(noResults, {predicted(noResults, kTokyo, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9})});
    writeSei(tested, {{kTokyoJra, 11, {5, 6, 1}, {{5, 1230}}, {{"0506", 4560}}, {9}}});
    writeSei(noPrediction, {{kTokyoJra, 11, {5, 6, 1}, {{5, 1230}}, {{"0506", 4560}}, {}}});
    // Pending bets: a hit, a miss, a refund, a race without result; and one on the day
    // without prediction.
    writeBets(tested, QStringLiteral("東京,11R,単勝,5,,  500円\r\n"
                                     "東京,11R,馬連  ,05-07,,   1000円\r\n"
                                     "東京,11R,単勝,9,,  100円\r\n"
                                     "東京,12R,単勝,5,,  100円\r\n"));
    writeBets(noPrediction, QStringLiteral("東京,11R,馬連,05-06,,  100円\r\n"));

    const BacktestReport r = run();
    EXPECT_EQ(r.daysTested, QStringList{tested});
    EXPECT_EQ(r.daysWithoutResults, QStringList{noResults});
    EXPECT_EQ(r.daysWithoutPrediction, QStringList{noPrediction});
    const Tally& mine = r.myBets.total;
    EXPECT_EQ(mine.races, 2);
    EXPECT_EQ(mine.bets, 4);
    EXPECT_EQ(mine.hits, 2);
    EXPECT_EQ(mine.refunds, 1);
    EXPECT_EQ(mine.stake, 1700);
    EXPECT_EQ(mine.returns, 1230 * 5 + 100 + 4560);
    EXPECT_EQ(r.myBets.unjudged, 1);
    ASSERT_EQ(r.myBets.days.size(), 2u);
    EXPECT_EQ(r.myBets.days[1].cumulativeBalance, mine.balance());

    // The range keeps to its days.
    BacktestOptions o;
    o.from = noResults;
    o.styles = {0};
    const BacktestReport later = run(o);
    EXPECT_TRUE(later.daysTested.isEmpty());
    EXPECT_EQ(later.daysWithoutResults, QStringList{noResults});
    ASSERT_EQ(later.styles.size(), 1u);
    EXPECT_EQ(later.styles[0].total.bets, 0);
}

TEST_F(Backtest, CsvTablesAddUpAndTerminalColumnsAlign) {
    const QString day = QStringLiteral("20260103");
    writePrediction(day, {predicted(day, kTokyo, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})});
    writeSei(day, {{kTokyoJra, 1, {1, 3, 2}, {{1, 250}}, {{"0103", 800}}, {}}});
    BacktestOptions o;
    o.styles = {0, 5};
    o.keepBets = true;
    const BacktestReport r = run(o);
    const QString path = home.home() + QStringLiteral("/bt.csv");
    QStringList written;
    ASSERT_TRUE(WriteBacktestCsv(r, path, true, &written));
    ASSERT_EQ(written.size(), 7);
    EXPECT_EQ(written[1], home.home() + QStringLiteral("/bt-types.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = fromSjis(f.readAll()).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);  // header, two styles, the empty rest after the last CR LF
    EXPECT_EQ(lines[0], "番号,予想スタイル,レース数,点数,的中数,返還数,的中率,投資額,払戻額,収支,回収率,未判定");
    EXPECT_EQ(lines[1], "0,３点流し,1,4,2,0,50.0,500,1300,800,260.0,0");
    // The bets table recomputes the per-style figures.
    QFile b(written[6]);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QStringList bets = fromSjis(b.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    double stake = 0, returns = 0;
    int hits = 0;
    for (const QString& line : bets.mid(1)) {
        const QStringList cells = line.split(u',');
        if (cells[0] != u"0") continue;
        stake += cells[7].toDouble();
        returns += cells[10].toDouble();
        hits += cells[8] == u"的中！" ? 1 : 0;
    }
    EXPECT_EQ(stake, 500);
    EXPECT_EQ(returns, 1300);
    EXPECT_EQ(hits, 2);

    // Every line of the terminal table is as wide as the header, wide characters counted twice.
    const QStringList text = styleTableText(r).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(text.size(), 3);
    for (const QString& l : text) EXPECT_EQ(ByteLength(l), ByteLength(text[1])) << l.toStdString();
    EXPECT_TRUE(text[1].startsWith(QStringLiteral("３点流し    ")));
}

// The chart's days are the days tested and any day a row bet on; a row keeps its balance over the
// days it did not bet on and starts at 0.
TEST(BalanceCurves, EveryRowHasAValueOnEveryDay) {
    BacktestReport r;
    r.daysTested = {"20260103", "20260104", "20260110"};
    auto figures = [](int style, std::vector<std::pair<const char*, double>> days) {
        StyleFigures f;
        f.style = style;
        f.name = styleFiguresName(style);
        for (const auto& [day, cumulative] : days) {
            f.days.push_back({day, Tally{}, cumulative});
            f.total.bets += 1;
        }
        return f;
    };
    r.styles = {figures(0, {{"20260103", -500}, {"20260110", 700}}), figures(8, {{"20260104", 300}}), figures(1, {})};
    // The pending bets were also judged on a day with results but no prediction.
    r.myBets = figures(kMyBets, {{"20260103", 100}, {"20260109", -200}});
    const BalanceCurves c = balanceCurves(r);
    EXPECT_EQ(c.days, (QStringList{"20260103", "20260104", "20260109", "20260110"}));
    const std::vector<std::vector<double>> expected = {
        {-500, -500, -500, 700}, {0, 300, 300, 300}, {0, 0, 0, 0}, {100, 100, -200, -200}};
    EXPECT_EQ(c.balances, expected);

    // No pending bet judged: no row for them.
    r.myBets = figures(kMyBets, {});
    EXPECT_EQ(balanceCurves(r).balances.size(), 3u);
    EXPECT_EQ(balanceCurves(r).days, (QStringList{"20260103", "20260104", "20260110"}));
}

TEST(CsvText, QuotesOnlyWhatNeedsIt) {
    const Table t{QString(), {"a", "b"}, {{"1,2", "say \"hi\""}, {"plain", ""}}};
    EXPECT_EQ(csvText(t), "a,b\r\n\"1,2\",\"say \"\"hi\"\"\"\r\nplain,\r\n");
    EXPECT_EQ(tablePath("/x/out.csv", "-marks"), "/x/out-marks.csv");
    EXPECT_EQ(tablePath("/x.d/out", "-marks"), "/x.d/out-marks");
}

TEST(DefaultStake, WholeHundredsAtLeastOneHundred) {
    const struct {
        const char* text;
        double yen;
    } cases[] = {{"100", 100}, {"250", 200}, {"99", 100}, {"", 100}, {"1000", 1000}, {"abc", 100}};
    for (const auto& c : cases) EXPECT_EQ(defaultStakeYen(c.text), c.yen) << c.text;
}

// The expected-value style bets 100 yen to win on every horse whose equal share of the race
// times its predicted odds reaches the threshold, and only on days after the model's own.
TEST_F(Backtest, ExpectedValueStyleBetsOnlyAfterTheModelsDays) {
    const QString learned = QStringLiteral("20260103");
    const QString later = QStringLiteral("20260110");
    for (const QString& day : {learned, later}) {
        writePrediction(day, {predicted(day, kTokyo, 1, {1, 2, 3, 4})});
        writeSei(day, {{kTokyoJra, 1, {2, 1, 3}, {{2, 500}}, {{"0102", 800}}, {}}});
        OddsRecord odds;
        odds.setText(OddsRecord::venueCode, kTokyo);
        odds.setText(OddsRecord::raceNo, QStringLiteral("01"));
        odds.setText(OddsRecord::raceDate, day);
        const char* prices[] = {"00020", "00050", "00048", "  -  "};  // chance 1/4: 0.5, 1.25, 1.2, none
        for (int h = 1; h <= 4; ++h) odds.setText(OddsRecord::winOdds.element(h), QString::fromLatin1(prices[h - 1]));
        ASSERT_TRUE(SafeSave::save(dataDir() + dayOddsFileName(day), odds.bytes()));
    }
    BacktestOptions o;
    o.styles = {kStyleEv};
    const BacktestReport none = run(o);
    EXPECT_EQ(none.styles[0].total.bets, 0);
    EXPECT_TRUE(none.evProblem.contains(QStringLiteral("model fit"))) << none.evProblem.toStdString();

    StoredModel stored;  // every weight 0: equal chances
    for (int d = 1; d <= 20; ++d) stored.days << QStringLiteral("202512%1").arg(d + 10) ;
    stored.days.last() = learned;
    stored.from = stored.days.first();
    stored.to = learned;
    ASSERT_TRUE(saveModel(modelPath(home.ctx().paths), stored));
    const struct {
        std::optional<double> threshold;
        int bets, hits;
        double returns;
    } cases[] = {{std::nullopt, 2, 1, 500}, {1.25, 1, 1, 500}, {2.0, 0, 0, 0}, {0.1, 3, 1, 500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.threshold.value_or(0));
        o.evThreshold = c.threshold;
        const BacktestReport r = run(o);
        EXPECT_TRUE(r.evProblem.isEmpty());
        EXPECT_EQ(r.daysLearned, QStringList{learned});
        const Tally& t = r.styles[0].total;
        EXPECT_EQ(t.bets, c.bets);
        EXPECT_EQ(t.hits, c.hits);
        EXPECT_EQ(t.stake, 100.0 * c.bets);
        EXPECT_EQ(t.returns, c.returns);
        const QStringList betDays = c.bets ? QStringList{later} : QStringList{};
        ASSERT_EQ(r.styles[0].days.size(), size_t(betDays.size()));
        for (qsizetype i = 0; i < betDays.size(); ++i) {
            EXPECT_EQ(r.styles[0].days[size_t(i)].day, betDays[i]);
        }
    }

    stored.days.removeFirst();  // a model of 19 days is not used
    ASSERT_TRUE(saveModel(modelPath(home.ctx().paths), stored));
    o.evThreshold.reset();
    const BacktestReport few = run(o);
    EXPECT_EQ(few.styles[0].total.bets, 0);
    EXPECT_TRUE(few.evProblem.contains(QStringLiteral("19日"))) << few.evProblem.toStdString();
}

// The rebuilt bets of a stored record are the picks the prediction itself wrote for that style.
class RebuiltPicks : public ::testing::TestWithParam<int> {};

TEST_P(RebuiltPicks, MatchThePredictionsOwn) {
    const int style = GetParam();
    test::TestHome home;
    const QDate date(2026, 12, 5);
    const QString day = QStringLiteral("20261205");
    const sample::DayFiles files = sample::makeDay(date, 77);
    auto write = [](const QString& path, const QByteArray& bytes) { ASSERT_TRUE(SafeSave::save(path, bytes)); };
    const AppPaths& p = home.ctx().paths;
    write(p.jockeyFile(), sample::makeJockeyFile(77));
    write(p.workRaceFile, files.races);
    write(p.workEntryFile, files.entries);
    write(p.workHorseFile, files.horses);
    const QByteArray odds = sample::makeOddsFile(files.races, 77, files.horses);
    write(p.DataDir + QStringLiteral("MURODDS") + day + QStringLiteral(".DAT"), odds);
    home.ctx().settings.Yosou = static_cast<std::int16_t>(style);
    ASSERT_TRUE(DayRun(home.ctx(), DaySteps::predictionOnly()));
    const auto records = readPredictionFile(predictionFilePath(p.DataDir, day));
    ASSERT_TRUE(records);
    OddsLookup lookup;
    lookup.load(RecordFile(odds, OddsRecord::kLength));
    int pairs = 0;
    for (const PredictionRecord& rec : *records) {
        std::vector<std::pair<int, int>> stored;
        if (rec.winPicks[0].code > 0) stored.emplace_back(rec.winPicks[0].code, 0);
        const bool small = rec.runnerCount >= 1 && rec.runnerCount <= 8;
        for (const PickEntry& e : small ? rec.smallPicks : rec.quinellaPicks) {
            if (e.code != 0) stored.emplace_back(e.code / (small ? 10 : 100), e.code % (small ? 10 : 100));
        }
        std::vector<std::pair<int, int>> rebuilt;
        for (const PickedBet& b : rebuildPicks(rec, style, lookup.find(rec.venueCode, rec.raceNo))) {
            rebuilt.emplace_back(b.first, b.second);
        }
        EXPECT_EQ(rebuilt, stored) << rec.venueCode.toStdString() << ' ' << rec.raceNo;
        pairs += static_cast<int>(stored.size());
    }
    EXPECT_GT(pairs, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryStyle, RebuiltPicks, ::testing::Range(0, 9));

}  // namespace
}  // namespace zm
