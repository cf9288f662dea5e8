#include "app/safe_save.h"
#include "pat/odds_read.h"
#include "pat/odds_view.h"
#include "pat/pat_format.h"
#include "support/pat_builders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

using test::PatRace;

constexpr Field inEntry(const Field& array, int i, const Field& relative) {
    return relative.shifted(array.element(i).offset);
}

const PatRaceRef kRace{QStringLiteral("04"), QStringLiteral("11"), QStringLiteral("03"), QStringLiteral("20261205")};

TEST(OddsView, WinPlaceBracketsAndPairsOfEachGeneration) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    PatRace race;
    race.runners = 10;
    race.scratched = {4};
    ASSERT_TRUE(SafeSave::save(folder + "ZO-53B.JRA", test::zoRecord<Zo95Record>(race)).ok());
    ASSERT_TRUE(SafeSave::save(folder + "UO-53B.JRA", test::uoRecord<Uo98Record>(race)).ok());
    const WinPlaceOdds wp = ReadWinPlaceOdds(folder, patFormat(PatVer::V98), kRace);
    ASSERT_TRUE(wp.found);
    EXPECT_EQ(wp.win[2], "  3.5");
    EXPECT_EQ(wp.place[2], " 1.3- 2.3");
    EXPECT_EQ(wp.place[3], "ﾄﾘｹｼ");
    EXPECT_EQ(wp.win[3], " ﾄﾘｹｼ");
    EXPECT_EQ(wp.win[10], "     ");  // beyond the runners
    EXPECT_EQ(wp.place[10], "    -    ");
    EXPECT_EQ(wp.brackets[35].pair, "8-8");
    EXPECT_EQ(wp.brackets[35].odds, " 88.0");

    const PairOdds p98 = ReadRenOdds(folder, patFormat(PatVer::V98), kRace);
    EXPECT_EQ(p98.pairs[0].pair, "01-02");
    EXPECT_EQ(p98.pairs[0].quinella, " 102.0");
    EXPECT_EQ(p98.pairs[0].wideLow, "   3.0");
    EXPECT_EQ(p98.pairs[0].wideHigh, "   4.0");
    EXPECT_EQ(p98.pairs[45].pair, "     ");  // 10 runners fill 45 entries
    ASSERT_TRUE(SafeSave::save(folder + "UO-53B.JRA", test::uoRecord<Uo95Record>(race)).ok());
    const PairOdds p95 = ReadRenOdds(folder, patFormat(PatVer::V95), kRace);
    EXPECT_EQ(p95.pairs[0].quinella, " 102.0");
    EXPECT_EQ(p95.pairs[0].wideLow, "      ");

    // Another generation's name, or no file: blank texts.
    EXPECT_FALSE(ReadWinPlaceOdds(folder, patFormat(PatVer::V31), kRace).found);
    EXPECT_EQ(ReadWinPlaceOdds(folder, patFormat(PatVer::V31), kRace).win[0], "     ");
    EXPECT_FALSE(ReadWinPlaceOdds(folder, patFormat(PatVer::None), kRace).found);
}

TEST(OddsView, Pat31DateCheckAndSecondName) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    QByteArray zo = test::zoRecord<Zo31Record>(PatRace{});
    zo.replace(0, 8, "20261204");
    ASSERT_TRUE(SafeSave::save(folder + "ZO-52B.JRA", zo).ok());
    EXPECT_FALSE(ReadWinPlaceOdds(folder, patFormat(PatVer::V31), kRace).found);  // another day's file
    zo.replace(0, 8, "20261205");
    ASSERT_TRUE(SafeSave::save(folder + "ZO-52B.JRA", zo).ok());
    const WinPlaceOdds wp = ReadWinPlaceOdds(folder, patFormat(PatVer::V31), kRace);
    ASSERT_TRUE(wp.found);
    EXPECT_EQ(wp.win[17], " 18.5");
}

TEST(OddsView, BodyWeights) {
    Ut95Record ut;
    const struct {
        const char* entry;
        const char* text;
    } cases[] = {
        {" 1 480041 ", "４８０＋０４"}, {" 2 462102 ", "４６２－１０"}, {" 3 500003 ", "５００±００"},
        {" 4 444  7 ", "４４４ 初出"},  {" 59480041 ", "取り消し"},     {"          ", ""},
    };
    for (int i = 0; i < 6; ++i)
        ut.setText(Ut95Record::horses.element(i + 1), QString::fromUtf8(cases[i].entry));
    const BodyWeights w = bodyWeightsFromBytes(ut.bytes(), PatVer::V95);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(w.weights[static_cast<size_t>(i)], QString::fromUtf8(cases[i].text)) << cases[i].entry;
    (void)inEntry;
}

}  // namespace
}  // namespace zm
