#include "codes/numeric.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zm {
namespace {

TEST(Numeric, ValReadsTheNumericPrefix) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u" 1", 1},
        {u"12ab", 12},
        {u"-5", -5},
        {u"+7", 7},
        {u"12.5x", 12.5},
        {u"1.2.3", 1.2},
        {u"  -0.5", -0.5},
        {u".5", 0.5},
        {u"　3", 3},
        {u"- 3", 0},
        {u"0012", 12},
        {u"99999", 99999},
        {u"-", 0},
        // Whole numbers up to 15 digits are read digit by digit, longer ones by the general parse.
        {u"123456789012345", 123456789012345.0},
        {u"-123456789012345x", -123456789012345.0},
        {u"12345678901234567", 12345678901234567.0},
        {u"0000000000000000012", 12},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Val(QStringView(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_DOUBLE_EQ(Val(QByteArrayView(" 30.5")), 30.5);
    EXPECT_TRUE(std::signbit(Val(u"-0")));
}

TEST(Numeric, RoundHalfToEvenAndFloor) {
    const struct {
        double in;
        int out;
    } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {40000, 32767}, {-40000, -32768}};
    for (const auto& c : cases) {
        EXPECT_EQ(ToInt16(c.in), c.out) << c.in;
    }
    EXPECT_EQ(ToInt32(3.5), 4);
    EXPECT_DOUBLE_EQ(Int(2.7), 2);
    EXPECT_DOUBLE_EQ(Int(-2.2), -3);
}

TEST(Numeric, NumberTextIsShortest) {
    EXPECT_EQ(NumberText(1600.0), QStringLiteral("1600"));
    EXPECT_EQ(NumberText(999.9), QStringLiteral("999.9"));
    EXPECT_EQ(NumberText(-3.0), QStringLiteral("-3"));
    EXPECT_EQ(NumberText(0.1f), QStringLiteral("0.1"));
}

}  // namespace
}  // namespace zm
