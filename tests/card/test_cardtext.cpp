#include "card/cardday.h"
#include "card/cardtext.h"
#include "card/predicted_odds.h"
#include "codes/sjis.h"

#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;

struct TextCase {
    QString got;
    QString want;
};

void expectAll(const std::vector<TextCase>& cases) {
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
    }
}

TEST(CardText, WideTextConvertsAsciiBlanksAndHalfWidthKana) {
    expectAll({
        {WideText(u"新  馬"), u"新　　馬"_s},
        {WideText(u"ｵｰﾌﾟﾝ "), u"オープン　"_s},
        {WideText(u" 500万"), u"　５００万"_s},
        {WideText(u"1600.5"), u"１６００．５"_s},
        {WideText(u"ｶﾞｷﾞｸﾞ"), u"ガギグ"_s},
        {WideText(u"東京"), u"東京"_s},
        {WideText(u""), u""_s},
    });
}

TEST(CardText, SmallPieces) {
    expectAll({
        {DayText(u"20010915"), u"2001年09月15日(土)"_s},
        {DayText(u"20011230"), u"2001年12月30日(日)"_s},
        {FrameCaption(4, u"05", 3), u"4回【中山】3日目"_s},
        {FrameCaption(1, u"47", 12), u"1回【？？】12日目"_s},
        {RaceNumberText(5), u"　５"_s},
        {RaceNumberText(12), u"１２"_s},
        {GradeText(u"0"), u"（Ｇ１）"_s},
        {GradeText(u"5"), u"（JG３）"_s},
        {GradeText(u"6"), u""_s},
        {GradeText(u" "), u""_s},
        {CourseQualifier(u"2"), u"(外→内)"_s},
        {CourseQualifier(u"5"), u"(内２周)"_s},
        {CourseQualifier(u"6"), u""_s},
        {SexAgeText(u"1", u" 3"), u"牝3"_s},
        {SexAgeText(u"9", u"10"), u"  10"_s},
        {SexAgeText(u"0", u"  "), u"牡"_s},
        {WeightText(u"550"), u"55.0"_s},
        {WeightText(u"575"), u"57.5"_s},
        {WeightText(u"   "), u""_s},
        {AffiliationText(u"西"), u"西"_s},
        {AffiliationText(u"地 "), u"地"_s},
        {AffiliationText(u"1 "), u""_s},
        {PastOddsText(u"  12.3"), u"12.3"_s},
        {PastOddsText(u"      "), u""_s},
        {WinPickText(7), u"7"_s},
        {WinPickText(0), u""_s},
        {PairPickText(1105, false), u"11-5"_s},
        {PairPickText(105, false), u"1-5"_s},
        {PairPickText(37, true), u"3-7"_s},
        {PairPickText(100, false), u""_s},
        {PairPickText(0, true), u""_s},
    });
}

TEST(CardText, ConditionsJoinKnownWordsOnly) {
    expectAll({
        {ConditionsText(u"04", u"21"), u"（○混・○指）"_s},
        {ConditionsText(u"  ", u"03"), u"（牝）"_s},
        {ConditionsText(u"27", u"15"), u"（○混牡せん馬）"_s},
        {ConditionsText(u"34", u"00"), u"（ＪＲＡ認定・勝入）"_s},
        {ConditionsText(u"99", u"  "), u""_s},
    });
}

// The rate beside a course record is the share of first and second places, whole percent
// rounded down, blank for a horse that never ran on that course.
TEST(CardText, CourseRecordAndRate) {
    struct Case {
        std::array<std::int16_t, 4> group;
        const char16_t* record;
        const char16_t* rate;
    };
    const Case cases[] = {
        {{1, 1, 0, 2}, u"1-1-0-2", u"50%"},
        {{1, 0, 0, 2}, u"1-0-0-2", u"33%"},
        {{0, 0, 1, 3}, u"0-0-1-3", u"0%"},
        {{2, 0, 0, 0}, u"2-0-0-0", u"100%"},
        {{0, 0, 0, 0}, u"0-0-0-0", u""},
        {{12, 3, 4, 15}, u"12-3-4-15", u"44%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CourseRecordText(c.group), QString::fromUtf16(c.record));
        EXPECT_EQ(CourseRateText(c.group), QString::fromUtf16(c.rate)) << CourseRecordText(c.group).toStdString();
    }
}

TEST(CardText, ClassPrizePiece) {
    struct Case {
        const char16_t* raceClass;
        std::int16_t prize;
        const char16_t* want;
    };
    const Case cases[] = {
        {u"3", 5000, u"サ３歳上 500万下"},
        {u"4", 16000, u"サ４歳上 1600万下"},
        {u"1", 1, u"サラ２歳 新馬"},
        {u"2", 3, u"サラ３歳 未勝利"},
        {u"3", 9, u"サ３歳上 オープン"},
        {u"0", 4, u"障害 オープン"},
        {u"9", 0, u""},
        {u"9", 2, u"未出走"},
        {u"3", 900, u"サ３歳上"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ClassPrizePiece(c.raceClass, c.prize), QString::fromUtf16(c.want));
    }
}

TEST(CardText, TitleLineCarriesCaptionWhenShortAndIsAlways76Bytes) {
    TitlePieces p;
    p.raceName = u"東京優駿                      "_s;
    p.edition = 68;
    p.gradeCode = u"0"_s;
    p.raceClass = u"2"_s;
    p.prizeClass = 9;
    const QString line = TitleLine(p);
    EXPECT_EQ(ByteLength(line), 76);
    EXPECT_TRUE(line.startsWith(u"第６８回東京優駿（Ｇ１）　サラ３歳 オープン"_s)) << line.toStdString();
    EXPECT_TRUE(line.endsWith(kEditionCaption));

    // No edition: no "第..回"; a name long enough to pass 44 bytes loses the caption.
    p.edition = 0;
    p.raceName = u"ジャパンカップダートメモリアルステークス"_s;
    p.gradeCode = u" "_s;
    const QString longLine = TitleLine(p);
    EXPECT_EQ(ByteLength(longLine), 76);
    EXPECT_TRUE(longLine.startsWith(u"ジャパンカップダート"_s));
    EXPECT_FALSE(longLine.contains(kEditionCaption));
    EXPECT_TRUE(longLine.endsWith(u"  "_s));
}

TEST(CardText, CourseLine) {
    expectAll({
        {CourseLine(u"1600", u"1000", 16, u"1"), u"1600m 右回り(内)  16頭  予想ペース：Ｍ"_s},
        {CourseLine(u"2400", u"0112", 9, u"0"), u"2400m 左回り(外)  9頭  予想ペース：Ｈ"_s},
        {CourseLine(u"3300", u"1040", 12, u" "), u"3300m 右回り(大障害)  12頭  予想ペース：？"_s},
        {CourseLine(u"    ", u"    ", 0, u"2"), u"0m  0頭  予想ペース：Ｓ"_s},
    });
}

RaceListPieces typicalRace() {
    RaceListPieces p;
    p.venueCode = u"05"_s;
    p.raceNo = 5;
    p.raceClass = u"3"_s;
    p.prizeClass = 5000;
    p.courseLayout = u"1000"_s;
    p.distance = u"1600"_s;
    p.runnerCount = 16;
    p.paceCode = u"0"_s;
    p.postTime = u"12:25"_s;
    return p;
}

TEST(CardText, RaceListLineIs76BytesWithTheStartTimeAtTheEnd) {
    const QString line = RaceListLine(typicalRace());
    EXPECT_EQ(line, u"【中山】　５Ｒ  サ３歳上　５００万 芝 1600m  １６頭  ﾍﾟｰｽ:H"_s + QString(7, u' ') +
                        u"12:25発走 "_s);
    EXPECT_EQ(ByteLength(line), 76);
}

// The pace text goes in only while the line and the pace text stay below 64 bytes.
TEST(CardText, RaceListLinePaceDependsOnLength) {
    struct Case {
        const char16_t* distance;  // a stored field may hold wider characters
        bool paceShown;
    };
    // Base line before the pace: 【東京】 8 + "　１Ｒ  " 8 + サラ２歳 8 + 12 blanks + 1 + 芝 2 + 1
    // + distance + "m  " 3 + "１８頭 " 7 = 50 + distance bytes.
    const Case cases[] = {
        {u"1600", true},       // 54 + 7 = 61
        {u"１６0 ", true},     // 56 + 7 = 63
        {u"１６０0", false},   // 57 + 7 = 64
        {u"１６００", false},  // 58 + 7 = 65
    };
    for (const Case& c : cases) {
        RaceListPieces p;
        p.venueCode = u"04"_s;
        p.raceNo = 1;
        p.raceClass = u"1"_s;
        p.prizeClass = 0;
        p.courseLayout = u"1000"_s;
        p.distance = QString::fromUtf16(c.distance);
        p.runnerCount = 18;
        p.paceCode = u"1"_s;
        p.postTime = u"10:05"_s;
        const QString line = RaceListLine(p);
        EXPECT_EQ(line.contains(u"ﾍﾟｰｽ"_s), c.paceShown) << line.toStdString();
        EXPECT_EQ(ByteLength(line), 76);
        EXPECT_TRUE(line.endsWith(u"10:05発走 "_s));
    }
}

TEST(CardText, RaceListLineLongerThan76KeepsEveryPiece) {
    RaceListPieces p = typicalRace();
    p.venueCode = u"51"_s;  // 美浦南
    p.prizeClass = 32767;       // "３２７６．７万"
    p.distance = u"１６００"_s;  // a stored field holding wide digits
    p.runnerCount = 12345;
    const QString line = RaceListLine(p);
    EXPECT_GT(ByteLength(line), 76);
    EXPECT_TRUE(line.contains(u"１２３４５頭 "_s));
    EXPECT_TRUE(line.endsWith(u"頭  12:25発走 "_s)) << line.toStdString();
}

TEST(CardText, CardViewCyclesAndChoosesColumns) {
    CardViewState s = CardViewState::PastFigures;
    s = nextCardView(s);
    EXPECT_EQ(s, CardViewState::CourseRecords);
    s = nextCardView(nextCardView(s));
    EXPECT_EQ(s, CardViewState::PastFigures);

    struct Case {
        CardViewState state;
        bool figures, records, pastOdds;
    };
    for (const Case c : {Case{CardViewState::PastFigures, true, false, false},
                         Case{CardViewState::CourseRecords, false, true, false},
                         Case{CardViewState::PastFiguresAndOdds, true, false, true}}) {
        const auto shown = visibleColumns(c.state);
        ASSERT_EQ(shown.size(), size_t(ColumnCount));
        EXPECT_TRUE(shown[ColWaku] && shown[ColName] && shown[ColIndex] && shown[ColOddsColumn]);
        EXPECT_EQ(shown[ColPastFigure1 + 4], c.figures);
        EXPECT_EQ(shown[ColCourseRecord1 + 7], c.records);
        EXPECT_EQ(shown[ColPastOdds1], c.pastOdds);
    }
    EXPECT_EQ(gridHeadings(true).size(), ColumnCount);
    EXPECT_EQ(gridHeadings(true)[ColOddsColumn], u"複勝オッズ"_s);
    EXPECT_EQ(gridHeadings(false)[ColOddsColumn], u"馬体重"_s);
    EXPECT_EQ(gridHeadings(true)[ColCourseRecord1 + 6], u"ダ左成績"_s);
    EXPECT_EQ(gridHeadings(true)[ColPastOdds1 + 4], u"５前ODS"_s);
}

TEST(CardText, PredictedOddsText) {
    expectAll({
        {PredictedOddsText(u"00123"), u"12.3"_s},
        {PredictedOddsText(u"0001234"), u"123.4"_s},
        {PredictedOddsText(u"    15"), u"1.5"_s},
        {PredictedOddsText(u"*****"), u"範囲外"_s},
        {PredictedOddsText(u"-----"), u"取消"_s},
        {PredictedOddsText(u"  /  "), u"取消"_s},
        {PredictedOddsText(u"     "), u""_s},
        {PredictedOddsText(u"00000"), u""_s},
    });
}

}  // namespace
}  // namespace zm
