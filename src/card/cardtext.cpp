#include "card/cardtext.h"

#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "predict/selection.h"

namespace zm {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kLineBytes = 76;

bool isHalfWidthKana(QChar c) {
    return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
}

QString wholeNumber(double v) {
    return NumberText(Int(v));
}

}  // namespace

QString WideText(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isHalfWidthKana(c)) {
            // A run of half-width kana: compatibility composition turns it into full-width kana
            // and joins the sound marks with the kana before them.
            qsizetype j = i;
            while (j < text.size() && isHalfWidthKana(text[j])) {
                ++j;
            }
            out += text.sliced(i, j - i).toString().normalized(QString::NormalizationForm_KC);
            i = j;
            continue;
        }
        if (c == u' ') {
            out += QChar(0x3000);
        } else if (c.unicode() >= 0x21 && c.unicode() <= 0x7E) {
            out += QChar(c.unicode() + 0xFEE0);
        } else {
            out += c;
        }
        ++i;
    }
    return out;
}

QString DayText(QStringView d) {
    if (d.size() < 8) {
        return d.toString();
    }
    return d.sliced(0, 4).toString() + u"年"_s + d.sliced(4, 2).toString() + u"月"_s + d.sliced(6, 2).toString() + u"日("_s +
           WeekdayChar(d.first(8)) + u")"_s;
}

QString FrameCaption(int meeting, QStringView venueCode, int dayNo) {
    return QString::number(meeting) + u"回【"_s + VenueName(venueCode) + u"】"_s + QString::number(dayNo) + u"日目"_s;
}

QString RaceNumberText(int raceNo) {
    const QString digits = FullWidthDigits(QString::number(raceNo));
    return digits.size() >= 2 ? digits : QString(2 - digits.size(), QChar(0x3000)) + digits;
}

QString RaceListLine(const RaceListPieces& p) {
    QString line = u"【"_s + VenueName(p.venueCode) + u"】"_s;
    line += RaceNumberText(p.raceNo) + u"Ｒ  "_s;
    line += RaceClassName(p.raceClass) + WideText(PrizeClassText(p.prizeClass)) + u' ';
    line += CourseText(p.courseLayout, 1) + u' ' + p.distance + u"m  "_s;
    line += FullWidthDigits(QString::number(p.runnerCount)) + u"頭 "_s;
    const QString pace = PaceListText(p.paceCode);
    if (ByteLength(line) + ByteLength(pace) < 64) {
        line += pace;
    }
    const QString block = p.postTime + u"発走 "_s;
    const int room = kLineBytes - ByteLength(line) - ByteLength(block);
    line += QString(room > 0 ? room : 1, u' ');
    return line + block;
}

QString GradeText(QStringView gradeCode) {
    static const char16_t* const kGrades[] = {u"（Ｇ１）",  u"（Ｇ２）",  u"（Ｇ３）",
                                              u"（JG１）", u"（JG２）", u"（JG３）"};
    if (gradeCode.size() == 1 && gradeCode[0] >= u'0' && gradeCode[0] <= u'5') {
        return QString::fromUtf16(kGrades[gradeCode[0].unicode() - u'0']);
    }
    return {};
}

QString ClassPrizePiece(QStringView raceClass, std::int16_t prizeClass) {
    QString prize;
    switch (prizeClass) {
    case 1:
        prize = QStringLiteral("新馬");
        break;
    case 2:
        prize = QStringLiteral("未出走");
        break;
    case 3:
        prize = QStringLiteral("未勝利");
        break;
    case 4:
    case 5:
    case 7:
    case 9:
        prize = QStringLiteral("オープン");
        break;
    default:
        if (prizeClass >= 5000) {
            prize = NumberText(prizeClass / 10.0) + u"万下"_s;
        }
        break;
    }
    const QString cls = RaceClassName(raceClass);
    if (cls.isEmpty() || prize.isEmpty()) {
        return cls + prize;
    }
    return cls + u' ' + prize;
}

QString TitleLine(const TitlePieces& p) {
    QString line;
    if (p.edition > 0) {
        line += u"第"_s + FullWidthDigits(QString::number(p.edition)) + u"回"_s;
    }
    line += p.raceName.trimmed() + GradeText(p.gradeCode);
    const QString piece = ClassPrizePiece(p.raceClass, p.prizeClass);
    if (!piece.isEmpty()) {
        line += u"　"_s + piece;
    }
    line = line.trimmed();
    const int bytes = ByteLength(line);
    if (bytes >= 44) {
        return bytes >= kLineBytes ? line : line + QString(kLineBytes - bytes, u' ');
    }
    return line + QString(kLineBytes - bytes - ByteLength(kEditionCaption), u' ') + kEditionCaption;
}

QString CourseQualifier(QStringView code) {
    static const char16_t* const kQualifiers[] = {u"(内)",     u"(外)",     u"(外→内)",
                                                  u"(タスキ)", u"(大障害)", u"(内２周)"};
    if (code.size() == 1 && code[0] >= u'0' && code[0] <= u'5') {
        return QString::fromUtf16(kQualifiers[code[0].unicode() - u'0']);
    }
    return {};
}

QString CourseLine(QStringView distance, QStringView courseLayout, int runnerCount, QStringView paceCode) {
    QString line = wholeNumber(Val(distance)) + u'm';
    const QStringView direction = courseLayout.size() >= 2 ? courseLayout.sliced(1, 1) : QStringView();
    if (direction == u"0") {
        line += u" 右回り"_s;
    } else if (direction == u"1") {
        line += u" 左回り"_s;
    }
    line += CourseQualifier(courseLayout.size() >= 3 ? courseLayout.sliced(2, 1) : QStringView());
    line += u"  "_s + QString::number(runnerCount) + u"頭"_s;
    line += u"  予想ペース："_s + PaceText(paceCode.toString());
    return line;
}

QString ConditionWord(QStringView code) {
    struct Row {
        const char16_t* code;
        const char16_t* word;
    };
    static constexpr Row kWords[] = {
        {u"00", u"勝入"},   {u"01", u"九州産馬"}, {u"02", u"内国"},         {u"03", u"牝"},
        {u"04", u"○混"},   {u"05", u"○父"},     {u"06", u"○抽"},         {u"07", u"○市○抽"},
        {u"08", u"○混勝入"}, {u"09", u"□抽"},    {u"10", u"○混牝"},       {u"11", u"○市"},
        {u"12", u"○招"},   {u"13", u"○混○指"},   {u"14", u"○抽勝入"},     {u"21", u"○指"},
        {u"22", u"芦毛"},   {u"23", u"栗毛"},     {u"24", u"牡"},           {u"25", u"交流"},
        {u"26", u"千葉産"}, {u"27", u"○混牡せん馬"}, {u"28", u"牡せん馬"},  {u"29", u"国産"},
        {u"30", u"○指定"}, {u"31", u"○特指"},   {u"32", u"□指定"},       {u"33", u"牡・牝"},
        {u"34", u"ＪＲＡ認定"},
    };
    for (const Row& r : kWords) {
        if (code == QStringView(r.code)) {
            return QString::fromUtf16(r.word);
        }
    }
    return {};
}

QString ConditionsText(QStringView code1, QStringView code2) {
    QStringList words;
    for (QStringView code : {code1, code2}) {
        const QString w = ConditionWord(code);
        if (!w.isEmpty()) {
            words << w;
        }
    }
    return words.isEmpty() ? QString() : u"（"_s + words.join(u"・"_s) + u"）"_s;
}

QString CourseRecordText(const std::array<std::int16_t, 4>& g) {
    return QStringLiteral("%1-%2-%3-%4").arg(g[0]).arg(g[1]).arg(g[2]).arg(g[3]);
}

QString CourseRateText(const std::array<std::int16_t, 4>& g) {
    const int runs = g[0] + g[1] + g[2] + g[3];
    if (runs <= 0) {
        return {};
    }
    return QString::number((g[0] + g[1]) * 100 / runs) + u'%';
}

QString SexAgeText(QStringView sexCode, QStringView age) {
    const double a = Val(age);
    return SexName(sexCode) + (a > 0 ? wholeNumber(a) : QString());
}

QString WeightText(QStringView weight) {
    const double w = Val(weight);
    if (w <= 0) {
        return {};
    }
    return QString::number(Int(w) / 10.0, 'f', 1);
}

QString AffiliationText(QStringView stored) {
    const QString t = stored.trimmed().toString();
    if (t == u"東" || t == u"西" || t == u"地") {
        return t;
    }
    return {};
}

QString PastOddsText(QStringView odds) {
    return odds.trimmed().toString();
}

QString WinPickText(int horse) {
    return horse > 0 ? QString::number(horse) : QString();
}

QString PairPickText(int code, bool smallField) {
    const int base = smallField ? 10 : 100;
    const int a = code / base;
    const int b = code % base;
    if (code <= 0 || a < 1 || b < 1) {
        return {};
    }
    return QString::number(a) + u'-' + QString::number(b);
}

}  // namespace zm
