#pragma once

// The per-runner work record of one race and the additive scoring: every factor gives a few
// points, the points are summed in single precision, and a runner whose sum stays below 70 is
// zeroed. The race-level threshold then decides whether the race gets an odds-based selection.

#include "import/records.h"

#include <QString>
#include <array>
#include <cstdint>

namespace zm {

class JockeyTable;

struct PastRunWork {
    QString RunDate;       // 8 chars yyyymmdd
    QString RunVenueCode;  // 2 chars
    QString RunMeeting;    // 1 char: last character of kai
    QString RunDay;        // 1 char: last character of nichi
    QString RunRaceNo;     // 2 chars
    std::int16_t FieldSize = 0;
    std::int16_t Popularity = 0;
    std::int16_t Finish = 0;
    QString RunOdds;  // 5 chars, win odds in tenths
    std::int16_t LatePosition = 0;
    QString RunTrack;  // 1 char, the surface code
    std::int16_t RunDistance = 0;
    std::int16_t RunFigure = 0;
};

constexpr int kRunnerSlots = 18;

struct RunnerWork {
    QString HorseCode;     // 7 chars
    QString HorseName;     // 18 chars
    QString SexCode;       // 1 char
    QString Age;           // 2 chars
    QString WeightA;       // reserved, never loaded
    QString Waku;          // 1 char
    QString Umaban;        // 2 chars
    QString RatingDigit;   // 1 char
    QString JockeyShort;   // 8 chars
    QString JockeyCode;    // 5 chars
    QString TrainerShort;  // 8 chars
    std::array<std::array<std::int16_t, 4>, 4> CourseRecord{};
    std::int16_t CourseRecordTotal = 0;
    std::array<std::int16_t, 4> OtherRecord{};
    std::array<PastRunWork, 5> PastRuns{};  // [0] is the most recent run
    QString WeightB;  // reserved, never loaded
    float Score = 0.0f;
    std::int16_t OddsRank = 0;
};

// Slots 1..18 are runners[0..17].
using RunnerArray = std::array<RunnerWork, kRunnerSlots>;

// Copies the entry fields of the runner into slot (1..18).
void LoadRunnerFromEntry(RunnerArray& runners, int slot, const EntryRecord& entry);

// Copies the course records and the five past runs of the horse into slot (1..18).
void LoadRunnerFromHorse(RunnerArray& runners, int slot, const HorseRecord& horse);

// The same from a record's bytes where they lie, without a copy of the record. Bytes that are
// not one whole record read as the record built from them.
void LoadRunnerFromEntry(RunnerArray& runners, int slot, QByteArrayView entry);
void LoadRunnerFromHorse(RunnerArray& runners, int slot, QByteArrayView horse);

// Loads slot as if from an all-blank entry and an all-blank horse record, with no score and
// no rank: a slot beyond the race's runner count.
void LoadBlankRunner(RunnerArray& runners, int slot);

// The factor functions: points of the runner in slot (1..18).
std::int16_t WeightBandA(const RunnerArray& runners, int slot);
std::int16_t WeightBandB(const RunnerArray& runners, int slot);
std::int16_t RatingDigitPoints(const RunnerArray& runners, int slot);
std::int16_t LastFinishPoints(const RunnerArray& runners, int slot);
std::int16_t PositionAveragePoints(const RunnerArray& runners, int slot);
// distance and surface are the race's distance (metres) and first course-layout code.
float DistanceMatchFigure(const RunnerArray& runners, int slot, std::int16_t distance, const QString& surface);
float RecentFigurePoints(const RunnerArray& runners, int slot);

// The two band tables on a weight value v (in tenths of a kilogram). The score uses them at
// v = 0, since no loader fills the weight fields.
std::int16_t weightBandAPoints(int v);
std::int16_t weightBandBPoints(int v);

// What the scoring reads of the race.
struct RaceScoringInput {
    int runnerCount = 0;  // 0..18
    std::int16_t distance = 0;
    QString surface;     // first course-layout code
    QString prizeClass;  // 5 chars
    QString raceClass;   // 1 char
};

// Scores runners 1..N, applies the threshold of 70 and returns the race's BetSelectionFlag.
// Score and OddsRank are cleared in all 18 slots first.
bool ScoreRunners(const RaceScoringInput& race, RunnerArray& runners, const JockeyTable& jockeys);

// The race-level test on its own: more than 70 % of the runners kept, prize class above 2 and
// not a steeplechase. kept / runners is taken in single precision; no runners gives false.
bool betSelectionTest(int kept, int runnerCount, const QString& prizeClass, const QString& raceClass);

}  // namespace zm
