// The progress window: percent text, bar bounds and the venue label's colour.

#include "ui/frmprogres.h"
#include "ui_support.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

TEST(ProgressWindow, BarShowsWholePercentsWithinBounds) {
    ensureApplication();
    ui::frmProgres window;
    const std::pair<double, const char*> cases[] = {
        {0, "0%"}, {33.4, "33%"}, {33.5, "34%"}, {99.6, "100%"}, {150, "100%"}, {-5, "0%"}, {100.0 / 36 * 36, "100%"}};
    for (const auto& [percent, text] : cases) {
        window.setPercent(percent);
        EXPECT_EQ(window.bar()->percentText(), QString::fromUtf8(text)) << percent;
    }
}

TEST(ProgressWindow, CaptionLabelAndColours) {
    ensureApplication();
    ui::frmProgres window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ゼノゼノＭＵＲ　"));
    window.setCaption(QStringLiteral("2026年12月5日ゼノゼノＭＵＲ  開催分の予想状況"));
    window.setLabel(QStringLiteral("２回【中山】１日目を予想中……"), 2);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("2026年12月5日ゼノゼノＭＵＲ  開催分の予想状況"));
    EXPECT_EQ(window.label()->text(), QStringLiteral("２回【中山】１日目を予想中……"));
    EXPECT_EQ(window.bar()->barColor(), QColor(0, 0, 255));
    // Each meeting the run names in a colour of its own; a plain line is black.
    const std::pair<int, QColor> colours[] = {
        {0, QColor(0, 0, 0)}, {1, QColor(255, 0, 0)}, {2, QColor(255, 0, 255)}, {3, QColor(0, 255, 0)}, {5, QColor(0, 255, 0)}};
    for (const auto& [meeting, colour] : colours) {
        window.setLabel(QStringLiteral("x"), meeting);
        EXPECT_EQ(window.label()->palette().color(QPalette::WindowText), colour) << meeting;
    }
    window.reset();
    EXPECT_TRUE(window.label()->text().isEmpty());
    EXPECT_EQ(window.bar()->percent(), 0);
}

// In a batch the bar covers the whole batch and a line names the item and its place.
TEST(ProgressWindow, BatchBarCoversTheWholeBatch) {
    ensureApplication();
    ui::frmProgres window;
    const int plainHeight = window.height();
    const struct {
        int step, steps;
        double percent;
        int bar;
    } cases[] = {{1, 24, 0, 0}, {1, 24, 100, 4}, {12, 24, 50, 48}, {24, 24, 100, 100}, {3, 4, 50, 63}};
    for (const auto& c : cases) {
        window.setBatchStep(c.step, c.steps, QStringLiteral("hb261205.lzh"));
        window.setPercent(c.percent);
        EXPECT_EQ(window.bar()->percent(), c.bar) << c.step << "/" << c.steps << " " << c.percent;
    }
    EXPECT_EQ(window.batchLabel()->text(), QStringLiteral("一括処理 3/4：2026/12/05（hb261205.lzh）"));
    EXPECT_GT(window.height(), plainHeight);
    EXPECT_EQ(ui::frmProgres::batchText(1, 2, QStringLiteral("HB991231.LZH")),
              QStringLiteral("一括処理 1/2：1999/12/31（HB991231.LZH）"));
    EXPECT_EQ(ui::frmProgres::batchText(1, 2, QStringLiteral("hbx.lzh")), QStringLiteral("一括処理 1/2：hbx.lzh"));
    // The batch's end: a single day's percent is its own again.
    window.setBatchStep(0, 0, QString());
    window.setPercent(50);
    EXPECT_EQ(window.bar()->percent(), 50);
    EXPECT_TRUE(window.batchLabel()->isHidden());
    EXPECT_EQ(window.height(), plainHeight);
}

}  // namespace
}  // namespace zm::test
