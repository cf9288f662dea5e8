#pragma once

// Shift-JIS (CP932, as Windows writes it) at the file boundary, and the byte-counting text
// functions every fixed-width field goes through. Inside the program text is QString; widths
// count CP932 bytes: ASCII and half-width katakana one byte, everything else two.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zm {

// True when every byte or character is 7-bit ASCII (which CP932 holds as itself).
bool isAscii(QByteArrayView bytes);
bool isAscii(QStringView text);

// Encodes text as CP932. Characters CP932 cannot hold become "?".
QByteArray toSjis(QStringView text);

// Decodes CP932 bytes. A lone lead byte (a two-byte character cut in half) and any other byte
// that is not valid CP932 become U+FFFD.
QString fromSjis(QByteArrayView bytes);

// Number of bytes of the text's CP932 form.
int ByteLength(QStringView text);

// The first n bytes of the CP932 form, decoded back (n <= 0 gives empty text).
QString LeftBytes(QStringView text, int n);

// The last n bytes of the CP932 form, decoded back.
QString RightBytes(QStringView text, int n);

// length bytes from 1-based byte position start of the CP932 form, decoded back.
QString MidBytes(QStringView text, int start, int length);

// The text padded with blanks and cut to exactly width bytes (left-aligned field).
QString PadBytes(QStringView text, int width);

// The same, right-aligned: blanks in front, cut from the right to width bytes.
QString PadBytesLeft(QStringView text, int width);

// Byte-level forms, for record fields that are already bytes.
QByteArray padSjis(QStringView text, int width);

// Text as it may be shown on a terminal or in a message: control characters other than tab,
// line feed and carriage return (bytes from a file may hold an escape sequence) are written as
// "\xHH" (C0, DEL) or "\u00HH" (C1).
QString escapeControls(const QString& text);

}  // namespace zm
