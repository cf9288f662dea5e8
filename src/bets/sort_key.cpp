#include "bets/sort_key.h"

#include "codes/numeric.h"

namespace zm {

namespace {

QString twoDigits(QStringView text) {
    const int n = ToInt16(Val(text.trimmed()));
    return QString::number(n).rightJustified(2, u'0').right(2);
}

}  // namespace

QString BetSortKey(QStringView selection, QStringView betType) {
    const QChar type = betType.isEmpty() ? QChar() : betType.front();
    if (type == u'単' || type == u'複') {
        return (QStringLiteral("0000") + selection.trimmed().toString()).right(4);
    }
    if (type == u'枠') {
        const QStringView last3 = selection.size() >= 3 ? selection.last(3) : selection;
        if (last3.isEmpty()) {
            return QStringLiteral("0000");
        }
        return (QStringLiteral("0000") + QString(last3.front()) + QString(last3.back())).right(4);
    }
    if (type == u'馬' || type == u'ワ' || type == u'拡') {
        return twoDigits(selection.first(qMin<qsizetype>(2, selection.size()))) +
               twoDigits(selection.last(qMin<qsizetype>(2, selection.size())));
    }
    return QStringLiteral("0000");
}

}  // namespace zm
