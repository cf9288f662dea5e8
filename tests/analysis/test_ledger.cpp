#include "analysis/ledger.h"
#include "analysis/ledger_report.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zm {
namespace {

using zm::Judgement;

LedgerBet bet(const char* venue, int race, const char* type, Judgement j, int stake, int returns = 0,
              bool pending = false, int style = -1) {
    return {QString::fromLatin1(venue), race, QString::fromLatin1(type), QStringLiteral(" 3- 5"),
            Amount::yen(stake), j, Amount::yen(returns ? returns * 100 / stake : 0), Amount::yen(returns),
            pending, style};
}

LedgerDay sampleDay(const QString& day, int bets = 3) {
    LedgerDay d;
    d.day = day;
    for (int i = 0; i < bets; ++i)
        d.bets.push_back(bet("06", i + 1, "4", i % 3 ? Judgement::Miss : Judgement::Hit, 1000, i % 3 ? 0 : 4500, i < 2, 5));
    d.results = {QByteArray(184, 'r') + "\r\n"};
    PendingBet p;
    p.Venue = QStringLiteral("中山");
    p.Race = QStringLiteral("11R");
    p.BetType = QStringLiteral("馬連");
    p.Combination = QStringLiteral(" 3- 5");
    p.Odds = QStringLiteral("12.3");
    p.Amount = QStringLiteral("1000");
    d.pending = {p};
    return d;
}

QByteArray fileHash(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

class LedgerTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(kLedgerFileName);
};

TEST_F(LedgerTest, ADayWrittenTwiceChangesNothingAndAChangedDayIsReplacedWhole) {
    auto ledger = Ledger::open(path);
    ASSERT_TRUE(ledger) << ledger.message().toStdString();
    const LedgerDay day = sampleDay(QStringLiteral("20261205"));
    ASSERT_EQ(ledger.value()->writeDay(day).value(), Ledger::Change::Added);
    ASSERT_EQ(ledger.value()->writeDay(sampleDay(QStringLiteral("20261206"), 5)).value(), Ledger::Change::Added);
    ledger.value().reset();  // checkpoints the log into the file

    const QByteArray before = fileHash(path);
    ledger = Ledger::open(path);
    ASSERT_TRUE(ledger);
    EXPECT_EQ(ledger.value()->writeDay(day).value(), Ledger::Change::Unchanged);
    ledger.value().reset();
    EXPECT_EQ(fileHash(path), before) << "an unchanged day writes nothing";

    ledger = Ledger::open(path);
    LedgerDay changed = sampleDay(QStringLiteral("20261205"), 2);
    changed.bets[1].judgement = Judgement::Refund;
    EXPECT_EQ(ledger.value()->writeDay(changed).value(), Ledger::Change::Replaced);
    const auto read = ledger.value()->readDay(QStringLiteral("20261205"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->bets, changed.bets);
    EXPECT_EQ(read->results, changed.results);
    EXPECT_EQ(read->pending, changed.pending);
    EXPECT_EQ(ledger.value()->days().value(), QStringList({QStringLiteral("20261205"), QStringLiteral("20261206")}));
    EXPECT_EQ(ledger.value()->days(QStringLiteral("20261206")).value(), QStringList{QStringLiteral("20261206")});
    // The replaced day stands after the other in the file; its bets still come first, in order.
    QStringList order;
    const auto bets = ledger.value()->bets();
    ASSERT_TRUE(bets);
    for (const Ledger::DatedBet& b : bets.value())
        order << b.day.right(2) + u':' + QString::number(b.bet.race);
    EXPECT_EQ(order.join(u' ').toStdString(), "05:1 05:2 06:1 06:2 06:3 06:4 06:5");
    EXPECT_EQ(ledger.value()->bets(QStringLiteral("20261206"), QStringLiteral("20261206")).value().size(), 5u);
}

// Whatever stands at the ledger's name and is not a ledger of this program is refused with its
// name, and left byte for byte.
TEST_F(LedgerTest, ForeignOrDamagedFilesAreRefusedAndKept) {
    {
        auto made = Ledger::open(dir.filePath(QStringLiteral("good.sqlite")));
        ASSERT_TRUE(made);
        ASSERT_TRUE(made.value()->writeDay(sampleDay(QStringLiteral("20261205"))));
    }
    QByteArray good;
    {
        QFile f(dir.filePath(QStringLiteral("good.sqlite")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        good = f.readAll();
    }
    const auto write = [&](const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto otherDatabase = [&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            QSqlQuery(db).exec(QStringLiteral("CREATE TABLE t(x)"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    };
    QByteArray damaged = good;
    for (qsizetype i = 200; i < damaged.size(); i += 97)
        damaged[i] = char(damaged[i] ^ 0x5A);
    QByteArray newer = good;
    newer[60] = 0, newer[61] = 0, newer[62] = 0, newer[63] = 9;  // user_version 9
    const struct {
        const char* name;
        std::function<void()> plant;
    } cases[] = {
        {"text", [&] { write("MUR ledger\r\n"); }},
        {"truncated", [&] { write(good.left(1000)); }},
        {"damaged pages", [&] { write(damaged); }},
        {"another program's database", otherDatabase},
        {"a newer schema", [&] { write(newer); }},
        {"a folder", [&] { QDir().mkpath(path); }},
        {"a link to a ledger", [&] { QFile::link(dir.filePath(QStringLiteral("good.sqlite")), path); }},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        QDir().rmdir(path);
        c.plant();
        const QByteArray before = fileHash(path);
        const auto ledger = Ledger::open(path);
        EXPECT_FALSE(ledger) << c.name;
        EXPECT_TRUE(ledger.message().contains(path)) << c.name << ": " << ledger.message().toStdString();
        EXPECT_EQ(fileHash(path), before) << c.name;
    }
}

// Names that cannot even be read without harm (a FIFO would block a reader) are refused from
// what they are, and stay what they were.
TEST_F(LedgerTest, SpecialEntriesAtTheNameAreRefusedAndKept) {
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct {
        const char* name;
        std::function<bool()> plant;
    } cases[] = {
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"a link to nowhere", [&] { return QFile::link(dir.filePath(QStringLiteral("missing")), path); }},
        {"a link to a folder", [&] { return QFile::link(folder, path); }},
    };
    for (const auto& c : cases) {
        ::unlink(QFile::encodeName(path).constData());
        ASSERT_TRUE(c.plant()) << c.name;
        const QFileInfo before(path);
        const auto ledger = Ledger::open(path);
        EXPECT_FALSE(ledger) << c.name;
        EXPECT_TRUE(ledger.message().contains(path)) << c.name << ": " << ledger.message().toStdString();
        const QFileInfo after(path);
        EXPECT_EQ(after.isSymLink(), before.isSymLink()) << c.name;
        EXPECT_FALSE(after.isFile() && !after.isSymLink()) << c.name << ": replaced by a file";
        EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing")))) << c.name;
    }
}

// A process killed in the middle of a day's update leaves the day as it was.
TEST_F(LedgerTest, AKillDuringAnUpdateLeavesTheDayAsItWas) {
    const LedgerDay day = sampleDay(QStringLiteral("20261205"));
    {
        auto ledger = Ledger::open(path);
        ASSERT_TRUE(ledger);
        ASSERT_TRUE(ledger.value()->writeDay(day));
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Half a replacement of the day, then killed before its commit.
        auto ledger = Ledger::open(path);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("BEGIN IMMEDIATE"));
        q.exec(QStringLiteral("DELETE FROM bets WHERE day = '20261205'"));
        q.exec(QStringLiteral("INSERT INTO bets VALUES('20261205', 0, '06', 1, '4', 'x', 1, 1, 1, 1, 0, 0)"));
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    auto ledger = Ledger::open(path);
    ASSERT_TRUE(ledger) << ledger.message().toStdString();
    EXPECT_EQ(ledger.value()->readDay(day.day).value().bets, day.bets);
    EXPECT_EQ(ledger.value()->writeDay(day).value(), Ledger::Change::Unchanged);
}

TEST(LedgerReport, FiguresKeepRefundsOutAndFollowTheRunningBalance) {
    const auto d = [](const char* day, LedgerBet b) { return Ledger::DatedBet{QString::fromLatin1(day), b}; };
    const std::vector<Ledger::DatedBet> bets = {
        d("20261129", bet("06", 1, "4", Judgement::Hit, 1000, 3000)),    // +2000, peak 2000
        d("20261129", bet("06", 2, "4", Judgement::Miss, 1000)),         // 1000
        d("20261205", bet("05", 3, "1", Judgement::Refund, 500, 500)),   // out of everything
        d("20261205", bet("06", 4, "4", Judgement::Miss, 2000)),         // -1000: drawdown 3000
        d("20261205", bet("05", 5, "1", Judgement::Miss, 100, 0, true, 5)),  // -1100: 3100, run of 3
        d("20261206", bet("05", 6, "1", Judgement::Hit, 100, 500, true, 5)), // -700
        d("20261206", bet("05", 7, "5", Judgement::Unjudged, 300)),
    };
    const LedgerReport all = ledgerReport(bets, LedgerGrouping::Month);
    ASSERT_EQ(all.groups.size(), 2u);
    EXPECT_EQ(all.groups[0].key, QStringLiteral("2026-11"));
    const LedgerFigures& t = all.total;
    EXPECT_EQ(t.bets, 5);
    EXPECT_EQ(t.hits, 2);
    EXPECT_EQ(t.refunds, 1);
    EXPECT_EQ(t.refunded, Amount::yen(500));
    EXPECT_EQ(t.unjudged, 1);
    EXPECT_EQ(t.stake, Amount::yen(4200));
    EXPECT_EQ(t.returns, Amount::yen(3500));
    EXPECT_EQ(t.balance(), Amount::yen(-700));
    EXPECT_EQ(t.longestLosingRun, 3);
    EXPECT_EQ(t.largestDrawdown, Amount::yen(3100));
    EXPECT_NEAR(t.recoveryRate(), 3500.0 / 4200 * 100, 1e-9);
    EXPECT_NEAR(t.hitRate(), 40, 1e-9);

    const struct {
        LedgerGrouping grouping;
        LedgerFilter filter;
        QStringList keys;
        int totalBets;
    } cases[] = {
        {LedgerGrouping::Day, {}, {"20261129", "20261205", "20261206"}, 5},
        {LedgerGrouping::Year, {}, {"2026"}, 5},
        {LedgerGrouping::Venue, {}, {"東京", "中山"}, 5},
        {LedgerGrouping::Type, {{"1", "5"}, {}}, {"単勝", "ワイド"}, 2},
        {LedgerGrouping::Venue, {{}, {"06"}}, {"中山"}, 3},
        {LedgerGrouping::Style, {}, {"保留ＢＥＴ以外"}, 5},
    };
    for (const auto& c : cases) {
        const LedgerReport r = ledgerReport(bets, c.grouping, c.filter);
        QStringList keys;
        for (const LedgerFigures& f : r.groups)
            keys << f.key;
        if (c.grouping == LedgerGrouping::Style)
            keys = keys.filter(QStringLiteral("以外"));
        EXPECT_EQ(keys, c.keys);
        EXPECT_EQ(r.total.bets, c.totalBets) << keys.join(u',').toStdString();
    }
    EXPECT_EQ(ledgerTable(all).rows.last().first(), QStringLiteral("合計"));
}

}  // namespace
}  // namespace zm
