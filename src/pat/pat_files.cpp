#include "pat/pat_files.h"

#include "app/file_names.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"

#include <QFileInfo>
#include <cmath>

namespace zm {

namespace {

// Every layout once more as a whole table, checked against its record length.
constexpr Field kPat95HeaderFields[] = {
    Pat95Header::date, Pat95Header::dateAndZeros, Pat95Header::venueName, Pat95Header::year,
    Pat95Header::kai,  Pat95Header::nichi,        Pat95Header::raceNo,    Pat95Header::mark,
    Pat95Header::thousand, Pat95Header::blank1,   Pat95Header::blank2,
};
static_assert(fieldTableCoversRecord(kPat95HeaderFields, Pat95Header::kLength));

constexpr Field kPat31HeaderFields[] = {
    Pat31Header::date,  Pat31Header::blank1, Pat31Header::blank2,   Pat31Header::blank3, Pat31Header::blank4,
    Pat31Header::venueName, Pat31Header::year, Pat31Header::kai,    Pat31Header::nichi,  Pat31Header::raceNo,
    Pat31Header::zero,  Pat31Header::kind,   Pat31Header::thousand, Pat31Header::blank5, Pat31Header::blank6,
    Pat31Header::blank7, Pat31Header::runners,
};
static_assert(fieldTableCoversRecord(kPat31HeaderFields, Pat31Header::kLength));

constexpr Field kZo95Fields[] = {
    textField("header", 0, Pat95Header::kLength), Zo95Record::runners, Zo95Record::zero,
    Zo95Record::horses, Zo95Record::blank, Zo95Record::brackets,
};
static_assert(fieldTableCoversRecord(kZo95Fields, Zo95Record::kLength));
constexpr Field kZo95HorseFields[] = {Zo95Record::horseNo, Zo95Record::winOdds, Zo95Record::placeLow,
                                      Zo95Record::placeHigh, Zo95Record::horseEnd};
static_assert(fieldTableCoversRecord(kZo95HorseFields, Zo95Record::horses.width));
constexpr Field kZo95BracketFields[] = {Zo95Record::bracket1, Zo95Record::dash, Zo95Record::bracket2,
                                        Zo95Record::bracketOdds, Zo95Record::bracketEnd};
static_assert(fieldTableCoversRecord(kZo95BracketFields, Zo95Record::brackets.width));

constexpr Field kZo31Fields[] = {
    textField("header", 0, Pat31Header::kLength), Zo31Record::horses, Zo31Record::blank,
    Zo31Record::brackets, Zo31Record::tail,
};
static_assert(fieldTableCoversRecord(kZo31Fields, Zo31Record::kLength));
constexpr Field kZo31HorseFields[] = {Zo31Record::horseStart, Zo31Record::horseNo, Zo31Record::winOdds,
                                      Zo31Record::placeLow, Zo31Record::placeHigh};
static_assert(fieldTableCoversRecord(kZo31HorseFields, Zo31Record::horses.width));
constexpr Field kZo31BracketFields[] = {Zo31Record::bracketStart, Zo31Record::bracket1, Zo31Record::dash,
                                        Zo31Record::bracket2, Zo31Record::bracketOdds, Zo31Record::bracketEnd};
static_assert(fieldTableCoversRecord(kZo31BracketFields, Zo31Record::brackets.width));

constexpr Field kUo98Fields[] = {
    textField("header", 0, Pat95Header::kLength), Uo98Record::runners, Uo98Record::eleven,
    Uo98Record::pairs, Uo98Record::lineEnd,
};
static_assert(fieldTableCoversRecord(kUo98Fields, Uo98Record::kLength));
constexpr Field kUo98PairFields[] = {Uo98Record::pairStart, Uo98Record::horse1, Uo98Record::dash,
                                     Uo98Record::horse2, Uo98Record::quinellaOdds, Uo98Record::wideLow,
                                     Uo98Record::wideHigh};
static_assert(fieldTableCoversRecord(kUo98PairFields, Uo98Record::kPairLength));

constexpr Field kUo95Fields[] = {
    textField("header", 0, Pat95Header::kLength), Uo95Record::blank, Uo95Record::runners,
    Uo95Record::pairs, Uo95Record::tail,
};
static_assert(fieldTableCoversRecord(kUo95Fields, Uo95Record::kLength));
constexpr Field kUo95PairFields[] = {Uo95Record::horse1, Uo95Record::dash, Uo95Record::horse2,
                                     Uo95Record::quinellaOdds, Uo95Record::pairEnd};
static_assert(fieldTableCoversRecord(kUo95PairFields, Uo95Record::kPairLength));

constexpr Field kUo31Fields[] = {
    textField("header", 0, Pat31Header::kLength), Uo31Record::pairs, Uo31Record::tail,
};
static_assert(fieldTableCoversRecord(kUo31Fields, Uo31Record::kLength));
constexpr Field kUo31PairFields[] = {Uo31Record::pairStart, Uo31Record::horse1, Uo31Record::dash,
                                     Uo31Record::horse2, Uo31Record::quinellaOdds};
static_assert(fieldTableCoversRecord(kUo31PairFields, Uo31Record::kPairLength));

constexpr Field kUtEntryFields[] = {UtWeightEntry::horseNo, UtWeightEntry::status, UtWeightEntry::weight,
                                    UtWeightEntry::change,  UtWeightEntry::sign,   UtWeightEntry::spare};
static_assert(fieldTableCoversRecord(kUtEntryFields, UtWeightEntry::kLength));
constexpr Field kUt95Fields[] = {Ut95Record::header, Ut95Record::horses, Ut95Record::lineEnd};
static_assert(fieldTableCoversRecord(kUt95Fields, Ut95Record::kLength));
constexpr Field kUt31Fields[] = {Ut31Record::header, Ut31Record::horses, Ut31Record::header2, Ut31Record::lineEnd};
static_assert(fieldTableCoversRecord(kUt31Fields, Ut31Record::kLength));

const QString kNoOdds = QStringLiteral("      ");

// The odds text of a field: blanks trimmed, right-aligned in six characters.
QString oddsText(const QString& field) {
    return (kNoOdds + trimBlanks(field)).right(6);
}

// The horse position of a win or place combination: a whole number 1-18, else 0.
int horsePosition(QStringView combination) {
    const double v = Val(combination);
    if (v < 1 || v > 18 || v != std::floor(v))
        return 0;
    return static_cast<int>(v);
}

template <class Record>
QString pairOdds(const Record& r, QStringView combination, const TextField& odds) {
    const double first = Val(combination.first(std::min<qsizetype>(2, combination.size())));
    const double second = Val(combination.last(std::min<qsizetype>(2, combination.size())));
    for (int i = 1; i <= 153; ++i) {
        if (r.number(Record::pairs.inEntry(i, Record::horse1)) == first &&
            r.number(Record::pairs.inEntry(i, Record::horse2)) == second)
            return oddsText(r.text(Record::pairs.inEntry(i, odds)));
    }
    return kNoOdds;
}

template <class Record>
QString horseOdds(const Record& r, QStringView kind, QStringView combination) {
    const int at = horsePosition(combination);
    if (at == 0)
        return kNoOdds;
    const auto& f = kind == u"単" ? Record::winOdds : Record::placeLow;
    return oddsText(r.text(Record::horses.inEntry(at, f)));
}

template <class Record>
QString bracketOdds(const Record& r, QStringView combination) {
    const QString wanted = trimBlanks(combination);
    for (int i = 1; i <= 36; ++i) {
        const QString pair = r.text(Record::brackets.inEntry(i, Record::bracket1)) +
                             r.text(Record::brackets.inEntry(i, Record::dash)) +
                             r.text(Record::brackets.inEntry(i, Record::bracket2));
        if (pair == wanted)
            return oddsText(r.text(Record::brackets.inEntry(i, Record::bracketOdds)));
    }
    return kNoOdds;
}

template <class Zo>
QString winPlaceBracket(QByteArrayView file, QStringView kind, QStringView combination) {
    if (kind == u"単" || kind == u"複")
        return horseOdds(Zo(file), kind, combination);
    if (kind == u"枠")
        return bracketOdds(Zo(file), combination);
    return kNoOdds;
}

QByteArray readWhole(const QString& path, qint64 length) {
    return readPatFile(path, length);
}

}  // namespace

QString patSettingsHint() {
    return QStringLiteral("コマンドラインでは「zenomur-cli settings set PAT PatOpt True」「zenomur-cli settings set PAT Ver 98」"
                          "「zenomur-cli settings set PAT PatDir フォルダ」で、デスクトップ版ではメニューバーの"
                          "［ｵﾌﾟｼｮﾝ］→［ＰＡＴの設定］で設定してください。");
}

QString patFolderMissingMessage(const QString& folder) {
    const QString what = folder.isEmpty() ? QStringLiteral("ＰＡＴのフォルダが設定されていません。")
                                          : QStringLiteral("ＰＡＴのフォルダ「") + folder +
                                                QStringLiteral("」が見つかりません。");
    return what + QStringLiteral("\r\n") + patSettingsHint();
}

QByteArray readPatFile(const QString& path, qint64 length) {
    const Result<QByteArray> read = readOutsideFile(path, kMaxPatFile);
    return read.ok() ? read->left(length) : QByteArray();
}

QString patFileDay(QByteArrayView file) {
    return file.size() < 8 ? QString() : QString::fromLatin1(file.first(8));
}

QString PatVenueLetter(QStringView venueCode) {
    static const char16_t* const kLetters[] = {u"8", u"9", u"7", u"A", u"5", u"6", u"3", u"4", u"1", u"2"};
    if (venueCode.size() != 2 || venueCode[0] != u'0' || !venueCode[1].isDigit() || venueCode[1].unicode() > u'9')
        return {};
    return QString::fromUtf16(kLetters[venueCode[1].unicode() - u'0']);
}

QString PatRaceLetter(QStringView raceNo) {
    const double v = Val(raceNo);
    if (v == 10)
        return QStringLiteral("A");
    if (v == 11)
        return QStringLiteral("B");
    if (v == 12)
        return QStringLiteral("C");
    return raceNo.isEmpty() ? QString() : QString(raceNo.back());
}

QString PatFileCode31(QStringView venueCode, QStringView raceNo) {
    return PatVenueLetter(venueCode) + u'1' + PatRaceLetter(raceNo);
}

QString PatFileCode(QStringView venueCode, QStringView raceNo, QStringView dayNo) {
    return PatVenueLetter(venueCode) + (dayNo.isEmpty() ? QString() : QString(dayNo.back())) + PatRaceLetter(raceNo);
}

QString FindPat31File(const QString& folder, const QString& prefix, QStringView venueCode, QStringView raceNo) {
    for (const char16_t middle : {u'1', u'2'}) {
        const QString path = folder + prefix + PatVenueLetter(venueCode) + QChar(middle) + PatRaceLetter(raceNo) +
                             QStringLiteral(".JRA");
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

int BracketEntryOf(int first, int second) {
    if (first < 1 || first > 8 || second < first || second > 8)
        return 0;
    int k = 0;
    for (int a = 1; a < first; ++a)
        k += 9 - a;
    return k + (second - first) + 1;
}

int PairEntryOf(int first, int second, int runners) {
    if (runners > 18 || first < 1 || second <= first || second > runners)
        return 0;
    int k = 0;
    for (int a = 1; a < first; ++a)
        k += runners - a;
    return k + (second - first);
}

bool readsQuinellaFile(QStringView kind) {
    return kind == u"馬" || kind == u"ワ";
}

QString PatOdds98FromBytes(QByteArrayView file, QStringView kind, QStringView combination) {
    if (kind == u"馬")
        return pairOdds(Uo98Record(file), combination, Uo98Record::quinellaOdds);
    if (kind == u"ワ")
        return pairOdds(Uo98Record(file), combination, Uo98Record::wideLow);
    return winPlaceBracket<Zo95Record>(file, kind, combination);
}

QString PatOdds95FromBytes(QByteArrayView file, QStringView kind, QStringView combination) {
    if (kind == u"馬")
        return pairOdds(Uo95Record(file), combination, Uo95Record::quinellaOdds);
    return winPlaceBracket<Zo95Record>(file, kind, combination);
}

QString PatOdds31FromBytes(QByteArrayView file, QStringView kind, QStringView combination) {
    if (kind == u"馬")
        return pairOdds(Uo31Record(file), combination, Uo31Record::quinellaOdds);
    return winPlaceBracket<Zo31Record>(file, kind, combination);
}

QString ReadPatOdds98(const QString& file, QStringView kind, QStringView combination) {
    if (!QFileInfo(file).isFile())
        return kNoOdds;
    return PatOdds98FromBytes(readWhole(file, readsQuinellaFile(kind) ? Uo98Record::kLength : Zo95Record::kLength),
                              kind, combination);
}

QString ReadPatOdds95(const QString& file, QStringView kind, QStringView combination) {
    if (!QFileInfo(file).isFile())
        return kNoOdds;
    return PatOdds95FromBytes(readWhole(file, readsQuinellaFile(kind) ? Uo95Record::kLength : Zo95Record::kLength),
                              kind, combination);
}

QString ReadPatOdds31(const QString& file, QStringView kind, QStringView combination) {
    if (!QFileInfo(file).isFile())
        return kNoOdds;
    return PatOdds31FromBytes(readWhole(file, readsQuinellaFile(kind) ? Uo31Record::kLength : Zo31Record::kLength),
                              kind, combination);
}

}  // namespace zm
