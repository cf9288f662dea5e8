#pragma once

// The small fixed tables every part of the program shares: the two venue numberings and their
// conversions, runner and race codes, bet types, bracket colours, and the date helpers.
// None of these fails: an unknown input gives the documented fallback.

#include <QDate>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace zm {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Venues. The service numbers the ten JRA courses "00" (京都) .. "09" (函館); JRA numbers them
// "01" (札幌) .. "10" (小倉).
QString ServiceToJraCode(QStringView serviceCode);
QString JraToServiceCode(QStringView jraCode);
QString ServiceToJraChar(QStringView serviceCode);
QString JraVenueName(QStringView jraCode);
QString JraVenueCodeOf(QStringView courseName);
QString ServiceVenueCodeOf(QStringView courseName);
QString VenueName(QStringView serviceCode);

// Runner and race codes.
QString SexName(QStringView code);
QString SurfaceName(QStringView code);
QString RaceClassName(QStringView code);
QString CourseText(QStringView courseLayout, int n);
QString PrizeClassText(std::int16_t classValue);
QString BetTypeCode(QStringView betType);
Rgb WakuColor(std::int16_t waku);

// Numbers and text.
QString TwoDigits(std::int16_t n);
QString OneCharNumber(QStringView text);
QString ReplaceAll(QStringView text, QStringView find, QStringView replacement);
int CountOccurrences(QStringView text, QStringView needle);

// Half-width digits of a number turned into full-width ones ("12" -> "１２").
QString FullWidthDigits(QStringView text);

// Dates, as eight digits "yyyymmdd".
QString WeekdayChar(QStringView yyyymmdd);
QString NearestRaceDay(const QDate& date);
// Invalid unless the text is exactly eight ASCII digits of a date that exists.
QDate DateFromYmd(QStringView yyyymmdd);

// The arguments of the command line that name a day or a venue, one rule each for every
// command. DAY: "yyyymmdd", a date that exists. VENUE: one of the ten courses by name (京都,
// 阪神, 中京, 小倉, 東京, 中山, 福島, 新潟, 札幌, 函館) or by its two-digit service code
// ("00" .. "09"). Each gives the day or the venue's service code, nothing for anything else.
std::optional<QString> DayArgument(QStringView text);
std::optional<QString> VenueArgument(QStringView text);

}  // namespace zm
