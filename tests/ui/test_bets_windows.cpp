// The pending-bet windows: the bet output of a race opened from the race card, the maintenance
// menu of the main window, the odds-range delete and the totals.

#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "card/day_builder.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/race_model.h"
#include "support/pat_builders.h"
#include "support/test_home.h"
#include "ui/frmbetout.h"
#include "ui/frmhiduke.h"
#include "ui/frmhoryubetodds.h"
#include "ui/frmhoryuubethyouji.h"
#include "ui/frmvoterobosettei.h"
#include "ui/frmzenomain.h"
#include "ui/mdizenomur.h"
#include "ui/message_prompter.h"
#include "ui_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using Kind = ScriptedPrompter::Kind;
using ui::MDIZenoMUR;

const QString kDay = u"20010916"_s;

class BetWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        // 中山 (service code "05"): twelve races with picks, race 4 without bet selection.
        DayBuilder day(kDay);
        for (int race = 1; race <= 12; ++race) {
            day.add(u"05"_s, race, 16).picks = race != 4;
        }
        day.write(ctx().paths.DataDir);

        window = std::make_unique<MDIZenoMUR>(home.ctx());
        window->setUrlOpener([this](const QUrl& url) {
            opened << url;
            return true;
        });
        // Small enough for the offscreen screen, so that nothing is moved to stay on it.
        window->resize(790, 580);
        window->move(0, 0);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        window.reset();
        settle();
    }
    AppContext& ctx() { return home.ctx(); }
    ScriptedPrompter& prompter() { return home.prompter(); }
    QString betPath(const QString& day = kDay) { return PendingBetPath(ctx().paths, day); }

    void writeBets(const QStringList& lines, const QString& day = kDay) {
        QFile f(betPath(day));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(toSjis(lines.join(u"\r\n"_s) + u"\r\n"_s));
    }
    QByteArray betBytes() {
        QFile f(betPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList betLines() {
        QStringList lines = fromSjis(betBytes()).split(u"\r\n"_s);
        if (!lines.isEmpty() && lines.constLast().isEmpty()) {
            lines.removeLast();
        }
        return lines;
    }
    QAction* item(const char* name) { return window->menuAction(QString::fromUtf8(name)); }

    // The race card with the day loaded and race `raceNo` of 中山 on the card.
    ui::frmZenoMain* showRace(int raceNo) {
        item("mnuHyouji")->trigger();
        ui::frmZenoMain* card = window->cardWindow();
        EXPECT_NE(card, nullptr);
        EXPECT_TRUE(card->LoadDay(kDay));
        card->ShowRace(1, raceNo);
        EXPECT_TRUE(card->inCardView());
        return card;
    }
    ui::frmBETout* openBetOut(ui::frmZenoMain* card) {
        QTest::mouseClick(card->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
        auto* dialog = window->findChild<ui::frmBETout*>();
        EXPECT_NE(dialog, nullptr);
        if (dialog) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog));
        }
        return dialog;
    }
    static void retype(QLineEdit* field, const QString& text) {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

    TestHome home;
    std::unique_ptr<MDIZenoMUR> window;
    QList<QUrl> opened;
};

TEST_F(BetWindows, BetOutputOpensFilledFromThePicksAtTheLowerRightAndAppendsWhatPasses) {
    ctx().settings.BetTan = u"50"_s;  // below 100: shown as 100
    ctx().settings.BetUma = u"300"_s;
    ui::frmZenoMain* card = showRace(11);
    const auto& picks = card->recommendationList();
    ASSERT_GT(Val(picks[0]), 0) << "the race needs a win pick";
    ui::frmBETout* dialog = openBetOut(card);
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(dialog->windowTitle(), u"中山11Ｒ のＢＥＴ出力"_s);
    EXPECT_TRUE(dialog->isModal());
    EXPECT_EQ(dialog->dfoKingaku(0)->text(), u"100"_s);
    EXPECT_EQ(dialog->dfoKingaku(3)->text(), u"300"_s);
    EXPECT_TRUE(dialog->check(GroupWin, 0)->isChecked());
    EXPECT_EQ(Val(dialog->entry(GroupWin, 0)->text()), Val(picks[0]));
    EXPECT_EQ(dialog->stake(GroupWin, 0)->text(), u"100"_s);
    int pairRows = 0;
    for (int k = 0; k < 10; ++k) {
        const QString& pick = picks[static_cast<std::size_t>(k + 1)];
        if (pick.contains(u'-')) {
            ++pairRows;
            EXPECT_TRUE(dialog->check(GroupQuinella, k)->isChecked()) << k;
            EXPECT_EQ(dialog->entry(GroupQuinella, k)->text(), pick) << k;
            EXPECT_EQ(dialog->stake(GroupQuinella, k)->text(), u"300"_s) << k;
        } else if (pick.isEmpty()) {
            EXPECT_FALSE(dialog->check(GroupQuinella, k)->isChecked()) << k;
        }
    }
    EXPECT_GT(pairRows, 0) << "the race needs pair picks";
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(dialog->check(GroupPlace, i)->isChecked()) << i;
    }
    // Its lower right corner on the main window's.
    EXPECT_EQ(dialog->frameGeometry().bottomRight(), window->frameGeometry().bottomRight());
    screenshot(dialog, u"frmBETout"_s);

    // The user's changes: the win pick kept, a place bet with a new stake, one out of range, a
    // reversed bracket pair, the first pair retyped reversed and the other pairs unchecked, a
    // pair whose stake is too small, a new place default.
    const QString winHorse = QString::number(static_cast<int>(Val(picks[0])));
    click(dialog->check(GroupPlace, 0));
    QTest::keyClicks(dialog->entry(GroupPlace, 0), u"7"_s);
    QTest::keyClicks(dialog->stake(GroupPlace, 0), u"200"_s);
    click(dialog->check(GroupPlace, 1));
    QTest::keyClicks(dialog->entry(GroupPlace, 1), u"19"_s);
    QTest::keyClicks(dialog->stake(GroupPlace, 1), u"500"_s);
    if (!dialog->check(GroupBracket, 4)->isChecked()) {
        click(dialog->check(GroupBracket, 4));
    }
    retype(dialog->entry(GroupBracket, 4), u"81"_s);
    retype(dialog->stake(GroupBracket, 4), u"1000"_s);
    for (int k = 0; k < 10; ++k) {
        if (dialog->check(GroupQuinella, k)->isChecked()) {
            click(dialog->check(GroupQuinella, k));
        }
    }
    click(dialog->check(GroupQuinella, 0));
    retype(dialog->entry(GroupQuinella, 0), u"12-5"_s);
    click(dialog->check(GroupQuinella, 9));
    retype(dialog->entry(GroupQuinella, 9), u"3-4"_s);
    retype(dialog->stake(GroupQuinella, 9), u"99"_s);
    retype(dialog->dfoKingaku(1), u"250"_s);
    for (int k = 0; k < 5; ++k) {
        if (k != 4 && dialog->check(GroupBracket, k)->isChecked()) {
            click(dialog->check(GroupBracket, k));
        }
    }

    click(dialog->outputButton());
    settle();
    EXPECT_EQ(window->findChild<ui::frmBETout*>(), nullptr) << "the window closes after the output";
    EXPECT_EQ(betLines(), (QStringList{u"中山,11R,単勝,"_s + winHorse.rightJustified(5) + u",      ,  100円"_s,
                                       u"中山,11R,複勝,    7,      ,  200円"_s, u"中山,11R,枠連,  1-8,      , 1000円"_s,
                                       u"中山,11R,馬連,05-12,      ,  300円"_s}));
    EXPECT_EQ(ctx().store.read(u"PAT"_s, u"BetFuku"_s), u"250"_s);
    EXPECT_EQ(ctx().store.read(u"PAT"_s, u"BetTan"_s), u"100"_s);
    // One message: the count written and the two rows skipped, each named.
    ASSERT_EQ(prompter().texts().size(), 1);
    const QString report = prompter().texts().front();
    EXPECT_TRUE(report.startsWith(u"4 件の買い目"_s)) << report.toStdString();
    EXPECT_TRUE(report.contains(u"2 行"_s) && report.contains(u"「19」"_s) && report.contains(u"「3-4」"_s))
        << report.toStdString();
}

TEST_F(BetWindows, BetOutputWithoutCheckedRowsWritesNothingAndCloseKeepsTheDefaults) {
    ui::frmZenoMain* card = showRace(4);  // a race without bet selection: nothing is filled in
    ui::frmBETout* dialog = openBetOut(card);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"中山4Ｒ のＢＥＴ出力"_s);
    EXPECT_FALSE(dialog->check(GroupWin, 0)->isChecked());
    click(dialog->outputButton());
    settle();
    EXPECT_FALSE(QFile::exists(betPath()));

    dialog = openBetOut(card);
    ASSERT_NE(dialog, nullptr);
    retype(dialog->dfoKingaku(0), u"700"_s);
    click(dialog->closeButton());
    settle();
    EXPECT_EQ(window->findChild<ui::frmBETout*>(), nullptr);
    EXPECT_NE(ctx().store.read(u"PAT"_s, u"BetTan"_s), u"700"_s);
}

TEST_F(BetWindows, WithoutAFileEachCommandSaysSoAndOpensNothing) {
    window->setCurrentRaceDate(kDay);
    struct Case {
        const char* item;
        QString message;
        QString title;
    };
    const Case cases[] = {
        {"mnuBetFIleEdit", kNoPurchaseFile, kAppTitle},    {"mnuBetTougou", kNoPendingBets, kAppTitle},
        {"mnuBetSakujo", kNoPendingBets, kAppTitle},       {"mnuBetSort", kNoPendingBets, kAppTitle},
        {"mnuBetOddsTorikomi", kNoPendingBets, kAppTitle}, {"mnuBetOddsHanniSakujo", kNoPendingBets, kAppTitle},
        {"mnuBetHyouji", kNoPendingBets, kAppTitle},       {"mnuPatBetOut", kNoPurchaseFile, kPurchaseTitle},
    };
    for (const Case& c : cases) {
        prompter().clear();
        item(c.item)->trigger();
        settle();
        ASSERT_EQ(prompter().log().size(), 1u) << c.item;
        EXPECT_EQ(prompter().log()[0].text, c.message) << c.item;
        EXPECT_EQ(prompter().log()[0].title, c.title) << c.item;
    }
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(window->findChild<ui::frmHoryubetOdds*>(), nullptr);
    EXPECT_EQ(window->findChild<ui::frmHoryuuBetHyouji*>(), nullptr);
    EXPECT_FALSE(QFile::exists(betPath()));
}

TEST_F(BetWindows, RewritesAskTheirQuestionAndFollowTheAnswer) {
    const QStringList before = {u"中山,11R,馬連,05-12,      ,  500円"_s, u"中山, 1R,単勝,    3,      ,  100円"_s,
                                u"中山,11R,馬連,05-12,      ,  200円"_s};
    struct Case {
        const char* item;
        Answer answer;
        QString title;
        QStringList after;
    };
    const QString win = u"中山, 1R,単勝  ,    3,      ,   100円"_s;
    const Case cases[] = {
        {"mnuBetSort",
         Answer::Ok,
         u"保留ＢＥＴの並び替え"_s,
         {win, u"中山,11R,馬連  ,05-12,      ,   500円"_s, u"中山,11R,馬連  ,05-12,      ,   200円"_s}},
        {"mnuBetSakujo",
         Answer::Ok,
         u"保留ＢＥＴの重複買い目削除"_s,
         {u"中山,11R,馬連  ,05-12,      ,   500円"_s, win}},
        {"mnuBetTougou",
         Answer::Ok,
         u"保留ＢＥＴの重複買い目統合"_s,
         {u"中山,11R,馬連  ,05-12,      ,   700円"_s, win}},
        {"mnuBetSort", Answer::Cancel, u"保留ＢＥＴの並び替え"_s, before},
        {"mnuBetSakujo", Answer::Cancel, u"保留ＢＥＴの重複買い目削除"_s, before},
        {"mnuBetTougou", Answer::Cancel, u"保留ＢＥＴの重複買い目統合"_s, before},
    };
    window->setCurrentRaceDate(kDay);
    for (const Case& c : cases) {
        writeBets(before);
        prompter().clear();
        prompter().answer(c.answer);
        item(c.item)->trigger();
        EXPECT_EQ(betLines(), c.after) << c.item;
        // A sort that was done says so; everything else asks its question only.
        const bool sorted = QString::fromUtf8(c.item) == u"mnuBetSort"_s && c.answer == Answer::Ok;
        ASSERT_EQ(prompter().log().size(), sorted ? 2u : 1u) << c.item;
        if (sorted) {
            EXPECT_EQ(prompter().log()[1].text, u"保留ＢＥＴ（3ベット）を並び替えました。"_s);
        }
        EXPECT_EQ(prompter().log()[0].kind, Kind::OkCancel) << c.item;
        EXPECT_EQ(prompter().log()[0].title, c.title) << c.item;
        // The menu is back once the command has ended.
        EXPECT_TRUE(item(c.item)->isEnabled());
        EXPECT_TRUE(window->SSCommand1(0)->isEnabled());
    }
}

TEST_F(BetWindows, OddsImportFillsTheOddsFromPatsFiles) {
    const QString patDir = home.home() + u"/PAT/"_s;
    QDir().mkpath(patDir);
    ctx().settings.Ver = u"31"_s;
    ctx().settings.PatDir = patDir;
    QFile zo(patDir + u"ZO-"_s + zm::PatFileCode31(u"05", u"11") + u".JRA"_s);
    ASSERT_TRUE(zo.open(QIODevice::WriteOnly));
    zo.write(zoRecord<zm::Zo31Record>(PatRace{}));
    zo.close();
    writeBets({u"中山,11R,単勝,    5,      ,  100円"_s, u"中山,12R,単勝,    5,      ,  100円"_s});
    window->setCurrentRaceDate(kDay);
    item("mnuBetOddsTorikomi")->trigger();
    // The end says what was done: one bet of two found its odds.
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().startsWith(u"保留ＢＥＴ2ベットのうち、1ベットのオッズを取り込みました。"_s))
        << prompter().texts().front().toStdString();
    const QStringList lines = betLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(ParsePendingBetLine(lines[0])->Odds, u"   5.5"_s);
    EXPECT_EQ(lines[1], u"中山,12R,単勝  ,    5,      ,   100円"_s);
}

TEST_F(BetWindows, OddsRangeDeleteOpensAsStoredAndDeletesTheBetsInRange) {
    const QString section = u"保留BET"_s;
    EXPECT_TRUE(ctx().store.SaveAppSetting(section, u"式別削除2"_s, u"1"_s).ok());
    EXPECT_TRUE(ctx().store.SaveAppSetting(section, u"複勝オッズMIN"_s, u"2"_s).ok());
    EXPECT_TRUE(ctx().store.SaveAppSetting(section, u"複勝オッズMAX"_s, u"5"_s).ok());
    EXPECT_TRUE(ctx().store.SaveAppSetting(section, u"無オッズFLAG"_s, u"False"_s).ok());
    const QStringList before = {u"中山,11R,単勝,    1,   2.9,  100円"_s, u"中山,11R,単勝,    2,   3.0,  100円"_s,
                                u"中山,11R,単勝,    3,      ,  100円"_s, u"中山,11R,複勝,    4,   2.0,  100円"_s};
    writeBets(before);
    const QByteArray old = betBytes();
    window->setCurrentRaceDate(kDay);
    item("mnuBetOddsHanniSakujo")->trigger();
    auto* dialog = window->findChild<ui::frmHoryubetOdds*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"指定オッズ範囲の保留ＢＥＴ削除"_s);
    EXPECT_TRUE(dialog->deleteBox(1)->isChecked());
    EXPECT_EQ(dialog->minField(1)->text(), u"2"_s);
    EXPECT_EQ(dialog->maxField(1)->text(), u"5"_s);
    EXPECT_FALSE(dialog->deleteBox(0)->isChecked());
    EXPECT_EQ(dialog->minField(0)->text(), u"1"_s);
    EXPECT_EQ(dialog->maxField(0)->text(), u"2"_s);
    EXPECT_TRUE(dialog->noOddsAsOne()->isChecked());

    // No box checked: the message, and the dialog stays.
    click(dialog->deleteBox(1));
    click(dialog->startButton());
    EXPECT_EQ(prompter().texts(), QStringList{u"削除項目が設定されていません！"_s});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(betBytes(), old);

    // 単勝 from 1 to below 3, a bet without odds counted as odds 1.
    prompter().clear();
    click(dialog->deleteBox(0));
    retype(dialog->maxField(0), u"3"_s);
    screenshot(dialog, u"frmHoryubetOdds"_s);
    click(dialog->startButton());
    ASSERT_EQ(prompter().log().size(), 1u);
    EXPECT_EQ(prompter().log()[0].kind, Kind::Information);
    EXPECT_TRUE(prompter().log()[0].text.startsWith(u"削除対象になった保留ＢＥＴは「２ベット」ありました。"_s));
    EXPECT_TRUE(prompter().log()[0].text.contains(u"「~B20010916.BAK」"_s));
    settle();
    EXPECT_EQ(window->findChild<ui::frmHoryubetOdds*>(), nullptr) << "the dialog closes after the delete";
    EXPECT_EQ(betLines(),
              (QStringList{u"中山,11R,単勝  ,    2,   3.0,   100円"_s, u"中山,11R,複勝  ,    4,   2.0,   100円"_s}));
    QFile backup(PendingBetBackupPath(ctx().paths, kDay));
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), old);
    EXPECT_EQ(ctx().store.read(section, u"単勝オッズMAX"_s), u"3"_s);
    EXPECT_EQ(ctx().store.read(section, u"式別削除1"_s), u"1"_s);
    EXPECT_EQ(ctx().store.read(section, u"無オッズFLAG"_s), u"False"_s);

    // The choice made is not stored: the next dialog opens with the stored one.
    writeBets(before);
    item("mnuBetOddsHanniSakujo")->trigger();
    dialog = window->findChild<ui::frmHoryubetOdds*>();
    ASSERT_NE(dialog, nullptr);
    click(dialog->noOddsExcluded());
    prompter().clear();
    click(dialog->startButton());
    EXPECT_TRUE(prompter().log()[0].text.startsWith(u"削除対象になった保留ＢＥＴは「１ベット」"_s));
    settle();
    item("mnuBetOddsHanniSakujo")->trigger();
    dialog = window->findChild<ui::frmHoryubetOdds*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->noOddsAsOne()->isChecked());
    click(dialog->closeButton());
}

TEST_F(BetWindows, TotalsWindowShowsCountsAndAmountsOfEachType) {
    writeBets({u"中山,11R,単勝,    1,      ,  100円"_s, u""_s, u"中山,11R,単勝,    2,      , 1000円"_s,
               u"中山,11R,枠連,  1-8,      ,  500円"_s, u"中山,11R,馬連,05-12,      ,  300円"_s,
               u"中山,11R,拡大,05-12,      ,  200円"_s, u"中山,11R,ワイド,05-13,      ,   200円"_s});
    window->setCurrentRaceDate(kDay);
    item("mnuBetHyouji")->trigger();
    auto* dialog = window->findChild<ui::frmHoryuuBetHyouji*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"保留ＢＥＴの内訳"_s);
    EXPECT_EQ(dialog->heading()->text(), u"2001年 9月 16日 の保留ＢＥＴ内訳です…"_s);
    const char* counts[] = {"2", "0", "1", "1", "2"};
    const char* amounts[] = {"1,100", "0", "500", "300", "400"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(dialog->countLabel(k)->text(), QString::fromUtf8(counts[k])) << k;
        EXPECT_EQ(dialog->amountLabel(k)->text(), QString::fromUtf8(amounts[k])) << k;
    }
    EXPECT_EQ(dialog->totalCountLabel()->text(), u"6"_s);
    EXPECT_EQ(dialog->totalAmountLabel()->text(), u"2,300円"_s);
    EXPECT_TRUE(dialog->closeButton()->isDefault());
    screenshot(dialog, u"frmHoryuuBetHyouji"_s);
    click(dialog->closeButton());
    settle();
    EXPECT_EQ(window->findChild<ui::frmHoryuuBetHyouji*>(), nullptr);

    // A line of no known type stops the totals before the window opens, naming the line.
    writeBets({u"中山,11R,単勝,    1,      ,  100円"_s, u"中山,11R,三連,1-2-3,      ,  100円"_s});
    item("mnuBetHyouji")->trigger();
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(u"2 行目「中山,11R,三連"_s)) << prompter().texts().front().toStdString();
    EXPECT_EQ(window->findChild<ui::frmHoryuuBetHyouji*>(), nullptr);
}

TEST_F(BetWindows, EditOpensTheFileWithTheDesktopsApplication) {
    writeBets({u"中山,11R,単勝,    1,      ,  100円"_s});
    window->setCurrentRaceDate(kDay);
    item("mnuBetFIleEdit")->trigger();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(betPath())});
    EXPECT_TRUE(prompter().log().empty());
}

TEST_F(BetWindows, PurchaseFilesFromTheMenuAndFromTheRaceCard) {
    const QStringList bets = {u"中山,11R,単勝,    1,      ,  100円"_s, u"中山,11R,馬連,    3-12,      ,  100円"_s};
    writeBets(bets);
    const QString firstFile = ctx().settings.BetOutDir + kDay + u"_1.BET"_s;

    // From the race card: loading the day makes it the current race day.
    ui::frmZenoMain* card = showRace(11);
    prompter().answer(Answer::No);
    QTest::mouseClick(card->findChild<QPushButton*>(u"SSCommand2_6"_s), Qt::LeftButton);
    ASSERT_EQ(prompter().log().size(), 2u);
    EXPECT_EQ(prompter().log()[0].text, u"2BET（1ﾌｧｲﾙ）出力しました。"_s);
    EXPECT_EQ(prompter().log()[0].title, kPurchaseTitle);
    EXPECT_EQ(prompter().log()[1].kind, Kind::YesNo);
    EXPECT_EQ(prompter().log()[1].text, u"保留ＢＥＴファイルを削除しますか？"_s);
    EXPECT_EQ(prompter().log()[1].title, kPurchaseTitle);
    EXPECT_TRUE(QFile::exists(firstFile));
    EXPECT_TRUE(QFile::exists(betPath())) << "No keeps the pending-bet file";

    // From the menu: the old purchase file is counted, Yes deletes the pending-bet file.
    prompter().clear();
    prompter().answer(Answer::Yes);
    item("mnuPatBetOut")->trigger();
    ASSERT_EQ(prompter().log().size(), 2u);
    EXPECT_EQ(prompter().log()[0].text, u"既存のBETﾌｧｲﾙ（1ﾌｧｲﾙ）を削除しました。\r\n2BET（1ﾌｧｲﾙ）出力しました。"_s);
    EXPECT_FALSE(QFile::exists(betPath()));
    QFile out(firstFile);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_TRUE(fromSjis(out.readAll()).contains(u"03-12"_s));
}

TEST_F(BetWindows, TheDayChosenInTheDateDialogIsTheDayOfTheCommands) {
    item("HidukeHoryuuBet")->trigger();
    auto* dateDialog = window->findChild<ui::frmHiduke*>();
    ASSERT_NE(dateDialog, nullptr);
    dateDialog->dateField()->setText(u"2001/9/3"_s);
    click(dateDialog->okButton());
    settle();
    writeBets({u"札幌, 1R,単勝,    1,      ,  100円"_s}, u"20010903"_s);
    item("mnuBetHyouji")->trigger();
    auto* totals = window->findChild<ui::frmHoryuuBetHyouji*>();
    ASSERT_NE(totals, nullptr);
    EXPECT_EQ(totals->heading()->text(), u"2001年 9月 3日 の保留ＢＥＴ内訳です…"_s);
}

// The question before the pending-bet file is deleted has No as its default answer: Enter keeps
// the file.
TEST_F(BetWindows, DeleteQuestionOfThePurchaseFilesDefaultsToNo) {
    ui::MessageBoxPrompter boxes(window.get());
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->windowTitle(), kPurchaseTitle);
        EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        EXPECT_NE(box->button(QMessageBox::Yes), nullptr);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(boxes.confirmYesNo(u"保留ＢＥＴファイルを削除しますか？"_s, kPurchaseTitle));
    EXPECT_TRUE(seen);
}

// Fresh settings have no output group: the dialog shows group 1, the group the schedule uses.
TEST_F(BetWindows, VoteRoboDialogShowsGroupOneWhenNoneWasChosen) {
    ctx().settings.GroupOut.clear();
    ui::frmVoteRoboSettei dialog(ctx(), kDay);
    const auto* group = dialog.findChild<QComboBox*>(u"cmbGroupOut"_s);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->currentText(), u"1"_s);
    EXPECT_EQ(VoteRoboOptionsOf(ctx().settings).groupOut, u"1"_s);
}

// Bracket rows take two brackets written together or joined by a dash; a row that is no pair
// of brackets is named in the report, never dropped without a word.
TEST_F(BetWindows, BracketRowsTakeBothFormsAndNameTheRowsTheySkip) {
    ui::frmZenoMain* card = showRace(11);
    ui::frmBETout* dialog = openBetOut(card);
    ASSERT_NE(dialog, nullptr);
    for (BetGroup g : {GroupWin, GroupPlace, GroupBracket, GroupQuinella}) {
        for (int i = 0; i < kBetGroupRows[static_cast<std::size_t>(g)]; ++i) {
            if (dialog->check(g, i)->isChecked()) {
                click(dialog->check(g, i));
            }
        }
    }
    const char* typed[] = {"1-2", "81", "9-", "99", "3-3"};
    for (int i = 0; i < 5; ++i) {
        click(dialog->check(GroupBracket, i));
        retype(dialog->entry(GroupBracket, i), QString::fromUtf8(typed[i]));
        retype(dialog->stake(GroupBracket, i), u"200"_s);
    }
    EXPECT_EQ(dialog->entry(GroupBracket, 0)->text(), u"1-2"_s) << "the whole pair is kept as typed";
    click(dialog->outputButton());
    settle();
    EXPECT_EQ(betLines(), (QStringList{u"中山,11R,枠連,  1-2,      ,  200円"_s, u"中山,11R,枠連,  1-8,      ,  200円"_s,
                                       u"中山,11R,枠連,  3-3,      ,  200円"_s}));
    ASSERT_EQ(prompter().texts().size(), 1);
    const QString report = prompter().texts().front();
    EXPECT_TRUE(report.startsWith(u"3 件の買い目"_s) && report.contains(u"2 行"_s) && report.contains(u"「9-」"_s) &&
                report.contains(u"「99」"_s))
        << report.toStdString();
}

// A range whose upper bound is not above its lower one is refused as typed: nothing is stored
// or deleted and the dialog stays.
TEST_F(BetWindows, ReversedOddsRangeIsRefused) {
    const QString section = u"保留BET"_s;
    writeBets({u"中山,11R,単勝,    1,   2.9,  100円"_s, u"中山,11R,単勝,    2,   7.0,  100円"_s});
    const QByteArray old = betBytes();
    window->setCurrentRaceDate(kDay);
    struct Case {
        const char* min;
        const char* max;
    };
    for (const Case& c : {Case{"5", "2"}, Case{"5", "5"}, Case{"3.4", "3.2"}}) {
        item("mnuBetOddsHanniSakujo")->trigger();
        auto* dialog = window->findChild<ui::frmHoryubetOdds*>();
        ASSERT_NE(dialog, nullptr);
        if (!dialog->deleteBox(0)->isChecked()) {
            click(dialog->deleteBox(0));
        }
        retype(dialog->minField(0), QString::fromUtf8(c.min));
        retype(dialog->maxField(0), QString::fromUtf8(c.max));
        prompter().clear();
        click(dialog->startButton());
        ASSERT_EQ(prompter().log().size(), 1u) << c.min << "-" << c.max;
        EXPECT_EQ(prompter().log()[0].kind, Kind::Warning);
        EXPECT_TRUE(prompter().log()[0].text.startsWith(u"単勝のオッズ範囲「"_s)) << prompter().log()[0].text.toStdString();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), dialog->maxField(0));
        EXPECT_EQ(betBytes(), old);
        EXPECT_NE(ctx().store.read(section, u"単勝オッズMIN"_s), QString::fromUtf8(c.min));
        click(dialog->closeButton());
        settle();
    }
}

TEST_F(BetWindows, EditWithoutAnApplicationForTextSaysHowToSetOne) {
    writeBets({u"中山,11R,単勝,    1,      ,  100円"_s});
    window->setCurrentRaceDate(kDay);
    window->setUrlOpener([](const QUrl&) { return false; });
    item("mnuBetFIleEdit")->trigger();
    ASSERT_EQ(prompter().texts().size(), 1);
    EXPECT_TRUE(prompter().texts().front().contains(u"既定のアプリケーション"_s));
}

}  // namespace
}  // namespace zm::test
