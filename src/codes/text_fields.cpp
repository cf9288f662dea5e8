#include "codes/text_fields.h"

namespace zm {

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

}  // namespace zm
