#include "pat/pat_format.h"

#include "codes/numeric.h"
#include "codes/sjis.h"
#include "pat/pat_files.h"
#include "pat/predicted_records.h"

#include <QFileInfo>

namespace zm {

namespace {

// Blanks trimmed, then right-aligned in width characters (the rightmost width when longer).
QString rightIn(const QString& field, int width) {
    const QString t = field.trimmed();
    return t.size() >= width ? t.right(width) : QString(width - t.size(), u' ') + t;
}

QString blanks(int n) { return QString(n, u' '); }

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

bool PatFormat::isOfDay(QByteArrayView, const QString&) const {
    return true;
}

QString PatFormat::betOddsFile(const QString& patDir, const QString& prefix, QStringView venueCode, QStringView raceNo,
                               QStringView dayDigit) const {
    return patDir + prefix + PatFileCode(venueCode, raceNo, dayDigit) + QStringLiteral(".JRA");
}

namespace {

// PAT95 and PAT98 name a race's files by venue, race and the meeting's day; their odds and body
// weight records are the same, the quinella file of PAT98 adds the wide odds.
class PatFormat95 : public PatFormat {
public:
    PatVer ver() const override { return PatVer::V95; }
    QString title() const override { return QStringLiteral("ＰＡＴ９５"); }
    QString raceFile(const QString& folder, const QString& prefix, const PatRaceRef& race) const override {
        const QString path =
            folder + prefix + PatFileCode(race.venueCode, race.raceNo, race.dayNo) + QStringLiteral(".JRA");
        return QFileInfo(path).isFile() ? path : QString();
    }
    qint64 winPlaceLength() const override { return Zo95Record::kLength; }
    qint64 quinellaLength() const override { return Uo95Record::kLength; }
    qint64 weightLength() const override { return Ut95Record::kLength; }
    WinPlaceOdds winPlaceOdds(QByteArrayView file) const override { return winPlace(Zo95Record(file)); }
    PairOdds renOdds(QByteArrayView file) const override { return pairs(Uo95Record(file), false); }
    BodyWeights bodyWeights(QByteArrayView file) const override { return weights(Ut95Record(file)); }
    QString betOdds(QByteArrayView file, QStringView kind, QStringView combination) const override {
        return PatOdds95FromBytes(file, kind, combination);
    }
    QString readBetOdds(const QString& file, QStringView kind, QStringView combination) const override {
        return ReadPatOdds95(file, kind, combination);
    }
    QString logPattern() const override { return QStringLiteral("LG-??.JRA"); }
    qint64 logLength() const override { return Lg95Record::kLength; }
    const QString& noLogFilesMessage() const override { return kNoLogFiles95; }
    int betsPerDay() const override { return 900; }
    void addLogStake(QByteArrayView file, DayStake& stake) const override { addLg95Stake(file, stake); }
    qint64 resultLength() const override { return Ks95Record::kLength; }
    std::optional<SeiRecord> seiFromResult(QByteArrayView file, const QString& day) const override {
        return seiFromKs95(file, day);
    }
    QByteArray predictedWinPlace(const OddsRecord& record) const override { return Zo95Bytes(record); }
    QByteArray predictedQuinella(const OddsRecord& record) const override { return Uo95Bytes(record); }
};

class PatFormat98 : public PatFormat95 {
public:
    PatVer ver() const override { return PatVer::V98; }
    QString title() const override { return QStringLiteral("ＰＡＴ９８"); }
    bool hasWideOdds() const override { return true; }
    qint64 quinellaLength() const override { return Uo98Record::kLength; }
    PairOdds renOdds(QByteArrayView file) const override { return pairs(Uo98Record(file), true); }
    QString betOdds(QByteArrayView file, QStringView kind, QStringView combination) const override {
        return PatOdds98FromBytes(file, kind, combination);
    }
    QString readBetOdds(const QString& file, QStringView kind, QStringView combination) const override {
        return ReadPatOdds98(file, kind, combination);
    }
    qint64 resultLength() const override { return Ks98Record::kLength; }
    std::optional<SeiRecord> seiFromResult(QByteArrayView file, const QString& day) const override {
        return seiFromKs98(file, day);
    }
    QByteArray predictedQuinella(const OddsRecord& record) const override { return Uo98Bytes(record); }
};

// PAT31 names a race's files by venue and race alone (trying "1" and then "2" in the middle),
// and each file holds its date first: a file of another day is not used. It keeps no result
// files.
class PatFormat31 : public PatFormat {
public:
    PatVer ver() const override { return PatVer::V31; }
    QString title() const override { return QStringLiteral("ＰＡＴ３１"); }
    QString raceFile(const QString& folder, const QString& prefix, const PatRaceRef& race) const override {
        return FindPat31File(folder, prefix, race.venueCode, race.raceNo);
    }
    bool isOfDay(QByteArrayView file, const QString& date) const override {
        return file.size() >= 8 && fromSjis(file.first(8)) == date;
    }
    qint64 winPlaceLength() const override { return Zo31Record::kLength; }
    qint64 quinellaLength() const override { return Uo31Record::kLength; }
    qint64 weightLength() const override { return Ut31Record::kLength; }
    WinPlaceOdds winPlaceOdds(QByteArrayView file) const override { return winPlace(Zo31Record(file)); }
    PairOdds renOdds(QByteArrayView file) const override { return pairs(Uo31Record(file), false); }
    BodyWeights bodyWeights(QByteArrayView file) const override { return weights(Ut31Record(file)); }
    bool namesFilesByMeetingDay() const override { return false; }
    QString betOddsFile(const QString& patDir, const QString& prefix, QStringView venueCode, QStringView raceNo,
                        QStringView) const override {
        return patDir + prefix + PatFileCode31(venueCode, raceNo) + QStringLiteral(".JRA");
    }
    QString betOdds(QByteArrayView file, QStringView kind, QStringView combination) const override {
        return PatOdds31FromBytes(file, kind, combination);
    }
    QString readBetOdds(const QString& file, QStringView kind, QStringView combination) const override {
        return ReadPatOdds31(file, kind, combination);
    }
    QString logPattern() const override { return QStringLiteral("LG-?.JRA"); }
    qint64 logLength() const override { return Lg31Record::kLength; }
    const QString& noLogFilesMessage() const override { return kNoLogFiles31; }
    int betsPerDay() const override { return 300; }
    void addLogStake(QByteArrayView file, DayStake& stake) const override { addLg31Stake(file, stake); }
    bool hasResults() const override { return false; }
    qint64 resultLength() const override { return 0; }
    std::optional<SeiRecord> seiFromResult(QByteArrayView, const QString&) const override { return std::nullopt; }
    QByteArray predictedWinPlace(const OddsRecord& record) const override { return Zo31Bytes(record); }
    QByteArray predictedQuinella(const OddsRecord& record) const override { return Uo31Bytes(record); }
};

}  // namespace

const PatFormat* patFormat(PatVer ver) {
    static const PatFormat31 v31;
    static const PatFormat95 v95;
    static const PatFormat98 v98;
    switch (ver) {
        case PatVer::V31:
            return &v31;
        case PatVer::V95:
            return &v95;
        case PatVer::V98:
            return &v98;
        case PatVer::None:
            break;
    }
    return nullptr;
}

const PatFormat* patFormatOf(const QString& ver) {
    return patFormat(patVerOf(ver));
}

}  // namespace zm
