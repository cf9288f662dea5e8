// 収支管理 on the sample day (its vote log and results) and on days written straight into the
// ledger: the update with its progress, the range and the grouping, the command line's CSV and
// the PNG of each chart, and the ledger brought up to date by a results read from the menu.

#include "analysis/backtest_tables.h"
#include "analysis/ledger_days.h"
#include "analysis/ledger_report.h"
#include "pat/pat_format.h"
#include "pat/pat_log.h"
#include "support/test_home.h"
#include "ui/frmledger.h"
#include "ui/frmpatlog.h"
#include "ui/mdizenomur.h"
#include "ui_support.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kDay = u"20261205"_s;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList column0(QTableWidget* t) {
    QStringList keys;
    for (int r = 0; r < t->rowCount(); ++r)
        keys << t->item(r, 0)->text();
    return keys;
}

template <class T>
T* seriesNamed(QChartView* view, const QString& name) {
    for (QAbstractSeries* s : view->chart()->series())
        if (s->objectName() == name)
            return qobject_cast<T*>(s);
    return nullptr;
}

// A judged bet of a synthetic day.
LedgerBet bet(const char* venue, const char* type, Judgement j, int stake, int returns) {
    return {QString::fromLatin1(venue), 11, QString::fromLatin1(type), u" 3- 5"_s, Amount::yen(stake), j,
            Amount::yen(0), Amount::yen(returns), false, -1};
}

class LedgerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ensureApplication();
        home_ = new TestHome;
        ASSERT_TRUE(writeSampleData(home_->home(), {u"--days"_s, u"0"_s}));
        ctx().settings.PatOpt = true;
        ctx().settings.Ver = u"98"_s;
        ctx().settings.PatDir = home_->home() + u"/PAT/"_s;
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }
    void SetUp() override {
        home_->prompter().clear();
        QFile::remove(ledgerPath(ctx().paths));
    }
    void TearDown() override {
        window.reset();
        settle();
    }
    void open() {
        window = std::make_unique<ui::frmLedger>(ctx());
        window->resize(1100, 800);
        window->show();
    }
    // Two November days besides the sample day: a win, a miss, a refund.
    static void writeSyntheticDays() {
        auto ledger = Ledger::open(ledgerPath(ctx().paths));
        ASSERT_TRUE(ledger) << ledger.message().toStdString();
        LedgerDay a;
        a.day = u"20261101"_s;
        a.bets = {bet("05", "1", Judgement::Hit, 1000, 3500), bet("05", "4", Judgement::Miss, 2000, 0)};
        LedgerDay b;
        b.day = u"20261122"_s;
        b.bets = {bet("08", "4", Judgement::Miss, 3000, 0), bet("08", "1", Judgement::Refund, 500, 500)};
        ASSERT_TRUE(ledger.value()->writeDay(a));
        ASSERT_TRUE(ledger.value()->writeDay(b));
    }
    static AppContext& ctx() { return home_->ctx(); }
    static ScriptedPrompter& prompter() { return home_->prompter(); }

    static TestHome* home_;
    std::unique_ptr<ui::frmLedger> window;
};
TestHome* LedgerWindow::home_ = nullptr;

TEST_F(LedgerWindow, UpdateReadsTheDaysFilesWithProgressAndShowsThem) {
    ASSERT_TRUE(zm::BuildResults(ctx(), *zm::patFormat(zm::PatVer::V98), kDay).ok());
    open();
    EXPECT_TRUE(window->statusText()->text().contains(u"台帳はまだありません"_s));
    EXPECT_FALSE(window->csvButton()->isEnabled());
    QStringList shown;
    bool busy = true;
    QObject::connect(window.get(), &ui::frmLedger::dayShown, [&](const QString& day) {
        shown << day;
        busy = busy && window->running() && !window->updateButton()->isEnabled() && !window->closeButton()->isEnabled();
    });
    click(window->updateButton());
    EXPECT_EQ(shown, QStringList{kDay});
    EXPECT_TRUE(busy);
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    ASSERT_TRUE(window->report().has_value());
    // The sample day's vote log: 5,600 yen staked that counts, 200 refunded.
    EXPECT_EQ(window->report()->total.stake, Amount::yen(5600));
    EXPECT_EQ(window->report()->total.refunded, Amount::yen(200));
    EXPECT_EQ(column0(window->table()), (QStringList{u"2026-12"_s, u"合計"_s}));
    EXPECT_TRUE(window->statusText()->text().contains(u"追加 1"_s)) << window->statusText()->text().toStdString();

    click(window->updateButton());
    EXPECT_TRUE(window->statusText()->text().contains(u"変更なし 1"_s)) << window->statusText()->text().toStdString();
    screenshot(window.get(), u"frmLedger_sample"_s);

    // Opened again, the window shows the ledger at once.
    open();
    ASSERT_TRUE(window->report().has_value());
    EXPECT_EQ(window->report()->total.stake, Amount::yen(5600));
}

TEST_F(LedgerWindow, RangeAndGroupingChooseTheRowsAndTheChartsFollowTheRange) {
    writeSyntheticDays();
    open();
    const struct {
        const char* from;
        const char* to;
        int grouping;  // the choice box's row: 日別 月別 年別 競馬場別 券種別 予想スタイル別
        QStringList keys;
    } cases[] = {
        {"20261101", "20261130", 0, {u"20261101"_s, u"20261122"_s, u"合計"_s}},
        {"20261101", "20261130", 1, {u"2026-11"_s, u"合計"_s}},
        {"20261102", "20261130", 3, {u"京都"_s, u"合計"_s}},
        {"20261101", "20261101", 4, {u"単勝"_s, u"馬連"_s, u"合計"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + std::string("..") + c.to);
        window->fromDate()->setDate(QDate::fromString(QString::fromLatin1(c.from), u"yyyyMMdd"_s));
        window->toDate()->setDate(QDate::fromString(QString::fromLatin1(c.to), u"yyyyMMdd"_s));
        window->groupingBox()->setCurrentIndex(c.grouping);
        click(window->showButton());
        EXPECT_EQ(column0(window->table()), c.keys);
    }
    // +2,500 and -2,000 on 1 Nov, -3,000 on 22 Nov (the refund left out): one month's bar, a point
    // a bet, and the deepest shade the table's largest drawdown.
    window->fromDate()->setDate(QDate(2026, 11, 1));
    window->toDate()->setDate(QDate(2026, 11, 30));
    window->groupingBox()->setCurrentIndex(1);
    click(window->showButton());
    EXPECT_EQ(window->table()->item(1, 5)->text(), Amount::yen(-2500).display());
    auto* balance = seriesNamed<QLineSeries>(window->balanceChartView(), u"balanceLine"_s);
    ASSERT_NE(balance, nullptr);
    EXPECT_EQ(balance->points().size(), 4);  // 0 before the first bet
    EXPECT_EQ(balance->points().back().y(), -2500.0);
    auto* drawdown = seriesNamed<QAreaSeries>(window->balanceChartView(), u"drawdownArea"_s);
    ASSERT_NE(drawdown, nullptr);
    double deepest = 0;
    for (int i = 0; i < drawdown->upperSeries()->count(); ++i)
        deepest = std::max(deepest, drawdown->upperSeries()->at(i).y() - drawdown->lowerSeries()->at(i).y());
    EXPECT_EQ(Amount::yen(qint64(deepest)).display(), window->table()->item(1, 9)->text());
    EXPECT_EQ(window->table()->item(1, 9)->text(), Amount::yen(5000).display());
    const auto months = window->monthChartView()->chart()->axes(Qt::Horizontal);
    ASSERT_EQ(months.size(), 1);
    EXPECT_EQ(qobject_cast<QBarCategoryAxis*>(months.front())->categories(), QStringList{u"2026-11"_s});
    screenshot(window.get(), u"frmLedger"_s);

    // The range the wrong way round is refused and the shown report stays.
    window->fromDate()->setDate(QDate(2026, 12, 1));
    click(window->showButton());
    EXPECT_EQ(prompter().texts().size(), 1);
    EXPECT_EQ(column0(window->table()), (QStringList{u"2026-11"_s, u"合計"_s}));
}

TEST_F(LedgerWindow, CsvIsTheCommandLinesReportAndEachChartIsAPng) {
    writeSyntheticDays();
    open();
    window->groupingBox()->setCurrentIndex(4);
    QTemporaryDir dir;
    QString chosen;
    window->setSaveFileFunction([&](const QString&, const QString&, const QStringList&) { return chosen; });
    for (const bool sjis : {true, false}) {
        chosen = dir.filePath(sjis ? u"sjis.csv"_s : u"utf8.csv"_s);
        if (window->sjisBox()->isChecked() != sjis)
            click(window->sjisBox());
        click(window->csvButton());
        QStringList args = {u"--home"_s, home_->home(), u"--config"_s, home_->configFile(), u"ledger"_s, u"report"_s,
                            u"--by"_s, u"type"_s, u"--from"_s, u"20261101"_s, u"--to"_s, u"20261122"_s,
                            u"--csv"_s, dir.filePath(u"cli.csv"_s)};
        if (sjis)
            args << u"--sjis"_s;
        ASSERT_EQ(runCliProcess(args).exitCode, 0);
        EXPECT_EQ(readAll(chosen), readAll(dir.filePath(u"cli.csv"_s))) << sjis;
    }
    chosen = dir.filePath(u"charts.png"_s);
    click(window->imageButton());
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    ASSERT_EQ(window->written(), (QStringList{dir.filePath(u"charts-month.png"_s), dir.filePath(u"charts-balance.png"_s)}));
    for (const QString& path : window->written()) {
        QImage image;
        EXPECT_TRUE(image.load(path, "PNG") && image.width() > 300) << path.toStdString();
    }
}

// The results read from the menu puts the day into the ledger; a ledger that cannot be opened
// is named in a message and the results still show.
TEST_F(LedgerWindow, AResultsReadFromTheMenuGoesIntoTheLedger) {
    ui::MDIZenoMUR main(ctx());
    main.setCurrentRaceDate(kDay);
    main.show();
    {
        QFile f(ledgerPath(ctx().paths));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a ledger\r\n");
    }
    main.menuAction(u"mnuPatItem_2"_s)->trigger();
    settle();
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(ledgerPath(ctx().paths)));
    auto* results = main.findChild<ui::frmPatLog*>();
    ASSERT_NE(results, nullptr);
    results->close();
    settle();
    EXPECT_EQ(readAll(ledgerPath(ctx().paths)), "not a ledger\r\n");

    QFile::remove(ledgerPath(ctx().paths));
    prompter().clear();
    main.menuAction(u"mnuPatItem_2"_s)->trigger();
    settle();
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    if (auto* again = main.findChild<ui::frmPatLog*>())
        again->close();
    auto ledger = Ledger::open(ledgerPath(ctx().paths));
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger.value()->days().value(), QStringList{kDay});
    EXPECT_FALSE(ledger.value()->readDay(kDay)->bets.empty());

    QAction* item = main.menuAction(u"mnuLedger"_s);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), u"収支管理"_s);
    item->trigger();
    settle();
    auto* opened = main.findChild<ui::frmLedger*>();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->report().has_value());
    click(opened->closeButton());
    settle();
}

}  // namespace
}  // namespace zm::test
