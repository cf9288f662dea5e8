#include "../card/day_builder.h"
#include "app/safe_save.h"
#include "pat/pat_log.h"
#include "support/pat_builders.h"
#include "support/test_home.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

constexpr Field inEntry(const Field& array, int i, const Field& relative) {
    return relative.shifted(array.element(i).offset);
}

QString two(int n) { return QString::number(n).rightJustified(2); }

// A PAT98 result: 東京 race raceNo of 2026/12/05; finishers, winners and pairs as given.
struct KsRace {
    int raceNo = 1;
    QString venue = QStringLiteral("東京");
    QString date = QStringLiteral("20261205");
    std::vector<int> finishers{3, 5, 1};
    std::vector<std::pair<int, int>> win{{3, 350}};
    std::vector<std::pair<int, int>> place{{3, 150}, {5, 210}, {1, 330}};
    std::vector<std::pair<QString, int>> bracket{{QStringLiteral("2-3"), 880}};
    std::vector<std::pair<std::pair<int, int>, int>> quinella{{{3, 5}, 1230}};
    std::vector<std::pair<std::pair<int, int>, int>> wide{{{3, 5}, 450}, {{1, 3}, 520}, {{1, 5}, 1100}};
    std::vector<int> returned;
};

QByteArray ks98(const KsRace& k) {
    Ks98Record r;
    r.setText(Ks98Record::year, k.date.left(4));
    r.setText(Ks98Record::month, k.date.mid(4, 2));
    r.setText(Ks98Record::day, k.date.mid(6, 2));
    r.setText(Ks98Record::venueName, k.venue);
    r.setText(Ks98Record::copied, u"ABCD");
    r.setText(Ks98Record::kai, u"05");
    r.setText(Ks98Record::nichi, u"03");
    r.setText(Ks98Record::raceNo, two(k.raceNo));
    for (size_t i = 0; i < k.finishers.size(); ++i)
        r.setText(inEntry(Ks98Record::finishers, int(i) + 1, Ks98Record::finisherNo), two(k.finishers[i]));
    for (size_t i = 0; i < k.win.size(); ++i) {
        r.setText(inEntry(Ks98Record::win, int(i) + 1, Ks98Record::horseNo), two(k.win[i].first));
        r.setText(inEntry(Ks98Record::win, int(i) + 1, Ks98Record::horsePayout), QString::number(k.win[i].second).rightJustified(6));
    }
    for (size_t i = 0; i < k.place.size(); ++i) {
        r.setText(inEntry(Ks98Record::place, int(i) + 1, Ks98Record::horseNo), two(k.place[i].first));
        r.setText(inEntry(Ks98Record::place, int(i) + 1, Ks98Record::horsePayout), QString::number(k.place[i].second).rightJustified(6));
    }
    for (size_t i = 0; i < k.bracket.size(); ++i) {
        r.setText(inEntry(Ks98Record::bracket, int(i) + 1, Ks98Record::bracketPair), k.bracket[i].first);
        r.setText(inEntry(Ks98Record::bracket, int(i) + 1, Ks98Record::bracketPayout), QString::number(k.bracket[i].second).rightJustified(6));
    }
    auto pairs = [&](const Field& block, const auto& list) {
        for (size_t i = 0; i < list.size(); ++i) {
            r.setText(inEntry(block, int(i) + 1, Ks98Record::pairFirst), two(list[i].first.first));
            r.setText(inEntry(block, int(i) + 1, Ks98Record::pairSecond), two(list[i].first.second));
            r.setText(inEntry(block, int(i) + 1, Ks98Record::pairPayout), QString::number(list[i].second).rightJustified(6));
        }
    };
    pairs(Ks98Record::quinella, k.quinella);
    pairs(Ks98Record::wide, k.wide);
    for (size_t i = 0; i < k.returned.size(); ++i) {
        r.setText(Ks98Record::returned, int(i) + 1, two(k.returned[i]));
        r.setText(Ks98Record::returnedMarks, int(i) + 1, u"*");
    }
    r.setText(Ks98Record::lineEnd, u"\r\n");
    return r.bytes();
}

struct LgEntry {
    LgEntry(const char* t, const char* v = "05", const char* r = "01", const char* f = "", const char* s = "",
            int u = 1, int st = 1, const char* sl = "1")
        : type(t), venue(v), race(r), first(f), second(s), units(u), state(st), sale(sl) {}
    QString type;
    QString venue;
    QString race;
    QString first;
    QString second;
    int units;
    int state;
    QString sale;
};

QByteArray lg95(const QString& date, const std::vector<LgEntry>& entries) {
    Lg95Record r;
    r.setText(Lg95Record::year, date.left(4));
    r.setText(Lg95Record::month, date.mid(4, 2));
    r.setText(Lg95Record::day, date.mid(6, 2));
    for (size_t i = 0; i < entries.size(); ++i) {
        const LgEntry& e = entries[i];
        auto at = [&](const Field& f) { return inEntry(Lg95Record::entries, int(i) + 1, f); };
        r.setText(at(Lg95Record::entryText), QString::number(int(i) + 1).rightJustified(3, u'0'));
        r.setText(at(Lg95Record::betType), e.type);
        r.setText(at(Lg95Record::venue), e.venue);
        r.setText(at(Lg95Record::raceNo), e.race);
        r.setText(at(Lg95Record::saleKind), e.sale);
        r.setText(at(Lg95Record::first), e.first);
        r.setText(at(Lg95Record::second), e.second);
        r.setText(at(Lg95Record::stake), QString::number(e.units).rightJustified(4, u'0'));
        r.setText(at(Lg95Record::state), QString::number(e.state).rightJustified(2, u'0'));
    }
    return r.bytes();
}

class PatLog : public ::testing::Test {
protected:
    void SetUp() override {
        pat = home.home() + QStringLiteral("PAT/");
        QDir().mkpath(pat);
        EXPECT_TRUE(home.ctx().store.SaveAppSetting("PAT", "PatDir", pat).ok());
        EXPECT_TRUE(home.ctx().store.SaveAppSetting("PAT", "PatOpt", "True").ok());
        EXPECT_TRUE(home.ctx().store.SaveAppSetting("PAT", "Ver", "98").ok());
        home.reload();
    }
    void put(const QString& name, const QByteArray& bytes) { ASSERT_TRUE(SafeSave::save(pat + name, bytes).ok()); }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Shows a failure as the front ends do; true when there was none.
    template <class T>
    bool said(const Result<T>& result) {
        showNotice(home.prompter(), result.status().notice());
        return result.ok();
    }

    test::TestHome home;
    QString pat;
};

TEST_F(PatLog, DayStakeOfEachGeneration) {
    EXPECT_FALSE(said(ShowDayStake(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoLogFiles95});
    put("LG-01.JRA", lg95("20261205", {{"1", "05", "01", " 3", "", 2}, {"4"}, {"2", "05", "02", " 1", "", 1, 0}, {"3"}}));
    put("lg-02.jra", lg95("20261205", {{"1"}, {"1"}, {"1"}, {"1", "05", "03", " 1", "", 10}, {"5"}}));
    put("LG-003.JRA", lg95("20261205", {{"1"}}));  // not a log name
    put("LG-04.JRA", lg95("20261206", {{"1"}}));   // another day
    const auto stake = ShowDayStake(home.ctx(), "20261205");
    ASSERT_TRUE(stake);
    EXPECT_EQ(stake->count, 8);
    EXPECT_EQ(stake->remaining, 892);
    EXPECT_EQ(stake->dayText(), "2026/12/05");
    EXPECT_EQ(stake->stakeText(), "1,800円");

    home.ctx().settings.Ver = "31";
    home.prompter().clear();
    EXPECT_FALSE(said(ShowDayStake(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoLogFiles31});
    Lg31Record l31;
    l31.setText(Lg31Record::date, u"20261205");
    l31.setText(Lg31Record::betCount, u"12");
    l31.setText(Lg31Record::totalStake, u"00150");
    put("LG-1.JRA", l31.bytes());
    const auto s31 = ShowDayStake(home.ctx(), "20261205");
    ASSERT_TRUE(s31);
    EXPECT_EQ(s31->remaining, 288);
    EXPECT_EQ(s31->stakeText(), "15,000円");

    home.ctx().settings.Ver = "FHDUEL";
    home.prompter().clear();
    EXPECT_FALSE(said(ShowDayStake(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{patNotSetMessage()});
}

TEST_F(PatLog, ResultsFileFromKs98AndKs95) {
    EXPECT_FALSE(said(BuildResults(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoResultFiles});

    KsRace deadHeat;
    deadHeat.raceNo = 11;
    deadHeat.win = {{3, 350}, {7, 1210}};
    deadHeat.returned = {9};
    KsRace first;
    first.raceNo = 2;
    first.venue = QStringLiteral("中山");
    first.wide = {{{3, 5}, 450}};
    first.finishers = {12, 0, 4};
    put("KS-53B11.JRA", ks98(deadHeat));
    put("ks-6212x.jra", ks98(first));
    KsRace otherDay;
    otherDay.date = QStringLiteral("20261206");
    put("KS-53311.JRA", ks98(otherDay));
    put("KS-5311.JRA", ks98(KsRace{}));  // four characters: not a result name
    const auto records = BuildResults(home.ctx(), "20261205");
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    const QByteArray sei = read(seiPath(home.ctx().paths.DataDir, "20261205"));
    ASSERT_EQ(sei.size(), 2 * 186);
    const SeiRecord a(QByteArrayView(sei).first(186));
    const SeiRecord b(QByteArrayView(sei).sliced(186));
    EXPECT_EQ(a.text(SeiRecord::key), "050511");
    EXPECT_EQ(a.text(SeiRecord::winHorses), " 3 7");
    EXPECT_EQ(a.text(SeiRecord::winPayouts), "  350 1210");
    EXPECT_EQ(a.text(SeiRecord::bracketPairs), "23  ");
    EXPECT_EQ(a.text(SeiRecord::quinellaPairs), "0305    ");
    EXPECT_EQ(a.text(SeiRecord::widePairs), "030501030105        ");
    EXPECT_EQ(a.text(SeiRecord::widePayouts), "   450   520  1100            ");
    EXPECT_EQ(a.text(SeiRecord::returned), " 9        ");
    EXPECT_EQ(b.text(SeiRecord::key), "050602");  // 中山 after 東京: sorted by key
    EXPECT_EQ(b.text(SeiRecord::finishers), "12   4");
    EXPECT_EQ(b.text(SeiRecord::widePairs), "0305                ");
    EXPECT_TRUE(sei.endsWith("\r\n"));

    // Results once kept are never replaced by fewer: the day's KS files gone, or only some
    // of them left, leave the file as it is and say so.
    const QString path = seiPath(home.ctx().paths.DataDir, "20261205");
    QFile::remove(pat + "KS-53B11.JRA");
    home.prompter().clear();
    EXPECT_FALSE(said(BuildResults(home.ctx(), "20261205")));
    EXPECT_EQ(read(path), sei);
    QFile::remove(pat + "ks-6212x.jra");
    EXPECT_FALSE(said(BuildResults(home.ctx(), "20261205")));
    EXPECT_EQ(read(path), sei);
    EXPECT_EQ(home.prompter().texts().size(), 2);
    EXPECT_TRUE(home.prompter().texts().back().contains(QStringLiteral("2レース分")));
    // No results and no file: nothing is written.
    QFile::remove(path);
    EXPECT_FALSE(said(BuildResults(home.ctx(), "20261205")));
    EXPECT_FALSE(QFileInfo::exists(path));

    home.ctx().settings.Ver = "31";
    home.prompter().clear();
    EXPECT_FALSE(said(BuildResults(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{kResults31Refused});
}

TEST(PatResults, Ks95Condensed) {
    Ks95Record r;
    r.setText(Ks95Record::year, u"2026");
    r.setText(Ks95Record::month, u"12");
    r.setText(Ks95Record::day, u"05");
    r.setText(Ks95Record::venueName, u"小倉");
    r.setText(Ks95Record::raceNo, u" 9");
    r.setText(Ks95Record::finishers.element(1), u"1 14");  // horse number in bytes 2-3
    r.setText(inEntry(Ks95Record::win, 1, Ks95Record::horseNo), u"14");
    r.setText(inEntry(Ks95Record::win, 1, Ks95Record::horsePayout), u"    2340");
    r.setText(inEntry(Ks95Record::bracket, 1, Ks95Record::bracketFirst), u"7");
    r.setText(inEntry(Ks95Record::bracket, 1, Ks95Record::bracketSecond), u"8");
    r.setText(inEntry(Ks95Record::bracket, 1, Ks95Record::bracketPayout), u"   12340");
    r.setText(inEntry(Ks95Record::quinella, 1, Ks95Record::pairFirst), u" 2");
    r.setText(inEntry(Ks95Record::quinella, 1, Ks95Record::pairSecond), u"14");
    r.setText(Ks95Record::returned.element(1), u" 6");
    const auto s = seiFromKs95(r.bytes(), "20261205");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->text(SeiRecord::key), "051009");
    EXPECT_EQ(s->text(SeiRecord::venueNo), "10");
    EXPECT_EQ(s->text(SeiRecord::finishers), "14    ");
    EXPECT_EQ(s->text(SeiRecord::winPayouts), " 2340     ");
    EXPECT_EQ(s->text(SeiRecord::bracketPairs), "78  ");
    EXPECT_EQ(s->text(SeiRecord::bracketPayouts), " 12340      ");
    EXPECT_EQ(s->text(SeiRecord::quinellaPairs), "0214    ");
    EXPECT_EQ(s->text(SeiRecord::widePairs), QString(20, u' '));
    EXPECT_EQ(s->text(SeiRecord::returned).left(2), " 6");
    EXPECT_FALSE(seiFromKs95(r.bytes(), "20261206"));
}

TEST(PatResults, JudgeBet) {
    KsRace k;
    k.raceNo = 11;
    k.win = {{3, 350}, {7, 1210}};
    k.place = {{3, 150}, {7, 210}, {1, 330}};
    k.returned = {9, 10, 11, 12, 14};
    const std::vector<SeiRecord> sei{*seiFromKs98(ks98(k), "20261205")};
    const struct {
        const char* type;
        const char* first;
        const char* second;
        const char* race;
        Judgement j;
        double payout;
    } cases[] = {
        {"1", " 3", "", "11", Judgement::Hit, 350},
        {"1", " 7", "", "11", Judgement::Hit, 1210},  // dead heat
        {"1", " 1", "", "11", Judgement::Miss, 0},
        {"2", " 1", "", "11", Judgement::Hit, 330},
        {"2", "14", "", "11", Judgement::Refund, 0},  // fifth returned horse
        {"1", "11", "", "11", Judgement::Refund, 0},
        {"3", " 2", " 3", "11", Judgement::Hit, 880},
        {"3", " 3", " 2", "11", Judgement::Hit, 880},  // a pair is unordered
        {"4", " 3", " 5", "11", Judgement::Hit, 1230},
        {"4", " 5", " 9", "11", Judgement::Refund, 0},  // a returned horse in the pair
        {"3", " 5", " 9", "11", Judgement::Miss, 0},    // brackets stay as they are
        {"5", " 1", " 5", "11", Judgement::Hit, 1100},
        {"5", " 3", "10", "11", Judgement::Refund, 0},
        {"6", " 3", "", "11", Judgement::Unjudged, 0},
        {"1", " 3", "", "10", Judgement::Unjudged, 0},  // no such race
    };
    for (const auto& c : cases) {
        const JudgeResult r = JudgeBet(sei, "05", "05", c.race, c.type, c.first, c.second);
        EXPECT_EQ(r.judgement, c.j) << c.type << c.first << c.second;
        EXPECT_EQ(r.payout, c.payout) << c.type << c.first << c.second;
    }
    EXPECT_EQ(JudgeBet({}, "05", "05", "11", "1", " 3", "").judgement, Judgement::Unjudged);
}

// Dead heats store more than one winner of a type; each is a hit with its own payout, whichever
// order the bet names the pair in. A returned horse refunds every bet on a horse but not a
// bracket bet.
TEST(PatResults, JudgeBetDeadHeatsAndRefunds) {
    KsRace k;
    k.raceNo = 11;
    k.win = {{3, 350}, {7, 1210}};
    k.place = {{3, 150}, {7, 210}, {1, 330}, {5, 400}, {8, 510}};
    k.bracket = {{QStringLiteral("2-3"), 880}, {QStringLiteral("2-4"), 990}};
    k.quinella = {{{3, 7}, 1230}, {{3, 5}, 2460}};
    k.wide = {{{3, 7}, 450}, {{1, 3}, 520}, {{1, 7}, 1100}, {{3, 5}, 610}, {{5, 7}, 720}};
    k.returned = {9, 10, 11, 12, 14};
    const std::vector<SeiRecord> sei{*seiFromKs98(ks98(k), "20261205")};
    const struct {
        const char* type;
        const char* first;
        const char* second;
        Judgement j;
        double payout;
    } cases[] = {
        {"1", " 7", "", Judgement::Hit, 1210},         // second winner
        {"2", " 5", "", Judgement::Hit, 400},          // fourth place entry
        {"2", " 8", "", Judgement::Hit, 510},          // fifth place entry
        {"3", "2", "4", Judgement::Hit, 990},          // second bracket pair
        {"3", "3", "2", Judgement::Hit, 880},          // bracket pair named the other way
        {"4", " 3", " 5", Judgement::Hit, 2460},       // second quinella pair
        {"4", " 7", " 3", Judgement::Hit, 1230},       // quinella named the other way
        {"4", " 5", " 7", Judgement::Miss, 0},
        {"5", " 3", " 5", Judgement::Hit, 610},        // fourth wide pair
        {"5", " 7", " 5", Judgement::Hit, 720},        // fifth, named the other way
        {"5", " 1", " 5", Judgement::Miss, 0},
        {"1", "14", "", Judgement::Refund, 0},         // fifth returned horse
        {"2", "12", "", Judgement::Refund, 0},
        {"4", " 3", "10", Judgement::Refund, 0},
        {"5", "11", " 3", Judgement::Refund, 0},
        {"3", "9", "2", Judgement::Miss, 0},           // brackets are not refunded
        {"4", " 3", "", Judgement::Miss, 0},           // half a pair
    };
    for (const auto& c : cases) {
        const JudgeResult r = JudgeBet(sei, "05", "05", "11", c.type, c.first, c.second);
        EXPECT_EQ(r.judgement, c.j) << c.type << c.first << "-" << c.second;
        EXPECT_EQ(r.payout, c.payout) << c.type << c.first << "-" << c.second;
    }
}

TEST_F(PatLog, VoteLogTotalsAndExport) {
    // No log at all: the stake view's message and nothing exported.
    EXPECT_FALSE(said(ShowVoteLog(home.ctx(), "20261205")));
    EXPECT_EQ(home.prompter().texts(), QStringList{kNoLogFiles95});

    // Logs of other days only: an empty table and zero totals.
    put("LG-09.JRA", lg95("20261206", {{"1"}}));
    const auto empty = ShowVoteLog(home.ctx(), "20261205");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->rows.empty());
    EXPECT_EQ(empty->investmentText(), "0円");
    EXPECT_EQ(empty->returnsText(), "0円");
    EXPECT_EQ(empty->rateText(), "0.0%");

    KsRace k;
    k.raceNo = 11;
    k.win = {{3, 35000}};
    k.returned = {9};
    ASSERT_TRUE(SafeSave::save(seiPath(home.ctx().paths.DataDir, "20261205"), seiFromKs98(ks98(k), "20261205")->bytes()).ok());
    put("LG-01.JRA", lg95("20261205", {{"1", "05", "11", " 3", "", 30},
                                       {"4", "05", "11", " 5", " 9", 2, 1, "2"},
                                       {"2", "05", "11", " 8", "", 1, 0}}));
    put("LG-02.JRA", lg95("20261205", {{"9", "05", "11", " 1", " 2", 1}, {"1", "06", "01", " 1", "", 200}}));
    test::PatRace race;
    race.runners = 12;
    // The day's odds file is the one whose header carries the day, not the first by name.
    test::PatRace otherDay = race;
    otherDay.scratched = {3};
    QByteArray earlier = test::zoRecord<Zo95Record>(otherDay);
    earlier.replace(0, 8, "20261204");
    put("ZO-52B.JRA", earlier);
    QByteArray today = test::zoRecord<Zo95Record>(race);
    today.replace(0, 8, "20261205");
    put("ZO-53B.JRA", today);
    const auto log = ShowVoteLog(home.ctx(), "20261205");
    ASSERT_TRUE(log);
    ASSERT_EQ(log->rows.size(), 4u);
    EXPECT_EQ(log->rows[0].numberText, "001");
    EXPECT_EQ(log->rows[0].venue, "東京");
    EXPECT_EQ(log->rows[0].odds, "3.5");
    EXPECT_EQ(log->rows[0].judgementText, "的中！");
    EXPECT_EQ(log->rows[0].returnText, "1,050,000");
    EXPECT_EQ(log->rows[1].combination, " 5- 9");
    EXPECT_EQ(log->rows[1].judgementText, "返還");
    EXPECT_EQ(log->rows[1].returnText, "200");
    EXPECT_EQ(log->rows[1].remark, "前売り");
    EXPECT_EQ(log->rows[2].type, "？？");
    EXPECT_EQ(log->rows[2].judgementText, "未判定");
    EXPECT_EQ(log->rows[3].venue, "中山");
    EXPECT_EQ(log->investmentText(), "23,300円");
    EXPECT_EQ(log->returnsText(), "1,050,200円");
    EXPECT_EQ(log->balanceText(), "1,026,900円");
    EXPECT_EQ(log->rateText(), "4,507.3%");

    const QString file = home.home() + "view.txt";
    ASSERT_TRUE(SafeSave::save(file, "old\r\n").ok());
    ASSERT_TRUE(ExportPatView(*log, file).ok());
    const QString text = fromSjis(read(file));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines[0], "old");
    EXPECT_EQ(lines[1], "+--+----+---+------+-----+------+-------+-----+---------+----------");
    EXPECT_EQ(lines[4], " 001 東京 11R 単勝       3    3.5   3,000 的中！ 1,050,000           ");  // the amount grows the line
    EXPECT_EQ(lines[5], " 002 東京 11R 馬連    5- 9            200 返還        200 前売り    ");
    EXPECT_EQ(lines[10], "(２０２６年１２月０５日) のＰＡＴ収支 -----------------------------");
    EXPECT_EQ(ByteLength(lines[10]), 67);
    EXPECT_EQ(lines[11], "    投資額合計： 23,300円");
    EXPECT_EQ(lines[14], "    回収率： 4,507.3%");
    EXPECT_EQ(lines[15], QString(67, u'-'));
}

// The odds of a day's bet come from the day's own file: the one of the day's meeting day when
// the day's race file names it, else the one whose header carries the day; a file of another
// day is never taken, whatever its name.
TEST_F(PatLog, VoteLogOddsComeFromTheDaysOwnFile) {
    put("LG-01.JRA", lg95("20261205", {{"1", "05", "11", " 3", "", 1}}));
    test::PatRace open;
    open.runners = 12;
    test::PatRace scratched = open;
    scratched.scratched = {3};
    auto zo = [](const test::PatRace& race, const char* day) {
        QByteArray b = test::zoRecord<Zo95Record>(race);
        b.replace(0, 8, day);
        return b;
    };
    auto odds = [&] {
        const auto log = ShowVoteLog(home.ctx(), "20261205");
        return log && !log->rows.empty() ? log->rows[0].odds : QStringLiteral("?");
    };
    // Of another day only: no odds.
    put("ZO-52B.JRA", zo(open, "20261204"));
    EXPECT_EQ(odds(), "");
    // The file of the day by its header.
    put("ZO-53B.JRA", zo(scratched, "20261205"));
    EXPECT_EQ(odds(), "ﾄﾘｹｼ");
    // Two files of the day: the meeting day (the race file says 東京 is on its fourth day) decides.
    put("ZO-54B.JRA", zo(open, "20261205"));
    EXPECT_EQ(odds(), "ﾄﾘｹｼ");
    test::DayBuilder day("20261205");
    day.add("04", 11).nichi = 4;
    day.write(home.ctx().paths.DataDir, false);
    EXPECT_EQ(odds(), "3.5");
}

TEST(PatVoteLog, RateTexts) {
    const struct {
        double investment, returns;
        const char* rate;
        const char* balance;
    } cases[] = {{1000, 0, "0.0%", "-1,000円"}, {20000, 100, "0.5%", "-19,900円"}, {300, 300, "100.0%", "0円"},
                 {0, 0, "0.0%", "0円"}};
    for (const auto& c : cases) {
        VoteLog log;
        log.investment = Amount::yen(static_cast<std::int64_t>(c.investment));
        log.returns = Amount::yen(static_cast<std::int64_t>(c.returns));
        EXPECT_EQ(log.rateText(), c.rate);
        EXPECT_EQ(log.balanceText(), c.balance);
    }
}

}  // namespace
}  // namespace zm

namespace zm {
namespace {

// The results the vote log judges with are brought up to date from PAT's files: a missing or
// older ".SEI" file is written again, never with fewer races than it holds.
TEST_F(PatLog, VoteLogReadsNewerResultsItself) {
    const QString path = seiPath(home.ctx().paths.DataDir, "20261205");
    put("LG-01.JRA", lg95("20261205", {{"1", "05", "11", " 3", "", 10}}));
    KsRace eleven;
    eleven.raceNo = 11;
    KsRace twelve;
    twelve.raceNo = 12;
    auto age = [&](const QString& file, int secondsAgo) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
    };
    auto judged = [&] {
        EXPECT_TRUE(RefreshResults(home.ctx(), "20261205").ok());
        const auto log = ShowVoteLog(home.ctx(), "20261205");
        return log && log->rows.size() == 1 ? log->rows[0].judgementText : QStringLiteral("?");
    };
    // No results anywhere: unjudged, and no file made.
    EXPECT_EQ(judged(), "未判定");
    EXPECT_FALSE(QFileInfo::exists(path));
    // PAT has the race: the file is made and the bet judged.
    put("KS-53B11.JRA", ks98(eleven));
    EXPECT_EQ(judged(), "的中！");
    EXPECT_EQ(read(path).size(), 186);
    // A newer file with one race more is read again.
    age(path, 120);
    age(pat + "KS-53B11.JRA", 60);
    put("KS-53C11.JRA", ks98(twelve));
    EXPECT_EQ(judged(), "的中！");
    EXPECT_EQ(read(path).size(), 2 * 186);
    // PAT keeps fewer races than the file (one removed, the other touched): the file stays.
    const QByteArray two = read(path);
    age(path, 120);
    QFile::remove(pat + "KS-53C11.JRA");
    age(pat + "KS-53B11.JRA", 0);
    EXPECT_EQ(judged(), "的中！");
    EXPECT_EQ(read(path), two);
    // Older results than the file are not read: a changed KS file of the past leaves it.
    KsRace changed = eleven;
    changed.win = {{5, 990}};
    put("KS-53B11.JRA", ks98(changed));
    age(pat + "KS-53B11.JRA", 600);
    put("KS-53C11.JRA", ks98(twelve));
    age(pat + "KS-53C11.JRA", 600);
    EXPECT_EQ(judged(), "的中！");
    EXPECT_EQ(read(path), two);
    // A link at the file's name is left alone.
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(pat + "KS-53B11.JRA", path));
    EXPECT_EQ(RefreshResults(home.ctx(), "20261205").value(), ResultsRefresh::NothingNew);
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_TRUE(home.prompter().texts().isEmpty()) << home.prompter().texts().join(u'|').toStdString();
}

}  // namespace
}  // namespace zm
