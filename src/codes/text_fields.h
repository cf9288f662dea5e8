#pragma once

// Small pieces of reading text from outside: the lines of a text whatever its line ends, the
// one- or two-digit numbers (horses, brackets, races) written in its fields, blanks trimmed and
// full-width characters made half-width.

#include <QString>
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

// The text without its leading and trailing half-width blanks (other white space stays).
QString trimBlanks(QStringView text);

// Full-width ASCII forms (U+FF01..U+FF5E) as their ASCII characters and the ideographic space as a
// blank; everything else as it is.
QString HalfWidthAscii(QStringView text);

// HalfWidthAscii, and full-width katakana (voiced ones with their mark) and the Japanese
// punctuation that has a half-width form as those forms.
QString HalfWidth(QStringView text);

}  // namespace zm
