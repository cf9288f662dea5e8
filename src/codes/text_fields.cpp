#include "codes/text_fields.h"

namespace zm {

namespace {

// Full-width katakana U+30A1..U+30F6 and their half-width forms (voiced ones with their mark).
const char16_t* const kKatakana[] = {
    u"ｧ",  u"ｱ",  u"ｨ",  u"ｲ",  u"ｩ",  u"ｳ",  u"ｪ",  u"ｴ", u"ｫ",  u"ｵ",  u"ｶ",  u"ｶﾞ", u"ｷ",  u"ｷﾞ", u"ｸ",
    u"ｸﾞ", u"ｹ",  u"ｹﾞ", u"ｺ",  u"ｺﾞ", u"ｻ",  u"ｻﾞ", u"ｼ", u"ｼﾞ", u"ｽ",  u"ｽﾞ", u"ｾ",  u"ｾﾞ", u"ｿ",  u"ｿﾞ",
    u"ﾀ",  u"ﾀﾞ", u"ﾁ",  u"ﾁﾞ", u"ｯ",  u"ﾂ",  u"ﾂﾞ", u"ﾃ", u"ﾃﾞ", u"ﾄ",  u"ﾄﾞ", u"ﾅ",  u"ﾆ",  u"ﾇ",  u"ﾈ",
    u"ﾉ",  u"ﾊ",  u"ﾊﾞ", u"ﾊﾟ", u"ﾋ",  u"ﾋﾞ", u"ﾋﾟ", u"ﾌ", u"ﾌﾞ", u"ﾌﾟ", u"ﾍ",  u"ﾍﾞ", u"ﾍﾟ", u"ﾎ",  u"ﾎﾞ",
    u"ﾎﾟ", u"ﾏ",  u"ﾐ",  u"ﾑ",  u"ﾒ",  u"ﾓ",  u"ｬ",  u"ﾔ", u"ｭ",  u"ﾕ",  u"ｮ",  u"ﾖ",  u"ﾗ",  u"ﾘ",  u"ﾙ",
    u"ﾚ",  u"ﾛ",  u"ﾜ",  u"ﾜ",  u"ｲ",  u"ｴ",  u"ｦ",  u"ﾝ", u"ｳﾞ", u"ｶ",  u"ｹ",
};

// Japanese punctuation with a half-width form.
constexpr struct {
    char16_t full;
    char16_t half;
} kPunctuation[] = {
    {u'ー', u'ｰ'}, {u'・', u'･'}, {u'゛', u'ﾞ'}, {u'゜', u'ﾟ'}, {u'「', u'｢'}, {u'」', u'｣'}, {u'、', u'､'}, {u'。', u'｡'},
};

// The half-width form of a full-width ASCII character or the ideographic space; c otherwise.
QChar halfWidthAsciiChar(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(static_cast<char16_t>(u - 0xFF01 + 0x21));
    if (u == 0x3000)
        return QChar(u' ');
    return c;
}

}  // namespace

std::vector<QStringView> LinesOf(QStringView text) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        lines.push_back(text.sliced(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.push_back(text.sliced(start));
    return lines;
}

std::optional<int> SmallNumber(QStringView text, int low, int high) {
    if (text.isEmpty() || text.size() > 2)
        return std::nullopt;
    int n = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - u'0');
    }
    if (n < low || n > high)
        return std::nullopt;
    return n;
}

QString trimBlanks(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.sliced(b, e - b).toString();
}

QString HalfWidthAscii(QStringView text) {
    QString out = text.toString();
    for (QChar& c : out)
        c = halfWidthAsciiChar(c);
    return out;
}

QString HalfWidth(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x30A1 && u <= 0x30F6) {
            out += QString::fromUtf16(kKatakana[u - 0x30A1]);
            continue;
        }
        QChar half = halfWidthAsciiChar(c);
        for (const auto& p : kPunctuation) {
            if (u == p.full)
                half = QChar(p.half);
        }
        out += half;
    }
    return out;
}

}  // namespace zm
