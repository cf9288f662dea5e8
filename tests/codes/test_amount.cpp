#include "codes/amount.h"

#include <gtest/gtest.h>

#include <limits>

namespace zm {
namespace {

TEST(Amount, DigitsAndDisplay) {
    struct Case {
        std::int64_t yen;
        const char* digits;
        const char* display;
    } const cases[] = {
        {0, "0", "0"},
        {100, "100", "100"},
        {1000, "1000", "1,000"},
        {100000, "100000", "100,000"},
        {900000, "900000", "900,000"},
        {1000000, "1000000", "1,000,000"},
        {99999900, "99999900", "99,999,900"},
        {-1200, "-1200", "-1,200"},
        {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808", "-9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Amount::yen(c.yen).digits(), QString::fromLatin1(c.digits)) << c.yen;
        EXPECT_EQ(Amount::yen(c.yen).display(), QString::fromLatin1(c.display)) << c.yen;
    }
}

TEST(Amount, ParseTakesOnlyWholeYen) {
    struct Case {
        const char16_t* text;
        std::optional<std::int64_t> yen;
    } const cases[] = {
        {u"100", 100},
        {u" 1000円", 1000},
        {u"１０００", 1000},
        {u"　500 円 ", 500},
        {u"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {u"9223372036854775808", std::nullopt},
        {u"99999999999999999999", std::nullopt},
        {u"1e+05", std::nullopt},
        {u"1,000", std::nullopt},
        {u"100.0", std::nullopt},
        {u"-100", std::nullopt},
        {u"円", std::nullopt},
        {u"", std::nullopt},
        {u"1 00", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto got = ParseAmount(QStringView(c.text));
        ASSERT_EQ(got.has_value(), c.yen.has_value()) << QString::fromUtf16(c.text).toStdString();
        if (got) {
            EXPECT_EQ(got->value(), *c.yen) << QString::fromUtf16(c.text).toStdString();
        }
    }
}

TEST(Amount, StakeRuleAndSaturatingSum) {
    for (const std::int64_t ok : {100LL, 200LL, 1000000LL, 99999900LL})
        EXPECT_TRUE(isValidStake(Amount::yen(ok))) << ok;
    for (const std::int64_t bad : {0LL, 50LL, 150LL, 123456LL, 100000000LL, -100LL})
        EXPECT_FALSE(isValidStake(Amount::yen(bad))) << bad;
    Amount big = Amount::yen(std::numeric_limits<std::int64_t>::max());
    big += Amount::yen(100);
    EXPECT_EQ(big.value(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ((Amount::yen(50000) + Amount::yen(50000)).digits(), QStringLiteral("100000"));
}

}  // namespace
}  // namespace zm
