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

}  // namespace
}  // namespace zm
