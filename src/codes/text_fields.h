#pragma once

// Small pieces of reading text from outside: the lines of a text whatever its line ends, and the
// one- or two-digit numbers (horses, brackets, races) written in its fields.

#include <QStringView>
#include <optional>
#include <vector>

namespace zm {

// The lines of a text without their ends: CR LF, LF and a lone CR each end a line; a last line
// without its end is included.
std::vector<QStringView> LinesOf(QStringView text);

// A whole number written as one or two ASCII digits (nothing else, no blanks) within
// [low, high]; nothing otherwise.
std::optional<int> SmallNumber(QStringView text, int low, int high);

}  // namespace zm
