#pragma once

// Field text at the record boundary without a converter where none is needed: the prediction
// touches tens of thousands of short fields a day, nearly all plain ASCII, and CP932 maps the
// printable ASCII range to itself. Anything else goes through the codec.

#include "codes/sjis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zm {

inline bool isAsciiBytes(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
            return false;
        }
    }
    return true;
}

inline bool isAsciiText(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return false;
        }
    }
    return true;
}

// The bytes decoded as fromSjis would decode them.
inline QString decodeField(QByteArrayView bytes) {
    return isAsciiBytes(bytes) ? QString::fromLatin1(bytes) : fromSjis(bytes);
}

// The text encoded, padded with blanks and cut to width bytes, as padSjis would.
inline QByteArray encodeField(QStringView text, int width) {
    if (!isAsciiText(text)) {
        return padSjis(text, width);
    }
    QByteArray b = text.toLatin1();
    if (b.size() > width) {
        b.truncate(width);
    } else {
        b.append(width - b.size(), ' ');
    }
    return b;
}

// LeftBytes and RightBytes, with no converter for ASCII text.
inline QString leftField(const QString& text, int n) {
    return isAsciiText(text) ? text.left(n) : LeftBytes(text, n);
}
inline QString rightField(const QString& text, int n) {
    return isAsciiText(text) ? text.right(n) : RightBytes(text, n);
}

}  // namespace zm
