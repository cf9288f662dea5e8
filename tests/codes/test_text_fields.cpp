#include "codes/text_fields.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace zm {
namespace {

TEST(SmallNumber, OneOrTwoAsciiDigitsWithinTheRange) {
    const struct {
        const char16_t* text;
        std::optional<int> value;
    } cases[] = {
        {u"1", 1}, {u"18", 18}, {u"07", 7}, {u"19", std::nullopt}, {u"0", std::nullopt},
        {u"", std::nullopt}, {u"123", std::nullopt}, {u" 1", std::nullopt}, {u"１", std::nullopt},
        {u"+1", std::nullopt}, {u"1.", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SmallNumber(QStringView(c.text), 1, 18), c.value) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(LinesOf, EveryLineEndEndsALine) {
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\nb"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\rb\r"), {QStringLiteral("a"), QStringLiteral("b")}},
        {QStringLiteral("a\r\rb"), {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {QStringLiteral("\n"), {QString()}},
        {QString(), {}},
    };
    for (const auto& c : cases) {
        QStringList got;
        for (const QStringView line : LinesOf(c.text))
            got << line.toString();
        EXPECT_EQ(got, c.lines) << c.text.toStdString();
    }
}

TEST(HalfWidth, AsciiFormsAndKana) {
    const struct {
        const char16_t* text;
        const char16_t* ascii;  // HalfWidthAscii
        const char16_t* all;    // HalfWidth
    } cases[] = {
        {u"１２－３", u"12-3", u"12-3"},
        {u"ＡＺａｚ！～", u"AZaz!~", u"AZaz!~"},
        {u"東京　１", u"東京 1", u"東京 1"},
        {u"ガパヴ", u"ガパヴ", u"ｶﾞﾊﾟｳﾞ"},
        {u"「ー・、。」", u"「ー・、。」", u"｢ｰ･､｡｣"},
        {u"ｱ1 ", u"ｱ1 ", u"ｱ1 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HalfWidthAscii(c.text), QString::fromUtf16(c.ascii)) << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(HalfWidth(c.text), QString::fromUtf16(c.all)) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(TrimBlanks, OnlyHalfWidthBlanksAtTheEnds) {
    EXPECT_EQ(trimBlanks(u"  1 2  "), u"1 2");
    EXPECT_EQ(trimBlanks(u"　1\t"), u"　1\t");
    EXPECT_EQ(trimBlanks(u"   "), QString());
}

}  // namespace
}  // namespace zm
