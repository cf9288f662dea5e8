#include "pat/odds_view.h"

#include "codes/numeric.h"
#include "codes/sjis.h"
#include "pat/pat_files.h"

#include <QFileInfo>

namespace zm::pat {

namespace {

// Blanks trimmed, then right-aligned in width characters (the rightmost width when longer).
QString rightIn(const QString& field, int width) {
    const QString t = field.trimmed();
    return t.size() >= width ? t.right(width) : QString(width - t.size(), u' ') + t;
}

QString blanks(int n) { return QString(n, u' '); }

QByteArray readFile(const QString& path, qint64 length) {
    return path.isEmpty() ? QByteArray() : readPatFile(path, length);
}

// Half-width characters turned into their full-width forms, the blank included.
QString wide(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == u' ')
            out += QChar(0x3000);
        else if (c.unicode() > 0x20 && c.unicode() < 0x7F)
            out += QChar(c.unicode() - 0x20 + 0xFF00);
        else
            out += c;
    }
    return out;
}

// PAT31 files hold the race date first; a file of another day is not used.
bool dateMatches(QByteArrayView file, const QString& date) {
    return file.size() >= 8 && fromSjis(file.first(8)) == date;
}

template <class Zo>
WinPlaceOdds winPlace(const Zo& r) {
    WinPlaceOdds out;
    out.found = true;
    for (int h = 1; h <= 18; ++h) {
        const size_t k = static_cast<size_t>(h - 1);
        out.win[k] = rightIn(r.text(Zo::horses.inEntry(h, Zo::winOdds)), 5);
        out.place[k] = rightIn(r.text(Zo::horses.inEntry(h, Zo::placeLow)), 4) + u'-' +
                       rightIn(r.text(Zo::horses.inEntry(h, Zo::placeHigh)), 4);
        if (out.place[k].contains(u"ﾄﾘｹｼ"))
            out.place[k] = QStringLiteral("ﾄﾘｹｼ");
    }
    for (int b = 1; b <= 36; ++b) {
        BracketOddsRow& row = out.brackets[static_cast<size_t>(b - 1)];
        const QString first = r.text(Zo::brackets.inEntry(b, Zo::bracket1));
        if (Val(first) >= 1) {
            row.pair = first + u'-' + r.text(Zo::brackets.inEntry(b, Zo::bracket2));
            row.odds = r.text(Zo::brackets.inEntry(b, Zo::bracketOdds));
        } else {
            row = {blanks(3), blanks(5)};
        }
    }
    return out;
}

template <class Uo>
PairOdds pairs(const Uo& r, bool wideOdds) {
    PairOdds out;
    out.found = true;
    for (int i = 1; i <= 153; ++i) {
        PairOddsRow& row = out.pairs[static_cast<size_t>(i - 1)];
        row = {blanks(5), blanks(6), blanks(6), blanks(6)};
        const QString first = r.text(Uo::pairs.inEntry(i, Uo::horse1));
        if (Val(first) < 1)
            continue;
        row.pair = first + u'-' + r.text(Uo::pairs.inEntry(i, Uo::horse2));
        row.quinella = r.text(Uo::pairs.inEntry(i, Uo::quinellaOdds));
        if constexpr (std::is_same_v<Uo, Uo98Record>) {
            if (wideOdds) {
                row.wideLow = r.text(Uo::pairs.inEntry(i, Uo::wideLow));
                row.wideHigh = r.text(Uo::pairs.inEntry(i, Uo::wideHigh));
            }
        }
    }
    return out;
}

template <class Ut>
BodyWeights weights(const Ut& r) {
    BodyWeights out;
    out.found = true;
    for (int h = 1; h <= 18; ++h) {
        QString& text = out.weights[static_cast<size_t>(h - 1)];
        if (r.text(Ut::horses.inEntry(h, UtWeightEntry::status)) == u"9") {
            text = QStringLiteral("取り消し");
            continue;
        }
        const QString weight = wide(r.text(Ut::horses.inEntry(h, UtWeightEntry::weight)));
        const QString change = wide(r.text(Ut::horses.inEntry(h, UtWeightEntry::change)));
        const QString sign = r.text(Ut::horses.inEntry(h, UtWeightEntry::sign));
        if (sign == u"1")
            text = weight + QStringLiteral("＋") + change;
        else if (sign == u"2")
            text = weight + QStringLiteral("－") + change;
        else if (sign == u"3")
            text = weight + QStringLiteral("±") + change;
        else if (sign == u"7")
            text = weight + QStringLiteral(" 初出");
    }
    return out;
}

}  // namespace

PatVer patVerOf(const QString& ver) {
    if (ver == u"31")
        return PatVer::V31;
    if (ver == u"95")
        return PatVer::V95;
    if (ver == u"98")
        return PatVer::V98;
    return PatVer::None;
}

QString patRaceFile(const QString& folder, const QString& prefix, PatVer ver, const PatRaceRef& race) {
    if (ver == PatVer::V31)
        return FindPat31File(folder, prefix, race.venueCode, race.raceNo);
    const QString path = folder + prefix + PatFileCode(race.venueCode, race.raceNo, race.dayNo) + QStringLiteral(".JRA");
    return QFileInfo(path).isFile() ? path : QString();
}

WinPlaceOdds winPlaceOddsFromBytes(QByteArrayView file, PatVer ver) {
    if (ver == PatVer::V31)
        return winPlace(Zo31Record(file));
    return winPlace(Zo95Record(file));
}

PairOdds renOddsFromBytes(QByteArrayView file, PatVer ver) {
    if (ver == PatVer::V31)
        return pairs(Uo31Record(file), false);
    if (ver == PatVer::V95)
        return pairs(Uo95Record(file), false);
    return pairs(Uo98Record(file), true);
}

BodyWeights bodyWeightsFromBytes(QByteArrayView file, PatVer ver) {
    if (ver == PatVer::V31)
        return weights(Ut31Record(file));
    return weights(Ut95Record(file));
}

WinPlaceOdds ReadWinPlaceOdds(const QString& folder, PatVer ver, const PatRaceRef& race) {
    WinPlaceOdds out;
    out.win.fill(blanks(5));
    out.place.fill(blanks(9));
    out.brackets.fill({blanks(3), blanks(5)});
    if (ver == PatVer::None)
        return out;
    const QByteArray bytes = readFile(patRaceFile(folder, kWinPlacePrefix, ver, race),
                                      ver == PatVer::V31 ? Zo31Record::kLength : Zo95Record::kLength);
    if (bytes.isEmpty() || (ver == PatVer::V31 && !dateMatches(bytes, race.date)))
        return out;
    return winPlaceOddsFromBytes(bytes, ver);
}

PairOdds ReadRenOdds(const QString& folder, PatVer ver, const PatRaceRef& race) {
    PairOdds out;
    out.pairs.fill({blanks(5), blanks(6), blanks(6), blanks(6)});
    if (ver == PatVer::None)
        return out;
    const int length = ver == PatVer::V31 ? Uo31Record::kLength : ver == PatVer::V95 ? Uo95Record::kLength
                                                                                       : Uo98Record::kLength;
    const QByteArray bytes = readFile(patRaceFile(folder, kQuinellaPrefix, ver, race), length);
    if (bytes.isEmpty() || (ver == PatVer::V31 && !dateMatches(bytes, race.date)))
        return out;
    return renOddsFromBytes(bytes, ver);
}

BodyWeights ReadBodyWeights(const QString& folder, PatVer ver, const PatRaceRef& race) {
    BodyWeights out;
    if (ver == PatVer::None)
        return out;
    const QByteArray bytes = readFile(patRaceFile(folder, kWeightPrefix, ver, race),
                                      ver == PatVer::V31 ? Ut31Record::kLength : Ut95Record::kLength);
    if (bytes.isEmpty() || (ver == PatVer::V31 && !dateMatches(bytes, race.date)))
        return out;
    return bodyWeightsFromBytes(bytes, ver);
}

}  // namespace zm::pat
