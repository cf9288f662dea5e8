#include "codes/codetables.h"

#include "codes/numeric.h"

#include <array>

namespace zm {

namespace {

struct Course {
    const char16_t* name;
    const char16_t* service;
    const char16_t* jra;
    const char16_t* jraChar;
};

constexpr std::array<Course, 10> kCourses{{
    {u"京都", u"00", u"08", u"8"},
    {u"阪神", u"01", u"09", u"9"},
    {u"中京", u"02", u"07", u"7"},
    {u"小倉", u"03", u"10", u"A"},
    {u"東京", u"04", u"05", u"5"},
    {u"中山", u"05", u"06", u"6"},
    {u"福島", u"06", u"03", u"3"},
    {u"新潟", u"07", u"04", u"4"},
    {u"札幌", u"08", u"01", u"1"},
    {u"函館", u"09", u"02", u"2"},
}};

struct CodeName {
    const char16_t* code;
    const char16_t* name;
};

constexpr std::array<CodeName, 58> kServiceVenues{{
    {u"00", u"京都"}, {u"01", u"阪神"}, {u"02", u"中京"}, {u"03", u"小倉"}, {u"04", u"東京"},
    {u"05", u"中山"}, {u"06", u"福島"}, {u"07", u"新潟"}, {u"08", u"札幌"}, {u"09", u"函館"},
    {u"10", u"大井"}, {u"11", u"川崎"}, {u"12", u"船橋"}, {u"13", u"浦和"}, {u"14", u"岩見"},
    {u"15", u"旭川"}, {u"16", u"帯広"}, {u"17", u"野田"}, {u"18", u"北見"}, {u"19", u"笠松"},
    {u"20", u"金沢"}, {u"21", u"荒尾"}, {u"22", u"宇都"}, {u"23", u"佐賀"}, {u"24", u"中津"},
    {u"25", u"高崎"}, {u"26", u"高知"}, {u"27", u"足利"}, {u"28", u"上山"}, {u"29", u"水沢"},
    {u"30", u"三条"}, {u"31", u"紀井"}, {u"32", u"益田"}, {u"33", u"盛岡"}, {u"34", u"名古"},
    {u"35", u"札幌"}, {u"36", u"函館"}, {u"37", u"園田"}, {u"38", u"福島"}, {u"39", u"姫路"},
    {u"40", u"中京"}, {u"41", u"新潟"}, {u"42", u"門別"}, {u"43", u"弥富"}, {u"44", u"小林"},
    {u"45", u"西脇"}, {u"46", u"境町"}, {u"50", u"栗東"}, {u"51", u"美浦南"}, {u"52", u"美浦北"},
    {u"53", u"白井"}, {u"60", u"香港"}, {u"61", u"米国"}, {u"62", u"英国"}, {u"63", u"仏国"},
    {u"64", u"愛国"}, {u"65", u"ＵＡＥ"}, {u"66", u"加国"},
}};

template <typename Table>
QString lookup(const Table& table, QStringView code, QString fallback) {
    for (const auto& row : table) {
        if (code == QStringView(row.code)) {
            return QString::fromUtf16(row.name);
        }
    }
    return fallback;
}

constexpr std::array<CodeName, 3> kSex{{{u"0", u"牡"}, {u"1", u"牝"}, {u"2", u"煽"}}};
constexpr std::array<CodeName, 2> kSurface{{{u"0", u"ダ"}, {u"1", u"芝"}}};
constexpr std::array<CodeName, 8> kRaceClass{{
    {u"0", u"障害"}, {u"1", u"サラ２歳"}, {u"2", u"サラ３歳"}, {u"3", u"サ３歳上"},
    {u"4", u"サ４歳上"}, {u"5", u"アラ２歳"}, {u"6", u"アラ３歳"}, {u"7", u"ア３歳上"},
}};
constexpr std::array<CodeName, 2> kDirection{{{u"0", u"右"}, {u"1", u"左"}}};
constexpr std::array<CodeName, 2> kInnerOuter{{{u"0", u"内"}, {u"1", u"外"}}};
constexpr std::array<CodeName, 6> kVariant{{
    {u"0", u"Ａ"}, {u"1", u"Ｂ"}, {u"2", u"Ｃ"}, {u"3", u"Ｄ"}, {u"4", u"A1"}, {u"5", u"A2"},
}};

const QString kTwoBlanks = QStringLiteral("  ");

}  // namespace

QString ServiceToJraCode(QStringView serviceCode) {
    for (const auto& c : kCourses) {
        if (serviceCode == QStringView(c.service)) {
            return QString::fromUtf16(c.jra);
        }
    }
    return serviceCode.toString();
}

QString JraToServiceCode(QStringView jraCode) {
    for (const auto& c : kCourses) {
        if (jraCode == QStringView(c.jra)) {
            return QString::fromUtf16(c.service);
        }
    }
    return jraCode.toString();
}

QString ServiceToJraChar(QStringView serviceCode) {
    for (const auto& c : kCourses) {
        if (serviceCode == QStringView(c.service)) {
            return QString::fromUtf16(c.jraChar);
        }
    }
    return QStringLiteral("0");
}

QString JraVenueName(QStringView jraCode) {
    for (const auto& c : kCourses) {
        if (jraCode == QStringView(c.jra)) {
            return QString::fromUtf16(c.name);
        }
    }
    return {};
}

QString JraVenueCodeOf(QStringView courseName) {
    for (const auto& c : kCourses) {
        if (courseName == QStringView(c.name)) {
            return QString::fromUtf16(c.jra);
        }
    }
    return QStringLiteral("00");
}

QString ServiceVenueCodeOf(QStringView courseName) {
    for (const auto& c : kCourses) {
        if (courseName == QStringView(c.name)) {
            return QString::fromUtf16(c.service);
        }
    }
    return {};
}

QString VenueName(QStringView serviceCode) {
    return lookup(kServiceVenues, serviceCode, QStringLiteral("？？"));
}

QString SexName(QStringView code) {
    return lookup(kSex, code, kTwoBlanks);
}

QString SurfaceName(QStringView code) {
    return lookup(kSurface, code, kTwoBlanks);
}

QString RaceClassName(QStringView code) {
    return lookup(kRaceClass, code, QString());
}

QString CourseText(QStringView courseLayout, int n) {
    if (n < 1 || n > 4) {
        return {};
    }
    const QStringView code = courseLayout.size() >= n ? courseLayout.sliced(n - 1, 1) : QStringView();
    switch (n) {
    case 1:
        return lookup(kSurface, code, kTwoBlanks);
    case 2:
        return lookup(kDirection, code, kTwoBlanks);
    case 3:
        return lookup(kInnerOuter, code, kTwoBlanks);
    default:
        return lookup(kVariant, code, kTwoBlanks);
    }
}

QString PrizeClassText(std::int16_t classValue) {
    const int v = classValue;
    switch (v) {
    case 0:
        return QStringLiteral("      ");
    case 1:
        return QStringLiteral("新  馬");
    case 2:
        return QStringLiteral("未出走");
    case 3:
        return QStringLiteral("未勝利");
    case 4:
    case 5:
    case 7:
    case 9:
        return QStringLiteral("ｵｰﾌﾟﾝ ");
    default:
        break;
    }
    if (v >= 10000) {
        return NumberText(v / 10.0) + QStringLiteral("万");
    }
    if (v >= 5000) {
        return u' ' + NumberText(v / 10.0) + QStringLiteral("万");
    }
    return {};
}

QString BetTypeCode(QStringView betType) {
    if (betType.isEmpty()) {
        return QStringLiteral("0");
    }
    switch (betType.front().unicode()) {
    case u'単':
        return QStringLiteral("1");
    case u'複':
        return QStringLiteral("2");
    case u'枠':
        return QStringLiteral("3");
    case u'馬':
        return QStringLiteral("4");
    case u'拡':
    case u'ワ':
        return QStringLiteral("5");
    default:
        return QStringLiteral("0");
    }
}

Rgb WakuColor(std::int16_t waku) {
    switch (waku) {
    case 1:
        return {255, 255, 255};
    case 2:
        return {64, 64, 64};
    case 3:
        return {255, 0, 0};
    case 4:
        return {0, 0, 255};
    case 5:
        return {255, 255, 0};
    case 6:
        return {0, 255, 0};
    case 7:
        return {255, 128, 0};
    case 8:
        return {255, 0, 255};
    default:
        return {0, 0, 0};
    }
}

QString TwoDigits(std::int16_t n) {
    if (n >= 0 && n <= 9) {
        return u'0' + QString::number(n);
    }
    // The number printed with its sign position (a blank for positive values), last two characters.
    const QString printed = (n < 0 ? QString::number(n) : u' ' + QString::number(n));
    return printed.right(2);
}

QString OneCharNumber(QStringView text) {
    const double v = Val(text);
    if (v == 10) {
        return QStringLiteral("A");
    }
    if (v == 11) {
        return QStringLiteral("B");
    }
    if (v == 12) {
        return QStringLiteral("C");
    }
    if (v == 0) {
        return QStringLiteral("0");
    }
    return NumberText(v);
}

QString ReplaceAll(QStringView text, QStringView find, QStringView replacement) {
    if (find.isEmpty()) {
        return text.toString();
    }
    QString out;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(find, from);
        if (at < 0) {
            out += text.sliced(from);
            break;
        }
        out += text.sliced(from, at - from);
        out += replacement;
        from = at + find.size();
    }
    return out;
}

int CountOccurrences(QStringView text, QStringView needle) {
    if (needle.isEmpty()) {
        return 0;
    }
    int count = 0;
    qsizetype from = 0;
    while (true) {
        const qsizetype at = text.indexOf(needle, from);
        if (at < 0) {
            return count;
        }
        ++count;
        from = at + needle.size();
    }
}

QString FullWidthDigits(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            out += QChar(c.unicode() - u'0' + 0xFF10);
        } else {
            out += c;
        }
    }
    return out;
}

QDate DateFromYmd(QStringView yyyymmdd) {
    if (yyyymmdd.size() != 8) {
        return {};
    }
    for (QChar c : yyyymmdd) {
        if (c < u'0' || c > u'9') {
            return {};
        }
    }
    return QDate(yyyymmdd.sliced(0, 4).toInt(), yyyymmdd.sliced(4, 2).toInt(), yyyymmdd.sliced(6, 2).toInt());
}

std::optional<QString> DayArgument(QStringView text) {
    if (!DateFromYmd(text).isValid())
        return std::nullopt;
    return text.toString();
}

std::optional<QString> VenueArgument(QStringView text) {
    for (const auto& c : kCourses) {
        if (text == QStringView(c.name) || text == QStringView(c.service))
            return QString::fromUtf16(c.service);
    }
    return std::nullopt;
}

QString WeekdayChar(QStringView yyyymmdd) {
    static const char16_t* const kDays[] = {u"月", u"火", u"水", u"木", u"金", u"土", u"日"};
    const QDate d = DateFromYmd(yyyymmdd);
    if (!d.isValid()) {
        return {};
    }
    return QString::fromUtf16(kDays[d.dayOfWeek() - 1]);
}

QString NearestRaceDay(const QDate& date) {
    // Qt numbers Monday 1 .. Sunday 7.
    const int dow = date.dayOfWeek();
    QDate d = date;
    if (dow >= 1 && dow <= 4) {
        d = date.addDays(-dow);  // back to the Sunday before
    } else if (dow == 5) {
        d = date.addDays(1);
    }
    return d.toString(QStringLiteral("yyyyMMdd"));
}

}  // namespace zm
