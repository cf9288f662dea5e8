#include "app/safe_save.h"
#include "pat/odds_convert.h"
#include "pat/pat_files.h"
#include "support/test_home.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

// A predicted-odds record of runners horses at 東京 (service "04"), day 3, race 10.
OddsRecord oddsRecord(int runners, int nonRunners = 0, const QString& race = QStringLiteral("10")) {
    OddsRecord o;
    o.setText(OddsRecord::venueCode, u"04");
    o.setText(OddsRecord::meetingYear, u"2026");
    o.setText(OddsRecord::kai, u"05");
    o.setText(OddsRecord::nichi, u"03");
    o.setText(OddsRecord::raceNo, race);
    o.setText(OddsRecord::raceDate, u"20261205");
    o.setText(PredictedOddsFields::runners, QString::number(runners).rightJustified(2, u'0'));
    o.setText(PredictedOddsFields::nonRunners, QString::number(nonRunners).rightJustified(2, u'0'));
    for (int h = 1; h <= 18; ++h)
        o.setText(OddsRecord::winOdds, h, h <= runners ? QString::number(20 + h) : QStringLiteral("-"));
    for (int b = 1; b <= 36; ++b)
        o.setText(PredictedOddsFields::bracketOdds, b, QString::number(100 + b));
    for (int i = 1; i < 18; ++i)
        for (int j = i + 1; j <= 18; ++j)
            o.setText(OddsRecord::quinellaField(i, j), j <= runners ? QString::number(i * 100 + j) : QStringLiteral("-"));
    return o;
}

constexpr Field inEntry(const Field& array, int i, const Field& relative) {
    return relative.shifted(array.element(i).offset);
}

TEST(OddsConvert, NumbersAndMarkers) {
    const struct {
        double v;
        int w;
        const char* text;
    } numbers[] = {{35, 5, "  3.5"}, {1234, 6, " 123.4"}, {5, 5, "   .5"}, {0, 5, "   .0"}, {123456, 5, "345.6"}};
    for (const auto& c : numbers)
        EXPECT_EQ(FormatTenths(c.v, c.w), c.text) << c.v;
    EXPECT_EQ(OddsMarker(u"    *"), u'*');
    EXPECT_EQ(OddsMarker(u"  /"), u'/');
    EXPECT_EQ(OddsMarker(u"-"), u'-');
    EXPECT_EQ(OddsMarker(u"  12"), 0);
    EXPECT_EQ(OddsMarker(u"1-"), 0);
}

TEST(OddsConvert, WinPlaceAndBracketEntries) {
    OddsRecord o = oddsRecord(9);
    o.setText(OddsRecord::winOdds, 1, u"    *");  // a marker after blanks is still a marker
    o.setText(OddsRecord::winOdds, 2, u"   /");
    o.setText(OddsRecord::winOdds, 3, u"35");
    o.setText(PredictedOddsFields::bracketOdds, 1, u"  *");
    o.setText(PredictedOddsFields::bracketOdds, 2, u"0");
    o.setText(PredictedOddsFields::bracketOdds, 3, u" /");
    const Zo95Record zo(Zo95Bytes(o));
    auto horse = [&](int h, const Field& f) { return zo.text(inEntry(Zo95Record::horses, h, f)); };
    EXPECT_EQ(horse(1, Zo95Record::winOdds), " 50.0");
    EXPECT_EQ(horse(1, Zo95Record::placeLow), "  1.0");
    EXPECT_EQ(horse(1, Zo95Record::placeHigh), " 10.0");
    EXPECT_EQ(horse(2, Zo95Record::winOdds) + horse(2, Zo95Record::placeLow) + horse(2, Zo95Record::placeHigh),
              " ﾄﾘｹｼ ﾄﾘｹｼ ﾄﾘｹｼ");
    EXPECT_EQ(horse(3, Zo95Record::winOdds), "  3.5");
    // Entries beyond the runners: number and end byte only.
    EXPECT_EQ(zo.text(Zo95Record::horses.element(10)), "10               0");
    EXPECT_EQ(zo.text(Zo95Record::brackets.element(1)), "1-1100.0  ");
    EXPECT_EQ(zo.text(Zo95Record::brackets.element(2)), "1-2   .0  ");
    EXPECT_EQ(zo.text(Zo95Record::brackets.element(3)), "1-3 ﾄﾘｹｼ  ");
    EXPECT_EQ(zo.text(Zo95Record::brackets.element(36)), "8-8 13.6  ");
    EXPECT_EQ(zo.text(Field{"h", 0, 48}), "2026120520261205000000000000東京2026050310  1000");
    EXPECT_EQ(zo.text(Field{"tail", 140, 3}), "090");

    const Zo31Record z31(Zo31Bytes(o));
    EXPECT_EQ(z31.text(Zo31Record::horses.element(1)), "0 1 50.0  1.0 10.0");
    EXPECT_EQ(z31.text(Zo31Record::horses.element(12)), "012               ");
    EXPECT_EQ(z31.text(Zo31Record::brackets.element(2)), " 1-2     0");  // zero or less: blank in PAT31
    EXPECT_EQ(z31.text(Field{"kind", 42, 6}), "031000");
    EXPECT_EQ(z31.text(Field{"runners", 148, 2}), "09");
    EXPECT_EQ(z31.bytes().size(), 908);
}

TEST(OddsConvert, PairEntriesAndWideBounds) {
    OddsRecord o = oddsRecord(12);
    const struct {
        const char* source;
        const char* quinella98;
        const char* low;
        const char* high;
        const char* quinella31;
    } cases[] = {
        {"30", "   3.0", "    .8", "   1.2", "   3.0"},
        {"      *", " 999.9", " 233.0", " 350.0", " 999.9"},
        {"   /", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ", "  ﾄﾘｹｼ"},
        {"  -", "      ", "      ", "      ", "      "},
        {"5", "    .5", "   1.0", "   1.0", "    .5"},
        {"11", "   1.1", "    .3", "    .4", "   1.1"},
        {"9999", " 999.9", " 266.6", " 400.0", " 999.9"},
        {"10000", "10000 ", "      ", "      ", "1000.0"},
        {"-5", "      ", "      ", "      ", "      "},  // "-" first: no odds
        {"0", "0     ", "      ", "      ", "0     "},
    };
    for (const auto& c : cases) {
        o.setText(OddsRecord::quinellaField(1, 2), QString::fromUtf8(c.source));
        const Uo98Record uo(Uo98Bytes(o));
        auto f = [&](const Field& field) { return uo.text(inEntry(Uo98Record::pairs, 1, field)); };
        EXPECT_EQ(f(Uo98Record::quinellaOdds), c.quinella98) << c.source;
        EXPECT_EQ(f(Uo98Record::wideLow), c.low) << c.source;
        EXPECT_EQ(f(Uo98Record::wideHigh), c.high) << c.source;
        EXPECT_EQ(Uo95Record(Uo95Bytes(o)).text(inEntry(Uo95Record::pairs, 1, Uo95Record::quinellaOdds)), c.quinella98);
        EXPECT_EQ(Uo31Record(Uo31Bytes(o)).text(inEntry(Uo31Record::pairs, 1, Uo31Record::quinellaOdds)), c.quinella31);
    }
    const Uo98Record uo(Uo98Bytes(o));
    EXPECT_EQ(uo.text(Uo98Record::pairs.element(66)), "0011-12 111.2  29.7  44.5");
    EXPECT_EQ(uo.text(Uo98Record::pairs.element(67)), QString(25, u' '));
    EXPECT_EQ(uo.text(Field{"mark", 40, 4}), "100 ");
    EXPECT_EQ(uo.text(Field{"tail", 140, 4}), "1211");
    EXPECT_TRUE(uo.bytes().endsWith("\r\n"));
    const Uo95Record u95(Uo95Bytes(o));
    EXPECT_EQ(u95.text(Uo95Record::pairs.element(2)), " 1- 3  10.3 ");
    EXPECT_EQ(u95.text(Field{"tail", 140, 3}), " 12");
    const Uo31Record u31(Uo31Bytes(o));
    EXPECT_EQ(u31.text(Uo31Record::pairs.element(2)), "  1- 3  10.3");
}

TEST(OddsConvert, FileCodes) {
    EXPECT_EQ(ConvFileCode(oddsRecord(9), *patFormat(PatVer::V95)), "53A");
    EXPECT_EQ(ConvFileCode(oddsRecord(9), *patFormat(PatVer::V31)), "51A");
    EXPECT_EQ(ConvFileCode(oddsRecord(9, 0, QStringLiteral("05")), *patFormat(PatVer::V98)), "535");
    OddsRecord other = oddsRecord(9, 0, QStringLiteral("00"));
    other.setText(OddsRecord::venueCode, u"66");
    EXPECT_EQ(ConvFileCode(other, *patFormat(PatVer::V98)), "030");
}

TEST(OddsConvert, RunWritesTheFilesOfEachRace) {
    Notices notices;
    test::TestHome home;
    const QString day = home.ctx().paths.DataDir + QStringLiteral("MURODDS20261205.DAT");
    const QString out = home.home() + QStringLiteral("PAT/");
    QByteArray bytes = oddsRecord(8, 0, QStringLiteral("01")).bytes() + oddsRecord(9, 0, QStringLiteral("02")).bytes() +
                       oddsRecord(10, 2, QStringLiteral("03")).bytes() + oddsRecord(12, 3, QStringLiteral("11")).bytes();
    ASSERT_TRUE(SafeSave::save(day, bytes).ok());

    // A missing folder: the message and nothing stored.
    const auto missing = ConvertPredictedOdds(home.ctx(), day, *patFormat(PatVer::V98), out, notices);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.status().notice().severity, Severity::Warning);
    EXPECT_EQ(missing.message(), kConvFolderMissing);
    EXPECT_EQ(home.ctx().store.read("PAT", "ConvOddsDir"), QString());

    QDir().mkpath(out);
    // A longer file of the same name is replaced whole.
    ASSERT_TRUE(SafeSave::save(out + "ZO-531.JRA", QByteArray(2000, 'x')).ok());
    home.prompter().clear();
    const auto run = ConvertPredictedOdds(home.ctx(), day, *patFormat(PatVer::V98), "  " + out + "  ", notices);
    ASSERT_TRUE(run.ok());
    EXPECT_EQ(run->records, 4);
    EXPECT_TRUE(home.prompter().texts().isEmpty());  // the closing message is the caller's
    EXPECT_EQ(home.ctx().store.read("PAT", "ConvOddsDir"), out);
    QStringList names = QDir(out).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names, (QStringList{"UO-532.JRA", "UO-53B.JRA", "ZO-531.JRA", "ZO-532.JRA", "ZO-533.JRA", "ZO-53B.JRA"}));
    QFile zo(out + "ZO-531.JRA");
    ASSERT_TRUE(zo.open(QIODevice::ReadOnly));
    EXPECT_EQ(zo.readAll(), Zo95Bytes(oddsRecord(8, 0, QStringLiteral("01"))));
    EXPECT_EQ(QFileInfo(out + "UO-532.JRA").size(), Uo98Record::kLength);

    const auto run31 = ConvertPredictedOdds(home.ctx(), day, *patFormat(PatVer::V31), out, notices);
    ASSERT_TRUE(run31.ok());
    EXPECT_EQ(QFileInfo(out + "ZO-511.JRA").size(), Zo31Record::kLength);
    EXPECT_EQ(QFileInfo(out + "UO-51B.JRA").size(), Uo31Record::kLength);
    EXPECT_EQ(ConvRaceStatus(oddsRecord(9)), "2026年12月05日 5回 東京 3日目 10Ｒ");
    EXPECT_EQ(ConvHeading(day), "2026年12月05日分の予想オッズをＰＡＴ形式に変換します。");
}

TEST(OddsConvert, EmptyDayFileEndsAtOnce) {
    Notices notices;
    test::TestHome home;
    const QString day = home.ctx().paths.DataDir + QStringLiteral("MURODDS20261205.DAT");
    ASSERT_TRUE(SafeSave::save(day, QByteArray()).ok());
    const auto run = ConvertPredictedOdds(home.ctx(), day, *patFormat(PatVer::V95), home.ctx().paths.DataDir, notices);
    ASSERT_TRUE(run.ok());
    EXPECT_EQ(run->records, 0);
}

}  // namespace
}  // namespace zm
