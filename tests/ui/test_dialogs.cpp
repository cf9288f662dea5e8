// The option dialogs, the folder picker, the prediction style, the date dialog and the about
// box, driven through their real buttons.

#include "support/test_home.h"
#include "ui/frmabout.h"
#include "ui/frmfolder.h"
#include "ui/frmhiduke.h"
#include "ui/frmopt1.h"
#include "ui/frmopttxt.h"
#include "ui/frmpatoption.h"
#include "ui/frmyosouout.h"
#include "ui_support.h"
#include "zenomur_version.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using ui::frmAbout;
using ui::frmFOLDER;
using ui::frmHiduke;
using ui::frmOpt1;
using ui::frmOptTxt;
using ui::frmPatOption;
using ui::frmYosouOut;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
    AppContext& ctx() { return home.ctx(); }
    QString folder(const QString& name) {
        const QString path = home.home() + u'/' + name;
        QDir().mkpath(path);
        return path;
    }
    QString stored(const char* section, const char* key) {
        return ctx().store.read(QString::fromUtf8(section), QString::fromUtf8(key));
    }
    TestHome home;
};

// --- folder settings ---------------------------------------------------------------------

TEST_F(DialogTest, FolderDialogRefusesEmptyAndMissingFoldersAndSavesNothing) {
    const QString a = folder(QStringLiteral("a"));
    const QString missing = home.home() + QStringLiteral("/missing");
    struct Case {
        QString fields[3];
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("  "), a, a}, QStringLiteral("フォルダ名が設定されていません！")},
        {{a, QString(), a}, QStringLiteral("フォルダ名が設定されていません！")},
        {{a, a, missing}, QStringLiteral("フォルダ名「") + missing + QStringLiteral("」は存在しません！")},
        {{missing + u'/', a, a}, QStringLiteral("フォルダ名「") + missing + QStringLiteral("」は存在しません！")},
    };
    const QString before = stored("Folder", "MurDataDir");
    for (const Case& c : cases) {
        home.prompter().clear();
        frmOpt1 dialog(ctx());
        dialog.show();
        for (int i = 0; i < 3; ++i) {
            dialog.field(i)->setText(c.fields[i]);
        }
        click(dialog.okButton());
        EXPECT_EQ(home.prompter().texts(), QStringList{c.message}) << c.message.toStdString();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(stored("Folder", "MurDataDir"), before);
        EXPECT_TRUE(stored("PAT", "BetOutDir").isEmpty());
    }
}

TEST_F(DialogTest, FolderDialogSavesEachFolderWithOneTrailingSlash) {
    const QString a = folder(QStringLiteral("arc")), b = folder(QStringLiteral("out")), c = folder(QStringLiteral("bet"));
    frmOpt1 dialog(ctx());
    dialog.show();
    // Fields come filled from the settings, without the trailing "/".
    EXPECT_EQ(dialog.field(0)->text() + u'/', ctx().settings.MurDataDir);
    screenshot(&dialog, QStringLiteral("frmOpt1"));
    dialog.field(0)->setText(a + u'/');
    dialog.field(1)->setText(QStringLiteral("  ") + b + QStringLiteral("  "));
    dialog.field(2)->setText(c);
    click(dialog.okButton());
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored("Folder", "MurDataDir"), a + u'/');
    EXPECT_EQ(stored("Folder", "OutPutDir"), b + u'/');
    EXPECT_EQ(stored("PAT", "BetOutDir"), c + u'/');
    EXPECT_EQ(ctx().settings.MurDataDir, a + u'/');
    EXPECT_EQ(ctx().settings.OutPutDir, b + u'/');
    EXPECT_EQ(ctx().settings.BetOutDir, c + u'/');
}

TEST_F(DialogTest, FolderDialogCancelKeepsTheSettings) {
    const QString before = ctx().settings.MurDataDir;
    frmOpt1 dialog(ctx());
    dialog.show();
    dialog.field(0)->setText(folder(QStringLiteral("x")));
    click(dialog.cancelButton());
    EXPECT_EQ(ctx().settings.MurDataDir, before);
    EXPECT_EQ(stored("Folder", "MurDataDir"), before);
}

TEST_F(DialogTest, BrowseOpensThePickerBoundToItsField) {
    frmOpt1 dialog(ctx());
    dialog.show();
    const QString target = folder(QStringLiteral("picked"));
    click(dialog.browseButton(1));
    auto* picker = dialog.findChild<frmFOLDER*>();
    ASSERT_NE(picker, nullptr);
    screenshot(picker, QStringLiteral("frmFOLDER"));
    picker->folderText()->setText(target);
    click(picker->okButton());
    EXPECT_EQ(dialog.field(1)->text(), target);
    EXPECT_NE(dialog.field(0)->text(), target);
}

// --- folder picker -----------------------------------------------------------------------

TEST_F(DialogTest, FolderPickerChecksItsText) {
    const QString existing = folder(QStringLiteral("exists"));
    struct Case {
        QString text;
        QString message;  // empty: accepted
        QString written;
    };
    const Case cases[] = {
        {QStringLiteral("   "), QStringLiteral("フォルダ名が記載されていません。やり直してください。"), QString()},
        {home.home() + QStringLiteral("/nope"), QStringLiteral("記載したフォルダは存在しません！ 設定し直してください。"),
         QString()},
        {existing + u'/', QString(), existing},
        {QStringLiteral(" ") + existing, QString(), existing},
    };
    for (const Case& c : cases) {
        home.prompter().clear();
        QLineEdit field(QStringLiteral("before"));
        frmFOLDER picker(ctx(), &field, QString());
        picker.show();
        picker.folderText()->setText(c.text);
        click(picker.okButton());
        if (c.message.isEmpty()) {
            EXPECT_TRUE(home.prompter().texts().isEmpty());
            EXPECT_EQ(field.text(), c.written);
            EXPECT_FALSE(picker.isVisible());
        } else {
            EXPECT_EQ(home.prompter().texts(), QStringList{c.message});
            EXPECT_EQ(field.text(), QStringLiteral("before"));
            EXPECT_TRUE(picker.isVisible());
        }
    }
}

TEST_F(DialogTest, FolderPickerEnterActsAsOkAndCancelLeavesTheField) {
    const QString existing = folder(QStringLiteral("enter"));
    QLineEdit field(QStringLiteral("before"));
    {
        frmFOLDER picker(ctx(), &field, existing);
        picker.show();
        EXPECT_EQ(picker.folderText()->text(), existing);  // starts in the caller's folder
        click(picker.cancelButton());
        EXPECT_EQ(field.text(), QStringLiteral("before"));
    }
    frmFOLDER picker(ctx(), &field, QString());
    picker.show();
    picker.folderText()->setText(existing);
    QTest::keyClick(picker.folderText(), Qt::Key_Return);
    EXPECT_EQ(field.text(), existing);
}

TEST_F(DialogTest, FolderPickerOffersTheRootAndFollowsTheChosenDrive) {
    QLineEdit field;
    frmFOLDER picker(ctx(), &field, folder(QStringLiteral("d")));
    picker.show();
    QComboBox* drives = picker.driveList();
    const int root = drives->findText(QStringLiteral("/"));
    ASSERT_GE(root, 0);
    if (drives->count() < 2) {
        GTEST_SKIP() << "only one file-system root here";
    }
    const int other = drives->currentIndex() == root ? (root + 1) % drives->count() : drives->currentIndex();
    for (int index : {other, root}) {
        drives->setCurrentIndex(index);
        EXPECT_EQ(picker.folderText()->text(), drives->itemText(index));
    }
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    click(picker.okButton());
    EXPECT_EQ(field.text(), QStringLiteral("/"));
}

// --- PAT settings ------------------------------------------------------------------------

TEST_F(DialogTest, PatDialogShowsTheStoredGeneration) {
    const std::pair<QString, int> cases[] = {{QStringLiteral("95"), 0}, {QStringLiteral("31"), 1},
                                             {QStringLiteral("98"), 2}, {QStringLiteral("FHDUEL"), 3},
                                             {QString(), 0},            {QStringLiteral("97"), 0}};
    for (const auto& [ver, choice] : cases) {
        ctx().settings.Ver = ver;
        frmPatOption dialog(ctx());
        EXPECT_TRUE(dialog.choice(choice)->isChecked()) << ver.toStdString();
    }
}

TEST_F(DialogTest, PatCheckBoxEnablesTheChoicesAndSetsTheFlagAtOnce) {
    ctx().settings.PatOpt = false;
    frmPatOption dialog(ctx());
    dialog.show();
    EXPECT_FALSE(dialog.choice(0)->isEnabled());
    EXPECT_FALSE(dialog.folderField()->isEnabled());
    EXPECT_FALSE(dialog.browseButton()->isEnabled());
    click(dialog.patCheck());
    EXPECT_TRUE(ctx().settings.PatOpt);
    EXPECT_TRUE(dialog.choice(3)->isEnabled());
    EXPECT_TRUE(dialog.folderField()->isEnabled());
    screenshot(&dialog, QStringLiteral("frmPatOption"));
    // Leaving without OK puts the flag back: the store still says False.
    click(dialog.cancelButton());
    EXPECT_FALSE(ctx().settings.PatOpt);
    EXPECT_TRUE(stored("PAT", "PatOpt").isEmpty());
}

TEST_F(DialogTest, PatOkSavesGenerationFolderAndFlag) {
    const QString pat = folder(QStringLiteral("pat"));
    frmPatOption dialog(ctx());
    dialog.show();
    click(dialog.patCheck());
    click(dialog.choice(2));
    dialog.folderField()->setText(pat + u'/');
    click(dialog.okButton());
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    EXPECT_EQ(stored("PAT", "Ver"), QStringLiteral("98"));
    EXPECT_EQ(stored("PAT", "PatDir"), pat + u'/');
    EXPECT_EQ(stored("PAT", "PatOpt"), QStringLiteral("True"));
    EXPECT_EQ(ctx().settings.PatDir, pat + u'/');
}

TEST_F(DialogTest, PatOkWithABadFolderKeepsTheDialogAndSavesOnlyTheGeneration) {
    const QString missing = home.home() + QStringLiteral("/nopat");
    const std::pair<QString, QString> cases[] = {
        {QString(), QStringLiteral("「PAT」のフォルダ名が設定されていません！")},
        {missing, QStringLiteral("フォルダ名「") + missing + QStringLiteral("」は存在しません！")},
    };
    for (const auto& [text, message] : cases) {
        home.prompter().clear();
        frmPatOption dialog(ctx());
        dialog.show();
        if (!dialog.patCheck()->isChecked()) {
            click(dialog.patCheck());
        }
        click(dialog.choice(1));
        dialog.folderField()->setText(text);
        click(dialog.okButton());
        EXPECT_EQ(home.prompter().texts(), QStringList{message});
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(stored("PAT", "Ver"), QStringLiteral("31"));
        EXPECT_TRUE(stored("PAT", "PatDir").isEmpty());
        EXPECT_TRUE(stored("PAT", "PatOpt").isEmpty());
    }
}

TEST_F(DialogTest, PatOkUntickedSavesOnlyTheFlag) {
    ctx().settings.PatOpt = true;
    frmPatOption dialog(ctx());
    dialog.show();
    click(dialog.patCheck());  // clear it
    dialog.folderField()->setText(QString());
    click(dialog.okButton());
    EXPECT_TRUE(home.prompter().texts().isEmpty());
    EXPECT_EQ(stored("PAT", "PatOpt"), QStringLiteral("False"));
    EXPECT_TRUE(stored("PAT", "Ver").isEmpty());
    EXPECT_FALSE(ctx().settings.PatOpt);
}

// --- text outputs, prediction style ------------------------------------------------------

TEST_F(DialogTest, TextOutputBoxesMapToTheirKeys) {
    const char* keys[4] = {"MurOut", "DuelOut", "MurTextOut", "DenCsvOut"};
    for (int ticked = 0; ticked < 4; ++ticked) {
        frmOptTxt dialog(ctx());
        dialog.show();
        for (int i = 0; i < 4; ++i) {
            dialog.check(i)->setChecked(i == ticked);
        }
        if (ticked == 0) {
            screenshot(&dialog, QStringLiteral("frmOptTxt"));
        }
        click(dialog.okButton());
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(stored("File", keys[i]), i == ticked ? QStringLiteral("True") : QStringLiteral("False"))
                << keys[i] << " with box " << ticked;
        }
    }
    EXPECT_TRUE(ctx().settings.DenCsvOut);
    EXPECT_FALSE(ctx().settings.MurOut);
}

TEST_F(DialogTest, TextOutputCancelSavesNothing) {
    frmOptTxt dialog(ctx());
    dialog.show();
    dialog.check(1)->setChecked(true);
    EXPECT_EQ(dialog.cancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    click(dialog.cancelButton());
    EXPECT_TRUE(stored("File", "DuelOut").isEmpty());
    EXPECT_FALSE(ctx().settings.DuelOut);
}

TEST_F(DialogTest, PredictionStyleShowsAndStoresTheIndex) {
    ctx().settings.Yosou = 5;
    frmYosouOut dialog(ctx());
    dialog.show();
    EXPECT_TRUE(dialog.option(5)->isChecked());
    EXPECT_EQ(dialog.option(8)->text(), QStringLiteral("おまかせ予想(予想オッズが必要)"));
    screenshot(&dialog, QStringLiteral("frmYosouOut"));
    click(dialog.option(8));
    click(dialog.okButton());
    EXPECT_EQ(stored("UserInfo", "Yosou"), QStringLiteral("8"));
    EXPECT_EQ(ctx().settings.Yosou, 8);
}

// --- date dialog, about ------------------------------------------------------------------

TEST_F(DialogTest, DateDialogPresetsTheNearestRaceDayAndStaysOpenOnRefusal) {
    QStringList typed;
    bool accept = false;
    // Wednesday 2001-09-05: the Sunday before.
    frmHiduke dialog(
        [&](const QString& t) {
            typed << t;
            return accept;
        },
        QDate(2001, 9, 5));
    dialog.show();
    EXPECT_EQ(dialog.dateField()->text(), QStringLiteral("2001/09/02"));
    screenshot(&dialog, QStringLiteral("frmHiduke"));
    dialog.dateField()->setText(QStringLiteral("2001/9/3"));
    click(dialog.okButton());
    EXPECT_TRUE(dialog.isVisible());
    accept = true;
    click(dialog.okButton());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(typed, (QStringList{QStringLiteral("2001/9/3"), QStringLiteral("2001/9/3")}));
}

TEST_F(DialogTest, AboutShowsTheVersionAndTheSystemInformation) {
    frmAbout dialog(ctx());
    dialog.show();
    EXPECT_TRUE(dialog.versionLabel()->text().contains(QStringLiteral(ZENOMUR_VERSION)));
    screenshot(&dialog, QStringLiteral("frmAbout"));
    click(dialog.sysInfoButton());
    ASSERT_EQ(home.prompter().texts().size(), 1);
    const QString info = home.prompter().texts().first();
    for (const QString& part : {QStringLiteral(ZENOMUR_VERSION), QString::fromLatin1(qVersion()),
                                QDir::toNativeSeparators(ctx().paths.DataDir), QDir::toNativeSeparators(home.configFile())}) {
        EXPECT_TRUE(info.contains(part)) << part.toStdString();
    }
    click(dialog.okButton());
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace zm::test
