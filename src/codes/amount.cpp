#include "codes/amount.h"

#include <limits>

namespace zm {

Amount& Amount::operator+=(Amount other) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    if (other.yen_ > 0 && yen_ > kMax - other.yen_)
        yen_ = kMax;
    else if (other.yen_ < 0 && yen_ < kMin - other.yen_)
        yen_ = kMin;
    else
        yen_ += other.yen_;
    return *this;
}

QString Amount::digits() const {
    return QString::number(yen_);
}

QString Amount::display() const {
    const bool negative = yen_ < 0;
    // The magnitude as unsigned, so the smallest value has one too.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(yen_) : static_cast<std::uint64_t>(yen_);
    const QString plain = QString::number(magnitude);
    QString out;
    out.reserve(plain.size() + plain.size() / 3 + 1);
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0)
            out += u',';
        out += plain[i];
    }
    return negative ? u'-' + out : out;
}

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

}  // namespace

std::optional<Amount> ParseAmount(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    if (to > from && text[to - 1] == QChar(0x5186))  // 円
        --to;
    while (to > from && isBlank(text[to - 1]))
        --to;
    if (from == to)
        return std::nullopt;
    std::uint64_t v = 0;
    constexpr std::uint64_t kLimit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = text[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= 0xFF10 && c <= 0xFF19)  // full-width digits
            digit = c - 0xFF10;
        if (digit < 0)
            return std::nullopt;
        if (v > (kLimit - static_cast<std::uint64_t>(digit)) / 10)
            return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(digit);
    }
    return Amount::yen(static_cast<std::int64_t>(v));
}

bool isValidStake(Amount a) {
    return a.value() >= kMinStake && a.value() <= kMaxStake && a.value() % kStakeUnit == 0;
}

QString stakeRuleText() {
    return QStringLiteral("金額は100円単位で100円から99,999,900円までです");
}

}  // namespace zm
