#include "codes/codetables.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using Fn = QString (*)(QStringView);

struct MapCase {
    const char* name;
    Fn fn;
    const char16_t* in;
    const char16_t* out;
};

TEST(CodeTables, MappingsAndFallbacks) {
    const MapCase cases[] = {
        {"ServiceToJraCode", ServiceToJraCode, u"03", u"10"},
        {"ServiceToJraCode", ServiceToJraCode, u"00", u"08"},
        {"ServiceToJraCode", ServiceToJraCode, u"11", u"11"},
        {"JraToServiceCode", JraToServiceCode, u"10", u"03"},
        {"JraToServiceCode", JraToServiceCode, u"01", u"08"},
        {"JraToServiceCode", JraToServiceCode, u"11", u"11"},
        {"ServiceToJraChar", ServiceToJraChar, u"03", u"A"},
        {"ServiceToJraChar", ServiceToJraChar, u"08", u"1"},
        {"ServiceToJraChar", ServiceToJraChar, u"10", u"0"},
        {"JraVenueName", JraVenueName, u"05", u"東京"},
        {"JraVenueName", JraVenueName, u"10", u"小倉"},
        {"JraVenueName", JraVenueName, u"11", u""},
        {"JraVenueCodeOf", JraVenueCodeOf, u"函館", u"02"},
        {"JraVenueCodeOf", JraVenueCodeOf, u"大井", u"00"},
        {"ServiceVenueCodeOf", ServiceVenueCodeOf, u"新潟", u"07"},
        {"ServiceVenueCodeOf", ServiceVenueCodeOf, u"大井", u""},
        {"VenueName", VenueName, u"35", u"札幌"},
        {"VenueName", VenueName, u"51", u"美浦南"},
        {"VenueName", VenueName, u"65", u"ＵＡＥ"},
        {"VenueName", VenueName, u"47", u"？？"},
        {"VenueName", VenueName, u"54", u"？？"},
        {"SexName", SexName, u"2", u"煽"},
        {"SexName", SexName, u"3", u"  "},
        {"SurfaceName", SurfaceName, u"1", u"芝"},
        {"SurfaceName", SurfaceName, u"", u"  "},
        {"RaceClassName", RaceClassName, u"0", u"障害"},
        {"RaceClassName", RaceClassName, u"7", u"ア３歳上"},
        {"RaceClassName", RaceClassName, u"8", u""},
        {"BetTypeCode", BetTypeCode, u"ワイド", u"5"},
        {"BetTypeCode", BetTypeCode, u"拡連", u"5"},
        {"BetTypeCode", BetTypeCode, u"単勝", u"1"},
        {"BetTypeCode", BetTypeCode, u"馬連", u"4"},
        {"BetTypeCode", BetTypeCode, u"", u"0"},
        {"BetTypeCode", BetTypeCode, u"三連", u"0"},
        {"OneCharNumber", OneCharNumber, u"10", u"A"},
        {"OneCharNumber", OneCharNumber, u"12", u"C"},
        {"OneCharNumber", OneCharNumber, u" 7", u"7"},
        {"OneCharNumber", OneCharNumber, u"x", u"0"},
        {"OneCharNumber", OneCharNumber, u"13", u"13"},
        {"WeekdayChar", WeekdayChar, u"20261206", u"日"},
        {"WeekdayChar", WeekdayChar, u"20261205", u"土"},
        {"WeekdayChar", WeekdayChar, u"20010903", u"月"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.fn(c.in), QString::fromUtf16(c.out)) << c.name << "(" << QString::fromUtf16(c.in).toStdString() << ")";
    }
}

TEST(CodeTables, CourseText) {
    const struct {
        const char16_t* layout;
        int n;
        const char16_t* out;
    } cases[] = {
        {u"1010", 1, u"芝"}, {u"1010", 2, u"右"}, {u"1010", 3, u"外"}, {u"1010", 4, u"Ａ"},
        {u"0105", 4, u"A2"}, {u"0109", 4, u"  "}, {u"9", 1, u"  "},    {u"1010", 0, u""},
        {u"1010", 5, u""},   {u"", 2, u"  "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CourseText(c.layout, c.n), QString::fromUtf16(c.out)) << c.n;
    }
}

TEST(CodeTables, PrizeClassText) {
    const struct {
        int value;
        const char16_t* out;
    } cases[] = {
        {0, u"      "}, {1, u"新  馬"},   {2, u"未出走"},   {3, u"未勝利"},   {4, u"ｵｰﾌﾟﾝ "},
        {9, u"ｵｰﾌﾟﾝ "}, {6, u""},          {900, u""},        {5000, u" 500万"}, {9999, u" 999.9万"},
        {10000, u"1000万"}, {16000, u"1600万"}, {-1, u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PrizeClassText(static_cast<std::int16_t>(c.value)), QString::fromUtf16(c.out)) << c.value;
    }
}

TEST(CodeTables, TwoDigitsAndWakuColor) {
    const struct {
        int n;
        const char* out;
    } digits[] = {{0, "00"}, {7, "07"}, {12, "12"}, {10, "10"}, {123, "23"}, {-5, "-5"}, {-12, "12"}};
    for (const auto& c : digits) {
        EXPECT_EQ(TwoDigits(static_cast<std::int16_t>(c.n)), QString::fromLatin1(c.out)) << c.n;
    }
    EXPECT_EQ(WakuColor(1), (Rgb{255, 255, 255}));
    EXPECT_EQ(WakuColor(2), (Rgb{64, 64, 64}));
    EXPECT_EQ(WakuColor(7), (Rgb{255, 128, 0}));
    EXPECT_EQ(WakuColor(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(WakuColor(9), (Rgb{0, 0, 0}));
}

TEST(CodeTables, ReplaceAndCount) {
    EXPECT_EQ(ReplaceAll(u"a-b-c", u"-", u"--"), QStringLiteral("a--b--c"));  // no re-replacement
    EXPECT_EQ(ReplaceAll(u"aaa", u"aa", u"b"), QStringLiteral("ba"));
    EXPECT_EQ(ReplaceAll(u"abc", u"", u"x"), QStringLiteral("abc"));
    EXPECT_EQ(CountOccurrences(u"aaaa", u"aa"), 2);
    EXPECT_EQ(CountOccurrences(u"aaaa", u""), 0);
    EXPECT_EQ(CountOccurrences(u"東京東京", u"東"), 2);
}

TEST(CodeTables, NearestRaceDay) {
    const struct {
        QDate in;
        const char* out;
    } cases[] = {
        {QDate(2026, 12, 9), "20261206"},   // Wednesday -> the Sunday before
        {QDate(2026, 12, 7), "20261206"},   // Monday
        {QDate(2026, 12, 10), "20261206"},  // Thursday
        {QDate(2026, 12, 11), "20261212"},  // Friday -> Saturday
        {QDate(2026, 12, 12), "20261212"},  // Saturday
        {QDate(2026, 12, 13), "20261213"},  // Sunday
        {QDate(2027, 1, 1), "20270102"},    // a Friday across the year end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestRaceDay(c.in), QString::fromLatin1(c.out)) << c.in.toString().toStdString();
    }
}

TEST(CodeTables, FullWidthDigitsAndDates) {
    EXPECT_EQ(FullWidthDigits(u"3回5"), QStringLiteral("３回５"));
    EXPECT_FALSE(DateFromYmd(u"20260230").isValid());
    EXPECT_FALSE(DateFromYmd(u"2026123").isValid());
    EXPECT_EQ(DateFromYmd(u"20261206"), QDate(2026, 12, 6));
}

// The one rule for DAY and VENUE on the command line.
TEST(CommandLineArguments, DayAndVenue) {
    auto optionalOf = [](const char16_t* text) {
        return text ? std::optional<QString>(QString::fromUtf16(text)) : std::nullopt;
    };
    const struct {
        const char16_t* text;
        const char16_t* day;  // nullptr: refused
    } days[] = {
        {u"20261206", u"20261206"}, {u"20240229", u"20240229"}, {u"20230229", nullptr},
        {u"2026126", nullptr}, {u"2026/12/6", nullptr}, {u"２０２６１２０６", nullptr},
        {u"+2026120", nullptr}, {u"", nullptr},
    };
    for (const auto& c : days)
        EXPECT_EQ(DayArgument(c.text), optionalOf(c.day)) << QString::fromUtf16(c.text).toStdString();
    const struct {
        const char16_t* text;
        const char16_t* code;
    } venues[] = {
        {u"京都", u"00"}, {u"東京", u"04"}, {u"函館", u"09"}, {u"札幌", u"08"}, {u"00", u"00"}, {u"09", u"09"},
        {u"10", nullptr}, {u"35", nullptr}, {u"大井", nullptr}, {u"4", nullptr},
        {u"東京都", nullptr}, {u"０４", nullptr}, {u" 東京", nullptr}, {u"", nullptr},
    };
    for (const auto& c : venues)
        EXPECT_EQ(VenueArgument(c.text), optionalOf(c.code)) << QString::fromUtf16(c.text).toStdString();
}

}  // namespace
}  // namespace zm
