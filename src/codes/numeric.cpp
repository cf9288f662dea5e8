#include "codes/numeric.h"

#include <QByteArray>
#include <charconv>
#include <cmath>
#include <limits>

namespace zm {

namespace {

template <typename CharAt>
double parsePrefix(qsizetype size, CharAt at) {
    qsizetype i = 0;
    // Leading blanks: half-width blank, tab, full-width blank.
    while (i < size && (at(i) == u' ' || at(i) == u'\t' || at(i) == u'\u3000')) {
        ++i;
    }
    std::string digits;
    if (i < size && (at(i) == u'-' || at(i) == u'+')) {
        if (at(i) == u'-') {
            digits.push_back('-');
        }
        ++i;
    }
    bool any = false;
    bool point = false;
    for (; i < size; ++i) {
        const char16_t c = at(i);
        if (c >= u'0' && c <= u'9') {
            digits.push_back(static_cast<char>(c));
            any = true;
        } else if (c == u'.' && !point) {
            digits.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!any) {
        return 0.0;
    }
    double value = 0.0;
    const char* first = digits.data();
    if (*first == '-' && digits.size() > 1 && digits[1] == '.') {
        // "-.5": from_chars wants a digit before the point.
        digits.insert(1, "0");
        first = digits.data();
    } else if (*first == '.') {
        digits.insert(0, "0");
        first = digits.data();
    }
    std::from_chars(first, digits.data() + digits.size(), value);
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
