#include "codes/sjis.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <optional>

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

// The codec handles the single-byte ranges itself (ASCII as itself, half-width katakana
// 0xA1-0xDF as U+FF61-U+FF9F, as Windows does; ICU's table would swap a few control codes)
// and gives runs of two-byte characters to ICU's windows-31j converter.

namespace {

bool isKanaByte(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}

bool isTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// ICU's converters, opened once per thread (opening one costs more than converting a field)
// and reset before every use, so that each conversion starts as a fresh converter would. A reset
// keeps the error mark of an earlier conversion, so a converter that met an error is opened
// anew. A converter is built in its place and never moved: ICU holds on to its address.
template <class Converter>
Converter& freshConverter(std::optional<Converter>& converter) {
    if (!converter || converter->hasError())
        converter.emplace("windows-31j", Converter::Flag::Stateless);
    else
        converter->resetState();
    return *converter;
}

QStringDecoder& pairDecoder() {
    thread_local std::optional<QStringDecoder> decoder;
    return freshConverter(decoder);
}

QStringEncoder& runEncoder() {
    thread_local std::optional<QStringEncoder> encoder;
    return freshConverter(encoder);
}

// Decodes a run of complete two-byte characters; a pair CP932 does not define becomes U+FFFD.
void decodePairs(QByteArrayView pairs, QString& out) {
    if (pairs.isEmpty()) {
        return;
    }
    QStringDecoder& decoder = pairDecoder();
    const QString run = decoder.decode(pairs);
    if (!decoder.hasError() && !run.contains(QChar(0x1A)) && run.size() * 2 == pairs.size()) {
        out += run;
        return;
    }
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        QStringDecoder& one = pairDecoder();
        const QString ch = one.decode(pairs.sliced(i, 2));
        out += (one.hasError() || ch.size() != 1 || ch[0] == QChar(0x1A)) ? QString(QChar(kReplacement)) : ch;
    }
}

// Encodes a run of characters outside the single-byte ranges; one CP932 cannot hold becomes "?".
void encodeRun(QStringView run, QByteArray& out) {
    if (run.isEmpty()) {
        return;
    }
    QStringEncoder& encoder = runEncoder();
    const QByteArray bytes = encoder.encode(run);
    if (!encoder.hasError() && bytes.size() == 2 * run.size()) {
        out += bytes;
        return;
    }
    for (qsizetype i = 0; i < run.size(); ++i) {
        const qsizetype len = run[i].isHighSurrogate() && i + 1 < run.size() ? 2 : 1;
        QStringEncoder& one = runEncoder();
        const QByteArray b = one.encode(run.sliced(i, len));
        out += (one.hasError() || b.size() != 2) ? QByteArray("?") : b;
        i += len - 1;
    }
}

}  // namespace

QByteArray toSjis(QStringView text) {
    if (isAscii(text)) {
        return text.toLatin1();
    }
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool single = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        if (!single) {
            if (runStart < 0) {
                runStart = i;
            }
            continue;
        }
        if (runStart >= 0) {
            encodeRun(text.sliced(runStart, i - runStart), out);
            runStart = -1;
        }
        out += static_cast<char>(c < 0x80 ? c : c - 0xFF61 + 0xA1);
    }
    if (runStart >= 0) {
        encodeRun(text.sliced(runStart), out);
    }
    return out;
}

namespace {

// The texts of one ASCII byte and of two digits, made once: fields of one character or two
// digits are read by the thousand, and a shared text costs no allocation.
const QString* sharedShortText(QByteArrayView bytes) {
    static const std::array<QString, 128> kSingles = [] {
        std::array<QString, 128> texts;
        for (int c = 0; c < 128; ++c)
            texts[static_cast<size_t>(c)] = QString(QChar(char16_t(c)));
        return texts;
    }();
    static const std::array<QString, 100> kDigitPairs = [] {
        std::array<QString, 100> texts;
        for (int n = 0; n < 100; ++n)
            texts[static_cast<size_t>(n)] = QString::number(n).rightJustified(2, u'0');
        return texts;
    }();
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80)
        return &kSingles[static_cast<size_t>(bytes[0])];
    if (bytes.size() == 2 && digit(bytes[0]) && digit(bytes[1]))
        return &kDigitPairs[static_cast<size_t>((bytes[0] - '0') * 10 + (bytes[1] - '0'))];
    return nullptr;
}

}  // namespace

QString fromSjis(QByteArrayView bytes) {
    if (const QString* shared = sharedShortText(bytes)) {
        return *shared;
    }
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    QString out;
    out.reserve(bytes.size());
    const qsizetype n = bytes.size();
    qsizetype pairStart = -1;
    auto flushPairs = [&](qsizetype end) {
        if (pairStart >= 0) {
            decodePairs(bytes.sliced(pairStart, end - pairStart), out);
            pairStart = -1;
        }
    };
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (isLeadByte(b) && i + 1 < n && isTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
            if (pairStart < 0) {
                pairStart = i;
            }
            i += 2;
            continue;
        }
        flushPairs(i);
        if (b < 0x80) {
            out += QChar(b);
        } else if (isKanaByte(b)) {
            out += QChar(char16_t(0xFF61 + (b - 0xA1)));
        } else {
            out += QChar(kReplacement);  // a lone lead byte, or a byte CP932 does not use
        }
        ++i;
    }
    flushPairs(n);
    return out;
}

// ASCII text is its own CP932 form, one byte a character: the byte functions below cut it as
// text, without encoding it and decoding the cut back.

int ByteLength(QStringView text) {
    if (isAscii(text)) {
        return static_cast<int>(text.size());
    }
    return static_cast<int>(toSjis(text).size());
}

QString LeftBytes(QStringView text, int n) {
    if (n <= 0) {
        return {};
    }
    if (isAscii(text)) {
        return text.first(qMin<qsizetype>(n, text.size())).toString();
    }
    const QByteArray b = toSjis(text);
    return fromSjis(QByteArrayView(b).first(qMin<qsizetype>(n, b.size())));
}

QString RightBytes(QStringView text, int n) {
    if (n <= 0) {
        return {};
    }
    if (isAscii(text)) {
        return text.last(qMin<qsizetype>(n, text.size())).toString();
    }
    const QByteArray b = toSjis(text);
    return fromSjis(QByteArrayView(b).last(qMin<qsizetype>(n, b.size())));
}

QString MidBytes(QStringView text, int start, int length) {
    if (start < 1 || length <= 0) {
        return {};
    }
    if (isAscii(text)) {
        const qsizetype from = start - 1;
        return from >= text.size() ? QString()
                                   : text.sliced(from, qMin<qsizetype>(length, text.size() - from)).toString();
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

QString escapeControls(const QString& text) {
    // Controls, and the lone surrogates U+DC80..U+DCFF that stand for bytes of a path that
    // were not UTF-8 (the second half of a surrogate pair is a character, not a byte).
    auto isControl = [&](qsizetype i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0xDC80 && c <= 0xDCFF)
            return i == 0 || !text.at(i - 1).isHighSurrogate();
        return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7f || (c >= 0x80 && c <= 0x9f);
    };
    qsizetype first = 0;
    while (first < text.size() && !isControl(first))
        ++first;
    if (first == text.size())
        return text;
    QString out = text.left(first);
    out.reserve(text.size() + 8);
    for (qsizetype i = first; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (!isControl(i))
            out += text.at(i);
        else if (u < 0x80 || u >= 0xDC80)
            out += QStringLiteral("\\x") + QString::number(u & 0xFFu, 16).rightJustified(2, u'0').toUpper();
        else
            out += QStringLiteral("\\u") + QString::number(u, 16).rightJustified(4, u'0').toUpper();
    }
    return out;
}

}  // namespace zm
