#include "pat/log_records.h"

#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

namespace zm {

namespace {

constexpr Field kLg95Fields[] = {Lg95Record::year,    Lg95Record::month,   Lg95Record::day,      Lg95Record::header1,
                                 Lg95Record::header2, Lg95Record::header3, Lg95Record::header4,  Lg95Record::header5,
                                 Lg95Record::entries, Lg95Record::trailer1, Lg95Record::trailer2, Lg95Record::trailer3};
static_assert(fieldTableCoversRecord(kLg95Fields, Lg95Record::kLength));
constexpr Field kLg95EntryFields[] = {Lg95Record::entryText, Lg95Record::betType, Lg95Record::venue,
                                      Lg95Record::raceNo,    Lg95Record::saleKind, Lg95Record::first,
                                      Lg95Record::second,    Lg95Record::stake,   Lg95Record::state};
static_assert(fieldTableCoversRecord(kLg95EntryFields, Lg95Record::kEntryLength));
constexpr Field kLg31Fields[] = {Lg31Record::date,    Lg31Record::header1,    Lg31Record::header2,
                                 Lg31Record::betCount, Lg31Record::header3,   Lg31Record::entries,
                                 Lg31Record::totalStake, Lg31Record::trailer1, Lg31Record::trailer2};
static_assert(fieldTableCoversRecord(kLg31Fields, Lg31Record::kLength));
constexpr Field kKs98Fields[] = {Ks98Record::year,     Ks98Record::month,  Ks98Record::day,      Ks98Record::venueName,
                                 Ks98Record::copied,   Ks98Record::kai,    Ks98Record::nichi,    Ks98Record::raceNo,
                                 Ks98Record::text1,    Ks98Record::finishers, Ks98Record::text2, Ks98Record::win,
                                 Ks98Record::place,    Ks98Record::bracket, Ks98Record::quinella, Ks98Record::wide,
                                 Ks98Record::text3,    Ks98Record::returned, Ks98Record::returnedMarks,
                                 Ks98Record::text4,    Ks98Record::lineEnd};
static_assert(fieldTableCoversRecord(kKs98Fields, Ks98Record::kLength));
constexpr Field kKs95Fields[] = {Ks95Record::year,     Ks95Record::month,   Ks95Record::day,   Ks95Record::venueName,
                                 Ks95Record::copied,   Ks95Record::kai,     Ks95Record::nichi, Ks95Record::raceNo,
                                 Ks95Record::text1,    Ks95Record::text2,   Ks95Record::text3, Ks95Record::text4,
                                 Ks95Record::finishers, Ks95Record::text5,  Ks95Record::win,   Ks95Record::place,
                                 Ks95Record::bracket,  Ks95Record::quinella, Ks95Record::text6, Ks95Record::returned,
                                 Ks95Record::returnedMarks, Ks95Record::text7};
static_assert(fieldTableCoversRecord(kKs95Fields, Ks95Record::kLength));
constexpr Field kSeiFields[] = {SeiRecord::key,          SeiRecord::venueNo,       SeiRecord::venueName,
                                SeiRecord::copied,       SeiRecord::kai,           SeiRecord::nichi,
                                SeiRecord::year,         SeiRecord::month,         SeiRecord::day,
                                SeiRecord::raceNo,       SeiRecord::finishers,     SeiRecord::winHorses,
                                SeiRecord::winPayouts,   SeiRecord::placeHorses,   SeiRecord::placePayouts,
                                SeiRecord::bracketPairs, SeiRecord::bracketPayouts, SeiRecord::quinellaPairs,
                                SeiRecord::quinellaPayouts, SeiRecord::widePairs,  SeiRecord::widePayouts,
                                SeiRecord::returned,     SeiRecord::returnedMarks, SeiRecord::lineEnd};
static_assert(fieldTableCoversRecord(kSeiFields, SeiRecord::kLength));

QString lastChar(const QString& t) { return t.isEmpty() ? QStringLiteral(" ") : QString(t.back()); }

// A two-digit horse pair of a result, or four blanks when the entry is empty.
QString pairDigits(const QString& first, const QString& second) {
    if (first.trimmed().isEmpty() && second.trimmed().isEmpty())
        return QStringLiteral("    ");
    return twoDigits(Val(first)) + twoDigits(Val(second));
}

// The fields both KS layouts share, copied into a new record.
template <class Ks>
SeiRecord seiHeader(const Ks& ks) {
    SeiRecord s;
    const QString venueName = ks.text(Ks::venueName);
    const QString venueNo = JraVenueCodeOf(venueName);
    const QString race = twoDigits(ks.number(Ks::raceNo));
    s.setText(SeiRecord::key, ks.text(Ks::day) + venueNo + race);
    s.setText(SeiRecord::venueNo, venueNo);
    s.setRaw(SeiRecord::venueName, ks.raw(Ks::venueName));
    s.setRaw(SeiRecord::copied, ks.raw(Ks::copied));
    s.setText(SeiRecord::kai, lastChar(ks.text(Ks::kai)));
    s.setText(SeiRecord::nichi, lastChar(ks.text(Ks::nichi)));
    s.setRaw(SeiRecord::year, ks.raw(Ks::year));
    s.setRaw(SeiRecord::month, ks.raw(Ks::month));
    s.setRaw(SeiRecord::day, ks.raw(Ks::day));
    s.setText(SeiRecord::raceNo, race);
    for (int i = 1; i <= 3; ++i) {
        const auto f = Ks::finishers.inEntry(i, Ks::finisherNo);
        s.setRaw(SeiRecord::finishers.element(i), ks.number(f) == 0 ? QByteArrayView("  ") : ks.raw(f));
    }
    for (int i = 1; i <= 2; ++i) {
        s.setRaw(SeiRecord::winHorses.element(i), ks.raw(Ks::win.inEntry(i, Ks::horseNo)));
        s.setText(SeiRecord::winPayouts, i, RightBytes(ks.text(Ks::win.inEntry(i, Ks::horsePayout)), 5));
    }
    for (int i = 1; i <= 5; ++i) {
        s.setRaw(SeiRecord::placeHorses.element(i), ks.raw(Ks::place.inEntry(i, Ks::horseNo)));
        s.setText(SeiRecord::placePayouts, i, RightBytes(ks.text(Ks::place.inEntry(i, Ks::horsePayout)), 5));
    }
    for (int i = 1; i <= 2; ++i) {
        s.setText(SeiRecord::quinellaPairs, i,
                  pairDigits(ks.text(Ks::quinella.inEntry(i, Ks::pairFirst)),
                             ks.text(Ks::quinella.inEntry(i, Ks::pairSecond))));
        s.setText(SeiRecord::quinellaPayouts, i, RightBytes(ks.text(Ks::quinella.inEntry(i, Ks::pairPayout)), 6));
    }
    s.setRaw(SeiRecord::returned, ks.raw(Ks::returned));
    s.setRaw(SeiRecord::returnedMarks, ks.raw(Ks::returnedMarks));
    s.setRaw(SeiRecord::lineEnd, "\r\n");
    return s;
}

bool isOfDay(const QString& year, const QString& month, const QString& dayText, const QString& day) {
    return year + month + dayText == day;
}

// Whole hundreds of yen of a log's stake field.
Amount hundreds(double units) {
    return Amount::yen(static_cast<std::int64_t>(units) * 100);
}

}  // namespace

QString twoDigits(double v) {
    return QString::number(static_cast<qlonglong>(v)).rightJustified(2, u'0');
}

void addLg95Stake(QByteArrayView file, DayStake& stake) {
    const Lg95Record lg(file);
    if (lg.text(Lg95Record::year) + lg.text(Lg95Record::month) + lg.text(Lg95Record::day) != stake.day)
        return;
    for (int e = 1; e <= 50; ++e) {
        if (lg.number(Lg95Record::entries.inEntry(e, Lg95Record::state)) != 1)
            continue;
        ++stake.count;
        stake.stake += hundreds(lg.number(Lg95Record::entries.inEntry(e, Lg95Record::stake)));
    }
    stake.remaining = 900 - stake.count;
}

void addLg31Stake(QByteArrayView file, DayStake& stake) {
    const Lg31Record lg(file);
    if (lg.text(Lg31Record::date) == stake.day) {
        stake.count += static_cast<int>(lg.number(Lg31Record::betCount));
        stake.stake += hundreds(lg.number(Lg31Record::totalStake));
    }
    stake.remaining = 300 - stake.count;
}

std::optional<SeiRecord> seiFromKs98(QByteArrayView bytes, const QString& day) {
    const Ks98Record ks(bytes);
    if (!isOfDay(ks.text(Ks98Record::year), ks.text(Ks98Record::month), ks.text(Ks98Record::day), day))
        return std::nullopt;
    SeiRecord s = seiHeader(ks);
    for (int i = 1; i <= 2; ++i) {
        const QString pair = ks.text(Ks98Record::bracket.inEntry(i, Ks98Record::bracketPair));
        s.setText(SeiRecord::bracketPairs, i, QString(pair.front()) + pair.back());
        s.setText(SeiRecord::bracketPayouts, i,
                  RightBytes(ks.text(Ks98Record::bracket.inEntry(i, Ks98Record::bracketPayout)), 6));
    }
    for (int i = 1; i <= 5; ++i) {
        s.setText(SeiRecord::widePairs, i,
                  pairDigits(ks.text(Ks98Record::wide.inEntry(i, Ks98Record::pairFirst)),
                             ks.text(Ks98Record::wide.inEntry(i, Ks98Record::pairSecond))));
        s.setText(SeiRecord::widePayouts, i, RightBytes(ks.text(Ks98Record::wide.inEntry(i, Ks98Record::pairPayout)), 6));
    }
    return s;
}

std::optional<SeiRecord> seiFromKs95(QByteArrayView bytes, const QString& day) {
    const Ks95Record ks(bytes);
    if (!isOfDay(ks.text(Ks95Record::year), ks.text(Ks95Record::month), ks.text(Ks95Record::day), day))
        return std::nullopt;
    SeiRecord s = seiHeader(ks);
    for (int i = 1; i <= 2; ++i) {
        s.setText(SeiRecord::bracketPairs, i,
                  ks.text(Ks95Record::bracket.inEntry(i, Ks95Record::bracketFirst)) +
                      ks.text(Ks95Record::bracket.inEntry(i, Ks95Record::bracketSecond)));
        s.setText(SeiRecord::bracketPayouts, i,
                  RightBytes(ks.text(Ks95Record::bracket.inEntry(i, Ks95Record::bracketPayout)), 6));
    }
    return s;
}

}  // namespace zm
