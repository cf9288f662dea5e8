// 予想スタイル別の成績 on ten sample days imported with their results (and a few pending bets
// of the newest day): the window's table, mark table and charts against the back-test run
// directly, the range and the styles, the CSV tables and the PNG of each chart, and the menu item.

#include "analysis/backtest.h"
#include "analysis/backtest_tables.h"
#include "analysis/model_days.h"
#include "app/day_list.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/sjis.h"
#include "export/day_exports.h"
#include "day/day_pipeline.h"
#include "pat/pat_format.h"
#include "pat/pat_log.h"
#include "predict/prediction_file.h"
#include "sample/sample.h"
#include "support/test_home.h"
#include "ui/frmbacktest.h"
#include "ui/frmprogres.h"
#include "ui/mdizenomur.h"
#include "ui_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLineSeries>

#include <gtest/gtest.h>

#include <cmath>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kDays = 10;
constexpr int kModelDays = 20;  // as many as the win model needs

QStringList rowTexts(QTableWidget* t, int r) {
    QStringList out;
    for (int c = 0; c < t->columnCount(); ++c) {
        out << (t->item(r, c) ? t->item(r, c)->text() : QString());
    }
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class BacktestWindow : public ::testing::Test {
protected:
    // The sample days imported once for the whole program; the tests only read them.
    static void SetUpTestSuite() { setUpDays(kDays); }
    static void setUpDays(int count) {
        ensureApplication();
        home_ = new TestHome;
        sample::SampleOptions options;
        options.home = home_->home();
        options.days = count;
        QStringList written;
        QString message;
        ASSERT_TRUE(sample::writeSample(options, written, message)) << message.toStdString();
        ASSERT_EQ(BatchRun(ctx(), DaySteps::whole(), [&](const Notice& m) { ctx().prompter.critical(m.text); }).imported, count);
        ctx().settings.PatOpt = true;
        ctx().settings.Ver = u"98"_s;
        ctx().settings.PatDir = home_->home() + u"/PAT/"_s;
        days_ = ListPredictedDays(ctx().paths.DataDir);
        ASSERT_EQ(days_.size(), count);
        for (const QString& day : days_) {
            ASSERT_TRUE(zm::BuildResults(ctx(), *zm::patFormat(zm::PatVer::V98), day).ok()) << day.toStdString();
        }
        // Two pending bets of the newest day's first race.
        const auto records = readPredictionFile(predictionFilePath(ctx().paths.DataDir, days_.front()));
        ASSERT_TRUE(records && !records->empty());
        const QString race = VenueName(records->front().venueCode) + u',' +
                             QString::number(records->front().raceNo).rightJustified(2) + u'R';
        ASSERT_TRUE(SafeSave::save(ctx().paths.DataDir + u"~B"_s + days_.front() + u".TXT"_s,
                             toSjis(race + u",単勝,01,,  100円\r\n"_s + race + u",馬連,01-02,,  200円\r\n"_s)));
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(home_, nullptr);
        home_->prompter().clear();
        window = std::make_unique<ui::frmBacktest>(ctx());
        window->resize(1280, 900);
        window->show();
    }
    void TearDown() override {
        window.reset();
        settle();
    }

    static AppContext& ctx() { return home_->ctx(); }
    static ScriptedPrompter& prompter() { return home_->prompter(); }
    static zm::BacktestReport direct(zm::BacktestOptions o) {
        return zm::RunBacktest(ctx().paths, ctx().settings, o, nullProgress());
    }
    QList<QAbstractSeries*> series(QChartView* view) const { return view->chart()->series(); }

    static TestHome* home_;
    static QStringList days_;  // newest first
    std::unique_ptr<ui::frmBacktest> window;
};
TestHome* BacktestWindow::home_ = nullptr;
QStringList BacktestWindow::days_;

TEST_F(BacktestWindow, RunFillsTablesAndChartsWithTheBacktestsFigures) {
    // The fields start on every predicted day and every style.
    EXPECT_EQ(window->fromDate()->date().toString(u"yyyyMMdd"_s), days_.back());
    EXPECT_EQ(window->toDate()->date().toString(u"yyyyMMdd"_s), days_.front());
    for (int s = 0; s < zm::kStyleCount; ++s) {
        EXPECT_TRUE(window->styleBox(s)->isChecked()) << s;
    }
    EXPECT_FALSE(window->csvButton()->isEnabled());
    EXPECT_FALSE(window->imageButton()->isEnabled());

    int shown = 0;
    bool busyWhileRunning = true;
    QObject::connect(window.get(), &ui::frmBacktest::dayShown, [&](const QString&) {
        ++shown;
        busyWhileRunning = busyWhileRunning && window->running() && !window->executeButton()->isEnabled() &&
                           !window->closeButton()->isEnabled() && !window->csvButton()->isEnabled();
        if (shown == kDays / 2) {
            screenshot(window.get(), u"frmBacktest_running"_s);
        }
    });
    click(window->executeButton());
    EXPECT_EQ(shown, kDays);
    EXPECT_TRUE(busyWhileRunning);
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    EXPECT_EQ(window->bar()->percent(), 100);
    EXPECT_TRUE(window->csvButton()->isEnabled());

    zm::BacktestOptions all;
    all.from = days_.back();
    all.to = days_.front();
    const zm::BacktestReport expected = direct(all);
    ASSERT_EQ(expected.daysTested.size(), kDays);
    ASSERT_GT(expected.myBets.total.bets, 0);

    // The table: one row per style and the pending bets' row, each the figures of the run.
    const zm::Table styles = zm::styleSummaryTable(expected);
    QTableWidget* table = window->styleTable();
    ASSERT_EQ(table->rowCount(), zm::kStyleCount + 1);
    ASSERT_EQ(styles.rows.size(), table->rowCount());
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_EQ(rowTexts(table, r), styles.rows[r]) << r;
    }
    EXPECT_EQ(table->item(zm::kStyleCount, 0)->text(), u"保留ＢＥＴ"_s);
    const zm::Table marks = zm::markSummaryTable(expected);
    ASSERT_EQ(window->markTable()->rowCount(), 5);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(rowTexts(window->markTable(), r), marks.rows[r]) << r;
    }
    EXPECT_TRUE(window->daysNote()->text().startsWith(u"検証日数 %1（"_s.arg(kDays))) << window->daysNote()->text().toStdString();

    // The bar chart: one bar per row, each at its row's recovery rate, and the 100% line.
    const auto figs = zm::reportedFigures(expected);
    QHorizontalBarSeries* bars = nullptr;
    QLineSeries* even = nullptr;
    for (QAbstractSeries* s : series(window->rateChartView())) {
        if (auto* b = qobject_cast<QHorizontalBarSeries*>(s))
            bars = b;
        if (auto* l = qobject_cast<QLineSeries*>(s))
            even = l;
    }
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 1);
    QBarSet* set = bars->barSets().front();
    ASSERT_EQ(set->count(), static_cast<int>(figs.size()));
    const auto axes = window->rateChartView()->chart()->axes(Qt::Vertical, bars);
    ASSERT_EQ(axes.size(), 1);
    const QStringList names = qobject_cast<QBarCategoryAxis*>(axes.front())->categories();
    for (const zm::StyleFigures* f : figs) {
        const qsizetype i = names.indexOf(f->name);
        ASSERT_GE(i, 0) << f->name.toStdString();
        EXPECT_NEAR(set->at(static_cast<int>(i)), f->total.recoveryRate(), 0.05) << f->name.toStdString();
    }
    ASSERT_NE(even, nullptr);
    for (const QPointF& p : even->points()) {
        EXPECT_EQ(p.x(), 100.0);
    }

    // The line chart: one line per row, one point per day, ending at the row's balance.
    QList<QLineSeries*> lines;
    for (QAbstractSeries* s : series(window->balanceChartView())) {
        if (!s->name().isEmpty())
            lines << qobject_cast<QLineSeries*>(s);
    }
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(figs.size()));
    for (size_t i = 0; i < figs.size(); ++i) {
        EXPECT_EQ(lines[static_cast<qsizetype>(i)]->name(), figs[i]->name);
        ASSERT_EQ(lines[static_cast<qsizetype>(i)]->count(), kDays) << i;
        EXPECT_DOUBLE_EQ(lines[static_cast<qsizetype>(i)]->points().back().y(), figs[i]->total.balance()) << i;
    }

    screenshot(window.get(), u"frmBacktest"_s);
    screenshot(window->rateChartView(), u"frmBacktest_rates"_s);
    screenshot(window->balanceChartView(), u"frmBacktest_balance"_s);
    window->resize(1180, 728);
    screenshot(window.get(), u"frmBacktest_small"_s);
}

TEST_F(BacktestWindow, RangeAndStylesChooseWhatIsRun) {
    auto setDay = [](QDateEdit* field, const QString& day) { field->setDate(QDate::fromString(day, u"yyyyMMdd"_s)); };
    const struct {
        QString from, to;
        std::vector<int> styles;
        int testedDays;
    } cases[] = {
        {days_.back(), days_.front(), {0, 8}, kDays},
        {days_[3], days_[1], {5}, 3},
        {days_.front(), days_.front(), {1, 2, 3}, 1},
    };
    for (const auto& c : cases) {
        setDay(window->fromDate(), c.from);
        setDay(window->toDate(), c.to);
        for (int s = 0; s < zm::kStyleCount; ++s) {
            const bool want = std::find(c.styles.begin(), c.styles.end(), s) != c.styles.end();
            if (window->styleBox(s)->isChecked() != want)
                click(window->styleBox(s));
        }
        click(window->executeButton());
        ASSERT_TRUE(window->report().has_value());
        zm::BacktestOptions o{c.from, c.to, c.styles, false};
        const zm::BacktestReport expected = direct(o);
        EXPECT_EQ(window->report()->daysTested.size(), c.testedDays);
        const zm::Table t = zm::styleSummaryTable(expected);
        ASSERT_EQ(window->styleTable()->rowCount(), t.rows.size()) << c.from.toStdString();
        for (int r = 0; r < t.rows.size(); ++r) {
            EXPECT_EQ(rowTexts(window->styleTable(), r), t.rows[r]);
        }
    }
    EXPECT_TRUE(prompter().texts().isEmpty());

    // Input the run refuses, and a range without a day: a message each, the window goes on.
    const QString noDay = QDate::fromString(days_.back(), u"yyyyMMdd"_s).addDays(-30).toString(u"yyyyMMdd"_s);
    const struct {
        QString from, to;
        bool anyStyle;
        QString message;
    } refused[] = {
        {days_.front(), days_.back(), true, u"期間の開始日が終了日より後になっています。"_s},
        {days_.back(), days_.front(), false, u"予想スタイルを一つ以上選んでください。"_s},
        {noDay, noDay, true, u"指定した期間には、予想と成績のそろった日がありません。"_s},
    };
    for (const auto& c : refused) {
        prompter().clear();
        setDay(window->fromDate(), c.from);
        setDay(window->toDate(), c.to);
        for (int s = 0; s < zm::kStyleCount; ++s) {
            if (window->styleBox(s)->isChecked() != (c.anyStyle && s == 0))
                click(window->styleBox(s));
        }
        click(window->executeButton());
        EXPECT_EQ(prompter().texts(), QStringList{c.message});
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->executeButton()->isEnabled());
    }
    // The empty range leaves nothing to show or export.
    EXPECT_EQ(window->styleTable()->rowCount(), 0);
    EXPECT_TRUE(window->rateChartView()->chart()->series().isEmpty());
    EXPECT_FALSE(window->csvButton()->isEnabled());
    EXPECT_FALSE(window->imageButton()->isEnabled());
}

TEST_F(BacktestWindow, CsvAndPngExports) {
    click(window->executeButton());
    ASSERT_TRUE(window->report().has_value());
    QTemporaryDir dir;
    QString chosen;
    QString proposed;
    window->setSaveFileFunction([&](const QString&, const QString& p, const QStringList&) {
        proposed = p;
        return chosen;
    });

    // CSV: the same files as the back-test writes itself, UTF-8 or Shift-JIS.
    zm::BacktestOptions o;
    o.from = days_.back();
    o.to = days_.front();
    o.keepBets = true;
    const zm::BacktestReport expected = direct(o);
    for (bool sjis : {true, false}) {
        chosen = dir.path() + (sjis ? u"/sjis.csv"_s : u"/utf8.csv"_s);
        if (window->sjisBox()->isChecked() != sjis)
            click(window->sjisBox());
        click(window->csvButton());
        EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
        const QString reference = dir.path() + u"/reference.csv"_s;
        QStringList referenceFiles;
        ASSERT_TRUE(zm::WriteBacktestCsv(expected, reference, sjis, &referenceFiles));
        ASSERT_EQ(window->written().size(), 7);  // the per-style table, six beside it, bets included
        ASSERT_EQ(referenceFiles.size(), 7);
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(readAll(window->written()[i]), readAll(referenceFiles[i])) << window->written()[i].toStdString();
        }
        EXPECT_EQ(window->written().front(), chosen);
    }
    EXPECT_EQ(QFileInfo(proposed).fileName(), u"予想スタイル別の成績.csv"_s);
    EXPECT_TRUE(window->statusText()->text().startsWith(u"出力しました："_s));

    // PNG: one image per chart, as large as the chart on the screen.
    chosen = dir.path() + u"/charts.png"_s;
    click(window->imageButton());
    EXPECT_TRUE(prompter().texts().isEmpty());
    ASSERT_EQ(window->written(),
              (QStringList{dir.path() + u"/charts-recovery.png"_s, dir.path() + u"/charts-balance.png"_s}));
    const QSize sizes[] = {window->rateChartView()->size(), window->balanceChartView()->size()};
    for (int i = 0; i < 2; ++i) {
        QImage image;
        ASSERT_TRUE(image.load(window->written()[i], "PNG")) << window->written()[i].toStdString();
        EXPECT_EQ(image.size(), sizes[i] * window->devicePixelRatio());
    }
    // The note names both files whole, never cut inside a path; the full paths are in its tip.
    settle();
    QLabel* note = window->statusText();
    EXPECT_TRUE(note->text().contains(u"charts-recovery.png、charts-balance.png"_s)) << note->text().toStdString();
    EXPECT_LE(note->fontMetrics().horizontalAdvance(note->text()), note->contentsRect().width());
    EXPECT_TRUE(note->toolTip().contains(QDir::toNativeSeparators(window->written()[1])));

    // Cancelled: nothing written, nothing said.
    chosen.clear();
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);
    click(window->csvButton());
    click(window->imageButton());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
    EXPECT_TRUE(prompter().texts().isEmpty());

    // A folder that is not there: the save helper's message, through the prompter.
    for (QPushButton* button : {window->csvButton(), window->imageButton()}) {
        prompter().clear();
        chosen = dir.path() + u"/missing/out.dat"_s;
        click(button);
        ASSERT_EQ(prompter().log().size(), 1u) << button->text().toStdString();
        EXPECT_EQ(prompter().log().front().kind, ScriptedPrompter::Kind::Critical);
        EXPECT_TRUE(prompter().log().front().text.contains(dir.path() + u"/missing/out"_s))
            << prompter().log().front().text.toStdString();
        EXPECT_TRUE(button->isEnabled());
    }
}

// Twenty sample days, as many as the win model needs.
class BacktestModel : public BacktestWindow {
protected:
    static void SetUpTestSuite() { setUpDays(kModelDays); }
};

// The model is refitted on the range from the window, off the GUI thread: with fewer than
// twenty days it says so and shows nothing; else it is written and its reliability over the
// range shown, a pair of bars a band of predicted chance with the band's runners in its label.
TEST_F(BacktestModel, RefitOnTheRangeShowsTheReliabilityOfTheNewModel) {
    const QString model = zm::modelPath(ctx().paths);
    window->fromDate()->setDate(QDate::fromString(days_[9], u"yyyyMMdd"_s));
    click(window->refitButton());
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(u"10日"_s)) << prompter().texts().front().toStdString();
    EXPECT_FALSE(QFile::exists(model));
    EXPECT_TRUE(window->reliabilityChartView()->chart()->series().isEmpty());
    EXPECT_TRUE(window->refitButton()->isEnabled());

    prompter().clear();
    window->fromDate()->setDate(QDate::fromString(days_.back(), u"yyyyMMdd"_s));
    click(window->refitButton());
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    const auto stored = zm::loadModel(model);
    ASSERT_TRUE(stored) << stored.message().toStdString();
    EXPECT_EQ(stored->days.size(), kModelDays);
    EXPECT_TRUE(window->statusText()->text().contains(u"%1日"_s.arg(kModelDays))) << window->statusText()->text().toStdString();

    const auto bands = zm::reliability(stored->model, zm::modelDays(ctx().paths).races);
    auto* bars = qobject_cast<QBarSeries*>(window->reliabilityChartView()->chart()->series().value(0));
    ASSERT_NE(bars, nullptr);
    ASSERT_EQ(bars->count(), 2);
    const auto axes = window->reliabilityChartView()->chart()->axes(Qt::Horizontal, bars);
    ASSERT_EQ(axes.size(), 1);
    const QStringList labels = qobject_cast<QBarCategoryAxis*>(axes.front())->categories();
    ASSERT_GE(labels.size(), 2);
    EXPECT_EQ(bars->barSets()[0]->count(), labels.size());
    int runners = 0;
    for (int b = 0; b < labels.size(); ++b) {
        EXPECT_TRUE(labels[b].endsWith(QString::number(bands[size_t(b)].runners) + u"頭"_s)) << labels[b].toStdString();
        EXPECT_NEAR(bars->barSets()[0]->at(b), bands[size_t(b)].meanChance * 100, 0.05) << b;
        EXPECT_NEAR(bars->barSets()[1]->at(b), bands[size_t(b)].observedRate() * 100, 0.05) << b;
        runners += bands[size_t(b)].runners;
    }
    int all = 0;
    for (const auto& band : bands)
        all += band.runners;
    EXPECT_EQ(runners, all) << "a band with runners left off";
    screenshot(window->reliabilityChartView(), u"frmBacktest_reliability_chart"_s);

    // A back-test run shows the stored model over its own range.
    click(window->executeButton());
    QFile::remove(model);
    EXPECT_TRUE(window->daysNote()->text().contains(u"うち推定に使った日 %1日"_s.arg(kModelDays)))
        << window->daysNote()->text().toStdString();
    EXPECT_FALSE(window->reliabilityChartView()->chart()->series().isEmpty());
    settle();
    screenshot(window.get(), u"frmBacktest_reliability"_s);
}

TEST_F(BacktestWindow, OpensFromThePatMenu) {
    window.reset();
    ui::MDIZenoMUR main(ctx());
    main.show();
    QAction* item = main.menuAction(u"mnuBacktest"_s);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u"予想スタイル別の成績"_s);
    auto* menu = main.findChild<QMenu*>(u"mnuPat"_s);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(item));
    item->trigger();
    settle();
    auto* opened = main.findChild<ui::frmBacktest*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    click(opened->closeButton());
    settle();
    EXPECT_EQ(main.findChild<ui::frmBacktest*>(), nullptr);
}

// A day the month does not have, typed into the range, is refused with a message; the field
// keeps the date it had (the field alone would keep the 3 of a 30 and show 02/03).
TEST_F(BacktestWindow, ADayTheMonthDoesNotHaveIsRefused) {
    QDateEdit* field = window->toDate();
    field->setDate(QDate(2026, 2, 10));
    QEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(field, &in);
    field->findChild<QLineEdit*>()->setSelection(8, 2);  // the day
    QTest::keyClicks(field, u"30"_s);
    EXPECT_EQ(field->date(), QDate(2026, 2, 10));
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(u"1991/01/01～2099/12/31"_s));
    // A real day goes in as typed.
    field->findChild<QLineEdit*>()->setSelection(8, 2);
    QTest::keyClicks(field, u"28"_s);
    EXPECT_EQ(field->date(), QDate(2026, 2, 28));
    EXPECT_EQ(prompter().texts().size(), 1);
}

}  // namespace
}  // namespace zm::test
