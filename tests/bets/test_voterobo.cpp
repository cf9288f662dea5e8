#include "../card/day_builder.h"
#include "bet_files.h"
#include "bets/pending_bet.h"
#include "bets/voterobo.h"
#include "codes/sjis.h"
#include "support/test_home.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kDay = u"20011014"_s;

// The example of docs/voterobo-schedule.md: its pending bets, race times and two schedules.
struct DocExample {
    QStringList bets;
    QStringList grouped;  // grouping by venue, race by race
    QStringList atOnce;   // one group, everything at 07:00
};

QStringList fencedBlock(const QString& doc, const QString& name) {
    const qsizetype at = doc.indexOf(u"<!-- "_s + name + u" -->"_s);
    if (at < 0)
        return {};
    const qsizetype open = doc.indexOf(u"```"_s, at);
    const qsizetype from = doc.indexOf(u'\n', open) + 1;
    const qsizetype close = doc.indexOf(u"\n```"_s, from);
    return doc.mid(from, close - from).split(u'\n');
}

DocExample docExample() {
    QFile f(QStringLiteral(ZENOMUR_TEST_DATA_DIR "/../../docs/voterobo-schedule.md"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString doc = QString::fromUtf8(f.readAll());
    return {fencedBlock(doc, u"pending-bets"_s), fencedBlock(doc, u"schedule-grouped"_s),
            fencedBlock(doc, u"schedule-at-once"_s)};
}

RaceTimes exampleTimes() {
    return {{u"東京 11R"_s, u"15:45"_s}, {u"京都  1R"_s, u"10:05"_s}, {u"中京 12R"_s, u"16:25"_s}};
}

PendingBetTable betsOf(const QStringList& lines) {
    const auto file = ParsePendingBets(u"~B.TXT"_s, toSjis(lines.join(u"\r\n"_s)));
    EXPECT_TRUE(file.ok()) << file.message().toStdString();
    return file.ok() ? VoteRoboBets(file->bets) : PendingBetTable{};
}

TEST(VoteRobo, CombinationForms) {
    const struct {
        const char16_t* combination;
        const char16_t* type;
        const char16_t* form;
    } cases[] = {
        {u"    5", u"単勝", u"5    "}, {u"18", u"複勝  ", u"18   "},    {u"  1-8", u"枠連", u" 1- 8"},
        {u"05-12", u"馬連", u" 5-12"}, {u"01-02", u"ワイド", u" 1- 2"}, {u"10-11", u"拡連", u"10-11"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VoteRoboCombination(QString::fromUtf16(c.combination), QString::fromUtf16(c.type)),
                  QString::fromUtf16(c.form));
}

TEST(VoteRobo, VoteLineColumnsAndStakeWithoutYen) {
    VoteRoboOptions o;
    o.groupOut = u"3"_s;
    o.voteTime = 0;
    const QStringList lines = VoteRoboScheduleLines(betsOf({u"東京,11R,馬連,05-12,      ,  500円"_s}), o, {});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], u"3 07:00:05 投票項目入力 東京 11R 馬連        5-12    500"_s);
    EXPECT_EQ(ByteLength(lines[0].left(lines[0].indexOf(u" 5-12"_s))), 44);
    EXPECT_EQ(ByteLength(lines[0]), 56);
    EXPECT_FALSE(lines[0].contains(u'円'));
    EXPECT_EQ(lines[1], u"3 07:00:30 投票"_s);
}

TEST(VoteRobo, GroupsFollowTheVenuesInOrder) {
    VoteRoboOptions o;
    o.group = true;
    o.groupSet = 1;
    o.groupOut = u"0"_s;
    o.voteTime = 2;
    const QStringList lines = VoteRoboScheduleLines(betsOf({u"東京,1R,単勝,1,,100円"_s, u"京都,1R,単勝,2,,100円"_s,
                                                            u"東京,2R,単勝,3,,100円"_s, u"中京,1R,単勝,4,,100円"_s}),
                                                    o, {});
    QStringList heads;
    for (const QString& l : lines)
        heads << l.left(1) + u' ' + l.mid(2, 8);
    EXPECT_EQ(heads, (QStringList{u"4 09:00:05"_s, u"5 09:00:08"_s, u"4 09:00:05"_s, u"6 09:00:07"_s, u"4 09:00:30"_s,
                                  u"5 09:00:30"_s, u"6 09:00:30"_s}));
}

TEST(VoteRobo, OptionsMakeTheirBlocks) {
    const PendingBetTable bets = betsOf({u"東京,11R,単勝,5,,100円"_s});
    const RaceTimes times = {{u"東京 11R"_s, u"08:55"_s}};  // before nine: morning times
    const struct {
        const char* name;
        void (*set)(VoteRoboOptions&);
        QStringList lines;
    } cases[] = {
        {"morning all races",
         [](VoteRoboOptions& o) { o.odds = true, o.oddsTiming = 0, o.oddsKind = 1; },
         {u"0 09:30:00 取得項目入力 東京 全R Odds：単複枠"_s, u"0 09:30:00 取得"_s}},
        {"morning bought races",
         [](VoteRoboOptions& o) { o.odds = true, o.oddsTiming = 1, o.oddsKind = 2; },
         {u"0 09:30:00 取得項目入力 東京 11R Odds：馬／ワ"_s, u"0 09:30:00 取得"_s}},
        {"each race, early start",
         [](VoteRoboOptions& o) { o.odds = true, o.oddsTiming = 2; },
         {u"0 09:30:00 取得項目入力 東京 11R オッズ"_s, u"0 09:30:00 取得"_s}},
        {"weights only",
         [](VoteRoboOptions& o) { o.weights = true; },
         {u"0 09:30:00 取得項目入力 東京 11R 馬体重"_s, u"0 09:30:00 取得"_s}},
        {"odds switched off", [](VoteRoboOptions& o) { o.odds = false, o.oddsTiming = 2; }, {}},
        {"results after the last race", [](VoteRoboOptions& o) { o.results = true; }, {u"0 16:45:00 成績"_s}},
        {"results race by race",
         [](VoteRoboOptions& o) { o.results = true, o.resultsTiming = 1; },
         {u"0 09:55:00 的中判定     東京 11R"_s}},
    };
    for (const auto& c : cases) {
        VoteRoboOptions o;
        o.groupOut = u"0"_s;
        o.voteTime = 1;
        c.set(o);
        QStringList lines = VoteRoboScheduleLines(bets, o, times);
        // Race by race voting adds its two lines before the race.
        EXPECT_TRUE(lines.removeOne(u"0 09:30:30 投票"_s)) << c.name;
        lines.removeIf([](const QString& l) { return l.contains(u"投票項目入力"_s); });
        EXPECT_EQ(lines, c.lines) << c.name;
    }
}

TEST(VoteRobo, DocumentedExampleSchedules) {
    const DocExample doc = docExample();
    ASSERT_FALSE(doc.bets.isEmpty());
    VoteRoboOptions grouped;
    grouped.group = true;
    grouped.groupSet = 1;
    grouped.voteTime = 1;
    grouped.odds = true;
    grouped.oddsTiming = 2;
    grouped.oddsKind = 0;
    grouped.weights = true;
    grouped.results = true;
    grouped.resultsTiming = 1;
    EXPECT_EQ(VoteRoboScheduleLines(betsOf(doc.bets), grouped, exampleTimes()), doc.grouped);
    VoteRoboOptions atOnce;
    atOnce.groupOut = u"1"_s;
    atOnce.voteTime = 0;
    atOnce.odds = true;
    atOnce.oddsTiming = 0;
    atOnce.oddsKind = 0;
    atOnce.results = true;
    atOnce.resultsTiming = 0;
    EXPECT_EQ(VoteRoboScheduleLines(betsOf(doc.bets), atOnce, exampleTimes()), doc.atOnce);
}

TEST(VoteRobo, SettingsRoundTrip) {
    test::TestHome home;
    VoteRoboOptions o;
    o.group = true;
    o.groupSet = 2;
    o.groupOut = u"7"_s;
    o.voteTime = 0;
    o.odds = true;
    o.oddsTiming = 1;
    o.oddsKind = 2;
    o.weights = true;
    o.results = true;
    o.resultsTiming = 1;
    EXPECT_TRUE(StoreVoteRoboOptions(home.ctx().store, home.ctx().settings, o).ok());
    home.reload();
    const VoteRoboOptions back = VoteRoboOptionsOf(home.ctx().settings);
    EXPECT_EQ(back.group, true);
    EXPECT_EQ(back.groupSet, 2);
    EXPECT_EQ(back.groupOut, u"7"_s);
    EXPECT_EQ(back.voteTime, 0);
    EXPECT_EQ(back.oddsTiming, 1);
    EXPECT_EQ(back.oddsKind, 2);
    EXPECT_TRUE(back.weights && back.results);
    EXPECT_EQ(back.resultsTiming, 1);
    EXPECT_EQ(home.ctx().store.read(u"VoteRoboSetting"_s, u"T_Time"_s), u"07:00"_s);
    EXPECT_EQ(home.ctx().store.read(u"VoteRoboSetting"_s, u"Hantei"_s), u"True"_s);
    o.voteTime = 1;
    EXPECT_TRUE(StoreVoteRoboOptions(home.ctx().store, home.ctx().settings, o).ok());
    home.reload();
    EXPECT_EQ(VoteRoboOptionsOf(home.ctx().settings).voteTime, 1);
    EXPECT_EQ(home.ctx().settings.T_Time, u"07:00"_s);  // kept as it was
}

class VoteRoboFile : public ::testing::Test {
protected:
    void SetUp() override {
        home.ctx().settings.BetOutDir = home.home() + u"/OutPut/"_s;
        home.ctx().settings.GroupOut = u"0"_s;
    }
    QString betPath() { return PendingBetPath(home.ctx().paths, kDay); }
    QString lstPath() { return home.home() + u"/OutPut/20011014.lst"_s; }
    void writeRaceFile() {
        test::DayBuilder day(kDay);
        day.add(u"04"_s, 11).postTime = u"15:45"_s;
        day.write(home.ctx().paths.DataDir, false);
    }
    // Shows a failure as the front ends do; true when the run did not fail.
    bool run() {
        const Status s = WriteVoteRoboSchedule(home.ctx(), kDay, VoteRoboOptionsOf(home.ctx().settings));
        showNotice(home.prompter(), s.notice());
        return s.ok();
    }
    test::TestHome home;
};

TEST_F(VoteRoboFile, StopsWithoutPendingBetsOrRaceFile) {
    EXPECT_FALSE(run());
    test::writeBytes(betPath(), test::betBytes({u"東京,11R,単勝,5,,100円"_s}));
    EXPECT_FALSE(run());
    EXPECT_EQ(home.prompter().texts(), (QStringList{kNoPurchaseFile, kVoteRoboNoRaceFile}));
    EXPECT_FALSE(QFile::exists(lstPath()));
}

TEST_F(VoteRoboFile, OverwriteAppendCancelAndDelete) {
    writeRaceFile();
    test::writeBytes(betPath(), test::betBytes({u"東京,11R,単勝,5,,100円"_s}));
    home.ctx().settings.Touhyou = true;
    home.prompter().answer(Answer::No);  // keep the pending bets
    EXPECT_TRUE(run());
    const QStringList once = {u"0 15:35:05 投票項目入力 東京 11R 単勝       5        100"_s, u"0 15:35:30 投票"_s};
    EXPECT_EQ(test::readLines(lstPath()), once);
    EXPECT_EQ(home.prompter().texts().back(), u"1BET出力しました。\r\n\r\n保留ＢＥＴファイルを削除しますか？"_s);
    home.prompter().answer(Answer::No);  // append
    home.prompter().answer(Answer::No);
    EXPECT_TRUE(run());
    EXPECT_EQ(test::readLines(lstPath()), once + once);
    home.prompter().answer(Answer::Cancel);
    EXPECT_TRUE(run());  // declined: nothing written
    EXPECT_EQ(test::readLines(lstPath()).size(), 4);
    home.prompter().answer(Answer::Yes);  // overwrite
    home.prompter().answer(Answer::Yes);  // delete the pending bets
    EXPECT_TRUE(run());
    EXPECT_EQ(test::readLines(lstPath()), once);
    EXPECT_FALSE(QFile::exists(betPath()));
    EXPECT_FALSE(home.prompter().unansweredLeft());
}

}  // namespace
}  // namespace zm
