// Every window at the size it opens with: no label, button or title cut short, and the window
// itself fits a 1366×768 screen.

#include "support/test_home.h"
#include "ui/frmabout.h"
#include "ui/frmbacktest.h"
#include "ui/frmbetikkatuout.h"
#include "ui/frmbetout.h"
#include "ui/frmconvmurodds.h"
#include "ui/frmdelfile.h"
#include "ui/frmfolder.h"
#include "ui/frmhiduke.h"
#include "ui/frmhoryubetodds.h"
#include "ui/frmhoryuubethyouji.h"
#include "ui/frmodds.h"
#include "ui/frmopt1.h"
#include "ui/frmopttxt.h"
#include "ui/frmoutputfiles.h"
#include "ui/frmpatlog.h"
#include "ui/frmpatoption.h"
#include "ui/frmpatstake.h"
#include "ui/frmprogres.h"
#include "ui/frmsplit.h"
#include "ui/frmtekichukai.h"
#include "ui/frmvoterobosettei.h"
#include "ui/frmyosouout.h"
#include "ui/frmzenomain.h"
#include "ui/mdizenomur.h"
#include "ui/message_prompter.h"
#include "ui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// What of a window's texts does not fit the widget that shows it.
QStringList cutTexts(QWidget* window) {
    QStringList cut;
    auto name = [](const QWidget* w, const QString& text) {
        return (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName()) +
               u": "_s + text;
    };
    for (QLabel* l : window->findChildren<QLabel*>()) {
        const QString text = l->text();
        if (!l->isVisibleTo(window) || text.isEmpty() || Qt::mightBeRichText(text)) {
            continue;
        }
        const int room = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
        if (l->wordWrap()) {
            if (l->heightForWidth(l->width()) > l->height()) {
                cut << name(l, text);
            }
            continue;
        }
        const QStringList lines = text.split(u'\n');
        int widest = 0;
        for (const QString& line : lines) {
            widest = std::max(widest, l->fontMetrics().horizontalAdvance(line));
        }
        if (widest > room || l->fontMetrics().height() * lines.size() > l->contentsRect().height() + 2) {
            cut << name(l, text);
        }
    }
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        QString text = b->text();
        text.remove(u'&');
        if (!b->isVisibleTo(window) || text.isEmpty()) {
            continue;
        }
        const bool indicator = qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b);
        const int needed = indicator ? b->sizeHint().width() : b->fontMetrics().horizontalAdvance(text) + 8;
        if (needed > b->width()) {
            cut << name(b, text);
        }
    }
    // The title bar shares its width with the window's icon and its three buttons.
    if (window->isWindow() &&
        window->fontMetrics().horizontalAdvance(window->windowTitle()) + 110 > window->frameGeometry().width()) {
        cut << u"title: "_s + window->windowTitle();
    }
    return cut;
}

class WindowTexts : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApplication();
        QDir().mkpath(home.ctx().paths.DataDir);
    }
    // Shows the window as the program opens it: at the size its layout asks for.
    void check(QWidget* w, const QString& what) {
        w->setAttribute(Qt::WA_DontShowOnScreen);
        w->adjustSize();
        w->show();
        settle();
        EXPECT_LE(w->width(), 1366) << what.toStdString();
        EXPECT_LE(w->height(), 768 - 40) << what.toStdString();
        const QStringList cut = cutTexts(w);
        EXPECT_TRUE(cut.isEmpty()) << what.toStdString() << ": " << cut.join(u" | "_s).toStdString();
        screenshot(w, u"texts_"_s + what);
        w->close();
    }
    TestHome home;
};

TEST_F(WindowTexts, EveryDialogAtItsOpeningSize) {
    AppContext& ctx = home.ctx();
    const QString day = u"20261205"_s;
    auto stake = [] {
        zm::DayStake s;
        s.day = u"20261205"_s;
        s.count = 12;
        s.remaining = 888;
        return s;
    };
    auto totals = [] {
        BetTotals t;
        t.heading = u"2026年12月 5日 の保留ＢＥＴ内訳です"_s;
        return t;
    };
    QLineEdit target;
    const std::vector<std::pair<QString, std::function<QWidget*()>>> windows = {
        {u"frmAbout"_s, [&] { return new ui::frmAbout(ctx); }},
        {u"frmBacktest"_s, [&] { return new ui::frmBacktest(ctx); }},
        {u"frmBetIkkatuOut"_s, [&] { return new ui::frmBetIkkatuOut(ctx, day); }},
        {u"frmBETout"_s, [&] { return new ui::frmBETout(ctx, day, u"04"_s, 11, u"東京11Ｒ"_s, BetOutForm{}); }},
        {u"frmConvMurOdds"_s,
         [&] { return new ui::frmConvMurOdds(ctx, ctx.paths.DataDir + u"MURODDS20261205.DAT"_s, *zm::patFormat(zm::PatVer::V98)); }},
        {u"frmDelFile"_s, [&] { return new ui::frmDelFile(ctx); }},
        {u"frmFOLDER"_s, [&] { return new ui::frmFOLDER(ctx, &target, home.home()); }},
        {u"frmHiduke"_s, [&] { return new ui::frmHiduke([](const QString&) { return true; }, QDate(2026, 12, 5)); }},
        {u"frmHoryubetOdds"_s, [&] { return new ui::frmHoryubetOdds(ctx, day, OddsRangeDialog{}); }},
        {u"frmHoryuuBetHyouji"_s, [&] { return new ui::frmHoryuuBetHyouji(totals()); }},
        {u"frmOdds"_s,
         [&] { return new ui::frmOdds(ctx, *zm::patFormat(zm::PatVer::V98), zm::PatRaceRef{u"04"_s, u"11"_s, u"3"_s, day}, u"東京 11Ｒ"_s); }},
        {u"frmOpt1"_s, [&] { return new ui::frmOpt1(ctx); }},
        {u"frmOptTxt"_s, [&] { return new ui::frmOptTxt(ctx); }},
        {u"frmOutputFiles"_s, [&] { return new ui::frmOutputFiles(ctx.paths.AppPath, home.prompter()); }},
        {u"frmPatLog"_s, [&] { return new ui::frmPatLog(ctx, std::nullopt, {}, ui::frmPatLog::VoteLogPage); }},
        {u"frmPatOption"_s, [&] { return new ui::frmPatOption(ctx); }},
        {u"frmPatStake"_s, [&] { return new ui::frmPatStake(stake()); }},
        {u"frmSplit"_s, [&] { return new ui::frmSplit(); }},
        {u"frmTekichukai"_s, [&] { return new ui::frmTekichukai(ctx, day); }},
        {u"frmReadTekichukai"_s, [&] { return new ui::frmReadTekichukai(ctx, day); }},
        {u"frmVoteRoboSettei"_s, [&] { return new ui::frmVoteRoboSettei(ctx, day); }},
        {u"frmYosouOut"_s, [&] { return new ui::frmYosouOut(ctx); }},
    };
    for (const auto& [what, make] : windows) {
        std::unique_ptr<QWidget> w(make());
        check(w.get(), what);
    }
    home.prompter().clear();
}

TEST_F(WindowTexts, ProgressWindowInABatch) {
    ui::frmProgres progress;
    progress.setBatchStep(24, 24, u"hb261227.lzh"_s);
    progress.setLabel(u"4回中山8日目 11R を予想中"_s, 1);
    check(&progress, u"frmProgres"_s);
}

TEST_F(WindowTexts, MessageBoxTitleIsNeverCut) {
    // A short message under a long title.
    std::unique_ptr<QMessageBox> box(ui::MakeMessageBox(nullptr, QMessageBox::Information,
                                                        u"「サクッとBET」購入ファイルの切り出し"_s, u"完了"_s,
                                                        QMessageBox::Ok, QMessageBox::Ok));
    check(box.get(), u"messageBox"_s);
}

// The race card fills the main window; its command row at both screen sizes.
TEST_F(WindowTexts, RaceCardAtBothScreenSizes) {
    for (const QSize screen : {QSize(1366, 768), QSize(1920, 1080)}) {
        ui::MDIZenoMUR window(home.ctx());
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.resize(screen.width(), screen.height() - 40);
        window.show();
        window.menuAction(u"mnuHyouji"_s)->trigger();
        settle();
        ui::frmZenoMain* card = window.cardWindow();
        ASSERT_NE(card, nullptr);
        const QStringList cut = cutTexts(card);
        EXPECT_TRUE(cut.isEmpty()) << screen.width() << ": " << cut.join(u" | "_s).toStdString();
        EXPECT_TRUE(cutTexts(&window).isEmpty()) << cutTexts(&window).join(u" | "_s).toStdString();
        screenshot(&window, u"texts_card_"_s + QString::number(screen.width()));
    }
}

// Before its first run the back-test's style table shows every column without scrolling.
TEST_F(WindowTexts, BacktestStyleTableNeedsNoScrolling) {
    ui::frmBacktest dialog(home.ctx());
    dialog.setAttribute(Qt::WA_DontShowOnScreen);
    dialog.adjustSize();
    dialog.show();
    settle();
    for (QTableWidget* t : dialog.findChildren<QTableWidget*>()) {
        if (t->isVisibleTo(&dialog) && t->columnCount() > 0) {
            EXPECT_LE(t->horizontalHeader()->length(), t->viewport()->width()) << t->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace zm::test
