#include "codes/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace zm {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isAscii(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

QByteArray toSjis(QStringView text) {
    // CP932 holds ASCII as itself; most fields are plain ASCII, and a converter is not free.
    if (isAscii(text)) {
        return text.toLatin1();
    }
    // A fresh encoder per call: QStringEncoder keeps state and is not shareable across threads.
    QStringEncoder encoder("windows-31j");
    QByteArray out = encoder.encode(text);
    return out;
}

QString fromSjis(QByteArrayView bytes) {
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    {
        // Fast path: almost every field is clean.
        QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
        QString whole = decoder.decode(bytes);
        if (!decoder.hasError() && !whole.contains(QChar(0x1A))) {
            return whole;
        }
    }
    // ICU maps a lone or invalid byte to U+001A. Decode in runs so that each bad byte can be
    // shown as U+FFFD while a real U+001A in the data (never written by the service) stays.
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end > runStart) {
            QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
            out += decoder.decode(bytes.sliced(runStart, end - runStart));
        }
    };
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(b)) {
            if (i + 1 >= n) {
                flush(i);
                out += QChar(kReplacement);
                runStart = ++i;
                continue;
            }
            const auto t = static_cast<unsigned char>(bytes[i + 1]);
            const bool trailOk = (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC);
            if (!trailOk) {
                flush(i);
                out += QChar(kReplacement);
                runStart = ++i;
                continue;
            }
            // A valid pair: check it decodes to something real.
            QStringDecoder probe("windows-31j", QStringDecoder::Flag::Stateless);
            const QString ch = probe.decode(bytes.sliced(i, 2));
            if (probe.hasError() || ch == QStringView(u"\x1a")) {
                flush(i);
                out += QChar(kReplacement);
                i += 2;
                runStart = i;
                continue;
            }
            i += 2;
            continue;
        }
        if (b == 0x80 || b == 0xA0 || b >= 0xFD) {
            flush(i);
            out += QChar(kReplacement);
            runStart = ++i;
            continue;
        }
        ++i;
    }
    flush(n);
    return out;
}

int ByteLength(QStringView text) {
    return static_cast<int>(toSjis(text).size());
}

QString LeftBytes(QStringView text, int n) {
    if (n <= 0) {
        return {};
    }
    const QByteArray b = toSjis(text);
    return fromSjis(QByteArrayView(b).first(qMin<qsizetype>(n, b.size())));
}

QString RightBytes(QStringView text, int n) {
    if (n <= 0) {
        return {};
    }
    const QByteArray b = toSjis(text);
    return fromSjis(QByteArrayView(b).last(qMin<qsizetype>(n, b.size())));
}

QString MidBytes(QStringView text, int start, int length) {
    if (start < 1 || length <= 0) {
        return {};
    }
    const QByteArray b = toSjis(text);
    const qsizetype from = start - 1;
    if (from >= b.size()) {
        return {};
    }
    return fromSjis(QByteArrayView(b).sliced(from, qMin<qsizetype>(length, b.size() - from)));
}

QByteArray padSjis(QStringView text, int width) {
    QByteArray b = toSjis(text);
    if (b.size() > width) {
        b.truncate(width);
    } else {
        b.append(width - b.size(), ' ');
    }
    return b;
}

QString PadBytes(QStringView text, int width) {
    return fromSjis(padSjis(text, width));
}

QString PadBytesLeft(QStringView text, int width) {
    QByteArray b = toSjis(text);
    if (b.size() > width) {
        b = b.right(width);
    } else {
        b.prepend(QByteArray(width - b.size(), ' '));
    }
    return fromSjis(b);
}

}  // namespace zm
