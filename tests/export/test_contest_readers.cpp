#include "export/contest_readers.h"
#include "export/duel_text.h"
#include "export/mur_contest_text.h"
#include "export/export_fixtures.h"
#include "codes/codetables.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

using T = ContestBetType;
const QString kDay = QStringLiteral("20261205");

std::vector<ContestBet> mur(const QString& text, const QString& code = QStringLiteral("A917")) {
    const auto r = readMurContestText(text, kDay, code);
    EXPECT_TRUE(r.ok()) << r.message().toStdString();
    return r.ok() ? r.value() : std::vector<ContestBet>{};
}

const QString kHeader = QStringLiteral("■ 中山 11Ｒ 20261205 [A917] 発走15:25 16頭立");

TEST(MurContestReader, HeaderRulesDecideWhichEntriesCount) {
    struct Case {
        const char* name;
        QString header;
        QString code;
        size_t bets;
    };
    const Case cases[] = {
        {"as written", kHeader, QStringLiteral("A917"), 1},
        {"code in another case", kHeader, QStringLiteral("a917"), 1},
        {"another code", kHeader, QStringLiteral("0863"), 0},
        {"another day", QStringLiteral("■ 中山 11Ｒ 20261206 [A917] 発走15:25 16頭立"), QStringLiteral("A917"), 0},
        {"30 characters", kHeader.left(30), QStringLiteral("A917"), 0},
        {"31 characters", kHeader.left(31), QStringLiteral("A917"), 1},
        {"no Ｒ at 8", QStringLiteral("■ 中山 11R  20261205 [A917] 発走15:25 16頭立"), QStringLiteral("A917"), 0},
        {"race 13", QStringLiteral("■ 中山 13Ｒ 20261205 [A917] 発走15:25 16頭立"), QStringLiteral("A917"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mur(c.header + QStringLiteral("\r\n単勝      5     100円\r\n"), c.code).size(), c.bets);
    }
}

TEST(MurContestReader, SelectionLinesOfEveryTypeAndTheirLimits) {
    const QString text = QStringLiteral("前書き\r\n") + kHeader +
                         QStringLiteral("\r\n単勝      5     100円\r\n複勝 ７ 200円\r\n枠連  3-3  300円\r\n"
                                        "馬連  05-12     100円\r\nワイド 1 - 18 500円\r\n馬連  05-05 100円\r\n"
                                        "馬連  05-19 100円\r\n単勝 19 100円\r\n枠連 1-9 100円\r\n");
    const std::vector<ContestBet> expected = {
        {QStringLiteral("中山"), 11, T::Win, 5, 0, 100},      {QStringLiteral("中山"), 11, T::Place, 7, 0, 200},
        {QStringLiteral("中山"), 11, T::Bracket, 3, 3, 300},  {QStringLiteral("中山"), 11, T::Quinella, 5, 12, 100},
        {QStringLiteral("中山"), 11, T::Wide, 1, 18, 500},
    };
    EXPECT_EQ(mur(text), expected);
}

TEST(MurContestReader, OtherLineEndsTheRaceAndSixOfATypeAreKept) {
    QString text = kHeader + QStringLiteral("\r\n");
    for (int b = 2; b <= 9; ++b)
        text += QStringLiteral("馬連  01-%1 100円\r\n").arg(b, 2, 10, QLatin1Char('0'));
    text += QStringLiteral("\r\n単勝 3 100円\r\n");  // after a blank line: no race
    const auto bets = mur(text);
    ASSERT_EQ(bets.size(), 6u);
    EXPECT_EQ(bets.back().second, 7);
}

// The venue stands where the writer puts it (characters 3-4), for JRA and other courses alike;
// only exact names of the venue table count, and an entry with any other venue gives no bets.
TEST(MurContestReader, VenueIsAnExactNameWhereTheWriterPutsIt) {
    const struct {
        const char* name;
        QString header;
        QString venue;  // empty: skipped
    } cases[] = {
        {"JRA course", kHeader, QStringLiteral("中山")},
        {"other course", QStringLiteral("■ 大井  3Ｒ 20261205 [A917] 発走15:25 16頭立"), QStringLiteral("大井")},
        {"venue at the line start", QStringLiteral("大井大井  3Ｒ 20261205 [A917] 発走15:25 16頭立"), QStringLiteral("大井")},
        {"reversed name", QStringLiteral("■ 館福  3Ｒ 20261205 [A917] 発走15:25 16頭立"), QString()},
        {"across two names", QStringLiteral("■ 島新  3Ｒ 20261205 [A917] 発走15:25 16頭立"), QString()},
        {"mark only", QStringLiteral("■ ■   3Ｒ 20261205 [A917] 発走15:25 16頭立"), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContestSkips skips;
        const auto r = readMurContestText(c.header + QStringLiteral("\r\n単勝 3 100円\r\n"), kDay, u"A917", &skips);
        ASSERT_TRUE(r.ok());
        if (c.venue.isEmpty()) {
            EXPECT_TRUE(r->empty());
            EXPECT_EQ(skips.venueLines, 1);
            EXPECT_EQ(skips.firstVenueLine, c.header);
        } else {
            ASSERT_EQ(r->size(), 1u);
            EXPECT_EQ(r->front().venue, c.venue);
            EXPECT_EQ(skips.venueLines, 0);
        }
    }
}

// What the writer puts in a header, the reader takes back, for every course of the venue table.
TEST(MurContestReader, WriterAndReaderAgreeOnEveryVenue) {
    int courses = 0;
    for (int code = 0; code < 100; ++code) {
        const QString venueCode = QString::number(code).rightJustified(2, u'0');
        const QString name = VenueName(venueCode);
        if (name == u"？？")
            continue;
        SCOPED_TRACE(venueCode.toStdString());
        MurContestInput input;
        input.day = kDay;
        const MurContestText text = murContestText({test::raceWith(venueCode, 3, 12, 5, {})}, input);
        ContestSkips skips;
        const auto r = readMurContestText(text.lines.join(QStringLiteral("\r\n")), kDay, kMurSoftCode, &skips);
        ASSERT_TRUE(r.ok());
        if (name.size() == 2) {  // names longer than the header's two characters cannot be told
            ASSERT_EQ(r->size(), 1u);
            EXPECT_EQ(r->front().venue, name);
            ++courses;
        } else {
            EXPECT_TRUE(r->empty());
            EXPECT_EQ(skips.venueLines, 1);
        }
    }
    EXPECT_GT(courses, 50);
}

TEST(DuelContestReader, HeaderVenueMustBeAVenueName) {
    const QString races = QStringLiteral("\r\n------\r\n 1R   3  3- 5\r\n");
    const struct {
        const char* name;
        QString venue;
        size_t bets;
    } cases[] = {
        {"name", QStringLiteral("東京"), 2},
        {"comma in the venue", QStringLiteral("東京競馬場,X"), 0},
        {"name with a comma after", QStringLiteral("東京,X"), 0},
        {"reversed name", QStringLiteral("館福"), 0},
        {"name inside a longer word", QStringLiteral("東京都"), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ContestSkips skips;
        const QString text =
            c.venue + QStringLiteral(" 2026年  5回  1日目 12月  5日(土) [0863] ゼノゼノＭＵＲ Ver0.1.0") + races;
        const auto r = readDuelContestText(text, kDay, u"0863", &skips);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r->size(), c.bets);
        EXPECT_EQ(skips.venueLines, c.bets == 0 ? 1 : 0);
        for (const ContestBet& b : *r)
            EXPECT_EQ(b.venue, c.venue);
    }
}

// CR LF, LF and a lone CR all end a line, in both readers.
TEST(ContestReaders, EveryLineEndEndsALine) {
    const QString duel = QStringLiteral("中山 2026年  5回  1日目 12月  5日(土) [0863] x\n 1R   3\n");
    const QString murText = kHeader + QStringLiteral("\n単勝 3 100円\n");
    for (const QString& end : {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")}) {
        SCOPED_TRACE(end.toStdString());
        QString d = duel;
        d.replace(u'\n', end);
        QString m = murText;
        m.replace(u'\n', end);
        EXPECT_EQ(readDuelContestText(d, kDay, u"0863")->size(), 1u);
        EXPECT_EQ(mur(m).size(), 1u);
    }
}

using Reader = Result<std::vector<ContestBet>> (*)(QStringView, QStringView, QStringView, ContestSkips*);

TEST(ContestReaders, LineGuardTripsAtItsCount) {
    for (const int lines : {kContestLineGuard - 1, kContestLineGuard}) {
        SCOPED_TRACE(lines);
        const QString text = QStringLiteral("x\r\n").repeated(lines);
        for (Reader read : {Reader(readMurContestText), Reader(readDuelContestText)}) {
            const auto r = read(text, kDay, QStringLiteral("A917"), nullptr);
            EXPECT_EQ(r.ok(), lines < kContestLineGuard);
            if (!r.ok()) {
                EXPECT_EQ(r.message(), QStringLiteral("Ridge形式予想ファイルの格納ログが変です！　作者までご連絡ください。"));
            }
        }
    }
}

// The guard counts lines since the last race entry: a long file of many days is read as long
// as race entries keep coming.
TEST(ContestReaders, LineGuardCountsSinceTheLastRaceEntry) {
    const QString filler = QStringLiteral("x\r\n").repeated(kContestLineGuard - 10);
    const QString murText = filler + kHeader + QStringLiteral("\r\n単勝 3 100円\r\n") + filler + kHeader +
                            QStringLiteral("\r\n単勝 4 100円\r\n") + filler;
    EXPECT_EQ(mur(murText).size(), 2u);
    const QString header = QStringLiteral("中山 2026年  5回  1日目 12月  5日(土) [0863] x\r\n 1R   3\r\n");
    const auto duel = readDuelContestText(filler + header + filler + header + filler, kDay, u"0863");
    ASSERT_TRUE(duel.ok());
    EXPECT_EQ(duel->size(), 2u);
}

TEST(DuelContestReader, ReadsBackWhatTheDuelTextWrites) {
    MeetingEntry nakayama{1, QStringLiteral("05"), kDay, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("土"), 12};
    const std::vector<PredictionRecord> recs = {
        test::raceWith(QStringLiteral("05"), 1, 9, 3, {305, 307, 309, 302}),
        test::raceWith(QStringLiteral("05"), 2, 8, 4, {35}),
        test::raceWith(QStringLiteral("05"), 3, 12, 1, {100, 112}),  // horse 0 skipped
    };
    const QString text = duelTextLines(recs, {nakayama}, QStringLiteral("0.1.0")).join(QStringLiteral("\r\n"));
    const auto r = readDuelContestText(text, kDay, QStringLiteral("0863"));
    ASSERT_TRUE(r.ok());
    const QString v = QStringLiteral("中山");
    const std::vector<ContestBet> expected = {
        {v, 1, T::Win, 3, 0, 0},      {v, 1, T::Quinella, 3, 5, 0}, {v, 1, T::Quinella, 3, 7, 0},
        {v, 1, T::Quinella, 3, 9, 0}, {v, 1, T::Quinella, 3, 2, 0}, {v, 2, T::Win, 4, 0, 0},
        {v, 2, T::Quinella, 3, 5, 0}, {v, 3, T::Win, 1, 0, 0},      {v, 3, T::Quinella, 1, 12, 0},
    };
    EXPECT_EQ(r.value(), expected);
    EXPECT_TRUE(readDuelContestText(text, QStringLiteral("20261206"), QStringLiteral("0863"))->empty());
    EXPECT_TRUE(readDuelContestText(text, kDay, QStringLiteral("A917"))->empty());
}

// Inputs the fuzzers kept: none may crash or hang, and every bet read obeys the limits.
TEST(ContestReaderCorpus, EveryKeptInputIsHandled) {
    for (const auto& [folder, format] : {std::pair{QStringLiteral("duel-corpus"), ContestFormat::Duel},
                                         std::pair{QStringLiteral("mur-corpus"), ContestFormat::Mur}}) {
        const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/") + folder;
        const QStringList files = QDir(dir).entryList(QDir::Files);
        ASSERT_FALSE(files.isEmpty()) << dir.toStdString();
        for (const QString& f : files) {
            SCOPED_TRACE((folder + u'/' + f).toStdString());
            QFile in(dir + u'/' + f);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            const QByteArray bytes = in.readAll();
            for (const QString& code : {QStringLiteral("0863"), QStringLiteral("A917")}) {
                const auto r = readContestFile(bytes, format, kDay, code);
                if (!r.ok())
                    continue;
                for (const ContestBet& b : r.value()) {
                    EXPECT_TRUE(b.race >= 1 && b.race <= 12);
                    EXPECT_TRUE(b.first >= 1 && b.first <= 18);
                    EXPECT_TRUE(b.second >= 0 && b.second <= 18);
                }
            }
        }
    }
}

}  // namespace
}  // namespace zm
