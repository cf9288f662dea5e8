#pragma once

// A predicted day and one race of it as the race card shows them: plain data and texts, built
// from the day files and the prediction file, shared by the race-card window and the command
// line so that both print the same strings.

#include "import/records.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace zm {

// One race row of a venue frame; empty text for a race number the day does not hold.
struct RaceRow {
    QString text;              // the race-list line
    int predictionRecord = 0;  // 1-based record of the prediction file, 0 for an empty row
};

struct VenueFrame {
    QString venueCode;  // service venue code, empty for an unused frame
    QString caption;    // "4回【中山】3日目"
    std::array<RaceRow, 12> rows;
    bool visible() const { return !venueCode.isEmpty(); }
};

// The day view: three frames in the order of the day's meetings.
struct DayCard {
    QString day;  // "yyyymmdd"
    std::array<VenueFrame, 3> frames;
    int venueCount = 0;  // venues of the day, also those beyond the third frame
    QString problem;     // what is wrong with a damaged day's files
};

// Which block of columns the card grid shows beside the fixed columns.
enum class CardViewState {
    PastFigures = 1,    // 前走 .. ５走前: the past five runs' figures
    CourseRecords = 2,  // the four course-record groups, each with its rate
    PastFiguresAndOdds = 3,  // the past five figures together with those runs' odds
};
CardViewState nextCardView(CardViewState state);

// One runner row of the card grid; every cell is display text.
struct CardRow {
    int waku = 0;  // bracket number, for its colour
    QString wakuText;
    QString umaban;
    QString horseName;
    QString sexAge;
    QString weight;
    QString jockey;
    QString trainer;
    QString affiliation;  // "東", "西", "地" or blank
    QString winOdds;      // filled from PAT's files; blank until then
    QString mark;
    QString rank;
    QString index;
    std::array<QString, 5> pastFigures;
    std::array<QString, 4> courseRecords;  // 芝右, 芝左, ダ右, ダ左 as "w-s-t-o"
    std::array<QString, 4> courseRates;
    QString placeOdds;   // filled from PAT's files; blank until then
    QString bodyWeight;  // filled from PAT's files; blank until then
    std::array<QString, 5> pastOdds;
};

// One race in the card view.
struct RaceCard {
    QString day;
    QString venueCode;
    int raceNo = 0;
    int runnerCount = 0;
    QString raceLine;    // the race-list line of the day view
    QString titleLine;   // race name, grade, class and prize, edition caption (76 bytes)
    QString courseLine;  // distance, direction, course, runners, predicted pace
    QString conditions;  // "（○混・○指）" or empty
    QString recommendWin;    // first half of the recommendation text
    QString recommendPairs;  // second half
    std::array<QString, 11> recommendations;  // 0 win pick, 1-10 pair picks
    std::vector<CardRow> rows;                // horse-number order, at most 18
};

// The message when a day's race or entries day file is missing.
inline const QString kDayFilesMissing = QStringLiteral("予想済みデータが見つかりません！ 中止します<(_ _)>");

// The predicted days of the data folder, newest first (ListPredictedDays).
QStringList LoadDayList(const QString& dataDir);

// Damaged: a file of the day is there but cannot be what the program wrote (no record, a
// prediction file that is not a whole number of records, not a regular file, a predicted race
// its race day file lacks); out.problem names it and out is otherwise untouched.
enum class DayLoad { Ok, FilesMissing, Damaged };

// Fills the three venue frames of a day from its prediction file and race day file. The
// frames take the day's meetings in the order of the prediction file, which follows the race
// day file sorted by JRA venue (札幌 first, 小倉 last). The import's meeting table is gone once
// the import ends, so this order is the one a day shows the same way right after its import and
// on any later day; a day of four venues shows its first three in that order and counts the
// fourth. FilesMissing when the race or the entries day file is missing (out is then
// untouched).
DayLoad LoadDay(const QString& dataDir, const QString& day, DayCard& out);

// A dummy race day (made for pending-bet work on a date without an archive): its race day file
// holds only races of venue "00" and it has no entries day file.
bool IsDummyDay(const QString& dataDir, const QString& day);

// One race of a loaded day: frame 1-3, row 1-12. Nothing for an empty row or a record that
// can no longer be read.
std::optional<RaceCard> LoadRace(const QString& dataDir, const DayCard& day, int frame, int row);

// The card of one race from its prediction record, its race record and the entries day file
// (the runners' names, jockeys and trainers); a runner the entries file lacks keeps blank
// entry cells.
RaceCard BuildRaceCard(const PredictionRecord& prediction, const RaceRecord& race, const RecordFile* entries);

// Columns of the card grid.
enum GridColumn {
    ColWaku = 0,
    ColUmaban,
    ColName,
    ColSexAge,
    ColWeight,
    ColJockey,
    ColTrainer,
    ColAffiliation,
    ColWinOdds,
    ColMark,
    ColRank,
    ColIndex,
    ColPastFigure1,                      // .. ColPastFigure1 + 4
    ColCourseRecord1 = ColPastFigure1 + 5,  // record, rate, record, rate, ..
    ColOddsColumn = ColCourseRecord1 + 8,
    ColPastOdds1,                        // .. ColPastOdds1 + 4
    ColumnCount = ColPastOdds1 + 5,
};

// Grid column headings in their order; the odds column heading depends on the mode.
QStringList gridHeadings(bool placeOddsMode);
// The cells of one row, one per column.
QStringList gridCells(const CardRow& row, bool placeOddsMode);
// Which grid columns (indices into gridHeadings) a view state shows.
std::vector<bool> visibleColumns(CardViewState state);

}  // namespace zm
