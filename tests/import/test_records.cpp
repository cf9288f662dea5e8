#include "import/race_model.h"
#include "import/records.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

namespace zm {
namespace {

struct Layout {
    const char* type;
    int length;
    std::span<const Field> fields;
    bool lineEnd;  // the last field is lineEnd at length - 2
};

const Layout kLayouts[] = {
    {"RaceRecord", RaceRecord::kLength, RaceRecord::kFields, true},
    {"RunnerSlot", RunnerSlot::kLength, RunnerSlot::kFields, false},
    {"EntryRecord", EntryRecord::kLength, EntryRecord::kFields, true},
    {"RunnerInfo", RunnerInfo::kLength, RunnerInfo::kFields, false},
    {"HorseRecord", HorseRecord::kLength, HorseRecord::kFields, true},
    {"PastRun", PastRun::kLength, PastRun::kFields, false},
    {"JockeyRecord", JockeyRecord::kLength, JockeyRecord::kFields, true},
    {"OddsRecord", OddsRecord::kLength, OddsRecord::kFields, true},
};

TEST(RecordLayout, FieldsLieInsideTheRecordInOrderWithoutOverlap) {
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE(l.type);
        int end = 0;
        for (const Field& f : l.fields) {
            SCOPED_TRACE(f.name);
            EXPECT_GE(f.offset, end);
            EXPECT_GT(f.width, 0);
            end = f.end();
        }
        EXPECT_LE(end, l.length);
        if (l.lineEnd) {
            EXPECT_STREQ(l.fields.back().name, "lineEnd");
            EXPECT_EQ(l.fields.back().offset, l.length - 2);
            EXPECT_EQ(end, l.length);
        }
    }
}

TEST(RecordLayout, SubRecordsFillTheirArrays) {
    EXPECT_EQ(RaceRecord::runners.end(), 777);
    EXPECT_EQ(EntryRecord::works.end(), 606);
    EXPECT_EQ(HorseRecord::pastRuns.end(), 4014);
    EXPECT_EQ(HorseRecord::history.end(), 5164);
    EXPECT_EQ(EntryRecord::horseCode.offset, 25);
    EXPECT_EQ(HorseRecord::statsAField(15, 3).offset, 656 + 8 * 15 + 6);
    EXPECT_EQ(JockeyRecord::statGroupField(42, 0).offset, 309 + 12 * 42);
}

TEST(OddsRecordLayout, QuinellaPairPositions) {
    struct Case {
        int i, j, pos;
    };
    const Case cases[] = {{1, 2, 1},   {1, 18, 17}, {2, 3, 18},  {3, 2, 18}, {2, 18, 33},
                          {17, 18, 153}, {5, 5, 0}, {0, 3, 0},   {1, 19, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.i << "-" << c.j);
        EXPECT_EQ(OddsRecord::quinellaIndex(c.i, c.j), c.pos);
    }
    EXPECT_EQ(OddsRecord::quinellaField(17, 18).end(), 1502);
}

TEST(RecordCount, RoundsHalfToEven) {
    struct Case {
        qint64 length;
        int recordLength;
        int count;
    };
    const Case cases[] = {
        {0, 779, 0},           {779 * 3, 779, 3},     {779 * 2 + 389, 779, 2}, {779 * 2 + 390, 779, 3},
        {25, 10, 2},           {35, 10, 4},           {15, 10, 2},             {5, 10, 0},
        {4, 10, 0},            {6, 10, 1},            {5166 - 1, 5166, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.length << "/" << c.recordLength);
        EXPECT_EQ(recordCountOf(c.length, c.recordLength), c.count);
        EXPECT_EQ(RecordFile(QByteArray(c.length, 'x'), c.recordLength).count(), c.count);
    }
}

TEST(RecordFileTest, PartialLastRecordIsPaddedWithBlanks) {
    const RecordFile file(QByteArray("abcdeXYZ"), 5);
    ASSERT_EQ(file.count(), 2);
    EXPECT_EQ(file.record(1), QByteArray("abcde"));
    EXPECT_EQ(file.record(2), QByteArray("XYZ  "));
    EXPECT_TRUE(file.record(3).isEmpty());
    EXPECT_TRUE(file.record(0).isEmpty());
}

TEST(FixedRecordTest, TextNumbersAndPadding) {
    RaceRecord race;
    EXPECT_EQ(race.bytes().size(), 779);
    EXPECT_EQ(race.bytes().right(2), QByteArray("\r\n"));
    race.setText(RaceRecord::raceNo, u" 1");
    race.setText(RaceRecord::distance, u"1800m extra");
    race.setText(RaceRecord::postTime, u"9");
    EXPECT_EQ(race.number(RaceRecord::raceNo), 1);
    EXPECT_EQ(race.raw(RaceRecord::distance), QByteArrayView("1800"));
    EXPECT_EQ(race.raw(RaceRecord::postTime), QByteArrayView("9    "));
    EXPECT_EQ(race.number(RaceRecord::runnerCount), 0);

    // Two-byte characters count two bytes; a cut never leaves half a character behind as text.
    EntryRecord entry;
    entry.setText(EntryRecord::jockeyShort, u"武豊");
    EXPECT_EQ(entry.raw(EntryRecord::jockeyShort).size(), 8);
    EXPECT_EQ(entry.trimmed(EntryRecord::jockeyShort), QStringLiteral("武豊"));
    entry.setText(EntryRecord::horseName, u"ディープインパクトディープインパクト");
    EXPECT_EQ(entry.text(EntryRecord::horseName), QStringLiteral("ディープインパクトディープイン"));
}

TEST(FixedRecordTest, SubRecordsRoundTripAndUnnamedBytesStay) {
    QByteArray raw(HorseRecord::kLength, '\0');
    for (int i = 0; i < raw.size(); ++i)
        raw[i] = char(0x20 + (i * 7) % 90);
    HorseRecord horse(raw);
    PastRun run = horse.pastRun(2);
    run.setText(PastRun::figure, u"105");
    horse.setPastRun(2, run);
    EXPECT_EQ(horse.number(HorseRecord::pastRunField(2, PastRun::figure)), 105);
    QByteArray expected = raw;
    expected.replace(1064 + 590 + 251, 3, "105");
    EXPECT_EQ(horse.bytes(), expected);

    RaceRecord race;
    RunnerSlot slot;
    slot.setText(RunnerSlot::umaban, u" 7");
    slot.setText(RunnerSlot::horseCode, u"1234567");
    race.setRunner(28, slot);
    EXPECT_EQ(race.runner(28).trimmed(RunnerSlot::horseCode), QStringLiteral("1234567"));
    EXPECT_EQ(race.text(RaceRecord::runnerField(28, RunnerSlot::umaban)), QStringLiteral(" 7"));
    EXPECT_EQ(race.bytes().right(2), QByteArray("\r\n"));
}

TEST(CodeIndexTest, FirstMatchWins) {
    CodeIndex index;
    for (const char* code : {"1000001", "1000002", "1000001", "1000003"})
        index.append(QString::fromLatin1(code));
    EXPECT_EQ(index.size(), 4);
    EXPECT_EQ(index.find(QStringLiteral("1000001")), 1);
    EXPECT_EQ(index.find(QStringLiteral("1000003")), 4);
    EXPECT_EQ(index.find(QStringLiteral("100000")), 0);
    EXPECT_EQ(index.at(3), QStringLiteral("1000001"));
}

TEST(JockeyLookup, FirstMatchWins) {
    JockeyTable table;
    table.append(QStringLiteral("01001"), 40);
    table.append(QStringLiteral("01001"), 50);
    table.append(QStringLiteral("01002"), 22);
    EXPECT_EQ(table.rating(QStringLiteral("01001")), std::optional<std::int16_t>(40));
    EXPECT_EQ(table.rating(QStringLiteral("01002")), std::optional<std::int16_t>(22));
    EXPECT_EQ(table.rating(QStringLiteral("0100")), std::nullopt);
}

}  // namespace
}  // namespace zm
