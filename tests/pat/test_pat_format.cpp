#include "pat/pat_files.h"
#include "pat/pat_format.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

// What each generation answers in place of the branches on "Ver" it replaced.
TEST(PatFormat, EachGenerationNamesItsFilesAndItsOdds) {
    const struct {
        const char* ver;
        PatVer gen;
        const char16_t* title;
        bool wide;
        bool byDay;
        const char16_t* betFile;  // the win/place file of 東京 11R on the meeting's third day
    } cases[] = {
        {"31", PatVer::V31, u"ＰＡＴ３１", false, false, u"P/ZO-"},
        {"95", PatVer::V95, u"ＰＡＴ９５", false, true, u"P/ZO-"},
        {"98", PatVer::V98, u"ＰＡＴ９８", true, true, u"P/ZO-"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ver);
        const PatFormat* format = patFormatOf(QString::fromLatin1(c.ver));
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format, patFormat(c.gen));
        EXPECT_EQ(format->ver(), c.gen);
        EXPECT_EQ(format->title(), QString::fromUtf16(c.title));
        EXPECT_EQ(format->hasWideOdds(), c.wide);
        EXPECT_EQ(format->namesFilesByMeetingDay(), c.byDay);
        const QString code = c.byDay ? PatFileCode(u"04", u"11", u"3") : PatFileCode31(u"04", u"11");
        EXPECT_EQ(format->betOddsFile("P/", kWinPlacePrefix, u"04", u"11", u"3"),
                  QString::fromUtf16(c.betFile) + code + ".JRA");
    }
    for (const char* ver : {"", "FHDUEL", "9", "310"})
        EXPECT_EQ(patFormatOf(QString::fromLatin1(ver)), nullptr) << ver;
    EXPECT_EQ(patFormat(PatVer::None), nullptr);
}

TEST(PatFormat, OnlyThirtyOneFilesCarryTheirDay) {
    const QByteArray file = "20261205" + QByteArray(100, ' ');
    EXPECT_TRUE(patFormat(PatVer::V31)->isOfDay(file, "20261205"));
    EXPECT_FALSE(patFormat(PatVer::V31)->isOfDay(file, "20261206"));
    EXPECT_FALSE(patFormat(PatVer::V31)->isOfDay("2026", "20261205"));
    EXPECT_TRUE(patFormat(PatVer::V95)->isOfDay(file, "20261206"));
}

}  // namespace
}  // namespace zm
