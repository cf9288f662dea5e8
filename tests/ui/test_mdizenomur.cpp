// The main window: its menus and buttons, the batch toggle, the archive commands with the
// progress window, help and web pages, and the shutdown.

#include "import/archive.h"
#include "predict/dummy_day.h"
#include "support/test_home.h"
#include "ui/desktop_start.h"
#include "ui/frmdelfile.h"
#include "ui/frmhiduke.h"
#include "ui/frmopt1.h"
#include "ui/frmprogres.h"
#include "ui/frmsplit.h"
#include "ui/frmzenomain.h"
#include "ui/mdizenomur.h"
#include "ui/zenostartup.h"
#include "ui_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using ui::MDIZenoMUR;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        window = std::make_unique<MDIZenoMUR>(home.ctx());
        window->setOpenFileFunction([this](const QString&, const QString& folder, const QStringList& filters,
                                           int selected) {
            dialogs.push_back({folder, filters, selected});
            return nextFile;
        });
        window->setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        window->resize(1280, 720);  // the offscreen screen is smaller than a real one
        window->show();
    }
    void TearDown() override {
        window.reset();
        settle();
    }
    AppContext& ctx() { return home.ctx(); }
    QString murData() { return home.ctx().settings.MurDataDir; }
    bool buttonsEnabled() const {
        for (int i = 0; i < 5; ++i) {
            if (!window->SSCommand1(i)->isEnabled()) {
                return false;
            }
        }
        return true;
    }

    struct FileDialog {
        QString folder;
        QStringList filters;
        int selected;
    };
    TestHome home;
    std::unique_ptr<MDIZenoMUR> window;
    QString nextFile;
    std::vector<FileDialog> dialogs;
    QList<QUrl> opened;
};

TEST_F(MainWindowTest, MenuItemsCarryTheirCaptionsAndOnlyBuiltCommandsAreEnabled) {
    struct Item {
        const char* name;
        const char* caption;
        bool enabled;
    };
    const Item items[] = {
        {"mnuKaitou", "解凍・予想(&U)", true},
        {"mnuHyouji", "出馬表と予想の表示(&V)", true},
        {"mnuDataDel", "既存ﾃﾞｰﾀﾌｧｲﾙの削除(&D)", true},
        {"mnuG1cut", "翌日分重賞競走の出馬表切出し(&B)", true},
        {"mnuFhduel2Pat98", "FHduel_Mes17ログからPAT98データ作成", false},
        {"mnuFhduel2Pat95", "FHduel_Mes17ログからPAT95データ作成", false},
        {"mnuEnd", "終了(&X)", true},
        {"mnuBetFIleEdit", "保留BETファイルの閲覧・修正(&E)", true},
        {"mnuBetTougou", "保留BETの重複買い目を統合(&T)", true},
        {"mnuBetSakujo", "保留BETの重複買い目を削除(&D)", true},
        {"mnuBetSort", "保留BETのソート(&S)", true},
        {"mnuBetOddsTorikomi", "保留BETファイルへオッズの読み込み(&O)", true},
        {"mnuBetOddsHanniSakujo", "指定オッズ範囲の保留ＢＥＴを削除(&H)", true},
        {"mnuBetHyouji", "保留BETの金額・BET数表示(&V)", true},
        {"mnuPatBetOut", "「サクッとべっと」形式で出力(&P)", true},
        {"mnuVoteRoboOut", "「VOTEROBO」形式で出力(&B)", true},
        {"mnuShoubakaiOut", "「的中会投票」形式で出力(&K)", true},
        {"mnuReadTekichukai", "的中会の投票を保留BETに変換", true},
        {"HidukeHoryuuBet", "日付を指定して保留ＢＥＴの操作", true},
        {"mnuConvMurOdds_0", "解凍のみ（通常はこれでＯＫです）(&U)", true},
        {"mnuConvMurOdds_2", "解凍・ＰＡＴ９８形式に変換(&N)", true},
        {"mnuConvMurOdds_3", "解凍・ＰＡＴ９５形式に変換(&C)", true},
        {"mnuConvMurOdds_4", "解凍・ＰＡＴ31形式に変換(&W)", true},
        {"mnuPatItem_0", "BET金額・BET残数(&B)", true},
        {"mnuPatItem_1", "オッズ表示(&O)", true},
        {"mnuPatItem_2", "競争結果一覧(&S)", true},
        {"mnuPatItem_3", "投票ログ参照(&L)", true},
        {"mnuOpt_Dir", "データフォルダの設定(&F)", true},
        {"mnuOpt_Pat", "ＰＡＴの設定(&P)", true},
        {"mnuYosouOut", "予想出力の設定(&Y)", true},
        {"mnuTxtOut", "テキスト出力の設定(&T)", true},
        {"mnuumaFhozon", "解凍競走馬ﾌｧｲﾙを残す", true},
        {"mnuHelp", "ヘルプ(&H)", true},
        {"mnuVer", "バージョン情報(&A)", true},
        {"mnuGoHP", nullptr, true},
        {"mnuGoMurHP", nullptr, true},
        {"mnuGoWeb2HP", nullptr, true},
    };
    for (const Item& item : items) {
        QAction* a = window->menuAction(QString::fromUtf8(item.name));
        ASSERT_NE(a, nullptr) << item.name;
        if (item.caption) {
            EXPECT_EQ(a->text(), QString::fromUtf8(item.caption)) << item.name;
        }
        EXPECT_EQ(a->isEnabled(), item.enabled) << item.name;
    }
    const std::pair<const char*, const char*> menus[] = {
        {"mnuFile", "ファイル(&F)"},    {"mnuBetOut", "保留ＢＥＴ操作(&B)"}, {"mnuMurOdds", "予想オッズ(&Y)"},
        {"mnuPat", "ＰＡＴ情報(&P)"},   {"mnuOpt", "オプション(&O)"},        {"mnuAbout", "ヘルプ(&H)"}};
    for (const auto& [name, caption] : menus) {
        auto* menu = window->findChild<QMenu*>(QString::fromUtf8(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(menu->title(), QString::fromUtf8(caption));
    }
    // Alt and one letter opens one menu only.
    QSet<QChar> keys;
    for (const auto& [name, caption] : menus) {
        const QString title = QString::fromUtf8(caption);
        const QChar key = title.at(title.indexOf(u'&') + 1).toUpper();
        EXPECT_FALSE(keys.contains(key)) << caption;
        keys.insert(key);
    }
}

TEST_F(MainWindowTest, ButtonsStatusBarAndLayout) {
    const std::pair<const char*, const char*> buttons[] = {
        {"解凍･予想", "MURデータを解凍し予想を行います"},
        {"出馬表・予想表示", "出馬表および予想を表示します"},
        {"既存ﾃﾞｰﾀの削除", "過去の予想済みファイルを削除します"},
        {"翌日分添付データ切出し", "翌日の重賞競走データが付加されている出馬表を日別に分割します"},
        {"終 了", "このプログラムを終了します"}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(window->SSCommand1(i)->text(), QString::fromUtf8(buttons[i].first));
        EXPECT_EQ(window->SSCommand1(i)->toolTip(), QString::fromUtf8(buttons[i].second));
    }
    EXPECT_EQ(window->editionPanel()->text(), QStringLiteral("ゼノゼノＭＵＲ_駿馬堂OnLine版"));
    EXPECT_FALSE(window->signaturePanel()->text().isEmpty());

    // A fifth of the strip each, rounded half to even, placed at i times that width.
    const std::pair<int, int> widths[] = {{1000, 200}, {1002, 200}, {1003, 201}, {1013, 203}, {7, 1}};
    for (const auto& [strip, button] : widths) {
        EXPECT_EQ(ui::CommandStrip::buttonWidth(strip), button) << strip;
    }
    window->resize(1013, 700);
    settle();
    const int w = ui::CommandStrip::buttonWidth(window->SSCommand1(0)->parentWidget()->width());
    for (int i = 0; i < 5; ++i) {
        const QRect g = window->SSCommand1(i)->geometry();
        EXPECT_EQ(g.x(), i * w);
        EXPECT_EQ(g.width(), w);
        EXPECT_EQ(g.height(), window->SSCommand1(i)->parentWidget()->height());
    }
}

TEST_F(MainWindowTest, RightClickOnImportButtonSwitchesTheBatch) {
    // OK turns it on, Cancel off; it stays until the next right click.
    const std::pair<Answer, bool> steps[] = {{Answer::Ok, true}, {Answer::Ok, true}, {Answer::Cancel, false}};
    for (const auto& [answer, on] : steps) {
        home.prompter().answer(answer);
        QTest::mouseClick(window->SSCommand1(0), Qt::RightButton);
        EXPECT_EQ(ctx().BatchRequested, on);
        EXPECT_EQ(home.prompter().log().back().text, QStringLiteral("一括処理を行いますか？"));
        EXPECT_EQ(home.prompter().log().back().kind, ScriptedPrompter::Kind::OkCancel);
    }
    EXPECT_FALSE(home.prompter().unansweredLeft());
    // Other buttons ignore the right button.
    QTest::mouseClick(window->SSCommand1(2), Qt::RightButton);
    EXPECT_EQ(home.prompter().log().size(), 3u);
}

TEST_F(MainWindowTest, BatchWithoutArchivesSaysSoAndDoesNotClaimToBeDone) {
    ctx().BatchRequested = true;
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    EXPECT_TRUE(dialogs.empty());  // the batch picks no file
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("ＭＵＲのデータが見つかりません！")});
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, BatchImportsEveryArchiveThenSaysItIsDone) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("2")}));
    ctx().BatchRequested = true;
    window->menuAction(QStringLiteral("mnuKaitou"))->trigger();
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("一括処理が終了しました(^^)")});
    const QStringList predictions =
        QDir(ctx().paths.DataDir).entryList({QStringLiteral("????????.DAT")}, QDir::Files);
    EXPECT_EQ(predictions.size(), 2);
    EXPECT_TRUE(buttonsEnabled());
}

// The batch's progress names each day with its place in the batch and fills the bar once over
// the whole batch, started from the first button as a user does.
TEST_F(MainWindowTest, BatchProgressNamesTheDayAndCoversTheBatch) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("3")}));
    ctx().BatchRequested = true;
    QStringList seen;
    QObject::connect(window->progressWindow(), &ui::frmProgres::batchStepShown, [&](int step, int steps) {
        ui::frmProgres* p = window->progressWindow();
        seen << QStringLiteral("%1/%2 %3 %4").arg(step).arg(steps).arg(p->bar()->percent()).arg(p->batchLabel()->text());
        if (step == 2) {
            screenshot(window.get(), QStringLiteral("batch_progress"));
        }
    });
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    ASSERT_EQ(seen.size(), 3) << seen.join(u'|').toStdString();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(seen[i].startsWith(QStringLiteral("%1/3 %2 一括処理 %1/3：").arg(i + 1).arg((i * 100 + 1) / 3)))
            << seen[i].toStdString();
    }
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("一括処理が終了しました(^^)")});
}

TEST_F(MainWindowTest, ImportShowsProgressKeepsButtonsDisabledAndPredictsTheDay) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    nextFile = murData() + QStringLiteral("H261205.LZH");
    bool disabledDuringRun = false;
    bool progressShown = false;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!window->SSCommand1(1)->isEnabled()) {
            disabledDuringRun = true;
            if (!progressShown && window->progressWindow()->bar()->percent() > 30) {
                progressShown = true;
                screenshot(window->progressWindow(), QStringLiteral("frmProgres"));
            }
        }
    });
    probe.start();
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    probe.stop();

    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].folder, murData());
    EXPECT_EQ(dialogs[0].selected, 0);
    EXPECT_EQ(dialogs[0].filters.size(), 5);
    EXPECT_TRUE(dialogs[0].filters[0].contains(QStringLiteral("H*.LZH")));
    EXPECT_TRUE(disabledDuringRun);
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_FALSE(window->progressWindow()->isVisible());
    EXPECT_TRUE(window->progressWindow()->windowTitle().endsWith(QStringLiteral(" 開催分の予想状況")))
        << window->progressWindow()->windowTitle().toStdString();
    EXPECT_TRUE(QFile::exists(ctx().paths.DataDir + QStringLiteral("20261205.DAT")));
    EXPECT_TRUE(QDir(ctx().paths.WorkDir).isEmpty());
    EXPECT_EQ(ctx().ImportedDay, QStringLiteral("20261205"));

    // The race card opens on the imported day; the frame shows it inside.
    QTest::mouseClick(window->SSCommand1(1), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    EXPECT_TRUE(ctx().ImportedDay.isEmpty());
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    screenshot(window.get(), QStringLiteral("MDIZenoMUR_card"));
}

TEST_F(MainWindowTest, OpenCardShowsTheImportedDayAndTheStatusBarSaysWhatWasImported) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    QTest::mouseClick(window->SSCommand1(1), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    EXPECT_TRUE(window->cardWindow()->currentRaceDate().isEmpty());
    nextFile = murData() + QStringLiteral("H261205.LZH");
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    EXPECT_EQ(window->cardWindow()->currentRaceDate(), QStringLiteral("20261205"));
    EXPECT_TRUE(ctx().ImportedDay.isEmpty());
    const QString note = window->statusBar()->currentMessage();
    EXPECT_TRUE(note.contains(QStringLiteral("H261205.LZH")) && note.contains(QStringLiteral("2026年12月05日")))
        << note.toStdString();
}

TEST_F(MainWindowTest, ClosingDuringARunWaitsForItThenCloses) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    nextFile = murData() + QStringLiteral("H261205.LZH");
    bool closedDuringRun = false;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!closedDuringRun && !window->SSCommand1(1)->isEnabled()) {
            closedDuringRun = true;
            window->close();
            EXPECT_TRUE(window->isVisible());  // not before the run has ended
        }
    });
    probe.start();
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    probe.stop();
    ASSERT_TRUE(closedDuringRun);
    EXPECT_TRUE(QFile::exists(ctx().paths.DataDir + QStringLiteral("20261205.DAT")));
    settle();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, AClosedCardWindowIsGone) {
    // The card closed by the deletion dialog, then the help: no hidden card comes back.
    QTest::mouseClick(window->SSCommand1(1), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    QTest::mouseClick(window->SSCommand1(2), Qt::LeftButton);
    auto* dialog = window->findChild<ui::frmDelFile*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->cardClosedNote()->isVisible()) << "the dialog says why the card went";
    screenshot(dialog, QStringLiteral("frmDelFile_card_closed"));
    click(dialog->backButton());
    window->menuAction(QStringLiteral("mnuHelp"))->trigger();
    settle();
    EXPECT_EQ(window->cardWindow(), nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
    EXPECT_FALSE(window->windowTitle().contains(QStringLiteral("出馬表")));

    // The card's own back button in the day view closes it for good as well.
    QTest::mouseClick(window->SSCommand1(1), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    click(window->cardWindow()->findChild<QPushButton*>(QStringLiteral("SSCommand2_8")));
    settle();
    EXPECT_EQ(window->cardWindow(), nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, HelpMenuListsHelpAndVersionBeforeTheWebPages) {
    auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuAbout"));
    ASSERT_NE(menu, nullptr);
    QStringList order;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) {
            order << a->objectName();
        }
    }
    EXPECT_EQ(order, (QStringList{QStringLiteral("mnuHelp"), QStringLiteral("mnuVer"), QStringLiteral("mnuGoHP"),
                                  QStringLiteral("mnuGoMurHP"), QStringLiteral("mnuGoWeb2HP")}));
}

TEST_F(MainWindowTest, SplitWindowDoesNotOpenForAnOldFormatArchive) {
    QFile old(murData() + QStringLiteral("HZ261205.LZH"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(writeArchive({{QStringLiteral("mur_den.DAT"), QByteArray(10, 'x')},
                            {QStringLiteral("mur_uma.DAT"), QByteArray(10, 'x')}}));
    old.close();
    nextFile = old.fileName();
    bool splitShown = false;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] { splitShown = splitShown || window->findChild<ui::frmSplit*>(); });
    probe.start();
    QTest::mouseClick(window->SSCommand1(3), Qt::LeftButton);
    probe.stop();
    ASSERT_EQ(home.prompter().texts().size(), 1);
    EXPECT_TRUE(home.prompter().texts()[0].startsWith(QStringLiteral("選択したＭＵＲ出馬表ファイルは、古い形式")));
    EXPECT_FALSE(splitShown);
    EXPECT_EQ(window->findChild<ui::frmSplit*>(), nullptr);
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(MainWindowTest, CancelledFileDialogDoesNothing) {
    nextFile.clear();
    QTest::mouseClick(window->SSCommand1(0), Qt::LeftButton);
    QTest::mouseClick(window->SSCommand1(3), Qt::LeftButton);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].selected, 1);  // the split preselects the split-file filter
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    EXPECT_TRUE(window->findChild<ui::frmSplit*>() == nullptr);
    EXPECT_TRUE(QDir(ctx().paths.DataDir).isEmpty());
}

TEST_F(MainWindowTest, SplitWritesTheSecondDayAndShowsBothDates) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    nextFile = murData() + QStringLiteral("HZ261205.LZH");
    window->menuAction(QStringLiteral("mnuG1cut"))->trigger();
    auto* split = window->findChild<ui::frmSplit*>();
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->statusLabel()->text(), QStringLiteral("分割作業は終了しました！"));
    EXPECT_TRUE(split->originalLabel()->text().startsWith(QStringLiteral("2026年")));
    EXPECT_FALSE(split->addedLabel()->text().isEmpty());
    EXPECT_TRUE(split->backButton()->isEnabled());
    EXPECT_TRUE(buttonsEnabled());
    screenshot(split, QStringLiteral("frmSplit"));
    const QStringList written = QDir(murData()).entryList({QStringLiteral("B*.LZH")}, QDir::Files);
    EXPECT_EQ(written.size(), 1);
    QTest::mouseClick(split->backButton(), Qt::LeftButton);
    EXPECT_FALSE(split->isVisible());
}

TEST_F(MainWindowTest, SplitOfAOneDayArchiveSaysSoAndClosesItsWindow) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    nextFile = murData() + QStringLiteral("H261205.LZH");
    QTest::mouseClick(window->SSCommand1(3), Qt::LeftButton);
    ASSERT_EQ(home.prompter().texts().size(), 1);
    EXPECT_TRUE(home.prompter().texts()[0].startsWith(QStringLiteral("この出馬表データは１日分しかありません。")));
    auto* split = window->findChild<ui::frmSplit*>();
    EXPECT_TRUE(split == nullptr || !split->isVisible());
    EXPECT_TRUE(QDir(murData()).entryList({QStringLiteral("B*.LZH")}, QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(ctx().paths.WorkDir).isEmpty());
    EXPECT_TRUE(buttonsEnabled());
}

TEST_F(MainWindowTest, OddsImportWritesTheOddsDayFile) {
    ASSERT_TRUE(writeSampleData(home.home(), {QStringLiteral("--days"), QStringLiteral("0")}));
    nextFile = murData() + QStringLiteral("j261205.lzh");
    window->menuAction(QStringLiteral("mnuConvMurOdds_0"))->trigger();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].filters[0].contains(QStringLiteral("J*.LZH")));
    EXPECT_TRUE(QFile::exists(ctx().paths.DataDir + QStringLiteral("MURODDS20261205.DAT")));
    EXPECT_TRUE(home.prompter().texts().isEmpty());
}

TEST_F(MainWindowTest, DateDialogCreatesTheDummyDay) {
    window->menuAction(QStringLiteral("HidukeHoryuuBet"))->trigger();
    auto* dialog = window->findChild<ui::frmHiduke*>();
    ASSERT_NE(dialog, nullptr);
    dialog->dateField()->setText(QStringLiteral("2001/13/01"));
    click(dialog->okButton());
    EXPECT_EQ(home.prompter().texts(),
              QStringList{QStringLiteral("「月」の書式が違います！\r\n") + kDummyDateRule});
    dialog->dateField()->setText(QStringLiteral("2001/9/3"));
    click(dialog->okButton());
    EXPECT_EQ(ctx().ImportedDay, QStringLiteral("20010903"));
    EXPECT_EQ(window->chosenDay(), QStringLiteral("20010903"));
    EXPECT_TRUE(QFile::exists(ctx().paths.DataDir + QStringLiteral("MUR20010903_1.DEN")));
    EXPECT_TRUE(home.prompter().texts().last().contains(QStringLiteral("ダミーの開催日を作成しました")));
}

// With the race card open, the new dummy day joins its day list at once and is the one shown;
// the same date again makes nothing and says so.
TEST_F(MainWindowTest, DummyDayJoinsTheOpenCardsDayList) {
    window->menuAction(QStringLiteral("mnuHyouji"))->trigger();
    ui::frmZenoMain* card = window->cardWindow();
    ASSERT_NE(card, nullptr);
    auto* days = card->findChild<QListWidget*>(QStringLiteral("dayList"));
    ASSERT_NE(days, nullptr);
    const int before = days->count();
    for (const bool first : {true, false}) {
        home.prompter().clear();
        window->menuAction(QStringLiteral("HidukeHoryuuBet"))->trigger();
        auto* dialog = window->findChild<ui::frmHiduke*>();
        ASSERT_NE(dialog, nullptr);
        dialog->dateField()->setText(QStringLiteral("2001/9/3"));
        click(dialog->okButton());
        settle();
        ASSERT_EQ(home.prompter().texts().size(), 1);
        EXPECT_EQ(home.prompter().texts().first().contains(QStringLiteral("作成しました")), first);
        EXPECT_EQ(days->count(), before + 1);
        EXPECT_EQ(card->currentRaceDate(), QStringLiteral("20010903"));
        EXPECT_TRUE(card->findChild<QLabel*>(QStringLiteral("dayViewHelp"))->text().contains(QStringLiteral("ダミー")));
    }
}

TEST_F(MainWindowTest, KeepHorseFileItemTogglesAndSaves) {
    QAction* uma = window->menuAction(QStringLiteral("mnuumaFhozon"));
    EXPECT_TRUE(uma->isCheckable());
    EXPECT_FALSE(uma->isChecked());
    uma->trigger();
    EXPECT_TRUE(ctx().settings.umaF);
    EXPECT_EQ(ctx().store.read(QStringLiteral("File"), QStringLiteral("umaF")), QStringLiteral("True"));
    uma->trigger();
    EXPECT_FALSE(ctx().settings.umaF);
    EXPECT_EQ(ctx().store.read(QStringLiteral("File"), QStringLiteral("umaF")), QStringLiteral("False"));
    // A stored True shows the check mark in the next run.
    home.reload();
    MDIZenoMUR next(ctx());
    EXPECT_FALSE(next.menuAction(QStringLiteral("mnuumaFhozon"))->isChecked());
    ctx().settings.umaF = true;
    MDIZenoMUR checked(ctx());
    EXPECT_TRUE(checked.menuAction(QStringLiteral("mnuumaFhozon"))->isChecked());
}

TEST_F(MainWindowTest, HelpAndWebPagesOpenInTheBrowser) {
    window->menuAction(QStringLiteral("mnuHelp"))->trigger();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].isLocalFile());
    QFile page(opened[0].toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    for (const char* command : {"解凍･予想", "既存ﾃﾞｰﾀの削除", "翌日分添付データ切出し", "データフォルダの設定"}) {
        EXPECT_TRUE(html.contains(QString::fromUtf8(command))) << command;
    }

    EXPECT_TRUE(ctx().store.SaveAppSetting(QStringLiteral("Web"), QStringLiteral("MurHP"), QStringLiteral("https://a.example/mur")).ok());
    window->menuAction(QStringLiteral("mnuGoHP"))->trigger();
    window->menuAction(QStringLiteral("mnuGoMurHP"))->trigger();
    window->menuAction(QStringLiteral("mnuGoWeb2HP"))->trigger();
    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened[1].toString(), MDIZenoMUR::webPageAddress(ctx().store, 0));
    EXPECT_EQ(opened[2].toString(), QStringLiteral("https://a.example/mur"));
    EXPECT_NE(opened[3], opened[1]);

    // A page that cannot be opened says so.
    EXPECT_TRUE(ctx().store.SaveAppSetting(QStringLiteral("Web"), QStringLiteral("Web2HP"), QStringLiteral("no address")).ok());
    window->menuAction(QStringLiteral("mnuGoWeb2HP"))->trigger();
    ASSERT_EQ(home.prompter().texts().size(), 1);
    EXPECT_TRUE(home.prompter().texts()[0].contains(QStringLiteral("no address")));
}

TEST_F(MainWindowTest, DialogsOpenFromTheirCommands) {
    QTest::mouseClick(window->SSCommand1(1), Qt::LeftButton);
    ASSERT_NE(window->cardWindow(), nullptr);
    // The folder settings close the race card first.
    window->menuAction(QStringLiteral("mnuOpt_Dir"))->trigger();
    EXPECT_EQ(window->cardWindow(), nullptr);
    auto* opt = window->findChild<ui::frmOpt1*>();
    ASSERT_NE(opt, nullptr);
    EXPECT_EQ(opt->field(0)->text() + u'/', ctx().settings.MurDataDir);
    EXPECT_EQ(opt->field(2)->text() + u'/', ctx().settings.BetOutDir);
    screenshot(window.get(), QStringLiteral("MDIZenoMUR"));
    opt->close();
    QTest::mouseClick(window->SSCommand1(2), Qt::LeftButton);
    EXPECT_NE(window->findChild<ui::frmDelFile*>(), nullptr);
}

TEST_F(MainWindowTest, ShutdownEmptiesTheWorkFolderAndClosesTheOtherWindows) {
    QDir().mkpath(ctx().paths.WorkDir + QStringLiteral("sub"));
    QFile f(ctx().paths.WorkDir + QStringLiteral("mur_den1.kd2"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    window->menuAction(QStringLiteral("mnuVer"))->trigger();
    QTest::mouseClick(window->SSCommand1(4), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QDir(ctx().paths.WorkDir).exists());
    EXPECT_TRUE(QDir(ctx().paths.WorkDir).isEmpty());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }
}

TEST(Splash, ShowsAndClosesByItselfWithoutBlocking) {
    ensureApplication();
    QPointer<ui::ZenoStartUP> splash = new ui::ZenoStartUP;
    splash->showFor(100);
    EXPECT_TRUE(splash->isVisible());
    screenshot(splash, QStringLiteral("ZenoStartUP"));
    QTest::qWait(300);
    settle();
    EXPECT_TRUE(splash.isNull() || !splash->isVisible());
}

// What main() does before its event loop: the session on the program folder and the main window
// shown with the race-card command focused; a second start on the same folder ends at once and
// silently.
TEST(DesktopStartTest, StartsTheMainWindowAndASecondInstanceEndsAtOnce) {
    ensureApplication();
    QTemporaryDir dir;
    const QStringList arguments = {QStringLiteral("zenomur"), QStringLiteral("--home"),
                                   dir.path() + QStringLiteral("/home"), QStringLiteral("--config"),
                                   dir.path() + QStringLiteral("/z.ini")};
    int exitCode = -1;
    auto first = ui::DesktopStart::start(arguments, exitCode);
    ASSERT_TRUE(first);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(first->window().isVisible());
    EXPECT_EQ(first->window().focusWidget(), first->window().SSCommand1(1));
    EXPECT_EQ(first->context().paths.AppPath, dir.path() + QStringLiteral("/home/"));
    EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/home/Work")).exists());

    exitCode = -1;
    EXPECT_FALSE(ui::DesktopStart::start(arguments, exitCode));
    EXPECT_EQ(exitCode, 0);
    first.reset();
    settle();
    EXPECT_TRUE(ui::DesktopStart::start(arguments, exitCode));
}

}  // namespace
}  // namespace zm::test
