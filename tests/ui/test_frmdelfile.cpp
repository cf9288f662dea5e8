// The deletion dialog: its list, its messages and its buttons.

#include "support/test_home.h"
#include "ui/frmdelfile.h"
#include "ui_support.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

class DelFileTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
    void touch(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    void addDay(const QString& day) {
        touch(home.ctx().paths.DataDir + day + QStringLiteral(".DAT"));
        touch(home.ctx().paths.DataDir + QStringLiteral("MUR") + day + QStringLiteral("_1.DEN"));
        touch(home.ctx().settings.OutPutDir + QStringLiteral("W") + day + QStringLiteral(".TXT"));
    }
    TestHome home;
};

TEST_F(DelFileTest, EmptyListRefusesBothDeletes) {
    ui::frmDelFile dialog(home.ctx());
    dialog.show();
    EXPECT_EQ(dialog.dayList()->count(), 0);
    click(dialog.deleteButton());
    click(dialog.deleteAllButton());
    EXPECT_EQ(home.prompter().texts(),
              (QStringList{QStringLiteral("ファイルがありません！"), QStringLiteral("ファイルがありません！")}));
}

TEST_F(DelFileTest, DeletesTheSelectedDaysAndRebuildsTheList) {
    addDay(QStringLiteral("20261128"));
    addDay(QStringLiteral("20261129"));
    addDay(QStringLiteral("20261205"));
    touch(home.ctx().paths.DataDir + QStringLiteral("20261206.DAT"));  // no day file: not listed
    ui::frmDelFile dialog(home.ctx());
    dialog.show();
    ASSERT_EQ(dialog.dayList()->count(), 3);
    EXPECT_EQ(dialog.dayList()->item(0)->text(), QStringLiteral("2026年12月05日(土)"));  // newest first, as the card
    screenshot(&dialog, QStringLiteral("frmDelFile"));

    click(dialog.deleteButton());
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("ファイルが選択されていません！")});

    home.prompter().clear();
    // Clicking selects without clearing the other selections.
    for (int row : {0, 2}) {
        QListWidget* list = dialog.dayList();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    }
    // Nothing goes without a yes: Cancel keeps every day.
    home.prompter().answer(Answer::Cancel);
    click(dialog.deleteButton());
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("2日分のデータを削除します。よろしいですか？")});
    EXPECT_EQ(home.prompter().log().back().kind, ScriptedPrompter::Kind::OkCancel);
    EXPECT_EQ(dialog.days().size(), 3);
    EXPECT_TRUE(QFile::exists(home.ctx().settings.OutPutDir + QStringLiteral("W20261128.TXT")));

    home.prompter().clear();
    home.prompter().answer(Answer::Ok);
    click(dialog.deleteButton());
    EXPECT_EQ(home.prompter().texts(), (QStringList{QStringLiteral("2日分のデータを削除します。よろしいですか？"),
                                                    QStringLiteral("2日分のデータを削除しました。")}));
    EXPECT_EQ(dialog.days(), QStringList{QStringLiteral("20261129")});
    EXPECT_FALSE(QFile::exists(home.ctx().settings.OutPutDir + QStringLiteral("W20261128.TXT")));
    EXPECT_TRUE(QFile::exists(home.ctx().settings.OutPutDir + QStringLiteral("W20261129.TXT")));
    EXPECT_TRUE(QFile::exists(home.ctx().paths.DataDir + QStringLiteral("20261206.DAT")));

    home.prompter().clear();
    home.prompter().answer(Answer::Ok);
    click(dialog.deleteAllButton());
    EXPECT_EQ(home.prompter().texts(), (QStringList{QStringLiteral("1日分のデータを削除します。よろしいですか？"),
                                                    QStringLiteral("1日分のデータを削除しました。")}));
    EXPECT_EQ(dialog.dayList()->count(), 0);

    click(dialog.backButton());
    EXPECT_FALSE(dialog.isVisible());
}

// Enter presses the focused button as Space does; in the list it presses nothing.
TEST_F(DelFileTest, EnterPressesTheFocusedButtonOnly) {
    addDay(QStringLiteral("20261205"));
    ui::frmDelFile dialog(home.ctx());
    dialog.show();
    QListWidget* list = dialog.dayList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    struct Case {
        QPushButton* button;
        Qt::Key key;
    };
    for (const Case& c : {Case{dialog.deleteButton(), Qt::Key_Return}, Case{dialog.deleteButton(), Qt::Key_Enter},
                          Case{dialog.deleteAllButton(), Qt::Key_Return}}) {
        home.prompter().clear();
        home.prompter().answer(Answer::Cancel);
        c.button->setFocus();
        QTest::keyClick(c.button, c.key);
        EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("1日分のデータを削除します。よろしいですか？")});
    }
    EXPECT_EQ(dialog.days().size(), 1);
    // Its guidance never breaks inside a word: the lines are broken by hand.
    auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->wordWrap());
    EXPECT_FALSE(dialog.cardClosedNote()->isVisible()) << "opened on its own, no card was closed";
}

}  // namespace
}  // namespace zm::test
