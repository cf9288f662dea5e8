#pragma once

// The texts of the race card, piece by piece: the day list entry, the venue frame caption, the
// race-list line, the race header lines and the cells of the card grid. Widths count CP932
// bytes. These take plain values so that the window, the command line and the detail file
// print the same strings.

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace zm {

// The text in full-width form, as a wide conversion does it: ASCII and the blank become their
// full-width forms, half-width katakana become full-width katakana (a sound mark joins the
// kana before it: "ﾌﾟ" -> "プ"); everything else is kept.
QString WideText(QStringView text);

// "2001年09月15日(土)" for "20010915".
QString DayText(QStringView yyyymmdd);

// "4回【中山】3日目".
QString FrameCaption(int meeting, QStringView venueCode, int dayNo);

// Race number in two full-width characters, "　" filling the front: 5 -> "　５", 12 -> "１２".
QString RaceNumberText(int raceNo);

// The pieces of one race-list line.
struct RaceListPieces {
    QString venueCode;     // service code
    int raceNo = 0;
    QString raceClass;     // 1-char code
    std::int16_t prizeClass = 0;
    QString courseLayout;  // the four 1-char codes
    QString distance;      // 4 chars as stored
    int runnerCount = 0;
    QString paceCode;      // 1 char
    QString postTime;      // 5 chars "hh:mm"
};

// The race-list line: 76 bytes with the start-time block ending at byte 76. A line whose
// pieces alone leave no room for the block keeps every piece and follows it with the block
// after one blank, so nothing is cut.
QString RaceListLine(const RaceListPieces& p);

// "（Ｇ１）" .. "（JG３）" for the grade codes "0" .. "5", empty for any other code.
QString GradeText(QStringView gradeCode);

// The class-and-prize piece of the title line: the race class name followed by the prize
// class as a word: "新馬", "未出走", "未勝利", "オープン" or a prize money class such as
// "500万下"; pieces that have no text are left out. A graded race says its grade once, right
// after the race name, so the piece does not repeat it.
QString ClassPrizePiece(QStringView raceClass, std::int16_t prizeClass);

struct TitlePieces {
    QString raceName;  // 30 chars as stored
    int edition = 0;   // "第n回"; 0 for none
    QString gradeCode;
    QString raceClass;
    std::int16_t prizeClass = 0;
};

// The edition caption that closes a short title line.
inline const QString kEditionCaption = QStringLiteral("ゼノゼノ_ＭＵＲ 駿馬堂 OnLine版");

// The title line: 76 bytes; a line shorter than 44 bytes carries the edition caption ending at
// byte 76.
QString TitleLine(const TitlePieces& p);

// The course line: "1600m 右回り(外)  16頭  予想ペース：Ｍ".
QString CourseLine(QStringView distance, QStringView courseLayout, int runnerCount, QStringView paceCode);

// The course qualifier of the third course-layout code: "(内)", "(外)", "(外→内)", "(タスキ)",
// "(大障害)", "(内２周)" for "0" .. "5", empty for any other code.
QString CourseQualifier(QStringView code);

// One condition code's word, empty for an unknown code.
QString ConditionWord(QStringView code);
// The words of the codes that have one joined by "・" inside "（" "）"; empty when none has.
QString ConditionsText(QStringView code1, QStringView code2);

// A course-record group (firsts, seconds, thirds, others) as "1-0-2-5".
QString CourseRecordText(const std::array<std::int16_t, 4>& group);

// The rate shown beside a course-record group: the share of runs that finished first or
// second, as whole percent rounded down ("33%"); blank when the group holds no run.
QString CourseRateText(const std::array<std::int16_t, 4>& group);

// "牡3": sex name and the age as a number ("  " sex fallback is kept).
QString SexAgeText(QStringView sexCode, QStringView age);

// The weight carried, stored in tenths of a kilogram: "550" -> "55.0"; blank when 0.
QString WeightText(QStringView weight);

// The trainer's affiliation stored beside the trainer name: "東", "西" or "地", else blank.
QString AffiliationText(QStringView stored);

// A past run's odds text (right-aligned in 6) shown trimmed; blank for none.
QString PastOddsText(QStringView odds);

// The recommendation entry of a win pick ("5") or of a pair code (105 -> "1-5", 15 -> "1-5"),
// empty for 0.
QString WinPickText(int horse);
QString PairPickText(int code, bool smallField);

}  // namespace zm
