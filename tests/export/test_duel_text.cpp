#include "export/duel_text.h"
#include "export/export_fixtures.h"
#include "codes/sjis.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

const QString kVersion = QStringLiteral("2.4.6");

MeetingEntry meeting(const QString& venue, const QString& kai) {
    return MeetingEntry{1, venue, QStringLiteral("20260905"), kai, QStringLiteral("3"), QStringLiteral("土"), 12};
}

TEST(DuelText, RaceLineSlotsByFieldSize) {
    struct Case {
        const char* name;
        PredictionRecord rec;
        const char* picks;  // the 36 characters of the six slots
    };
    const QString v = QStringLiteral("05");
    const Case cases[] = {
        {"nine runners: four quinella slots", test::raceWith(v, 1, 9, 3, {305, 307, 309, 302, 304}),
         "  3- 5  3- 7  3- 9  3- 2            "},
        {"eight runners: one small-field slot", test::raceWith(v, 1, 8, 3, {35, 36}),
         "    35                              "},
        {"a pick naming horse 0 keeps its slot", test::raceWith(v, 1, 12, 3, {300, 307, 1203}),
         "        3- 7 12- 3                  "},
        {"a pick beyond the field keeps its slot", test::raceWith(v, 1, 10, 3, {311, 302, 304, 305, 306, 307}),
         "        3- 2  3- 4  3- 5  3- 6      "},
        {"eleven runners: six slots", test::raceWith(v, 1, 11, 1, {102, 103, 104, 105, 106, 111, 107}),
         "  1- 2  1- 3  1- 4  1- 5  1- 6  1-11"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString line = duelRaceLine(c.rec);
        EXPECT_EQ(line.left(7), QStringLiteral(" 1R   ") + QString::number(c.rec.winPicks[0].code));
        EXPECT_EQ(line.mid(7, 36), QString::fromLatin1(c.picks));
        EXPECT_EQ(line.mid(43, 3), QStringLiteral("  |"));
        EXPECT_EQ(ByteLength(line), 76);
    }
}

TEST(DuelText, RacesTakenAndVenueBlocks) {
    const QStringList lines = duelTextLines(
        {test::raceWith(QStringLiteral("05"), 1, 7, 3, {}),   // too small a field
         test::raceWith(QStringLiteral("05"), 2, 12, 0, {}),  // no win pick
         test::raceWith(QStringLiteral("05"), 3, 12, 4, {}), test::raceWith(QStringLiteral("00"), 1, 12, 5, {}),
         test::raceWith(QStringLiteral("02"), 1, 12, 6, {}), test::raceWith(QStringLiteral("03"), 1, 12, 7, {})},
        {meeting(QStringLiteral("05"), QStringLiteral("4")), meeting(QStringLiteral("00"), QStringLiteral("5")),
         meeting(QStringLiteral("02"), QStringLiteral("6")), meeting(QStringLiteral("03"), QStringLiteral("2"))},
        kVersion);
    const QString sep(76, u'-');
    ASSERT_EQ(lines.size(), 4 * 4 + 3 + 2);
    EXPECT_EQ(lines[0], sep);
    EXPECT_EQ(lines[1].trimmed(), QStringLiteral("中山 2026年  4回  3日目  9月  5日(土) [0863] ゼノゼノＭＵＲ Ver2.4.6"));
    EXPECT_EQ(ByteLength(lines[1]), 76);
    EXPECT_EQ(lines[3].left(7), QStringLiteral(" 3R   4"));
    EXPECT_EQ(lines[4], QString());
    // The fourth venue has its own block, its header from the fourth meeting.
    EXPECT_EQ(lines[16].left(12), QStringLiteral("小倉 2026年  2回"));
    EXPECT_EQ(lines[18].left(7), QStringLiteral(" 1R   7"));
    EXPECT_EQ(lines.mid(19), QStringList({QString(), QString()}));
}

TEST(DuelText, DayWithoutTakenRacesIsTwoBlankLines) {
    EXPECT_EQ(duelTextLines({test::raceWith(QStringLiteral("05"), 1, 5, 3, {12})}, {}, kVersion),
              QStringList({QString(), QString()}));
}

}  // namespace
}  // namespace zm
