// Long runs on the worker thread, and the message boxes of the desktop prompter: their owner,
// their default answer, the focus they give back and their line breaks.

#include "support/test_home.h"
#include "ui/frmhiduke.h"
#include "ui/message_prompter.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <atomic>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

// Records what reaches it and on which thread.
class RecordingSink : public ProgressSink {
public:
    void setCaption(const QString& c) override {
        caption = c;
        thread = QThread::currentThread();
    }
    void setLabel(const QString& text, int) override { labels << text; }
    void setPercent(double p) override { percent = p; }
    QString caption;
    QStringList labels;
    double percent = -1;
    QThread* thread = nullptr;
};

TEST(WorkerRun, QuestionsAndProgressCrossToTheGuiThreadWhichStaysResponsive) {
    ensureApplication();
    TestHome home;
    home.prompter().answer(Answer::Ok);
    RecordingSink sink;
    std::atomic<bool> ticked{false};
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] { ticked = true; });
    timer.start();

    QThread* worker = nullptr;
    bool answer = false;
    bool sawTick = false;
    const ui::RunChanges changes = ui::RunOnWorker(home.ctx(), &sink, [&](AppContext& run) {
        worker = QThread::currentThread();
        run.progressSink().setCaption(QStringLiteral("予想状況"));
        run.progressSink().setLabel(QStringLiteral("１回【中山】１日目を予想中……"), 1);
        run.progressSink().setPercent(50);
        answer = run.prompter.okCancel(QStringLiteral("続けますか？"));
        // The GUI thread's timers fire while the run works.
        QElapsedTimer waited;
        waited.start();
        while (!ticked && waited.elapsed() < 5000) {
            QThread::msleep(5);
        }
        sawTick = ticked;
        run.ImportedDay = QStringLiteral("20261205");
        run.settings.ConvOddsDir = QStringLiteral("/odds/");
    });
    timer.stop();

    EXPECT_NE(worker, QThread::currentThread());
    EXPECT_TRUE(answer);
    EXPECT_TRUE(sawTick);
    EXPECT_EQ(home.prompter().texts(), QStringList{QStringLiteral("続けますか？")});
    EXPECT_EQ(sink.caption, QStringLiteral("予想状況"));
    EXPECT_EQ(sink.thread, QThread::currentThread());
    EXPECT_EQ(sink.labels, QStringList{QStringLiteral("１回【中山】１日目を予想中……")});
    EXPECT_EQ(sink.percent, 50);
    // What the run changed is the caller's context now, and says so.
    EXPECT_EQ(home.ctx().ImportedDay, QStringLiteral("20261205"));
    EXPECT_EQ(home.ctx().settings.ConvOddsDir, QStringLiteral("/odds/"));
    EXPECT_TRUE(changes.importedDay);
    EXPECT_TRUE(changes.settings);
    EXPECT_FALSE(ui::RunOnWorker(home.ctx(), nullptr, [](AppContext&) {}).settings);
}

// Answers the next message box with `key` once it shows; records its owner and default.
struct BoxAnswerer {
    QWidget* owner = nullptr;
    QString defaultText;
    QString text;
    void arm(Qt::Key key) {
        QTimer::singleShot(50, [this, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            owner = box->parentWidget();
            text = box->text();
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            QTest::keyClick(box, key);
        });
    }
};

TEST(MessageBoxes, ComeOverTheDialogThatRaisedThemAndGiveTheFocusBack) {
    ensureApplication();
    QWidget main;
    main.show();
    ui::MessageBoxPrompter prompter(&main);
    ui::frmHiduke dialog(
        [&](const QString&) {
            prompter.warning(QStringLiteral("「月」の書式が違います！"), kAppTitle);
            return false;
        },
        QDate(2026, 12, 5), &main);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    BoxAnswerer answerer;
    answerer.arm(Qt::Key_Return);
    click(dialog.okButton());
    settle();
    EXPECT_EQ(answerer.owner, &dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog.dateField());
    EXPECT_EQ(dialog.dateField()->selectedText(), dialog.dateField()->text());
}

TEST(MessageBoxes, QuestionBeforeDataLossDefaultsToCancel) {
    ensureApplication();
    QWidget main;
    main.show();
    ui::MessageBoxPrompter prompter(&main);
    BoxAnswerer answerer;
    answerer.arm(Qt::Key_Return);
    EXPECT_FALSE(prompter.confirm(QStringLiteral("3日分のデータを削除します。よろしいですか？"), kAppTitle));
    EXPECT_EQ(answerer.text, QStringLiteral("3日分のデータを削除します。よろしいですか？"));
    // An ordinary OK/Cancel question keeps OK as its default.
    answerer.arm(Qt::Key_Return);
    EXPECT_TRUE(prompter.okCancel(QStringLiteral("一括処理を行いますか？"), kAppTitle));
}

TEST(MessageBoxes, LinesBreakOnlyAtLineEndsAndPunctuation) {
    ensureApplication();
    const QFontMetrics fm(QApplication::font());
    const int zen = fm.horizontalAdvance(QStringLiteral("あ"));
    struct Case {
        const char* text;
        int widthInChars;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"ファイルがありません！", 40, {"ファイルがありません！"}},
        {"出馬表ファイルが見つかりません！\r\n中止します。\r\n", 40, {"出馬表ファイルが見つかりません！", "中止します。"}},
        {"一行目\r\n\r\n三行目", 40, {"一行目", "", "三行目"}},
        // Too wide: the break goes after the last mark that fits, never inside (Ver 1.33.3以前).
        {"古いバージョン(Ver 1.33.3以前)をご利用ください。このオッズは使えません。", 30,
         {"古いバージョン(Ver 1.33.3以前)をご利用ください。", "このオッズは使えません。"}},
        // No mark to break at: the line stays whole.
        {"ありませんありませんありませんありません", 5, {"ありませんありませんありませんありません"}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (const char* l : c.lines) {
            expected << QString::fromUtf8(l);
        }
        EXPECT_EQ(ui::MessageLines(QString::fromUtf8(c.text), fm, c.widthInChars * zen), expected) << c.text;
    }
}

TEST(MessageBoxes, BoxIsWideEnoughForItsLongestLine) {
    ensureApplication();
    const QString text = QStringLiteral("選択したＭＵＲ予想オッズファイルは、古い形式(仕様)のものです。\r\n\r\n"
                                        "このオッズを利用する場合は、「ゼノゼノＭＵＲ」も古いバージョン(Ver 1.33.3以前)をご利用ください。\r\n\r\n");
    std::unique_ptr<QMessageBox> box(ui::MakeMessageBox(nullptr, QMessageBox::Critical, kAppTitle, text,
                                                        QMessageBox::Ok, QMessageBox::Ok));
    box->show();
    settle();
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    const QFontMetrics fm(label->font());
    // Three lines (the blank one between), each shown whole: the label is as high as three.
    EXPECT_EQ(label->text().count(u'\n'), 2);
    EXPECT_LE(label->height(), fm.lineSpacing() * 3 + 4);
    for (const QString& line : label->text().split(u'\n')) {
        EXPECT_LE(fm.horizontalAdvance(line), label->contentsRect().width()) << line.toStdString();
    }
    screenshot(box.get(), QStringLiteral("message_old_odds"));
}

TEST(FileDialog, DatesInJapaneseFormAndColumnsFitTheirContents) {
    ensureApplication();
    TestHome home;
    const QString folder = home.ctx().settings.MurDataDir;
    QFile f(folder + QStringLiteral("H261205.LZH"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(300000, 'x'));
    f.close();
    QFileDialog dialog(nullptr, QStringLiteral("ＭＵＲデータの選択"), folder);
    ui::PrepareFileDialog(dialog);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.show();
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(tree, nullptr);
    QModelIndex row;
    for (int tries = 0; tries < 100 && !row.isValid(); ++tries) {
        QTest::qWait(20);
        const QModelIndex root = tree->rootIndex();
        if (tree->model()->rowCount(root) > 0) {
            row = tree->model()->index(0, 0, root);
        }
    }
    ASSERT_TRUE(row.isValid());
    settle();
    // The model may sort or lay out its rows again while the dialog settles: ask for the row anew.
    row = tree->model()->index(0, 0, tree->rootIndex());
    ASSERT_TRUE(row.isValid());
    const QString date = row.siblingAtColumn(3).data().toString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d$")).match(date).hasMatch())
        << date.toStdString();
    for (int c = 1; c < 4; ++c) {
        const QString cell = row.siblingAtColumn(c).data().toString();
        EXPECT_GT(tree->header()->sectionSize(c), tree->fontMetrics().horizontalAdvance(cell)) << cell.toStdString();
    }
    screenshot(&dialog, QStringLiteral("file_dialog"));
}

TEST(ProgramIcon, HasItsPictures) {
    ensureApplication();
    const QIcon icon = ui::ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    // Every size the window manager may ask for, each from its own picture or the next larger.
    for (int side : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const QPixmap p = icon.pixmap(side, side);
        ASSERT_FALSE(p.isNull()) << side;
        EXPECT_EQ(p.width(), std::min(side, 256)) << side;
    }
    EXPECT_EQ(icon.availableSizes().size(), 5);
    EXPECT_FALSE(icon.pixmap(32, QIcon::Disabled).isNull());
}

}  // namespace
}  // namespace zm::test
