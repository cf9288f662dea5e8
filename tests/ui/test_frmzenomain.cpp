#include "ui/frmzenomain.h"

#include "analysis/model_days.h"
#include "analysis/race_ev.h"
#include "app/safe_save.h"
#include "card/cardday.h"
#include "card/day_builder.h"
#include "card/predicted_odds.h"
#include "import/race_model.h"
#include "predict/dummy_day.h"
#include "support/test_home.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

// Readable failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace zm::ui {
namespace {

using namespace Qt::Literals::StringLiterals;

QApplication& app() {
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        new QApplication(argc, argv);
    }
    return *qobject_cast<QApplication*>(QApplication::instance());
}

// The size of the main window's MDI area on a 1366x768 screen.
constexpr int kScreenW = 1360;
constexpr int kScreenH = 600;

class CardWindow : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        data_ = home_.ctx().paths.DataDir;
        // 2001/09/16: four venues, 札幌 / 福島 / 中山 fully and 阪神 with four races.
        test::DayBuilder four(u"20010916"_s);
        for (const char* venue : {"08", "06", "05"}) {
            for (int race = 1; race <= 12; ++race) {
                test::RaceInput& r = four.add(QString::fromLatin1(venue), race, race < 3 ? 8 : 16);
                r.pace = QString::number(race % 4);
                r.picks = race != 4;
                r.grade = race == 11 ? u"1"_s : u" "_s;
                r.edition = race == 11 ? u" 52"_s : u"   "_s;
                r.name = race == 11 ? u"京成杯オータムハンデ"_s : u""_s;
                r.prize = race == 11 ? u"00009"_s : race == 1 ? u"00003"_s : u"10000"_s;
                r.postTime = QStringLiteral("%1:%2").arg(9 + race / 2 + 1, 2, 10, QChar(u'0')).arg(race % 2 ? 50 : 20);
            }
        }
        for (int race = 9; race <= 12; ++race) {
            four.add(u"01"_s, race);
        }
        four.write(data_);
        // 2001/09/15: one venue.
        test::DayBuilder one(u"20010915"_s);
        for (int race = 1; race <= 12; ++race) {
            one.add(u"04"_s, race);
        }
        one.write(data_);

        window_ = std::make_unique<frmZenoMain>(home_.ctx());
        window_->resize(kScreenW, kScreenH);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    template <class T>
    T* child(const QString& name) {
        T* w = window_->findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }

    void clickItem(QListWidget* list, int row, bool twice = false) {
        QListWidgetItem* item = list->item(row);
        ASSERT_NE(item, nullptr);
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) {
            // A real double click: the first click, then the double-click event and its release.
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        }
        QApplication::processEvents();
    }

    void click(const QString& button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }

    void shoot(const QString& name) {
        QDir().mkpath(QStringLiteral(ZENOMUR_SCREENSHOT_DIR));
        QApplication::processEvents();
        EXPECT_TRUE(window_->grab().save(QStringLiteral(ZENOMUR_SCREENSHOT_DIR "/") + name + u".png"_s));
    }

    // Loads a day as the user does: a double click on its entry in the day list.
    void openDay(const QString& day) {
        window_->ShowCardScreen();
        auto* list = child<QListWidget>(u"dayList"_s);
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->data(Qt::UserRole).toString() == day) {
                clickItem(list, i, true);
                return;
            }
        }
        ADD_FAILURE() << "day not listed: " << day.toStdString();
    }

    QTableWidget* grid() { return child<QTableWidget>(u"cardGrid"_s); }

    test::TestHome home_;
    QString data_;
    std::unique_ptr<frmZenoMain> window_;
};

TEST_F(CardWindow, DayListNewestFirstAndDoubleClickLoadsFourVenuesIntoThreeFrames) {
    window_->ShowCardScreen();
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FALSE(child<QGroupBox>(u"frame"_s + QString::number(k))->isVisible());  // no day loaded yet
    }
    shoot(u"card_day_view_opened"_s);
    auto* days = child<QListWidget>(u"dayList"_s);
    ASSERT_EQ(days->count(), 2);
    EXPECT_EQ(days->item(0)->text(), u"2001年09月16日(日)"_s);
    EXPECT_EQ(days->item(1)->text(), u"2001年09月15日(土)"_s);
    EXPECT_EQ(days->currentRow(), 0);
    EXPECT_TRUE(window_->currentRaceDate().isEmpty());  // a single click only chooses

    QSignalSpy loaded(window_.get(), &frmZenoMain::dayLoaded);
    clickItem(days, 0);
    EXPECT_EQ(loaded.count(), 0);
    clickItem(days, 0, true);
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(window_->currentRaceDate(), u"20010916"_s);

    const char16_t* captions[] = {u"4回【札幌】3日目", u"4回【福島】3日目", u"4回【中山】3日目"};
    for (int k = 0; k < 3; ++k) {
        auto* frame = child<QGroupBox>(u"frame"_s + QString::number(k + 1));
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->title(), QString::fromUtf16(captions[k]));
        auto* list = child<QListWidget>(u"raceList"_s + QString::number(k + 1));
        ASSERT_EQ(list->count(), 12);
        EXPECT_TRUE(list->item(10)->text().startsWith(u"【"_s));
    }
    shoot(u"card_day_view_four_venues"_s);

    clickItem(days, 1, true);
    EXPECT_EQ(window_->currentRaceDate(), u"20010915"_s);
    EXPECT_TRUE(child<QGroupBox>(u"frame1"_s)->isVisible());
    EXPECT_FALSE(child<QGroupBox>(u"frame2"_s)->isVisible());
    EXPECT_FALSE(child<QGroupBox>(u"frame3"_s)->isVisible());
    shoot(u"card_day_view_one_venue"_s);

    // A smaller window keeps every frame usable (the lists scroll sideways).
    clickItem(days, 0, true);
    window_->resize(1024, 540);
    shoot(u"card_day_view_small_window"_s);
}

TEST_F(CardWindow, ClickingARaceInEachFrameShowsItsCard) {
    openDay(u"20010916"_s);
    struct Case {
        int frame;
        int row;
        const char16_t* venue;
        int runners;
    };
    for (const Case c : {Case{1, 11, u"【札幌】１１Ｒ", 16}, Case{2, 1, u"【福島】　１Ｒ", 8}, Case{3, 12, u"【中山】１２Ｒ", 16}}) {
        window_->showDayView();
        clickItem(child<QListWidget>(u"raceList"_s + QString::number(c.frame)), c.row - 1);
        ASSERT_TRUE(window_->inCardView()) << c.frame;
        EXPECT_TRUE(child<QLabel>(u"raceLine"_s)->text().startsWith(QString::fromUtf16(c.venue)));
        EXPECT_EQ(grid()->rowCount(), c.runners);
        EXPECT_EQ(grid()->item(0, zm::ColUmaban)->text(), u"1"_s);
        EXPECT_EQ(grid()->item(0, zm::ColMark)->text(), u"◎"_s);
        EXPECT_EQ(grid()->item(0, zm::ColName)->text(), u"テストホース1"_s);
    }
    EXPECT_TRUE(child<QLabel>(u"titleLine"_s)->text().startsWith(u"サ３歳上 1000万下"_s));
    EXPECT_EQ(window_->recommendationList()[0], u"1"_s);

    // The bracket cell carries its colour.
    const QColor red(255, 0, 0);
    for (int r = 0; r < grid()->rowCount(); ++r) {
        if (grid()->item(r, zm::ColWaku)->text() == u"3"_s) {
            EXPECT_EQ(grid()->item(r, zm::ColWaku)->background().color(), red);
        }
    }

    // A graded race with its edition, and the back button.
    window_->showDayView();
    clickItem(child<QListWidget>(u"raceList1"_s), 10);
    EXPECT_TRUE(child<QLabel>(u"titleLine"_s)->text().startsWith(u"第５２回京成杯オータムハンデ（Ｇ２）"_s));
    shoot(u"card_view_1_past_figures"_s);
    click(u"SSCommand2_8"_s);
    EXPECT_FALSE(window_->inCardView());
}

TEST_F(CardWindow, EmptyRowsAndRacesWithoutSelection) {
    openDay(u"20010916"_s);
    // 阪神, the fourth venue, is not shown; an empty row of a shown frame does nothing.
    for (auto* list : window_->findChildren<QListWidget*>()) {
        for (int i = 0; i < list->count(); ++i) {
            EXPECT_FALSE(list->item(i)->text().contains(u"阪神"_s));
        }
    }
    window_->LoadDay(u"20010915"_s);
    auto* frame2 = child<QListWidget>(u"raceList2"_s);
    EXPECT_TRUE(frame2->item(0)->text().isEmpty());
    window_->ShowRace(2, 1);
    EXPECT_FALSE(window_->inCardView());

    openDay(u"20010916"_s);
    clickItem(child<QListWidget>(u"raceList1"_s), 3);  // race 4 has no bet selection
    ASSERT_TRUE(window_->inCardView());
    for (int r = 0; r < grid()->rowCount(); ++r) {
        EXPECT_EQ(grid()->item(r, zm::ColMark)->text(), u"　"_s);
        EXPECT_TRUE(grid()->item(r, zm::ColRank)->text().isEmpty());
    }
    EXPECT_TRUE(child<QLabel>(u"recommendWin"_s)->text().endsWith(u"ありません"_s));
    EXPECT_TRUE(child<QLabel>(u"recommendPairs"_s)->text().endsWith(u"ありません"_s));
}

TEST_F(CardWindow, ViewSwitchCyclesThroughThreeColumnBlocks) {
    openDay(u"20010916"_s);
    clickItem(child<QListWidget>(u"raceList3"_s), 10);
    ASSERT_TRUE(window_->inCardView());
    auto shownState = [&] {
        return std::tuple(!grid()->isColumnHidden(zm::ColPastFigure1), !grid()->isColumnHidden(zm::ColCourseRecord1),
                          !grid()->isColumnHidden(zm::ColPastOdds1));
    };
    EXPECT_EQ(window_->cardView(), 1);
    EXPECT_EQ(shownState(), std::tuple(true, false, false));
    const char* names[] = {"card_view_2_course_records", "card_view_3_figures_and_odds", "card_view_1_again"};
    const std::tuple<bool, bool, bool> want[] = {{false, true, false}, {true, false, true}, {true, false, false}};
    for (int press = 0; press < 3; ++press) {
        click(u"SSCommand2_5"_s);
        EXPECT_EQ(window_->cardView(), press == 2 ? 1 : press + 2);
        EXPECT_EQ(shownState(), want[press]) << press;
        if (press < 2) {
            shoot(QString::fromLatin1(names[press]));
        }
    }
    // Course records and rates are in the grid.
    EXPECT_EQ(grid()->item(0, zm::ColCourseRecord1)->text(), u"1-1-0-2"_s);
    EXPECT_EQ(grid()->item(0, zm::ColCourseRecord1 + 1)->text(), u"50%"_s);
}

TEST_F(CardWindow, OddsColumnSwitch) {
    openDay(u"20010916"_s);
    clickItem(child<QListWidget>(u"raceList1"_s), 5);
    auto heading = [&] { return grid()->horizontalHeaderItem(zm::ColOddsColumn)->text(); };
    EXPECT_TRUE(window_->placeOddsShown());
    EXPECT_EQ(heading(), u"複勝オッズ"_s);
    click(u"cmdBodyWeight"_s);
    EXPECT_FALSE(window_->placeOddsShown());
    EXPECT_EQ(heading(), u"馬体重"_s);
    EXPECT_TRUE(child<QPushButton>(u"cmdBodyWeight"_s)->isChecked());
    EXPECT_FALSE(child<QPushButton>(u"cmdPlaceOdds"_s)->isChecked());
    EXPECT_EQ(grid()->rowCount(), 16);
    click(u"cmdPlaceOdds"_s);
    EXPECT_EQ(heading(), u"複勝オッズ"_s);
}

// The chance and expected-value columns switch on and off like the odds column: without a model
// they stay empty under one line that says so; with one, the chances of the race add up to 100%
// and a value above 1.0 stands out.
TEST_F(CardWindow, ChanceAndExpectedValueColumnsSwitch) {
    openDay(u"20010916"_s);
    clickItem(child<QListWidget>(u"raceList1"_s), 5);  // 札幌 6R, 16 runners
    const int chanceColumn = zm::ColumnCount;
    const int evColumn = zm::ColumnCount + 1;
    auto* note = child<QLabel>(u"evNote"_s);
    EXPECT_TRUE(grid()->isColumnHidden(chanceColumn));
    click(u"cmdEv"_s);
    EXPECT_TRUE(window_->evColumnsShown());
    EXPECT_FALSE(grid()->isColumnHidden(chanceColumn));
    EXPECT_FALSE(grid()->isColumnHidden(evColumn));
    EXPECT_EQ(grid()->horizontalHeaderItem(evColumn)->text(), u"期待値"_s);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().contains(u"model fit"_s)) << note->text().toStdString();
    EXPECT_EQ(grid()->item(0, chanceColumn), nullptr);
    shoot(u"card_ev_no_model"_s);

    zm::StoredModel stored;
    stored.model.beta[0] = 1.0;
    for (int d = 1; d <= 20; ++d) stored.days << u"200108%1"_s.arg(d + 9);
    stored.from = stored.days.first();
    stored.to = stored.days.last();
    ASSERT_TRUE(zm::saveModel(zm::modelPath(home_.ctx().paths), stored));
    zm::OddsRecord odds;
    odds.setText(zm::OddsRecord::venueCode, u"08"_s);
    odds.setText(zm::OddsRecord::raceNo, u"06"_s);
    odds.setText(zm::OddsRecord::raceDate, u"20010916"_s);
    for (int h = 1; h <= 16; ++h) odds.setText(zm::OddsRecord::winOdds.element(h), u"00300"_s);
    ASSERT_TRUE(SafeSave::save(data_ + u"MURODDS20010916.DAT"_s, odds.bytes()));
    click(u"SSCommand2_8"_s);  // back to the day view, and the race once more
    clickItem(child<QListWidget>(u"raceList1"_s), 5);
    EXPECT_TRUE(window_->evColumnsShown()) << "the switch stays as the user left it";
    EXPECT_FALSE(note->isVisible());
    double total = 0;
    int marked = 0;
    for (int r = 0; r < grid()->rowCount(); ++r) {
        total += grid()->item(r, chanceColumn)->text().chopped(1).toDouble();
        const QTableWidgetItem* ev = grid()->item(r, evColumn);
        const bool above = ev->text().toDouble() > 1.0;
        EXPECT_EQ(ev->font().bold(), above) << r;
        marked += above ? 1 : 0;
    }
    EXPECT_NEAR(total, 100, 0.1 * grid()->rowCount());
    EXPECT_GT(marked, 0);
    EXPECT_LT(marked, grid()->rowCount());
    shoot(u"card_ev_columns"_s);

    click(u"cmdEv"_s);
    EXPECT_FALSE(window_->evColumnsShown());
    EXPECT_TRUE(grid()->isColumnHidden(chanceColumn));
    EXPECT_TRUE(grid()->isColumnHidden(evColumn));
}

TEST_F(CardWindow, PredictedOddsViewOrItsMessage) {
    openDay(u"20010916"_s);
    clickItem(child<QListWidget>(u"raceList3"_s), 10);  // 中山 11R
    click(u"Command2"_s);
    EXPECT_EQ(home_.prompter().texts(), QStringList{zm::kNoPredictedOdds});
    EXPECT_EQ(window_->findChild<QDialog*>(u"PredictedOddsView"_s), nullptr);

    OddsRecord rec;
    rec.setText(OddsRecord::venueCode, u"05");
    rec.setText(OddsRecord::raceNo, u"11");
    rec.setText(OddsRecord::raceDate, u"20010916");
    for (int h = 1; h <= 16; ++h) {
        rec.setText(OddsRecord::winOdds, h, QStringLiteral("%1").arg(h * 25, 5, 10, QChar(u'0')));
        for (int j = h + 1; j <= 16; ++j) {
            rec.setText(OddsRecord::quinellaField(h, j), QStringLiteral("%1").arg(h * j * 30, 7, 10, QChar(u'0')));
        }
    }
    QFile f(zm::predictedOddsPath(data_, u"20010916"_s));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rec.bytes());
    f.close();

    home_.prompter().clear();
    click(u"Command2"_s);
    EXPECT_TRUE(home_.prompter().texts().isEmpty());
    auto* dialog = window_->findChild<QDialog*>(u"PredictedOddsView"_s);
    ASSERT_NE(dialog, nullptr);
    auto* win = dialog->findChild<QTableWidget*>(u"単勝"_s);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(win->item(0, 1)->text(), u"2.5"_s);
    auto* pairs = dialog->findChild<QTableWidget*>(u"馬連"_s);
    ASSERT_NE(pairs, nullptr);
    EXPECT_EQ(pairs->item(0, 0)->text(), u"1-2"_s);
    EXPECT_EQ(pairs->item(0, 1)->text(), u"6.0"_s);
    QApplication::processEvents();
    QDir().mkpath(QStringLiteral(ZENOMUR_SCREENSHOT_DIR));
    EXPECT_TRUE(dialog->grab().save(QStringLiteral(ZENOMUR_SCREENSHOT_DIR "/card_predicted_odds.png")));
    dialog->close();
}

TEST_F(CardWindow, ImportedDayIsShownAtOnceAndCleared) {
    home_.ctx().ImportedDay = u"20010915"_s;
    QSignalSpy loaded(window_.get(), &frmZenoMain::dayLoaded);
    window_->ShowCardScreen();
    EXPECT_TRUE(home_.ctx().ImportedDay.isEmpty());
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(window_->currentRaceDate(), u"20010915"_s);
    EXPECT_EQ(child<QListWidget>(u"dayList"_s)->currentRow(), 1);
    EXPECT_EQ(child<QGroupBox>(u"frame1"_s)->title(), u"4回【東京】3日目"_s);
}

TEST_F(CardWindow, MissingDayFilesKeepTheViewAndBackHidesTheScreen) {
    openDay(u"20010916"_s);
    QFile::remove(data_ + u"MUR20010915_2.DEN"_s);
    window_->ShowCardScreen();
    clickItem(child<QListWidget>(u"dayList"_s), 1, true);
    EXPECT_EQ(home_.prompter().texts(), QStringList{zm::kDayFilesMissing});
    EXPECT_EQ(window_->currentRaceDate(), u"20010916"_s);
    EXPECT_EQ(child<QGroupBox>(u"frame1"_s)->title(), u"4回【札幌】3日目"_s);

    // Later commands are present but disabled; view switch and back work.
    for (int i = 0; i < 9; ++i) {
        auto* b = child<QPushButton>(u"SSCommand2_"_s + QString::number(i));
        // The view switch needs a race on the card; the bulk output, the purchase files, the
        // 的中会 post and the VoteRobo schedule work on the day.
        EXPECT_EQ(b->isEnabled(), i == 0 || i == 3 || i == 6 || i == 7 || i == 8) << i;
    }
    QSignalSpy tekichukai(window_.get(), &frmZenoMain::tekichukaiRequested);
    QSignalSpy voteRobo(window_.get(), &frmZenoMain::voteRoboRequested);
    QTest::mouseClick(child<QPushButton>(u"SSCommand2_3"_s), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(u"SSCommand2_7"_s), Qt::LeftButton);
    EXPECT_EQ(tekichukai.count(), 1);
    EXPECT_EQ(voteRobo.count(), 1);
    // Escape leaves the card view.
    clickItem(child<QListWidget>(u"raceList1"_s), 0);
    ASSERT_TRUE(window_->inCardView());
    QTest::keyClick(grid(), Qt::Key_Escape);
    EXPECT_FALSE(window_->inCardView());

    // The shown day deleted meanwhile: its frames go when the list is read again.
    for (const QString& name : QDir(data_).entryList({u"*20010916*"_s}, QDir::Files)) {
        QFile::remove(data_ + name);
    }
    window_->ShowCardScreen();
    EXPECT_FALSE(child<QGroupBox>(u"frame1"_s)->isVisible());
    EXPECT_EQ(child<QListWidget>(u"dayList"_s)->count(), 1);

    QSignalSpy hidden(window_.get(), &frmZenoMain::screenHidden);
    click(u"SSCommand2_8"_s);
    EXPECT_EQ(hidden.count(), 1);
    EXPECT_FALSE(window_->isVisible());
}

// A damaged day is named in a message and never shown; the day on the screen stays.
TEST_F(CardWindow, DamagedDayIsNamedAndNotShown) {
    struct Case {
        const char* what;
        std::function<void(const QString&)> damage;
        QString named;  // the file the message names
    };
    const QString prediction = u"20010915.DAT"_s;
    const std::vector<Case> cases = {
        {"empty prediction file", [&](const QString& d) { QFile(d + prediction).resize(0); }, prediction},
        {"prediction cut inside a record",
         [&](const QString& d) { QFile f(d + prediction); f.resize(f.size() - 100); }, prediction},
        {"empty entries file", [](const QString& d) { QFile(d + u"MUR20010915_2.DEN"_s).resize(0); },
         u"MUR20010915_2.DEN"_s},
        {"empty race file", [](const QString& d) { QFile(d + u"MUR20010915_1.DEN"_s).resize(0); },
         u"MUR20010915_1.DEN"_s},
    };
    const QString backup = home_.ctx().paths.AppPath + u"backup/"_s;
    QDir().mkpath(backup);
    for (const QString& name : QDir(data_).entryList({u"*20010915*"_s}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(data_ + name, backup + name));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openDay(u"20010916"_s);
        home_.prompter().clear();
        c.damage(data_);
        openDay(u"20010915"_s);
        ASSERT_EQ(home_.prompter().texts().size(), 1);
        EXPECT_TRUE(home_.prompter().texts().first().contains(c.named)) << home_.prompter().texts().first().toStdString();
        EXPECT_EQ(window_->currentRaceDate(), u"20010916"_s);
        EXPECT_EQ(child<QGroupBox>(u"frame1"_s)->title(), u"4回【札幌】3日目"_s);
        // Restore the day for the next case.
        for (const QString& name : QDir(backup).entryList(QDir::Files)) {
            QFile::remove(data_ + name);
            ASSERT_TRUE(QFile::copy(backup + name, data_ + name));
        }
    }
}

// A day from the sample generator, imported by the command line, shown as an import leaves it.
TEST(CardWindowSample, ImportedSampleDay) {
    app();
    test::TestHome home;
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {u"--home"_s, home.home(), u"--days"_s, u"0"_s});
    ASSERT_TRUE(sample.waitForFinished(120000));
    ASSERT_EQ(sample.exitCode(), 0);
    const auto imported = test::runCliProcess({u"--home"_s, home.home(), u"--config"_s, home.configFile(), u"--yes"_s,
                                               u"import"_s, home.home() + u"/MurData/H261205.LZH"_s});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();

    home.ctx().ImportedDay = u"20261205"_s;
    frmZenoMain window(home.ctx());
    window.resize(kScreenW, kScreenH);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.ShowCardScreen();
    EXPECT_EQ(window.currentRaceDate(), u"20261205"_s);
    QDir().mkpath(QStringLiteral(ZENOMUR_SCREENSHOT_DIR));
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QStringLiteral(ZENOMUR_SCREENSHOT_DIR "/card_sample_day.png")));

    auto* list = window.findChild<QListWidget*>(u"raceList2"_s);
    ASSERT_NE(list, nullptr);
    const QPoint at = list->visualItemRect(list->item(10)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(window.inCardView());
    auto* grid = window.findChild<QTableWidget*>(u"cardGrid"_s);
    ASSERT_NE(grid, nullptr);
    EXPECT_GE(grid->rowCount(), 5);
    QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QStringLiteral(ZENOMUR_SCREENSHOT_DIR "/card_sample_race.png")));
}

}  // namespace
}  // namespace zm::ui

namespace zm::ui {
namespace {

// A double click on a day never leaves another day's races under its highlight: a dummy day
// shows empty with its note, a day whose files are missing puts the highlight back.
TEST_F(CardWindow, DoubleClickedDayNeverShowsAnotherDaysRaces) {
    ASSERT_TRUE(CreateDummyDay(home_.ctx(), u"20010917"_s));
    home_.ctx().ImportedDay.clear();
    window_->ShowCardScreen();
    auto* days = child<QListWidget>(u"dayList"_s);
    ASSERT_EQ(days->count(), 3);
    ASSERT_EQ(days->item(0)->data(Qt::UserRole).toString(), u"20010917"_s);  // newest first

    clickItem(days, 1, true);  // 2001/09/16
    EXPECT_TRUE(child<QGroupBox>(u"frame1"_s)->isVisible());
    clickItem(days, 0, true);  // the dummy day
    EXPECT_TRUE(home_.prompter().texts().isEmpty());
    EXPECT_EQ(window_->currentRaceDate(), u"20010917"_s);
    for (const char* frame : {"frame1", "frame2", "frame3"}) {
        EXPECT_FALSE(child<QGroupBox>(QString::fromLatin1(frame))->isVisible()) << frame;
    }
    EXPECT_TRUE(child<QLabel>(u"dayViewHelp"_s)->isVisible());
    EXPECT_TRUE(child<QLabel>(u"dayViewHelp"_s)->text().contains(u"ダミーの開催日"_s));
    shoot(u"card_dummy_day"_s);

    // A day whose entries file is gone: the message, and the highlight back on the shown day.
    clickItem(days, 1, true);
    QFile::remove(data_ + u"MUR20010915_2.DEN"_s);
    clickItem(days, 2, true);
    EXPECT_EQ(home_.prompter().texts(), QStringList{zm::kDayFilesMissing});
    EXPECT_EQ(days->currentRow(), 1);
    EXPECT_EQ(window_->currentRaceDate(), u"20010916"_s);
}

}  // namespace
}  // namespace zm::ui
