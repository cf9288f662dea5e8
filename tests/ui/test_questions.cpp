// Every question the program asks, by call site: a question whose Yes/OK deletes, overwrites or
// empties something must come as a kind whose box has the harmless answer as its default, and
// Esc answers every kind harmlessly. A new question in the sources fails the walk until it is
// added to the table below with its kind and whether it destroys something.

#include "ui/message_prompter.h"
#include "ui_support.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

struct CallSite {
    const char* file;    // under src/
    const char* method;  // the prompter method it calls
    const char* text;    // a piece of the question's text (or of the expression that makes it)
    bool destroys;       // Yes/OK deletes, overwrites or empties something
};

const CallSite kCallSites[] = {
    {"bets/voterobo.cpp", "yesNoCancel", "同名のファイル", true},
    {"bets/purchase_files.cpp", "confirmYesNo", "question, caption", true},
    {"bets/maintenance.cpp", "confirm", "金額を統合してBET数を減らします", true},
    {"bets/maintenance.cpp", "confirm", "最初に出現した買い目を残します", true},
    {"bets/maintenance.cpp", "confirm", "ソート結果に基づき", true},
    {"export/tekichukai.cpp", "yesNo", "tekichukaiConfirmText", false},
    {"export/tekichukai.cpp", "yesNoCancel", "既に保留ＢＥＴファイルが存在しますが上書きしますか？", true},
    {"export/bulk_output.cpp", "yesNoCancel", "保留ＢＥＴファイルがありますが上書きしますか？", true},
    {"ui/frmdelfile.cpp", "confirm", "日分のデータを削除します", true},
    {"ui/mdizenomur.cpp", "okCancel", "一括処理を行いますか？", false},
};

// Receivers that only pass a question on to another prompter.
const QStringList kForwarders = {u"target_"_s, u"inner_"_s};

QString sourceRoot() {
    return QDir::cleanPath(QStringLiteral(ZENOMUR_TEST_DATA_DIR) + u"/../../src"_s);
}

TEST(Questions, EveryCallSiteIsInTheTable) {
    const QRegularExpression call(
        u"(\\w+)\\s*(?:\\(\\s*\\))?\\s*(?:\\.|->)\\s*(okCancel|confirm|confirmYesNo|yesNo|yesNoCancel)\\s*\\("_s);
    std::map<int, int> used;  // table row -> call sites matching it
    int found = 0;
    QDirIterator it(sourceRoot(), {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString file = QDir(sourceRoot()).relativeFilePath(path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = call.globalMatch(text); m.hasNext();) {
            const auto match = m.next();
            if (kForwarders.contains(match.captured(1))) {
                continue;
            }
            ++found;
            const QString after = text.mid(match.capturedEnd(), 400);
            int row = -1;
            for (int i = 0; i < static_cast<int>(std::size(kCallSites)); ++i) {
                const CallSite& s = kCallSites[i];
                if (file == QString::fromUtf8(s.file) && match.captured(2) == QString::fromUtf8(s.method) &&
                    after.contains(QString::fromUtf8(s.text)) && !used.contains(i)) {
                    row = i;
                    break;
                }
            }
            EXPECT_GE(row, 0) << "a question not in the table: " << file.toStdString() << " "
                              << match.captured(2).toStdString() << "(" << after.left(80).toStdString();
            ++used[row];
        }
    }
    EXPECT_EQ(found, static_cast<int>(std::size(kCallSites))) << "a row of the table names no question";
}

// How each kind of question shows in the desktop program, answered by Enter and by Esc.
struct Reply {
    bool enterHarmless;
    bool escHarmless;
    QMessageBox::StandardButtons buttons;
};

Reply replyOf(const QString& method) {
    ensureApplication();
    QWidget main;
    main.show();
    ui::MessageBoxPrompter prompter(&main);
    // True for the harmless answer: Cancel or No (No of the three-way questions appends).
    const std::map<QString, std::function<bool()>> ask = {
        {u"okCancel"_s, [&] { return !prompter.okCancel(u"?"_s, kAppTitle); }},
        {u"confirm"_s, [&] { return !prompter.confirm(u"?"_s, kAppTitle); }},
        {u"yesNo"_s, [&] { return !prompter.yesNo(u"?"_s, kAppTitle); }},
        {u"confirmYesNo"_s, [&] { return !prompter.confirmYesNo(u"?"_s, kAppTitle); }},
        {u"yesNoCancel"_s, [&] { return prompter.yesNoCancel(u"?"_s, kAppTitle) != Answer::Yes; }},
    };
    Reply reply{};
    auto answerWith = [&](Qt::Key key) {
        QTimer::singleShot(0, [&, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                return;
            }
            reply.buttons = {};
            for (QAbstractButton* b : box->buttons()) {
                reply.buttons |= box->standardButton(b);
            }
            QTest::keyClick(box, key);
        });
        return ask.at(method)();
    };
    reply.enterHarmless = answerWith(Qt::Key_Return);
    reply.escHarmless = answerWith(Qt::Key_Escape);
    return reply;
}

TEST(Questions, NoCallSiteDestroysByDefaultAndEscIsAlwaysHarmless) {
    struct Kind {
        const char* method;
        QMessageBox::StandardButtons buttons;
        bool enterHarmless;
    };
    const Kind kinds[] = {
        {"okCancel", QMessageBox::Ok | QMessageBox::Cancel, false},
        {"confirm", QMessageBox::Ok | QMessageBox::Cancel, true},
        {"yesNo", QMessageBox::Yes | QMessageBox::No, false},
        {"confirmYesNo", QMessageBox::Yes | QMessageBox::No, true},
        {"yesNoCancel", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, true},
    };
    std::map<QString, Reply> replies;
    for (const Kind& k : kinds) {
        const Reply r = replyOf(QString::fromUtf8(k.method));
        EXPECT_EQ(r.buttons, k.buttons) << k.method;
        EXPECT_EQ(r.enterHarmless, k.enterHarmless) << k.method;
        EXPECT_TRUE(r.escHarmless) << k.method;
        replies[QString::fromUtf8(k.method)] = r;
    }
    for (const CallSite& s : kCallSites) {
        if (s.destroys) {
            EXPECT_TRUE(replies.at(QString::fromUtf8(s.method)).enterHarmless)
                << s.file << ": " << s.text << " destroys on Enter";
        }
    }
}

}  // namespace
}  // namespace zm::test
