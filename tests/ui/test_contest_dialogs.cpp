#include "../bets/bet_files.h"
#include "../card/day_builder.h"
#include "bets/pending_bet.h"
#include "export/tekichukai.h"
#include "support/test_home.h"
#include "ui/frmhiduke.h"
#include "ui/frmtekichukai.h"
#include "ui/frmvoterobosettei.h"
#include "ui/frmzenomain.h"
#include "ui/mdizenomur.h"
#include "ui_support.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::click;
using test::screenshot;

const QString kDay = u"20011014"_s;

class ContestDialogs : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }
    AppContext& ctx() { return home.ctx(); }
    QString betPath() { return PendingBetPath(ctx().paths, kDay); }
    test::TestHome home;
};

TEST_F(ContestDialogs, PostDialogListsTotalsAndWritesFileAndClipboard) {
    test::writeBytes(betPath(), test::betBytes({u"東京,11R,馬連  ,05-12,      ,  500円"_s,
                                                u"中山, 1R,枠連  ,  1-8,      , 1000円"_s}));
    ui::frmTekichukai dialog(ctx(), kDay);
    EXPECT_EQ(dialog.objectName(), u"frm的中会"_s);
    dialog.Form_Load();
    dialog.show();
    EXPECT_EQ(dialog.textArea()->toPlainText(),
              u"#,20011014,東京,11R,馬, 5-12,   500\n#,20011014,中山, 1R,枠, 1- 8,  1000\n"_s);
    EXPECT_EQ(dialog.countLabel()->text(), u"2"_s);
    EXPECT_EQ(dialog.stakeLabel()->text(), u"1,500"_s);
    screenshot(&dialog, u"frm的中会"_s);

    // The user edits the list; 再計算 counts what is there.
    dialog.textArea()->appendPlainText(u"#,20011014,京都, 5R,単,    5,  2000"_s);
    click(dialog.recountButton());
    EXPECT_EQ(dialog.countLabel()->text(), u"3"_s);
    EXPECT_EQ(dialog.stakeLabel()->text(), u"3,500"_s);

    click(dialog.wideCheck());
    click(dialog.fileButton());
    const QString path = TekichukaiFilePath(ctx().settings.OutPutDir, kDay);
    const QString file = fromSjis(test::readBytes(path));
    EXPECT_TRUE(file.contains(u"#,20011014,東京,11R,ワ, 5-12,   500\r\n"_s));
    EXPECT_TRUE(file.contains(u"     《 ３ベット  3,500円購入 》\r\n"_s));
    click(dialog.clipboardButton());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString(file).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_EQ(home.prompter().texts(), (QStringList{tekichukaiFileDoneMessage(path), kTekichukaiClipboardDone}));
}

TEST_F(ContestDialogs, PostDialogRefusesMoreThanThreeHundredBets) {
    QStringList lines;
    for (int i = 0; i < 301; ++i)
        lines << u"東京,11R,単勝  ,    5,      ,  100円"_s;
    test::writeBytes(betPath(), test::betBytes(lines));
    ui::frmTekichukai dialog(ctx(), kDay);
    dialog.Form_Load();
    EXPECT_TRUE(dialog.textArea()->toPlainText().isEmpty());
    EXPECT_EQ(home.prompter().texts(), QStringList{kTekichukaiTooMany});
}

TEST_F(ContestDialogs, ReadDialogPastesAndWritesWithFixedAmounts) {
    ui::frmReadTekichukai dialog(ctx(), kDay);
    EXPECT_EQ(dialog.objectName(), u"Read的中会"_s);
    dialog.show();
    QGuiApplication::clipboard()->clear();
    click(dialog.pasteButton());
    EXPECT_EQ(home.prompter().texts(), QStringList{u"クリップボード上にテキストがありません。"_s});
    QGuiApplication::clipboard()->setText(u"#,20011014,TKY,11R,U,5-12,500\n#,20011014,京都,1R,t,3,300\n#,20011014,京都,1R,t,3,150\n"_s);
    click(dialog.pasteButton());
    EXPECT_TRUE(dialog.textArea()->toPlainText().contains(u"TKY"_s));

    EXPECT_FALSE(dialog.fixedAmount(3)->isEnabled());
    click(dialog.fixedCheck(3));
    EXPECT_TRUE(dialog.fixedAmount(3)->isEnabled());
    dialog.fixedAmount(3)->setText(u"1250"_s);
    screenshot(&dialog, u"Read的中会"_s);
    home.prompter().answer(Answer::Yes);
    click(dialog.outputButton());
    EXPECT_EQ(dialog.fixedAmount(3)->text(), u"1200"_s);
    EXPECT_EQ(test::readLines(betPath()),
              (QStringList{u"東京,11R,馬連  ,05-12,      , 1200円"_s, u"京都, 1R,単勝  ,    3,      ,  300円"_s}));
    // The stake of 150 is no stake: its line is passed over and named.
    EXPECT_TRUE(home.prompter().texts().back().contains(u"150"_s));
    EXPECT_FALSE(home.prompter().unansweredLeft());
}

TEST_F(ContestDialogs, VoteRoboDialogShowsStoresAndWrites) {
    ctx().settings.Group = true;
    ctx().settings.Groupbetu = u"1"_s;
    ctx().settings.GroupOut = u"3"_s;
    ctx().settings.Touhyou = false;
    ctx().settings.T_Time = u"07:00"_s;
    ctx().settings.Sei = true;
    ctx().settings.Hantei = {true, false};
    ctx().settings.BetOutDir = ctx().settings.OutPutDir;
    ui::frmVoteRoboSettei dialog(ctx(), kDay);
    dialog.show();
    EXPECT_TRUE(dialog.groupCheck()->isChecked());
    EXPECT_TRUE(dialog.groupSet(1)->isChecked());
    EXPECT_EQ(dialog.groupOut()->currentText(), u"3"_s);
    EXPECT_FALSE(dialog.groupOut()->isEnabled());
    EXPECT_TRUE(dialog.voteTime(0)->isChecked());
    EXPECT_FALSE(dialog.oddsTiming(0)->isEnabled());
    EXPECT_TRUE(dialog.resultsTiming(1)->isChecked());
    click(dialog.oddsCheck());
    click(dialog.oddsTiming(1));
    click(dialog.oddsKind(2));
    click(dialog.weightsCheck());
    click(dialog.voteTime(1));
    screenshot(&dialog, u"frmVoteRoboSettei"_s);

    test::writeBytes(betPath(), test::betBytes({u"東京,11R,単勝,5,,100円"_s}));
    test::DayBuilder day(kDay);
    day.add(u"04"_s, 11).postTime = u"15:45"_s;
    day.write(ctx().paths.DataDir, false);
    home.prompter().answer(Answer::No);  // keep the pending bets
    click(dialog.outputButton());
    EXPECT_EQ(ctx().store.read(u"VoteRoboSetting"_s, u"Touhyou"_s), u"True"_s);
    EXPECT_EQ(ctx().store.read(u"VoteRoboSetting"_s, u"OddsSyutoku"_s), u"1"_s);
    EXPECT_EQ(ctx().store.read(u"VoteRoboSetting"_s, u"GetOdds"_s), u"2"_s);
    EXPECT_EQ(ctx().store.read(u"VoteRoboSetting"_s, u"Bataiju"_s), u"True"_s);
    const QStringList lines = test::readLines(ctx().settings.OutPutDir + kDay + u".lst"_s);
    EXPECT_EQ(lines.value(0), u"4 09:30:00 取得項目入力 東京 11R Odds：馬／ワ"_s);
    EXPECT_TRUE(lines.contains(u"4 15:35:30 投票"_s));
    EXPECT_TRUE(lines.contains(u"4 16:00:00 的中判定     東京 11R"_s));
}

TEST_F(ContestDialogs, MenuItemsNeedTheDay) {
    ui::MDIZenoMUR window(ctx());
    window.menuAction(u"mnuReadTekichukai"_s)->trigger();
    window.menuAction(u"mnuShoubakaiOut"_s)->trigger();
    EXPECT_EQ(home.prompter().texts(), (QStringList{kTekichukaiNoDay, u"出馬表画面から実行してください。"_s}));
    EXPECT_EQ(window.findChild<ui::frmReadTekichukai*>(), nullptr);

    window.menuAction(u"HidukeHoryuuBet"_s)->trigger();
    auto* date = window.findChild<ui::frmHiduke*>();
    ASSERT_NE(date, nullptr);
    date->dateField()->setText(u"2001/10/14"_s);
    click(date->okButton());
    ASSERT_EQ(window.chosenDay(), kDay);
    window.menuAction(u"mnuReadTekichukai"_s)->trigger();
    EXPECT_NE(window.findChild<ui::frmReadTekichukai*>(), nullptr);
    // No pending-bet file: nothing to post.
    home.prompter().clear();
    window.menuAction(u"mnuShoubakaiOut"_s)->trigger();
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoPurchaseFile});
    EXPECT_EQ(window.findChild<ui::frmTekichukai*>(), nullptr);
    window.menuAction(u"mnuVoteRoboOut"_s)->trigger();
    EXPECT_NE(window.findChild<ui::frmVoteRoboSettei*>(), nullptr);
}

// Yes to the VoteRobo delete question keeps the file's bytes as the backup; the card's 的中会投票
// button without a pending-bet file says there is none, as the command line does.
TEST_F(ContestDialogs, VoteRoboDeleteKeepsABackupAndThePostButtonNeedsBets) {
    ctx().settings.BetOutDir = ctx().settings.OutPutDir;
    test::DayBuilder day(kDay);
    day.add(u"04"_s, 11).postTime = u"15:45"_s;
    day.write(ctx().paths.DataDir);
    test::writeBytes(betPath(), test::betBytes({u"東京,11R,単勝,5,,100円"_s}));
    const QByteArray old = test::readBytes(betPath());
    ui::frmVoteRoboSettei dialog(ctx(), kDay);
    home.prompter().answer(Answer::Yes);
    click(dialog.outputButton());
    EXPECT_FALSE(QFile::exists(betPath()));
    EXPECT_EQ(test::readBytes(PendingBetBackupPath(ctx().paths, kDay)), old);

    ui::MDIZenoMUR window(ctx());
    window.show();
    window.menuAction(u"mnuHyouji"_s)->trigger();
    ui::frmZenoMain* card = window.cardWindow();
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(card->LoadDay(kDay));
    home.prompter().clear();
    click(card->findChild<QPushButton*>(u"SSCommand2_3"_s));
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoPurchaseFile});
    EXPECT_EQ(window.findChild<ui::frmTekichukai*>(), nullptr);
}

}  // namespace
}  // namespace zm
