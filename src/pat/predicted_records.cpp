#include "pat/predicted_records.h"

#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "pat/pat_files.h"

#include <cmath>
#include <limits>
#include <utility>

namespace zm {

namespace {

const QString kScratched5 = QStringLiteral(" ﾄﾘｹｼ");
const QString kScratched6 = QStringLiteral("  ﾄﾘｹｼ");
QString blanks(int n) { return QString(n, u' '); }

// The number of runners as the record holds it, and as a count of horses (0-18).
int runnersOf(const OddsRecord& r) {
    const double n = r.number(PredictedOddsFields::runners);
    return n < 0 ? 0 : n > 18 ? 18 : static_cast<int>(n);
}

template <class Header, class Record>
void fillHeader(Record& out, const OddsRecord& r) {
    out.setRaw(Header::date, r.raw(OddsRecord::raceDate));
    out.setRaw(Header::venueName, padSjis(VenueName(r.text(OddsRecord::venueCode)), Header::venueName.width));
    out.setRaw(Header::year, r.raw(OddsRecord::meetingYear));
    out.setRaw(Header::kai, r.raw(OddsRecord::kai));
    out.setRaw(Header::nichi, r.raw(OddsRecord::nichi));
    out.setRaw(Header::raceNo, r.raw(OddsRecord::raceNo));
    out.setText(Header::thousand, u"1000");
}

template <class Record>
void fillPat95Header(Record& out, const OddsRecord& r, QStringView mark) {
    fillHeader<Pat95Header>(out, r);
    out.setRaw(Pat95Header::dateAndZeros, r.raw(OddsRecord::raceDate).toByteArray() + QByteArray(12, '0'));
    out.setText(Pat95Header::mark, mark);
}

template <class Record>
void fillPat31Header(Record& out, const OddsRecord& r, QStringView kind) {
    fillHeader<Pat31Header>(out, r);
    out.setText(Pat31Header::zero, u"0");
    out.setText(Pat31Header::kind, kind);
    out.setRaw(Pat31Header::runners, r.raw(PredictedOddsFields::runners));
}

QString winOdds(const QString& source) {
    switch (OddsMarker(source)) {
    case u'*':
        return QStringLiteral(" 50.0");
    case u'/':
        return kScratched5;
    case u'-':
        return blanks(5);
    default:
        return FormatTenths(Val(source), 5);
    }
}

QString bracketOdds(const QString& source, bool blankUnlessPositive) {
    switch (OddsMarker(source)) {
    case u'*':
        return QStringLiteral("100.0");
    case u'/':
        return kScratched5;
    case u'-':
        return blanks(5);
    default: {
        const double v = Val(source);
        return blankUnlessPositive && v <= 0 ? blanks(5) : FormatTenths(v, 5);
    }
    }
}

// Quinella odds: upper is the first value no longer formatted (10000 for PAT95/98, none for
// PAT31); values outside (0, upper) are copied as they stand.
QString quinellaOdds(const QString& source, double upper) {
    switch (OddsMarker(source)) {
    case u'*':
        return QStringLiteral(" 999.9");
    case u'/':
        return kScratched6;
    case u'-':
        return blanks(6);
    default: {
        const double v = Val(source);
        if (v > 0 && v < upper)
            return FormatTenths(v, 6);
        return LeftBytes(source, 6);
    }
    }
}

// A computed wide bound: one decimal, no leading zero below 1, right-aligned in six.
QString boundText(double odds) {
    const double r = std::round(odds * 10) / 10;
    QString t = QString::number(r, 'f', 1);
    if (t.startsWith(u"0."))
        t.remove(0, 1);
    return t.rightJustified(6);
}

std::pair<QString, QString> wideBounds(const QString& source) {
    switch (OddsMarker(source)) {
    case u'*':
        return {QStringLiteral(" 233.0"), QStringLiteral(" 350.0")};
    case u'/':
        return {kScratched6, kScratched6};
    case u'-':
        return {blanks(6), blanks(6)};
    default:
        break;
    }
    const double v = Val(source);
    const double odds = v / 10;
    if (v > 0 && v <= 10) {
        auto floored = [](double b) { return b < 1 ? QStringLiteral("   1.0") : boundText(b); };
        return {floored(odds / 3 * 1.3), floored(odds / 3 * 2)};
    }
    if (v > 10 && v < 10000)
        return {boundText(odds / 3 * 0.8), boundText(odds / 3 * 1.2)};
    return {blanks(6), blanks(6)};
}

template <class Zo>
void fillHorses(Zo& out, const OddsRecord& r) {
    const int runners = runnersOf(r);
    for (int h = 1; h <= 18; ++h) {
        out.setText(Zo::horses.inEntry(h, Zo::horseNo), QString::number(h).rightJustified(2));
        if (h > runners)
            continue;
        const QString source = r.text(OddsRecord::winOdds, h);
        const bool scratched = OddsMarker(source) == u'/';
        out.setText(Zo::horses.inEntry(h, Zo::winOdds), winOdds(source));
        out.setText(Zo::horses.inEntry(h, Zo::placeLow), scratched ? kScratched5 : QStringLiteral("  1.0"));
        out.setText(Zo::horses.inEntry(h, Zo::placeHigh), scratched ? kScratched5 : QStringLiteral(" 10.0"));
    }
}

// The bracket pair of entry k (1-36).
std::pair<int, int> bracketPair(int k) {
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b) {
            if (BracketEntryOf(a, b) == k)
                return {a, b};
        }
    }
    return {0, 0};
}

template <class Zo>
void fillBrackets(Zo& out, const OddsRecord& r, bool blankUnlessPositive) {
    for (int k = 1; k <= 36; ++k) {
        const auto [a, b] = bracketPair(k);
        out.setText(Zo::brackets.inEntry(k, Zo::bracket1), QString::number(a));
        out.setText(Zo::brackets.inEntry(k, Zo::dash), u"-");
        out.setText(Zo::brackets.inEntry(k, Zo::bracket2), QString::number(b));
        out.setText(Zo::brackets.inEntry(k, Zo::bracketOdds),
                    bracketOdds(r.text(PredictedOddsFields::bracketOdds, k), blankUnlessPositive));
    }
}

// Every pair i < j of the race's runners, entry by entry, with the source quinella text.
template <class Fn>
void forEachPair(const OddsRecord& r, Fn fn) {
    const int n = runnersOf(r);
    int entry = 0;
    for (int i = 1; i < n; ++i) {
        for (int j = i + 1; j <= n; ++j)
            fn(++entry, i, j, r.text(OddsRecord::quinellaField(i, j)));
    }
}

template <class Uo>
void fillPairNumbers(Uo& out, int entry, int i, int j) {
    out.setText(Uo::pairs.inEntry(entry, Uo::horse1), QString::number(i).rightJustified(2));
    out.setText(Uo::pairs.inEntry(entry, Uo::dash), u"-");
    out.setText(Uo::pairs.inEntry(entry, Uo::horse2), QString::number(j).rightJustified(2));
}

Status writeRecord(const QString& folder, const QString& prefix, const QString& fileCode, const QByteArray& bytes) {
    return SafeSave::save(folder + prefix + fileCode + QStringLiteral(".JRA"), bytes);
}

}  // namespace

QString FormatTenths(double tenths, int width) {
    QString t = NumberText(tenths);
    t.remove(u' ');
    const int keep = width - 1;
    t = t.size() >= keep ? t.right(keep) : QString(keep - t.size(), u' ') + t;
    return t.left(keep - 1) + u'.' + t.right(1);
}

char16_t OddsMarker(QStringView source) {
    for (QChar c : source) {
        if (c == u' ')
            continue;
        return c == u'*' || c == u'/' || c == u'-' ? c.unicode() : 0;
    }
    return 0;
}


QByteArray Zo95Bytes(const OddsRecord& r) {
    Zo95Record out;
    fillPat95Header(out, r, u"  ");
    out.setRaw(Zo95Record::runners, r.raw(PredictedOddsFields::runners));
    out.setText(Zo95Record::zero, u"0");
    fillHorses(out, r);
    for (int h = 1; h <= 18; ++h)
        out.setText(Zo95Record::horses.inEntry(h, Zo95Record::horseEnd), u"0");
    fillBrackets(out, r, false);
    return out.bytes();
}

QByteArray Zo31Bytes(const OddsRecord& r) {
    Zo31Record out;
    fillPat31Header(out, r, u"3");
    fillHorses(out, r);
    for (int h = 1; h <= 18; ++h)
        out.setText(Zo31Record::horses.inEntry(h, Zo31Record::horseStart), u"0");
    fillBrackets(out, r, true);
    for (int k = 1; k <= 36; ++k)
        out.setText(Zo31Record::brackets.inEntry(k, Zo31Record::bracketEnd), u"0");
    return out.bytes();
}

QByteArray Uo98Bytes(const OddsRecord& r) {
    Uo98Record out;
    fillPat95Header(out, r, u"0 ");
    out.setRaw(Uo98Record::runners, r.raw(PredictedOddsFields::runners));
    out.setText(Uo98Record::eleven, u"11");
    forEachPair(r, [&](int entry, int i, int j, const QString& source) {
        out.setText(Uo98Record::pairs.inEntry(entry, Uo98Record::pairStart), u"00");
        fillPairNumbers(out, entry, i, j);
        out.setText(Uo98Record::pairs.inEntry(entry, Uo98Record::quinellaOdds), quinellaOdds(source, 10000));
        const auto [low, high] = wideBounds(source);
        out.setText(Uo98Record::pairs.inEntry(entry, Uo98Record::wideLow), low);
        out.setText(Uo98Record::pairs.inEntry(entry, Uo98Record::wideHigh), high);
    });
    out.setRaw(Uo98Record::lineEnd, "\r\n");
    return out.bytes();
}

QByteArray Uo95Bytes(const OddsRecord& r) {
    Uo95Record out;
    fillPat95Header(out, r, u"  ");
    out.setRaw(Uo95Record::runners, r.raw(PredictedOddsFields::runners));
    forEachPair(r, [&](int entry, int i, int j, const QString& source) {
        fillPairNumbers(out, entry, i, j);
        out.setText(Uo95Record::pairs.inEntry(entry, Uo95Record::quinellaOdds), quinellaOdds(source, 10000));
    });
    return out.bytes();
}

QByteArray Uo31Bytes(const OddsRecord& r) {
    Uo31Record out;
    fillPat31Header(out, r, u" ");
    forEachPair(r, [&](int entry, int i, int j, const QString& source) {
        fillPairNumbers(out, entry, i, j);
        out.setText(Uo31Record::pairs.inEntry(entry, Uo31Record::quinellaOdds),
                    quinellaOdds(source, std::numeric_limits<double>::infinity()));
    });
    return out.bytes();
}

Status WriteZo95(const QString& folder, const QString& fileCode, const OddsRecord& record) {
    return writeRecord(folder, kWinPlacePrefix, fileCode, Zo95Bytes(record));
}
Status WriteZo31(const QString& folder, const QString& fileCode, const OddsRecord& record) {
    return writeRecord(folder, kWinPlacePrefix, fileCode, Zo31Bytes(record));
}
Status WriteUo98(const QString& folder, const QString& fileCode, const OddsRecord& record) {
    return writeRecord(folder, kQuinellaPrefix, fileCode, Uo98Bytes(record));
}
Status WriteUo95(const QString& folder, const QString& fileCode, const OddsRecord& record) {
    return writeRecord(folder, kQuinellaPrefix, fileCode, Uo95Bytes(record));
}
Status WriteUo31(const QString& folder, const QString& fileCode, const OddsRecord& record) {
    return writeRecord(folder, kQuinellaPrefix, fileCode, Uo31Bytes(record));
}

}  // namespace zm
