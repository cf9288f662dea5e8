// The PAT windows on the sample day: live odds and body weights on the race card, the odds
// window, the predicted-odds conversion dialog, the day's stake, the results list and the vote
// log with its profit and loss and text export, and the ＰＡＴ menu's messages.

#include "card/cardday.h"
#include "codes/sjis.h"
#include "import/odds_import.h"
#include "import/race_model.h"
#include "pat/odds_convert.h"
#include "pat/pat_files.h"
#include "pat/pat_log.h"
#include "support/pat_builders.h"
#include "support/test_home.h"
#include "ui/frmconvmurodds.h"
#include "ui/frmodds.h"
#include "ui/frmpatlog.h"
#include "ui/frmpatstake.h"
#include "ui/frmprogres.h"
#include "ui/frmzenomain.h"
#include "ui/live_odds.h"
#include "ui/mdizenomur.h"
#include "ui_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <algorithm>
#include <optional>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kDay = u"20261205"_s;

// The sample day imported once for the whole program: each test copies nothing, it only reads
// the day's files and writes PAT files of its own into the PAT folder.
class PatWindows : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ensureApplication();
        home_ = new TestHome;
        ASSERT_TRUE(writeSampleData(home_->home(), {u"--days"_s, u"0"_s}));
        const auto imported = runCliProcess({u"--home"_s, home_->home(), u"--config"_s, home_->configFile(), u"--yes"_s,
                                             u"import"_s, home_->home() + u"/MurData/H261205.LZH"_s});
        ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(home_, nullptr);
        usePat(true, u"98"_s);
        home_->prompter().clear();
    }
    void TearDown() override { settle(); }

    static AppContext& ctx() { return home_->ctx(); }
    static ScriptedPrompter& prompter() { return home_->prompter(); }
    static QString patDir() { return home_->home() + u"/PAT/"_s; }
    static void usePat(bool on, const QString& ver) {
        ctx().settings.PatOpt = on;
        ctx().settings.Ver = ver;
        ctx().settings.PatDir = patDir();
    }

    // The race of frame 2, row 11 of the sample day, with PAT98 odds and body weights written
    // for it: horse 3 scratched.
    static zm::RaceCard preparedRace() {
        zm::DayCard day;
        EXPECT_EQ(zm::LoadDay(ctx().paths.DataDir, kDay, day), zm::DayLoad::Ok);
        const auto race = zm::LoadRace(ctx().paths.DataDir, day, 2, 11);
        EXPECT_TRUE(race.has_value());
        const zm::PatRaceRef ref = ui::patRaceOf(ctx(), kDay, race->venueCode, race->raceNo);
        const QString code = zm::PatFileCode(ref.venueCode, ref.raceNo, ref.dayNo);
        PatRace odds;
        odds.runners = static_cast<int>(race->rows.size());
        odds.scratched = {3};
        zm::Ut95Record ut;
        for (int h = 1; h <= odds.runners; ++h) {
            const QString entry = QString::number(h).rightJustified(2) + (h == 3 ? u"9"_s : u" "_s) +
                                  QString::number(440 + h * 2) + (h % 2 ? u"04"_s : u"06"_s) +
                                  (h == 1 ? u"7"_s : h % 2 ? u"1"_s : u"2"_s) + u" "_s;
            ut.setText(zm::Ut95Record::horses.element(h), entry);
        }
        const auto write = [](const QString& name, const QByteArray& bytes) {
            QFile f(patDir() + name);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        write(u"ZO-"_s + code + u".JRA"_s, zoRecord<zm::Zo95Record>(odds));
        write(u"UO-"_s + code + u".JRA"_s, uoRecord<zm::Uo98Record>(odds));
        write(u"UT-"_s + code + u".JRA"_s, ut.bytes());
        return *race;
    }

    static TestHome* home_;
};
TestHome* PatWindows::home_ = nullptr;

QStringList column(QTableWidget* t, int c) {
    QStringList out;
    for (int r = 0; r < t->rowCount(); ++r) {
        out << (t->item(r, c) ? t->item(r, c)->text() : QString());
    }
    return out;
}

// The number a cell's text starts with (full-width digits read as digits), or nothing.
std::optional<double> leadingNumber(const QString& text) {
    const QString t = text.normalized(QString::NormalizationForm_KC).trimmed();
    qsizetype n = 0;
    while (n < t.size() && (t[n].isDigit() || t[n] == u'.')) {
        ++n;
    }
    bool ok = false;
    const double v = t.left(n).toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

TEST_F(PatWindows, CardShowsLiveOddsOnlyWhenPatIsUsed) {
    const zm::RaceCard race = preparedRace();
    const struct {
        bool patOpt;
        const char16_t* ver;
        bool live;
    } cases[] = {{true, u"98", true}, {false, u"98", false}, {true, u"FHDUEL", false}, {true, u"", false}};
    for (const auto& c : cases) {
        usePat(c.patOpt, QString::fromUtf16(c.ver));
        ctx().ImportedDay = kDay;
        ui::frmZenoMain window(ctx());
        window.resize(1280, 640);
        window.show();
        window.ShowCardScreen();
        auto* list = window.findChild<QListWidget*>(u"raceList2"_s);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(10)).center());
        ASSERT_TRUE(window.inCardView());
        auto* grid = window.findChild<QTableWidget*>(u"cardGrid"_s);
        ASSERT_EQ(grid->rowCount(), static_cast<int>(race.rows.size()));
        const QString win1 = grid->item(0, zm::ColWinOdds)->text();
        const QString place3 = grid->item(2, zm::ColOddsColumn)->text();
        EXPECT_EQ(win1, c.live ? u"  1.5"_s : QString()) << QString::fromUtf16(c.ver).toStdString();
        EXPECT_EQ(place3, c.live ? u"ﾄﾘｹｼ"_s : QString()) << QString::fromUtf16(c.ver).toStdString();
        if (!c.live) {
            continue;
        }
        EXPECT_EQ(grid->item(1, zm::ColOddsColumn)->text(), u" 1.2- 2.2"_s);
        EXPECT_EQ(grid->item(2, zm::ColName)->foreground().color(), QColor(0x99, 0x99, 0x99));
        screenshot(&window, u"card_live_place_odds"_s);
        click(window.findChild<QPushButton*>(u"cmdBodyWeight"_s));
        EXPECT_EQ(grid->horizontalHeaderItem(zm::ColOddsColumn)->text(), u"馬体重"_s);
        EXPECT_EQ(grid->item(0, zm::ColOddsColumn)->text(), u"４４２ 初出"_s);
        EXPECT_EQ(grid->item(1, zm::ColOddsColumn)->text(), u"４４４－０６"_s);
        EXPECT_EQ(grid->item(2, zm::ColOddsColumn)->text(), u"取り消し"_s);
        EXPECT_EQ(grid->item(4, zm::ColOddsColumn)->text(), u"４５０＋０４"_s);
        screenshot(&window, u"card_live_body_weights"_s);
    }
}

TEST_F(PatWindows, OddsWindowFromTheCardSortsEveryColumn) {
    const zm::RaceCard race = preparedRace();
    const int runners = static_cast<int>(race.rows.size());
    ctx().ImportedDay = kDay;
    ui::frmZenoMain card(ctx());
    card.resize(1280, 640);
    card.show();
    card.ShowCardScreen();
    auto* list = card.findChild<QListWidget*>(u"raceList2"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(10)).center());
    click(card.findChild<QPushButton*>(u"SSCommand2_4"_s));
    auto* odds = card.findChild<ui::frmOdds*>();
    ASSERT_NE(odds, nullptr);
    odds->show();

    QTableWidget* horses = odds->horseTable();
    ASSERT_EQ(horses->rowCount(), runners);
    // The title writes the race number as the card does, in full-width digits.
    EXPECT_TRUE(odds->windowTitle().endsWith(u" １１Ｒ"_s)) << odds->windowTitle().toStdString();
    EXPECT_EQ(horses->item(2, 2)->text(), u"ﾄﾘｹｼ"_s);
    EXPECT_EQ(horses->item(2, 3)->text(), u"取り消し"_s);
    EXPECT_EQ(odds->bracketTable()->rowCount(), 36);
    EXPECT_EQ(odds->pairTable()->rowCount(), runners * (runners - 1) / 2);
    EXPECT_EQ(odds->pairTable()->columnCount(), 4);  // PAT98: quinella and both wide bounds
    EXPECT_EQ(odds->pairTable()->item(0, 0)->text(), u"01-02"_s);
    EXPECT_EQ(odds->pairTable()->item(0, 1)->text(), u" 102.0"_s);
    EXPECT_TRUE(odds->statusLabel()->text().isEmpty());

    // A click on a heading sorts by that column's numbers, a second click the other way.
    struct Sort {
        QTableWidget* table;
        int column;
    };
    for (const Sort& s : {Sort{horses, 1}, Sort{horses, 3}, Sort{odds->pairTable(), 1}, Sort{odds->bracketTable(), 1}}) {
        QHeaderView* header = s.table->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(s.column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        std::vector<double> keys;
        for (const QString& t : column(s.table, s.column)) {
            if (const auto v = leadingNumber(t)) {
                keys.push_back(*v);
            }
        }
        ASSERT_GT(keys.size(), 2u);
        const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
        EXPECT_TRUE(ascending ? std::is_sorted(keys.begin(), keys.end())
                              : std::is_sorted(keys.rbegin(), keys.rend()))
            << s.table->objectName().toStdString() << " " << s.column;
    }
    odds->tabs()->setCurrentIndex(0);
    screenshot(odds, u"frmOdds"_s);
    odds->tabs()->setCurrentIndex(2);
    screenshot(odds, u"frmOdds_pairs"_s);
}

TEST_F(PatWindows, ConversionDialogRunsOffTheGuiThread) {
    const Result<QString> oddsPath = ImportOddsArchive(ctx(), ctx().settings.MurDataDir + u"j261205.lzh"_s);
    ASSERT_TRUE(oddsPath);
    prompter().clear();
    QTemporaryDir out;

    // A missing folder: its message, nothing written, the dialog stays.
    {
        ui::frmConvMurOdds dialog(ctx(), *oddsPath, *zm::patFormat(zm::PatVer::V95));
        dialog.show();
        dialog.folderText()->setText(out.path() + u"/missing"_s);
        click(dialog.executeButton());
        EXPECT_EQ(prompter().texts(), QStringList{zm::kConvFolderMissing});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty());
        prompter().clear();
    }

    ui::frmConvMurOdds dialog(ctx(), *oddsPath, *zm::patFormat(zm::PatVer::V98));
    EXPECT_EQ(dialog.windowTitle(), zm::ConvDialogCaption(*zm::patFormat(zm::PatVer::V98)));
    EXPECT_EQ(dialog.heading()->text(), zm::ConvHeading(*oddsPath));
    dialog.show();
    dialog.folderText()->setText(out.path());
    int shown = 0;
    bool busyWhileRunning = true;
    QObject::connect(&dialog, &ui::frmConvMurOdds::raceShown, [&](const QString& text) {
        ++shown;
        busyWhileRunning = busyWhileRunning && dialog.running() && !dialog.executeButton()->isEnabled() &&
                           !dialog.closeButton()->isEnabled();
        if (shown == 6) {
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(dialog.statusText()->text(), zm::ConvStatusText(*zm::patFormat(zm::PatVer::V98)));
            screenshot(&dialog, u"frmConvMurOdds_running"_s);
        }
    });
    click(dialog.executeButton());
    EXPECT_GT(shown, 6);
    EXPECT_TRUE(busyWhileRunning);
    EXPECT_EQ(prompter().texts(), QStringList{zm::kConvDone});
    EXPECT_EQ(dialog.bar()->percent(), 100);
    EXPECT_EQ(dialog.statusText()->text(), zm::kConvDone);
    EXPECT_TRUE(dialog.executeButton()->isEnabled());
    const QStringList written = QDir(out.path()).entryList(QDir::Files);
    EXPECT_EQ(written.size(), dialog.written().size());
    EXPECT_FALSE(written.filter(u"ZO-"_s).isEmpty());
    EXPECT_FALSE(written.filter(u"UO-"_s).isEmpty());
    // The folder is kept for the next run, in the settings and the store.
    EXPECT_EQ(ctx().settings.ConvOddsDir, out.path() + u'/');
    EXPECT_EQ(ctx().store.read(u"PAT"_s, u"ConvOddsDir"_s), out.path() + u'/');
    screenshot(&dialog, u"frmConvMurOdds_done"_s);

}

// The ＰＡＴ menu of the main window over the sample's PAT folder.
class PatMenu : public PatWindows {
protected:
    void SetUp() override {
        PatWindows::SetUp();
        window = std::make_unique<ui::MDIZenoMUR>(ctx());
        window->resize(1280, 720);
        window->show();
        window->menuAction(u"mnuHyouji"_s)->trigger();
        ASSERT_NE(window->cardWindow(), nullptr);
        ASSERT_TRUE(window->cardWindow()->LoadDay(kDay));  // as a double click on the day does
        ASSERT_EQ(window->chosenDay(), kDay);
    }
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog*>(w)) {
                w->close();
            }
        }
        window.reset();
        PatWindows::TearDown();
    }
    template <class T>
    T* opened() {
        settle();
        return window->findChild<T*>();
    }
    std::unique_ptr<ui::MDIZenoMUR> window;
};

TEST_F(PatMenu, StakeWindowShowsTheDay) {
    window->menuAction(u"mnuPatItem_0"_s)->trigger();
    auto* stake = opened<ui::frmPatStake>();
    ASSERT_NE(stake, nullptr);
    const auto expected = zm::ShowDayStake(ctx(), kDay);
    ASSERT_TRUE(expected.ok());
    EXPECT_GT(expected->count, 0);
    EXPECT_EQ(stake->dayLabel()->text(), u"2026/12/05"_s);
    EXPECT_EQ(stake->countLabel()->text(), QString::number(expected->count));
    EXPECT_EQ(stake->remainingLabel()->text(), QString::number(900 - expected->count));
    EXPECT_EQ(stake->stakeLabel()->text(), expected->stakeText());
    screenshot(stake, u"frmPatStake"_s);
    click(stake->closeButton());
    settle();
    EXPECT_EQ(window->findChild<ui::frmPatStake*>(), nullptr);
}

TEST_F(PatMenu, ResultsThenVoteLogWithHitsAndExport) {
    window->menuAction(u"mnuPatItem_2"_s)->trigger();
    auto* results = opened<ui::frmPatLog>();
    ASSERT_NE(results, nullptr);
    EXPECT_EQ(results->tabs()->currentIndex(), ui::frmPatLog::ResultsPage);
    QFile sei(zm::seiPath(ctx().paths.DataDir, kDay));
    ASSERT_TRUE(sei.open(QIODevice::ReadOnly));
    const auto records = zm::seiRecords(sei.readAll());
    ASSERT_FALSE(records.empty());
    ASSERT_EQ(results->resultsTable()->rowCount(), static_cast<int>(records.size()));
    const QStringList first = zm::resultsRow(records.front());
    for (int c = 0; c < first.size(); ++c) {
        EXPECT_EQ(results->resultsTable()->item(0, c)->text(), first[c]) << c;
    }
    screenshot(results, u"frmPatLog_results"_s);
    results->close();
    settle();

    window->menuAction(u"mnuPatItem_3"_s)->trigger();
    auto* view = opened<ui::frmPatLog>();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->tabs()->currentIndex(), ui::frmPatLog::VoteLogPage);
    const auto log = zm::ShowVoteLog(ctx(), kDay);
    ASSERT_TRUE(log.ok());
    QTableWidget* votes = view->voteTable();
    ASSERT_EQ(votes->rowCount(), static_cast<int>(log->rows.size()));
    int hits = 0;
    for (int r = 0; r < votes->rowCount(); ++r) {
        const zm::VoteRow& row = log->rows[static_cast<size_t>(r)];
        QTableWidgetItem* judgement = votes->item(r, 7);
        EXPECT_EQ(votes->item(r, 0)->text(), row.numberText);
        EXPECT_EQ(judgement->text(), row.judgementText);
        if (row.judgement == zm::Judgement::Hit) {
            ++hits;
            EXPECT_EQ(judgement->text(), u"的中！"_s);
            EXPECT_EQ(judgement->foreground().color(), QColor(0, 0, 0xFF));
        } else {
            EXPECT_NE(judgement->foreground().color(), QColor(0, 0, 0xFF));
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_EQ(view->investmentLabel()->text(), log->investmentText());
    EXPECT_EQ(view->returnsLabel()->text(), log->returnsText());
    EXPECT_EQ(view->balanceLabel()->text(), log->balanceText());
    EXPECT_EQ(view->rateLabel()->text(), log->rateText());
    screenshot(view, u"frmPatLog_votes"_s);

    // テキスト出力: the filters of the save dialog; an existing file is added to, twice.
    QTemporaryDir dir;
    const QString file = dir.path() + u"/収支.TXT"_s;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("before\r\n");
    }
    QStringList filters;
    view->setSaveFileFunction([&](const QString&, const QString&, const QStringList& f) {
        filters = f;
        return file;
    });
    click(view->exportButton());
    click(view->exportButton());
    EXPECT_EQ(filters, (QStringList{u"テキストファイル (*.TXT *.txt)"_s, u"すべてのファイル (*.*)"_s}));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray once = toSjis(zm::voteLogText(*log));
    EXPECT_EQ(f.readAll(), "before\r\n" + once + once);
    EXPECT_TRUE(prompter().texts().isEmpty());

    // Cancelled: nothing written.
    view->setSaveFileFunction([](const QString&, const QString&, const QStringList&) { return QString(); });
    click(view->exportButton());
    EXPECT_EQ(QFileInfo(file).size(), 8 + 2 * once.size());
}

// 競争結果一覧 on a day whose results have left PAT's folder keeps the day's results file and
// says so instead of opening an empty list.
TEST_F(PatMenu, ResultsOfADayGoneFromPatAreKept) {
    window->menuAction(u"mnuPatItem_2"_s)->trigger();
    ASSERT_NE(opened<ui::frmPatLog>(), nullptr);
    window->findChild<ui::frmPatLog*>()->close();
    settle();
    const QString sei = zm::seiPath(ctx().paths.DataDir, kDay);
    QFile in(sei);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray held = in.readAll();
    in.close();
    ASSERT_FALSE(held.isEmpty());
    // A copy of PAT's folder that has lost some of the day's result files.
    QTemporaryDir copy;
    const QString folder = copy.path() + u'/';
    const QStringList files = QDir(ctx().settings.PatDir).entryList(QDir::Files);
    int dropped = 0;
    for (const QString& name : files) {
        if (name.startsWith(u"KS-"_s) && dropped++ % 2 == 0)
            continue;
        ASSERT_TRUE(QFile::copy(ctx().settings.PatDir + name, folder + name));
    }
    ASSERT_GT(dropped, 1);
    ctx().settings.PatDir = folder;
    prompter().clear();
    window->menuAction(u"mnuPatItem_2"_s)->trigger();
    settle();
    EXPECT_EQ(window->findChild<ui::frmPatLog*>(), nullptr);
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(u"そのまま残します"_s)) << prompter().texts().front().toStdString();
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), held);
    usePat(true, u"98"_s);
}

TEST_F(PatMenu, MessagesInsteadOfWindows) {
    const struct {
        bool patOpt;
        const char16_t* ver;
        int item;
        QString message;
    } cases[] = {
        {true, u"FHDUEL", 0, zm::patNotSetMessage()},
        {false, u"98", 2, zm::patNotSetMessage()},
        {false, u"98", 3, zm::patNotSetMessage()},
        {true, u"31", 2, zm::kResults31Refused},
        {true, u"31", 3, zm::kVoteLog31Refused},
        {true, u"31", 0, zm::kNoLogFiles31},  // the sample writes PAT95/98 logs only
    };
    for (const auto& c : cases) {
        usePat(c.patOpt, QString::fromUtf16(c.ver));
        prompter().clear();
        window->menuAction(u"mnuPatItem_"_s + QString::number(c.item))->trigger();
        settle();
        EXPECT_EQ(prompter().texts(), QStringList{c.message}) << c.item << " " << QString::fromUtf16(c.ver).toStdString();
        EXPECT_EQ(window->findChild<ui::frmPatLog*>(), nullptr);
        EXPECT_EQ(window->findChild<ui::frmPatStake*>(), nullptr);
    }

    // The odds window needs a race on the card.
    usePat(true, u"98"_s);
    prompter().clear();
    window->menuAction(u"mnuPatItem_1"_s)->trigger();
    EXPECT_EQ(prompter().texts(), QStringList{u"出馬表画面から実行してください。"_s});
}

TEST_F(PatMenu, ConvertItemUnpacksThenOpensTheDialog) {
    const QString archive = ctx().settings.MurDataDir + u"j261205.lzh"_s;
    window->setOpenFileFunction([&](const QString&, const QString&, const QStringList&, int) { return archive; });
    const struct {
        int item;
        zm::PatVer generation;
    } cases[] = {{2, zm::PatVer::V98}, {3, zm::PatVer::V95}, {4, zm::PatVer::V31}};
    for (const auto& c : cases) {
        window->menuAction(u"mnuConvMurOdds_"_s + QString::number(c.item))->trigger();
        auto* dialog = opened<ui::frmConvMurOdds>();
        ASSERT_NE(dialog, nullptr) << c.item;
        EXPECT_EQ(dialog->windowTitle(), zm::ConvDialogCaption(*zm::patFormat(c.generation)));
        // No conversion folder kept yet: PAT's folder.
        EXPECT_EQ(dialog->folderText()->text(),
                  ctx().settings.ConvOddsDir.isEmpty() ? ctx().settings.PatDir : ctx().settings.ConvOddsDir);
        EXPECT_TRUE(dialog->heading()->text().startsWith(u"2026年12月05日分"_s));
        click(dialog->closeButton());
        settle();
        EXPECT_EQ(window->findChild<ui::frmConvMurOdds*>(), nullptr);
    }
}

}  // namespace
}  // namespace zm::test

namespace zm::test {
namespace {

// The conversion dialog starts in PAT's folder when no folder of its own is kept, and an empty
// folder is refused before the status line says anything is being written.
TEST_F(PatWindows, ConversionStartsInPatsFolderAndRefusesAnEmptyOneFirst) {
    struct StatusAtMessage : ScriptedPrompter {
        QLabel* status = nullptr;
        QStringList seen;
        Answer ask(const Question& q) override {
            if (q.kind == QuestionKind::Warning)
                seen << q.text + u'|' + (status ? status->text() : QString());
            return ScriptedPrompter::ask(q);
        }
    } recorder;
    AppContext run(ctx().paths, ctx().store, recorder);
    run.settings = ctx().settings;
    run.settings.ConvOddsDir.clear();
    ui::frmConvMurOdds dialog(run, ctx().paths.DataDir + u"MURODDS20261205.DAT"_s, *zm::patFormat(zm::PatVer::V98));
    EXPECT_EQ(dialog.folderText()->text(), patDir());
    recorder.status = dialog.statusText();
    dialog.show();
    for (const QString& folder : {QString(), u"   "_s}) {
        recorder.seen.clear();
        dialog.folderText()->setText(folder);
        click(dialog.executeButton());
        EXPECT_EQ(recorder.seen, QStringList{zm::kConvFolderMissing + u'|'});
        EXPECT_TRUE(dialog.executeButton()->isEnabled());
    }
    // A folder of its own wins over PAT's.
    run.settings.ConvOddsDir = home_->home() + u"/conv/"_s;
    ui::frmConvMurOdds again(run, ctx().paths.DataDir + u"MURODDS20261205.DAT"_s, *zm::patFormat(zm::PatVer::V95));
    EXPECT_EQ(again.folderText()->text(), run.settings.ConvOddsDir);
}

// 投票ログ参照 judges the day's bets and fills the results page by itself when PAT holds the
// day's results and the day's results file is missing.
TEST_F(PatMenu, VoteLogReadsTheResultsItself) {
    QFile::remove(zm::seiPath(ctx().paths.DataDir, kDay));
    window->menuAction(u"mnuPatItem_3"_s)->trigger();
    auto* view = opened<ui::frmPatLog>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(prompter().texts().isEmpty()) << prompter().texts().join(u'|').toStdString();
    EXPECT_TRUE(QFileInfo::exists(zm::seiPath(ctx().paths.DataDir, kDay)));
    EXPECT_GT(view->resultsTable()->rowCount(), 0);
    int judged = 0;
    for (int r = 0; r < view->voteTable()->rowCount(); ++r) {
        judged += view->voteTable()->item(r, 7)->text() != u"未判定"_s;
    }
    EXPECT_EQ(judged, view->voteTable()->rowCount());
    EXPECT_GT(judged, 0);
    view->tabs()->setCurrentIndex(ui::frmPatLog::ResultsPage);
    screenshot(view, u"frmPatLog_results_by_itself"_s);
}

}  // namespace
}  // namespace zm::test
