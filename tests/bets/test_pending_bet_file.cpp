// The strict reader, the writer and the appender of the pending-bet file, and the money that
// passes through them.

#include "bets/bet_files.h"
#include "bets/bet_output.h"
#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "bets/voterobo.h"
#include "support/test_home.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

namespace zm {

void PrintTo(const PendingBet& b, std::ostream* os) {
    *os << PendingBetLineText(b).toStdString();
}

namespace {

using test::readBytes;
using test::writeBytes;

const QString kDay = QStringLiteral("20310309");

Amount yen(std::int64_t v) {
    return Amount::yen(v);
}

// A random bet of any type on a known venue, its stake one of the edges or any whole hundred.
PendingBet randomBet(std::mt19937& rng) {
    static const QStringList venues = {"札幌", "函館", "福島", "新潟", "東京", "中山",
                                       "中京", "京都", "阪神", "小倉", "大井"};
    static const QStringList types = {"単勝", "複勝", "枠連", "馬連", "ワイド", "拡大", "ワ"};
    static const std::int64_t edges[] = {100, 200, 99'900, 100'000, 999'900, 1'000'000, 9'999'900, 99'999'900};
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const QString type = types[pick(0, static_cast<int>(types.size()) - 1)];
    QString combination;
    if (type.startsWith(u'単') || type.startsWith(u'複')) {
        combination = QString::number(pick(1, 18));
    } else if (type.startsWith(u'枠')) {
        const int a = pick(1, 8);
        combination = QStringLiteral("%1-%2").arg(a).arg(pick(a, 8));
    } else {
        const int a = pick(1, 17);
        combination = QStringLiteral("%1-%2").arg(a, 2, 10, QChar(u'0')).arg(pick(a + 1, 18), 2, 10, QChar(u'0'));
    }
    const std::int64_t stake = pick(0, 3) == 0 ? edges[pick(0, 7)] : std::int64_t(pick(1, 999'999)) * 100;
    const QString odds = pick(0, 3) == 0   ? QString()
                         : pick(0, 9) == 0 ? QStringLiteral("ﾄﾘｹｼ")
                                           : QString::number(pick(10, 99999) / 10.0, 'f', 1);
    return MakePendingBet(venues[pick(0, static_cast<int>(venues.size()) - 1)], pick(1, 12), type, combination,
                          yen(stake), odds);
}

TEST(PendingBetRoundTrip, EveryBetWrittenReadsBackEqualThroughEveryWriter) {
    test::TestHome home;
    const QString path = PendingBetPath(home.ctx().paths, kDay);
    std::mt19937 rng(20310309);
    for (int round = 0; round < 3; ++round) {
        PendingBetTable table;
        for (int i = 0; i < 700; ++i)
            table.push_back(randomBet(rng));
        for (BetLineForm form : {BetLineForm::Rewrite, BetLineForm::Output}) {
            const auto bytes = PendingBetBytes(table, form);
            ASSERT_TRUE(bytes.ok()) << bytes.message().toStdString();
            const auto back = ParsePendingBets(path, *bytes);
            ASSERT_TRUE(back.ok()) << back.message().toStdString();
            ASSERT_EQ(back->bets, table);
        }
        // Appended in two parts onto a file whose last line has no line end.
        QFile::remove(path);
        writeBytes(path, PendingBetBytes({table[0]})->chopped(2));
        const PendingBetTable rest(table.begin() + 1, table.end());
        const PendingBetTable first(rest.begin(), rest.begin() + 300);
        const PendingBetTable second(rest.begin() + 300, rest.end());
        ASSERT_TRUE(AppendPendingBets(path, first, BetLineForm::Output).ok());
        ASSERT_TRUE(AppendPendingBets(path, second).ok());
        const auto read = ReadPendingBets(path);
        ASSERT_TRUE(read.ok()) << read.message().toStdString();
        ASSERT_EQ(read->bets, table);
        for (const PendingBet& b : table) {
            const Amount stake = *b.stake();
            // The purchase file and the schedule carry the stake whole, in plain digits.
            const QString line = PurchaseLine(b);
            ASSERT_TRUE(line.endsWith(QStringLiteral(" ") + stake.digits() + u'円')) << line.toStdString();
            ASSERT_EQ(VoteRoboBets(PendingBetTable{b}).at(0).Amount, stake.digits());
        }
    }
}

TEST(PendingBetRoundTrip, MergedSumsAreExactOrRefused) {
    std::mt19937 rng(7);
    for (int i = 0; i < 2000; ++i) {
        PendingBet a = randomBet(rng);
        PendingBet b = a;
        b.Amount = randomBet(rng).Amount;
        const std::int64_t sum = a.stake()->value() + b.stake()->value();
        const auto folded = FoldDuplicates({a, b}, true);
        if (sum > kMaxStake) {
            ASSERT_FALSE(folded.ok());
            ASSERT_TRUE(folded.message().startsWith(pendingBetName(a))) << folded.message().toStdString();
            continue;
        }
        ASSERT_TRUE(folded.ok());
        ASSERT_EQ(folded->kept.at(0).stake(), yen(sum));
        ASSERT_TRUE(PendingBetBytes(folded->kept).ok());
    }
}

TEST(PendingBetWriter, RefusesABetThatWouldNotReadBackAndNamesIt) {
    const struct {
        const char* what;
        PendingBet bet;
    } cases[] = {
        {"stake 150", MakePendingBet("東京", 11, "単勝", "3", yen(150))},
        {"stake 0", MakePendingBet("東京", 11, "単勝", "3", yen(0))},
        {"stake 100,000,000", MakePendingBet("東京", 11, "単勝", "3", yen(100'000'000))},
        {"venue", MakePendingBet("館福", 11, "単勝", "3", yen(100))},
        {"race 13", MakePendingBet("東京", 13, "単勝", "3", yen(100))},
        {"same horse twice", MakePendingBet("東京", 11, "馬連", "05-05", yen(100))},
        {"bracket 9", MakePendingBet("東京", 11, "枠連", "1-9", yen(100))},
        {"three horses", MakePendingBet("東京", 11, "馬連", "1-2-3", yen(100))},
    };
    for (const auto& c : cases) {
        const auto bytes = PendingBetBytes({MakePendingBet("中山", 1, "単勝", "1", yen(100)), c.bet});
        ASSERT_FALSE(bytes.ok()) << c.what;
        EXPECT_TRUE(bytes.message().startsWith(pendingBetName(c.bet))) << c.what << bytes.message().toStdString();
    }
    PendingBetTable full(kPendingBetTableSize + 1, MakePendingBet("東京", 1, "単勝", "1", yen(100)));
    EXPECT_FALSE(PendingBetBytes(full).ok());
    full.pop_back();
    EXPECT_TRUE(PendingBetBytes(full).ok());
}

// What the reader takes, and the line it names when it does not.
TEST(PendingBetReader, TakesEveryLineEndAndNamesTheFirstBadLine) {
    const struct {
        const char* what;
        QByteArray bytes;
        int bets;        // -1: refused
        QString naming;  // part of the message when refused
    } cases[] = {
        {"CR LF", toSjis(u"東京,1R,単勝,1,,100円\r\n東京,1R,単勝,2,,100円\r\n"), 2, {}},
        {"LF", toSjis(u"東京,1R,単勝,1,,100円\n東京,1R,単勝,2,,100円\n"), 2, {}},
        {"CR only", toSjis(u"東京,1R,単勝,1,,100円\r東京,1R,単勝,2,,100円\r"), 2, {}},
        {"no final line end", toSjis(u"東京,1R,単勝,1,,100円\r\n東京,1R,単勝,2,,100円"), 2, {}},
        {"blank lines", toSjis(u"\r\n   \r\n東京,1R,単勝,1,,100円\r\n\r\n"), 1, {}},
        {"blanks around fields", toSjis(u" 東京 , 1R , 単勝 , 1 , 2.5 , 1000円 "), 1, {}},
        {"full-width digits in the stake", toSjis(u"東京,1R,単勝,1,,１００円"), 1, {}},
        {"UTF-8", QByteArray("東京,1R,単勝,1,,100円\r\n"), -1, "UTF-8"},
        {"not Shift-JIS", toSjis(u"東京,1R,単勝,1,,100円\r\n") + "\x81\r\n", -1, "2 行目"},
        {"full-width commas", toSjis(u"東京，1R，単勝，1，，100円"), -1, "1 行目「東京，1R"},
        {"tabs", toSjis(u"東京\t1R\t単勝\t1\t\t100円"), -1, "1 行目"},
        {"five fields", toSjis(u"東京,1R,単勝,1,100円"), -1, "1 行目"},
        {"seven fields", toSjis(u"東京,1R,単勝,1,,100円,\r\n"), -1, "1 行目"},
        {"unknown venue", toSjis(u"東京,1R,単勝,1,,100円\r\n館福,1R,単勝,1,,100円"), -1, "2 行目「館福"},
        {"venue with a comma", toSjis(u"東京競馬場,X,1R,単勝,1,,100円"), -1, "1 行目"},
        {"race 13", toSjis(u"東京,13R,単勝,1,,100円"), -1, "13R"},
        {"unknown type", toSjis(u"東京,1R,三連単,1-2-3,,100円"), -1, "三連単"},
        {"horse 19", toSjis(u"東京,1R,単勝,19,,100円"), -1, "19"},
        {"quinella 5-123", toSjis(u"東京,1R,馬連,5-123,,100円"), -1, "5-123"},
        {"quinella 1-2-3", toSjis(u"東京,1R,馬連,1-2-3,,100円"), -1, "1-2-3"},
        {"blanks inside a combination", toSjis(u"東京,1R,馬連,5 - 12,,100円"), -1, "5 - 12"},
        {"same horses", toSjis(u"東京,1R,ワイド,03-03,,100円"), -1, "03-03"},
        {"stake 150", toSjis(u"東京,1R,単勝,1,,150円"), -1, "150円"},
        {"stake with commas", toSjis(u"東京,1R,単勝,1,,1,000円"), -1, "1 行目"},
        {"huge stake", toSjis(u"東京,1R,単勝,1,,99999999999999999999円"), -1, "99999999999999999999"},
        {"float stake", toSjis(u"東京,1R,単勝,1,,1e+05円"), -1, "1e+05"},
        {"odds text", toSjis(u"東京,1R,単勝,1,abc,100円"), -1, "abc"},
    };
    for (const auto& c : cases) {
        const auto r = ParsePendingBets("~B.TXT", c.bytes);
        if (c.bets < 0) {
            ASSERT_FALSE(r.ok()) << c.what;
            EXPECT_TRUE(r.message().contains(c.naming)) << c.what << ": " << r.message().toStdString();
        } else {
            ASSERT_TRUE(r.ok()) << c.what << ": " << r.message().toStdString();
            EXPECT_EQ(static_cast<int>(r->bets.size()), c.bets) << c.what;
        }
    }
}

TEST(PendingBetAppender, ChecksTheFileAndTheLimitBeforeWriting) {
    test::TestHome home;
    const QString path = PendingBetPath(home.ctx().paths, kDay);
    const PendingBet bet = MakePendingBet("中山", 11, "単勝", "3", yen(100));
    const struct {
        const char* what;
        QByteArray existing;
        int adding;
        bool ok;
    } cases[] = {
        {"missing file", {}, 1, true},
        {"no final line end", toSjis(u"中山,11R,単勝,1,,100円"), 1, true},
        {"bad file", toSjis(u"中山,11R,単勝,1,,100円\r\n中山,11R,単勝,1,,100\r\nx\r\n"), 1, false},
        {"full table", test::betBytes(QStringList(2048, "中山,11R,単勝,1,,100円")), 1, false},
        {"one place left", test::betBytes(QStringList(2047, "中山,11R,単勝,1,,100円")), 1, true},
        {"two past the table", test::betBytes(QStringList(2047, "中山,11R,単勝,1,,100円")), 2, false},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        if (!c.existing.isNull())
            writeBytes(path, c.existing);
        const QByteArray before = readBytes(path);
        const Status s = AppendPendingBets(path, PendingBetTable(static_cast<size_t>(c.adding), bet));
        EXPECT_EQ(s.ok(), c.ok) << c.what << ": " << s.message().toStdString();
        if (!c.ok) {
            EXPECT_FALSE(s.message().isEmpty());
            EXPECT_EQ(readBytes(path), before) << c.what;
            continue;
        }
        const auto read = ReadPendingBets(path);
        ASSERT_TRUE(read.ok()) << c.what;
        EXPECT_EQ(read->bets.back(), bet) << c.what;
        EXPECT_TRUE(readBytes(path).startsWith(before)) << c.what;
    }
}

TEST(BetOutput, ChecksEveryRowAndNamesTheOnesItSkips) {
    test::TestHome home;
    const struct {
        const char* what;
        BetGroup group;
        BetRow row;
        QString combination;  // empty: skipped
        std::int64_t stake;
    } cases[] = {
        {"full-width horse", GroupWin, {true, "５", "100"}, "    5", 100},
        {"full-width stake", GroupPlace, {true, "18", "１，０００"}, "", 0},
        {"grouped stake", GroupWin, {true, "3", "1,000"}, "", 0},
        {"stake 150", GroupWin, {true, "3", "150"}, "", 0},
        {"stake 99", GroupWin, {true, "3", "99"}, "", 0},
        {"largest stake", GroupWin, {true, "3", "99999900"}, "    3", 99'999'900},
        {"stake past the largest", GroupWin, {true, "3", "100000000"}, "", 0},
        {"million", GroupWin, {true, "3", "1000000"}, "    3", 1'000'000},
        {"horse 19", GroupWin, {true, "19", "100"}, "", 0},
        {"horse 3x", GroupWin, {true, "3x", "100"}, "", 0},
        {"bracket 81", GroupBracket, {true, "81", "100"}, "  1-8", 100},
        {"bracket 9", GroupBracket, {true, "9", "100"}, "", 0},
        {"quinella 12-5", GroupQuinella, {true, "12-5", "500"}, "05-12", 500},
        {"quinella full-width", GroupQuinella, {true, "１２－５", "500"}, "05-12", 500},
        {"quinella 5-123", GroupQuinella, {true, "5-123", "500"}, "", 0},
        {"quinella 1-2-3", GroupQuinella, {true, "1-2-3", "500"}, "", 0},
        {"quinella 3-3", GroupQuinella, {true, "3-3", "500"}, "", 0},
    };
    for (const auto& c : cases) {
        BetOutForm f = OpenBetOutForm(home.ctx().settings);
        *f.row(c.group, 0) = c.row;
        const BetOutBets out = BetOutBetsOf(f, "04", 11);
        if (c.combination.isEmpty()) {
            EXPECT_TRUE(out.bets.empty()) << c.what;
            ASSERT_EQ(out.skipped.size(), 1) << c.what;
            EXPECT_TRUE(out.skipped[0].contains(QStringLiteral("「") + c.row.entry + QStringLiteral("」"))) << c.what;
            continue;
        }
        ASSERT_EQ(out.bets.size(), 1u) << c.what << out.skipped.join(' ').toStdString();
        EXPECT_EQ(out.bets[0].Combination, c.combination) << c.what;
        EXPECT_EQ(out.bets[0].stake(), yen(c.stake)) << c.what;
    }
}

TEST(BetOutput, WritesTheGoodRowsOrNothingWhenAskedForAll) {
    Notices notices;
    test::TestHome home;
    const QString path = PendingBetPath(home.ctx().paths, kDay);
    BetOutForm f = OpenBetOutForm(home.ctx().settings);
    f.tan[0] = BetRow{true, "3", "1000000"};
    f.tan[1] = BetRow{true, "4", "1,000"};
    const auto all = WriteBetOut(home.ctx(), kDay, f, "05", 11, notices, true);
    ASSERT_FALSE(all.ok());
    EXPECT_TRUE(all.message().contains("「4」")) << all.message().toStdString();
    EXPECT_FALSE(QFile::exists(path));
    const auto some = WriteBetOut(home.ctx(), kDay, f, "05", 11, notices);
    ASSERT_TRUE(some.ok());
    EXPECT_EQ(some->written, 1);
    EXPECT_EQ(some->skipped.size(), 1);
    EXPECT_EQ(test::readLines(path), QStringList{"中山,11R,単勝,    3,      ,1000000円"});
}

TEST(VoteRoboOptions, AnOutputGroupNeverChosenIsGroupOne) {
    for (const char* stored : {"", "x", "12"}) {
        AppSettings s;
        s.GroupOut = stored;
        EXPECT_EQ(VoteRoboOptionsOf(s).groupOut, "1") << stored;
    }
    AppSettings s;
    s.GroupOut = "7";
    EXPECT_EQ(VoteRoboOptionsOf(s).groupOut, "7");
}

}  // namespace
}  // namespace zm
