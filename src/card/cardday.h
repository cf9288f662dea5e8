#pragma once

// A predicted day and one race of it as the race card shows them: plain data and texts, built
// from the day files and the prediction file, shared by the race-card window and the command
// line so that both print the same strings.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace zm::card {

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

// Grid column headings in their order; the odds column heading depends on the mode.
QStringList gridHeadings(bool placeOddsMode);
// Which grid columns (indices into gridHeadings) a view state shows.
std::vector<bool> visibleColumns(CardViewState state);

}  // namespace zm::card
