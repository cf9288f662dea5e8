#include "ui/frmbetikkatuout.h"
#include "ui/frmoutputfiles.h"
#include "ui/frmzenomain.h"
#include "ui_support.h"

#include "bets/pending_bet.h"
#include "card/day_builder.h"
#include "card/detail_file.h"
#include "codes/sjis.h"
#include "support/test_home.h"

#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zm::ui {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kDay = u"20010915"_s;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The service contest text of the day: 東京 1R, a win and two pairs.
QByteArray murText() {
    return toSjis(u"■ 東京  1Ｒ 20010915 [A917] 発走10:00 12頭立\r\n単勝      1     100円\r\n"
                  u"馬連  01-02     100円\r\n馬連  01-03     100円\r\n"_s);
}

// Runs f on the modal dialog the next button click opens, then closes it.
template <class F>
void onModal(F f) {
    QTimer::singleShot(0, [f] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        f(modal);
        modal->close();
    });
}

TEST(BulkOutputDialog, OpensFromSettingsRunsAndStoresOnClose) {
    test::TestHome home;
    const QString source = home.ctx().settings.OutPutDir + u"MUR20010915.TXT"_s;
    writeFile(source, murText());
    EXPECT_TRUE(home.ctx().store.SaveAppSetting(u"DavazOrev"_s, u"Syubetu"_s, u"1"_s).ok());
    EXPECT_TRUE(home.ctx().store.SaveAppSetting(u"DavazOrev"_s, u"TmaxOdds"_s, u"50"_s).ok());

    frmBetIkkatuOut dialog(home.ctx(), kDay);
    dialog.show();
    EXPECT_EQ(dialog.findChild<QLabel*>(u"Label1"_s)->text(), u"2001年09月15日の予想を保留ＢＥＴファイルへ一括出力します。"_s);
    auto* path = dialog.findChild<QLineEdit*>(u"Text1"_s);
    // Only the day's MUR text is there: the dialog opens on it, in its format.
    EXPECT_EQ(path->text(), source);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(u"Option1_0"_s)->isChecked());
    EXPECT_TRUE(dialog.findChild<QRadioButton*>(u"Option2_1"_s)->isChecked());
    EXPECT_EQ(dialog.findChild<QLineEdit*>(u"TmaxOdds"_s)->text(), u"50"_s);
    EXPECT_EQ(dialog.findChild<QLineEdit*>(u"Text2"_s)->text(), u"A917"_s);
    test::screenshot(&dialog, u"bulk_output_dialog"_s);

    path->setText(source);
    test::click(dialog.findChild<QRadioButton*>(u"Option1_0"_s));
    test::click(dialog.findChild<QRadioButton*>(u"Option2_0"_s));
    test::click(dialog.findChild<QCheckBox*>(u"Check3"_s));  // 馬連 → ワイド
    dialog.findChild<QLineEdit*>(u"txtBet0"_s)->setText(u"250"_s);
    test::click(dialog.findChild<QPushButton*>(u"Command1"_s));
    EXPECT_EQ(dialog.lastResult().written, 3);
    EXPECT_EQ(home.prompter().texts(), QStringList{u"保留ＢＥＴファイルに、３ベット出力しました。"_s});
    QFile bets(PendingBetPath(home.ctx().paths, kDay));
    ASSERT_TRUE(bets.open(QIODevice::ReadOnly));
    EXPECT_EQ(fromSjis(bets.readAll()), u"東京, 1R,単勝  ,    1,      ,  200円\r\n東京, 1R,ワイド,01-02,      ,  100円\r\n"
                                        u"東京, 1R,ワイド,01-03,      ,  100円\r\n"_s);

    test::click(dialog.findChild<QPushButton*>(u"Command2"_s));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(home.ctx().store.read(u"DavazOrev"_s, u"Path"_s), source);
    EXPECT_EQ(home.ctx().store.read(u"DavazOrev"_s, u"Sikibetu"_s), u"MUR"_s);
    EXPECT_EQ(home.ctx().store.read(u"DavazOrev"_s, u"Syubetu"_s), u"0"_s);
    EXPECT_EQ(home.ctx().store.read(u"PAT"_s, u"BetTan"_s), u"200"_s);
}

// The dialog opens on the day's contest text that is there, in its format; with none, the run
// names the setting that makes them.
TEST(BulkOutputDialog, OpensOnTheDaysTextThatExists) {
    struct Case {
        const char* what;
        QStringList files;   // in the output folder
        const char* stored;  // the stored Path, relative to the output folder ("" for none)
        bool storedMur;
        const char* path;  // expected, relative to the output folder
        bool mur;
    };
    const Case cases[] = {
        {"DUEL only", {u"W20010915.TXT"_s}, "", true, "W20010915.TXT", false},
        {"MUR only", {u"MUR20010915.TXT"_s}, "", false, "MUR20010915.TXT", true},
        {"both, the format used last", {u"W20010915.TXT"_s, u"MUR20010915.TXT"_s}, "", true, "MUR20010915.TXT", true},
        {"another day's text stored", {u"MUR20010915.TXT"_s}, "W20010908.TXT", false, "MUR20010915.TXT", true},
        {"a file of the user's own", {u"W20010915.TXT"_s, u"mine.txt"_s}, "mine.txt", true, "mine.txt", true},
        {"none", {}, "", false, "W20010915.TXT", false},
    };
    for (const Case& c : cases) {
        test::TestHome home;
        const QString out = home.ctx().settings.OutPutDir;
        for (const QString& f : c.files)
            writeFile(out + f, murText());
        if (*c.stored) {
            writeFile(out + u"W20010908.TXT"_s, murText());
            EXPECT_TRUE(home.ctx().store.SaveAppSetting(u"DavazOrev"_s, u"Path"_s, out + QString::fromUtf8(c.stored)).ok());
        }
        EXPECT_TRUE(home.ctx().store.SaveAppSetting(u"DavazOrev"_s, u"Sikibetu"_s, c.storedMur ? u"MUR"_s : u"DUEL"_s).ok());
        frmBetIkkatuOut dialog(home.ctx(), kDay);
        dialog.show();
        EXPECT_EQ(dialog.findChild<QLineEdit*>(u"Text1"_s)->text(), out + QString::fromUtf8(c.path)) << c.what;
        EXPECT_EQ(dialog.findChild<QRadioButton*>(u"Option1_0"_s)->isChecked(), c.mur) << c.what;
        if (c.files.isEmpty()) {
            test::click(dialog.findChild<QPushButton*>(u"Command1"_s));
            ASSERT_EQ(home.prompter().texts().size(), 1);
            const QString said = home.prompter().texts().front();
            EXPECT_TRUE(said.startsWith(kBulkFileMissing) && said.contains(u"［テキスト出力の設定］"_s) &&
                        said.contains(u"MUR20010915.TXT"_s))
                << said.toStdString();
        }
    }
}

TEST(CardOutputButtons, BulkDialogDetailFileAndTextFiles) {
    test::TestHome home;
    test::DayBuilder day(kDay);
    for (int race = 1; race <= 3; ++race)
        day.add(u"04"_s, race);
    day.write(home.ctx().paths.DataDir);
    writeFile(home.ctx().settings.OutPutDir + u"W20010915.TXT"_s, QByteArray("\r\n"));
    writeFile(home.ctx().settings.OutPutDir + u"mur20010915.txt"_s, murText());

    frmZenoMain window(home.ctx());
    window.resize(1360, 600);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(window.LoadDay(kDay));
    auto* bulk = window.findChild<QPushButton*>(u"SSCommand2_0"_s);
    auto* detail = window.findChild<QPushButton*>(u"SSCommand2_1"_s);
    auto* files = window.findChild<QPushButton*>(u"SSCommand2_2"_s);
    EXPECT_TRUE(bulk->isEnabled()) << "the bulk output works on the day chosen";
    EXPECT_FALSE(detail->isEnabled());
    window.ShowRace(1, 1);
    ASSERT_TRUE(window.inCardView());
    EXPECT_TRUE(bulk->isEnabled() && detail->isEnabled() && files->isEnabled());

    bool bulkSeen = false;
    onModal([&](QWidget* modal) {
        bulkSeen = modal->objectName() == u"frmBetIkkatuOut";
        test::screenshot(modal, u"card_bulk_output"_s);
    });
    test::click(bulk);
    EXPECT_TRUE(bulkSeen);

    test::click(detail);
    const QString detailPath = zm::detailFilePath(home.ctx().settings, kDay);
    EXPECT_TRUE(QFile::exists(detailPath));
    EXPECT_EQ(window.focusWidget(), window.findChild<QPushButton*>(u"SSCommand2_8"_s));
    EXPECT_EQ(home.prompter().texts(),
              QStringList{u"詳細テキストファイルを出力しました。\r\n"_s + QDir::toNativeSeparators(detailPath)});
    home.prompter().clear();

    QStringList listed;
    onModal([&](QWidget* modal) {
        for (int k = 1; k <= 3; ++k) {
            auto* list = modal->findChild<QListWidget*>(u"File"_s + QString::number(k));
            for (int i = 0; list && i < list->count(); ++i)
                listed << list->item(i)->text();
        }
        test::screenshot(modal, u"card_text_files"_s);
    });
    test::click(files);
    EXPECT_EQ(listed, (QStringList{u"詳細20010915.TXT"_s, u"W20010915.TXT"_s, u"mur20010915.txt"_s}));
    EXPECT_TRUE(home.prompter().log().empty());
}

TEST(OutputFilesDialog, OpensTheChosenFileWithTheDesktopsApplication) {
    test::TestHome home;
    const QString dir = home.ctx().settings.OutPutDir;
    for (const QString& name : {u"詳細20010915.TXT"_s, u"W20010915.TXT"_s, u"MUR20010916.TXT"_s, u"K20010915.CSV"_s})
        writeFile(dir + name, QByteArray("x"));
    QStringList opened;
    bool succeed = true;
    frmOutputFiles dialog(dir, home.prompter(), nullptr, [&](const QString& p) {
        opened << p;
        return succeed;
    });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.list(0)->count(), 1);
    EXPECT_EQ(dialog.list(1)->count(), 1);
    EXPECT_EQ(dialog.list(2)->count(), 1);
    QListWidget* mur = dialog.list(2);
    // A real double click: the first click, then the double-click event and its release.
    const QPoint at = mur->visualItemRect(mur->item(0)).center();
    QTest::mouseClick(mur->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(mur->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(mur->viewport(), Qt::LeftButton, {}, at);
    mur->clearSelection();
    dialog.list(0)->item(0)->setSelected(true);
    test::click(dialog.findChild<QPushButton*>(u"Command1"_s));
    EXPECT_EQ(opened, (QStringList{dir + u"MUR20010916.TXT"_s, dir + u"詳細20010915.TXT"_s}));
    succeed = false;
    test::click(dialog.findChild<QPushButton*>(u"Command1"_s));
    EXPECT_EQ(home.prompter().texts(), QStringList{dir + u"詳細20010915.TXT を開けませんでした。"_s});
}

}  // namespace
}  // namespace zm::ui
