// Seeded round trips of the money road's texts: pending bets posted and read back, and the
// service contest text read back into pending bets. Bets and amounts come back equal, or the
// writer refused.

#include "export/bulk_output.h"
#include "export/contest_readers.h"
#include "export/duel_text.h"
#include "export/export_fixtures.h"
#include "export/mur_contest_text.h"
#include "export/tekichukai.h"
#include "codes/amount.h"
#include "codes/codetables.h"
#include "codes/sjis.h"

#include <gtest/gtest.h>
#include <random>

namespace zm {
namespace {

const QString kDay = QStringLiteral("20261205");
const char16_t* const kVenues[] = {u"札幌", u"函館", u"福島", u"新潟", u"東京", u"中山", u"中京", u"京都", u"阪神", u"小倉"};
const char16_t* const kTypes[] = {u"単勝  ", u"複勝  ", u"枠連  ", u"馬連  ", u"ワイド"};

// Stakes across the whole range, the edges included.
std::int64_t randomStake(std::mt19937& rng) {
    static const std::int64_t edges[] = {100, 200, 99'900, 100'000, 999'900, 1'000'000, 99'999'800, 99'999'900};
    std::uniform_int_distribution<int> pick(0, 3);
    if (pick(rng) == 0)
        return edges[std::uniform_int_distribution<size_t>(0, std::size(edges) - 1)(rng)];
    return std::uniform_int_distribution<std::int64_t>(1, kMaxStake / kStakeUnit)(rng) * kStakeUnit;
}

// A pending-bet line as the import writes it.
QString randomBet(std::mt19937& rng) {
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int t = in(0, 4);
    QString combination;
    if (t <= 1) {
        combination = QString::number(in(1, 18)).rightJustified(5);
    } else {
        const int top = t == 2 ? 8 : 18;
        int a = in(1, top);
        int b = in(1, top);
        if (t != 2) {
            while (b == a)
                b = in(1, top);
        }
        if (a > b)
            std::swap(a, b);
        combination = t == 2 ? (QString::number(a) + u'-' + QString::number(b)).rightJustified(5)
                             : QString::number(a).rightJustified(2, u'0') + u'-' + QString::number(b).rightJustified(2, u'0');
    }
    const Amount stake = Amount::yen(randomStake(rng));
    return QString::fromUtf16(kVenues[in(0, 9)]) + u',' + (QString::number(in(1, 12)) + u'R').rightJustified(3) + u',' +
           QString::fromUtf16(kTypes[t]) + u',' + combination + QStringLiteral(",      ,") +
           stake.digits().rightJustified(5) + u'円';
}

// The table as the pending-bet file holds it, read back field by field into the import's shape.
QStringList pendingLines(const PendingBetTable& bets) {
    const auto bytes = PendingBetBytes(bets);
    EXPECT_TRUE(bytes.ok()) << bytes.message().toStdString();
    const auto file = ParsePendingBets(QStringLiteral("~B.TXT"), bytes.ok() ? *bytes : QByteArray());
    EXPECT_TRUE(file.ok()) << file.message().toStdString();
    QStringList out;
    for (const PendingBet& b : file->bets) {
        const auto amount = b.stake();
        out << b.Venue + u',' + b.Race + u',' + LeftBytes(b.BetType, 6) + u',' + b.Combination +
                   QStringLiteral(",      ,") + (amount ? amount->digits() : QStringLiteral("?")).rightJustified(5) + u'円';
    }
    return out;
}

TEST(MoneyRoundTrip, PostOutAndBackInKeepsEveryBetAndAmount) {
    std::mt19937 rng(20261205);
    int bets = 0;
    for (int round = 0; round < 40; ++round) {
        QStringList pending;
        const int n = std::uniform_int_distribution<int>(1, 60)(rng);
        Amount total;
        for (int i = 0; i < n; ++i) {
            pending << randomBet(rng);
            total += *ParsePendingBetLine(pending.back())->stake();
        }
        QStringList area;
        for (const QString& line : pending)
            area << TekichukaiBetLine(*ParsePendingBetLine(line, {.keepKaku = true}), kDay);
        const QString areaText = area.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        EXPECT_EQ(RecountTekichukai(areaText).stake, total);
        const QString post = TekichukaiPost(kDay, areaText, false, QStringLiteral("0.1.0"));
        // The post travels as Shift-JIS or UTF-8 text.
        for (const QByteArray& bytes : {toSjis(post), post.toUtf8()}) {
            const TekichukaiImport back = TekichukaiSecondPass(TekichukaiFirstPass(decodePostFile(bytes), kDay), {});
            ASSERT_EQ(back.lines, pending);
            EXPECT_EQ(back.total, total);
            EXPECT_EQ(back.skipped, 0);
        }
        bets += n;
    }
    EXPECT_GT(bets, 1000);
}

// Random predicted days written as the service contest text and read back by the bulk output
// with random stakes: one pending bet per pick, every amount the stake set for its type.
TEST(MoneyRoundTrip, ServiceContestTextBackIntoPendingBets) {
    std::mt19937 rng(1205);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    static const char* const kCodes[] = {"00", "01", "02", "03", "04", "05", "06", "07", "08", "09"};
    for (int round = 0; round < 30; ++round) {
        std::vector<PredictionRecord> records;
        QStringList expected;
        BulkOutForm form;
        std::array<Amount, 5> stakes;
        for (size_t k = 0; k < 5; ++k) {
            stakes[k] = Amount::yen(randomStake(rng));
            form.stakes[k] = stakes[k].digits();
        }
        for (int r = 0; r < 12; ++r) {
            const QString venue = QString::fromLatin1(kCodes[in(0, 9)]);
            const int runners = in(9, 18);
            const int win = in(1, runners);
            std::vector<int> codes;
            const int picks = in(0, 10);
            for (int k = 0; k < picks; ++k) {
                const int a = in(1, runners - 1);
                codes.push_back(a * 100 + in(a + 1, runners));
            }
            PredictionRecord rec = test::raceWith(venue, r + 1, runners, win, {});
            for (size_t k = 0; k < codes.size(); ++k)
                rec.quinellaPicks[k] = PickEntry{static_cast<std::int16_t>(codes[k]), 1};
            records.push_back(rec);
            const QString head = VenueName(venue) + u',' + (QString::number(r + 1) + u'R').rightJustified(3) + u',';
            expected << head + QStringLiteral("単勝  ,") + QString::number(win).rightJustified(5) +
                            QStringLiteral(",      ,") + stakes[0].digits().rightJustified(5) + u'円';
            for (int code : codes)
                expected << head + QStringLiteral("馬連  ,") + QString::number(code / 100).rightJustified(2, u'0') + u'-' +
                                QString::number(code % 100).rightJustified(2, u'0') + QStringLiteral(",      ,") +
                                stakes[3].digits().rightJustified(5) + u'円';
        }
        MurContestInput input;
        input.day = kDay;
        const MurContestText text = murContestText(records, input);
        const auto read = readContestFile(toSjis(text.lines.join(QStringLiteral("\r\n"))), ContestFormat::Mur, kDay,
                                          kMurSoftCode);
        ASSERT_TRUE(read.ok());
        ASSERT_EQ(pendingLines(bulkBets(*read, form)), expected) << round;
    }
}

// Random days written as the DUEL text (fields of eleven or more, so that every slot is
// written) and read back by the bulk output: the win pick and each pair pick of every race.
TEST(MoneyRoundTrip, DuelTextBackIntoPendingBets) {
    std::mt19937 rng(863);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 30; ++round) {
        std::vector<PredictionRecord> records;
        QStringList expected;
        BulkOutForm form;
        std::array<Amount, 5> stakes;
        for (size_t k = 0; k < 5; ++k) {
            stakes[k] = Amount::yen(randomStake(rng));
            form.stakes[k] = stakes[k].digits();
        }
        const int first = in(0, 7);
        for (int v = first; v < first + 3; ++v) {
            const QString venue = QStringLiteral("0") + QString::number(v);
            for (int r = 1; r <= 12; ++r) {
                const int runners = in(11, 18);
                const int win = in(1, runners);
                PredictionRecord rec = test::raceWith(venue, r, runners, win, {});
                const QString head = VenueName(venue) + u',' + (QString::number(r) + u'R').rightJustified(3) + u',';
                expected << head + QStringLiteral("単勝  ,") + QString::number(win).rightJustified(5) +
                                QStringLiteral(",      ,") + stakes[0].digits().rightJustified(5) + u'円';
                const int picks = in(0, 6);
                for (int k = 0; k < picks; ++k) {
                    const int a = in(1, runners - 1);
                    const int b = in(a + 1, runners);
                    rec.quinellaPicks[static_cast<size_t>(k)] = PickEntry{static_cast<std::int16_t>(a * 100 + b), 1};
                    expected << head + QStringLiteral("馬連  ,") + QString::number(a).rightJustified(2, u'0') + u'-' +
                                    QString::number(b).rightJustified(2, u'0') + QStringLiteral(",      ,") +
                                    stakes[3].digits().rightJustified(5) + u'円';
                }
                records.push_back(rec);
            }
        }
        const QStringList text = duelTextLines(records, {}, QStringLiteral("0.1.0"));
        const auto read =
            readContestFile(toSjis(text.join(QStringLiteral("\r\n"))), ContestFormat::Duel, kDay, kDuelSoftCode);
        ASSERT_TRUE(read.ok());
        ASSERT_EQ(pendingLines(bulkBets(*read, form)), expected) << round;
    }
}

}  // namespace
}  // namespace zm
