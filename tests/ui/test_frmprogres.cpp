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
    window.setLabel(QStringLiteral("２回【中山】１日目を予想中……"), Rgb{255, 0, 255});
    window.setBarColor(Rgb{0, 0, 255});
    EXPECT_EQ(window.windowTitle(), QStringLiteral("2026年12月5日ゼノゼノＭＵＲ  開催分の予想状況"));
    EXPECT_EQ(window.label()->text(), QStringLiteral("２回【中山】１日目を予想中……"));
    EXPECT_EQ(window.label()->palette().color(QPalette::WindowText), QColor(255, 0, 255));
    EXPECT_EQ(window.bar()->barColor(), QColor(0, 0, 255));
    window.reset();
    EXPECT_TRUE(window.label()->text().isEmpty());
    EXPECT_EQ(window.bar()->percent(), 0);
}

}  // namespace
}  // namespace zm::test
