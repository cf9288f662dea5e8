#include "codes/numeric.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace zm {

namespace {

template <typename CharAt>
double parsePrefix(qsizetype size, CharAt at) {
    qsizetype i = 0;
    // Leading blanks: half-width blank, tab, full-width blank.
    while (i < size && (at(i) == u' ' || at(i) == u'\t' || at(i) == u'\u3000')) {
        ++i;
    }
    bool negative = false;
    if (i < size && (at(i) == u'-' || at(i) == u'+')) {
        negative = at(i) == u'-';
        ++i;
    }
    // The digits and at most one point; most fields are whole numbers of a few digits, whose
    // value is kept as they are read.
    const qsizetype from = i;
    bool any = false;
    bool point = false;
    std::int64_t whole = 0;
    int count = 0;
    for (; i < size; ++i) {
        const char16_t c = at(i);
        if (c >= u'0' && c <= u'9') {
            any = true;
            if (++count <= 15)
                whole = whole * 10 + (c - u'0');
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) {
        return 0.0;
    }
    if (!point && count <= 15) {
        // Exact in a double, as the general parse below would give it ("-0" included).
        const double value = static_cast<double>(whole);
        return negative ? -value : value;
    }
    std::string digits;
    if (negative) {
        digits.push_back('-');
    }
    if (at(from) == u'.') {
        digits.push_back('0');  // from_chars wants a digit before the point
    }
    for (qsizetype k = from; k < i; ++k) {
        digits.push_back(static_cast<char>(at(k)));
    }
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

}  // namespace

double Val(QStringView text) {
    return parsePrefix(text.size(), [&](qsizetype i) { return static_cast<char16_t>(text[i].unicode()); });
}

double Val(QByteArrayView bytes) {
    return parsePrefix(bytes.size(), [&](qsizetype i) {
        return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    });
}

std::int16_t ToInt16(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = std::nearbyint(value);  // default rounding mode: half to even
    if (r >= std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    if (r <= std::numeric_limits<std::int16_t>::min()) {
        return std::numeric_limits<std::int16_t>::min();
    }
    return static_cast<std::int16_t>(r);
}

std::int32_t ToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = std::nearbyint(value);
    if (r >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (r <= std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(r);
}

double Int(double value) {
    return std::floor(value);
}

namespace {

// Shortest decimal text that reads back as the same value of its type; "-0" prints "0".
template <class T>
QString shortestText(T value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc())
        return QString::number(static_cast<double>(value));
    QString s = QString::fromLatin1(buf, end - buf);
    if (s == u"-0")
        s = QStringLiteral("0");
    return s;
}

}  // namespace

QString NumberText(double value) { return shortestText(value); }

QString NumberText(float value) { return shortestText(value); }

}  // namespace zm
