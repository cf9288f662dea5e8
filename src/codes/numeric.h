#pragma once

// The numeric conventions of every file the system reads: a numeric-prefix parse, storage into
// 16-bit integers with round-half-to-even, and Int as floor.

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace zm {

// Skips leading blanks (half- and full-width) and tabs, reads an optional sign, digits and
// one decimal point, and stops at the first other character. No number gives 0.
double Val(QStringView text);
double Val(QByteArrayView bytes);

// Rounds half to even and stores into a 16-bit integer; values beyond the range saturate.
std::int16_t ToInt16(double value);

// Rounds half to even into a 32-bit integer; values beyond the range saturate.
std::int32_t ToInt32(double value);

// Floor, as the system's Int.
double Int(double value);

// Shortest decimal text of a number, as the system prints numbers without blanks
// (12 -> "12", 12.5 -> "12.5", -3 -> "-3").
QString NumberText(double value);

// Shortest decimal text of a single-precision value (0.1f prints "0.1", not 0.100000001).
QString NumberText(float value);

}  // namespace zm
