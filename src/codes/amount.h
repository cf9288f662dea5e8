#pragma once

// Money: whole yen in a 64-bit integer, from the first text read to the last byte written.
// Nothing on the money road goes through a floating-point number or its text, so a sum of
// 100,000 yen is "100000" in a file and "100,000" on the screen, never "1e+05".

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace zm {

class Amount {
public:
    constexpr Amount() = default;
    static constexpr Amount yen(std::int64_t v) { return Amount(v); }

    constexpr std::int64_t value() const { return yen_; }
    constexpr bool isZero() const { return yen_ == 0; }

    // Sums saturate instead of wrapping: a total that big is refused by every writer anyway.
    Amount& operator+=(Amount other);
    friend Amount operator+(Amount a, Amount b) { return a += b; }
    friend constexpr auto operator<=>(Amount, Amount) = default;

    // Plain digits for files ("-" in front when negative): 100000 -> "100000".
    QString digits() const;
    // For people: "#,##0" (100000 -> "100,000", -1200 -> "-1,200").
    QString display() const;

private:
    constexpr explicit Amount(std::int64_t v) : yen_(v) {}
    std::int64_t yen_ = 0;
};

// The smallest and largest stake a bet may carry, and its unit.
inline constexpr std::int64_t kStakeUnit = 100;
inline constexpr std::int64_t kMinStake = 100;
inline constexpr std::int64_t kMaxStake = 99'999'900;

// A stake as written in a file or typed: optional blanks (half- or full-width) around, digits
// (full-width digits typed through an IME count as digits), an optional "円" at the end. No sign,
// no decimal point, no grouping commas, no exponent; nothing when the text is anything else or
// does not fit 64 bits.
std::optional<Amount> ParseAmount(QStringView text);

// True when the amount is a stake a bet from outside may carry: whole hundreds, 100..99,999,900.
bool isValidStake(Amount a);

// The message part naming what a stake must be.
QString stakeRuleText();

}  // namespace zm
