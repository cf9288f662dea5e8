#include "codes/sjis.h"

#include <gtest/gtest.h>

#include <thread>

namespace zm {
namespace {

struct RoundTrip {
    const char16_t* text;
    int bytes;
};

TEST(Sjis, RoundTripsAndByteLengths) {
    const RoundTrip cases[] = {
        {u"東京AB", 6},        {u"ＵＡＥ", 6},          {u"ｵｰﾌﾟﾝ ", 6},  // half-width katakana: one byte each
        {u"①②～", 6},         {u"髙﨑", 4},           // NEC and IBM extensions of CP932
        {u"", 0},              {u"abc 123", 7},        {u"◎○▲△×", 10},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ByteLength(text), c.bytes) << text.toStdString();
        EXPECT_EQ(fromSjis(toSjis(text)), text) << text.toStdString();
    }
}

TEST(Sjis, ByteCutsThroughTwoByteCharacters) {
    const QString text = QStringLiteral("東京AB");
    EXPECT_EQ(LeftBytes(text, 5), QStringLiteral("東京A"));
    EXPECT_EQ(LeftBytes(text, 3), QStringLiteral("東\uFFFD"));  // lone lead byte
    // A cut trail byte may itself read as a lead byte: 0x9E 'A' is a valid pair, as in any
    // Shift-JIS reader.
    EXPECT_EQ(RightBytes(text, 2), QStringLiteral("AB"));
    EXPECT_EQ(MidBytes(text, 3, 2), QStringLiteral("京"));
    EXPECT_EQ(RightBytes(u"ｱ東", 1), QStringLiteral("\uFFFD"));  // 0x8C alone
    EXPECT_EQ(LeftBytes(text, 0), QString());
    EXPECT_EQ(LeftBytes(text, 99), text);
    EXPECT_EQ(MidBytes(text, 7, 2), QString());
}

TEST(Sjis, ByteCutsOfAsciiText) {
    const QString odds = QStringLiteral("00123");
    const struct {
        QString got;
        QString want;
    } cases[] = {
        {LeftBytes(odds, 4), QStringLiteral("0012")},
        {LeftBytes(odds, 9), odds},
        {LeftBytes(odds, -1), QString()},
        {RightBytes(odds, 1), QStringLiteral("3")},
        {RightBytes(odds, 9), odds},
        {RightBytes(odds, 0), QString()},
        {MidBytes(odds, 2, 3), QStringLiteral("012")},
        {MidBytes(odds, 5, 4), QStringLiteral("3")},
        {MidBytes(odds, 6, 1), QString()},
        {MidBytes(odds, 0, 2), QString()},
        {LeftBytes(u"\x1a\x7f ", 2), QStringLiteral("\x1a\x7f")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want);
    EXPECT_EQ(ByteLength(odds), 5);
    EXPECT_EQ(ByteLength(u""), 0);
}

// One ASCII byte and two digits, the texts of which are shared, read as any other field.
TEST(Sjis, OneByteAndTwoDigitFields) {
    for (int b = 0; b < 0x80; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(fromSjis(QByteArrayView(&c, 1)), QString(QChar(char16_t(b)))) << b;
    }
    for (const char* two : {"00", "07", "42", "99", "0a", " 9", "9 "})
        EXPECT_EQ(fromSjis(QByteArray(two)), QString::fromLatin1(two)) << two;
    EXPECT_EQ(fromSjis(QByteArray("\xB1")), QStringLiteral("ｱ"));
    EXPECT_EQ(fromSjis(QByteArray("\x81")), QStringLiteral("\uFFFD"));
}

TEST(Sjis, PaddingToFieldWidth) {
    EXPECT_EQ(PadBytes(u"東京", 6), QStringLiteral("東京  "));
    EXPECT_EQ(PadBytes(u"東京都", 5), QStringLiteral("東京\uFFFD"));
    EXPECT_EQ(PadBytesLeft(u"12.3", 6), QStringLiteral("  12.3"));
    EXPECT_EQ(padSjis(u"ｱｲ", 4), QByteArray("\xB1\xB2  "));
}

TEST(Sjis, SingleByteRangesMapAsWindowsMapsThem) {
    // Every 7-bit byte is itself, control codes included, alone or next to kanji.
    QByteArray all;
    for (int b = 0; b < 0x80; ++b) {
        all.append(static_cast<char>(b));
    }
    EXPECT_EQ(fromSjis(all), QString::fromLatin1(all));
    EXPECT_EQ(toSjis(QString::fromLatin1(all)), all);
    const QByteArray mixed = QByteArray("\x1a\x1c\x7f") + toSjis(u"東");
    EXPECT_EQ(fromSjis(mixed), QStringLiteral("\x1a\x1c\x7f東"));
    EXPECT_EQ(toSjis(fromSjis(mixed)), mixed);
    // Half-width katakana: 0xA1..0xDF.
    EXPECT_EQ(fromSjis(QByteArray("\xA1\xDF")), QStringLiteral("\uFF61\uFF9F"));
    // Characters CP932 cannot hold.
    EXPECT_EQ(toSjis(u"A\u00E9東"), QByteArray("A?") + toSjis(u"東"));
}

TEST(Sjis, InvalidBytesBecomeReplacementCharacters) {
    EXPECT_EQ(fromSjis(QByteArray("A\x81")), QStringLiteral("A\uFFFD"));
    EXPECT_EQ(fromSjis(QByteArray("\xFF" "B")), QStringLiteral("\uFFFDB"));
    EXPECT_EQ(fromSjis(QByteArray("\x93\x8C\x8B\x9E")), QStringLiteral("東京"));
}

// The converters are kept between calls: a conversion that met bad input must leave nothing
// behind for the next one, on this thread or another.
TEST(Sjis, EachConversionStartsAfresh) {
    const QByteArray undefinedPair("\x85\x40");  // a row CP932 leaves empty
    const QByteArray kanji = toSjis(u"東京");
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(fromSjis(undefinedPair + kanji), QStringLiteral("\uFFFD東京"));
        EXPECT_EQ(fromSjis(kanji), QStringLiteral("東京"));
        EXPECT_EQ(toSjis(u"東\u00E9京"), toSjis(u"東") + '?' + toSjis(u"京"));
        EXPECT_EQ(toSjis(u"東京"), kanji);
    }
    QString decoded;
    QByteArray encoded;
    std::thread other([&] {
        decoded = fromSjis(undefinedPair + kanji);
        encoded = toSjis(u"東京");
    });
    other.join();
    EXPECT_EQ(decoded, QStringLiteral("\uFFFD東京"));
    EXPECT_EQ(encoded, kanji);
}

TEST(Sjis, ControlCharactersAreEscapedForTheTerminal) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("馬名"), QStringLiteral("馬名")},
        {QStringLiteral("a\tb\r\nc"), QStringLiteral("a\tb\r\nc")},
        {QStringLiteral("\x1b[2J1000101"), QStringLiteral("\\x1B[2J1000101")},
        {QString(QChar(0x1a)), QStringLiteral("\\x1A")},
        {QString(QChar(0x7f)) + QChar(0x9b), QStringLiteral("\\x7F\\u009B")},
        {QString(QChar(0)), QStringLiteral("\\x00")},
        // Bytes of a path that were not UTF-8, and a real character whose second half lies in
        // the same range.
        {QStringLiteral("H") + QChar(0xDCFF) + QChar(0xDC80) + QStringLiteral(".LZH"), QStringLiteral("H\\xFF\\x80.LZH")},
        {QString::fromUcs4(U"\U00010080"), QString::fromUcs4(U"\U00010080")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(escapeControls(c.in), c.out) << c.out.toStdString();
}

}  // namespace
}  // namespace zm
