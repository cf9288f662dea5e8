#pragma once

// The day's prediction file yyyymmdd + ".DAT" in the data folder: one packed 6608-byte record per
// predicted race, in the order the races were predicted. Text fields are CP932 padded with
// blanks; integers are 16-bit little-endian. This header is the one description of the layout;
// the writer and every reader go through encodePrediction / decodePrediction.
//
// Layout (byte offsets):
//      0   8  race date yyyymmdd
//      8   2  venue code (service numbering)
//     10   2  int16 meeting number (回)
//     12   2  int16 day number (日目)
//     14   2  int16 race number
//     16   2  int16 runner count
//     18 4590 past runs: 18 runners x 5 runs x 51 bytes, (runner i, run j) at
//             18 + 51 * ((i - 1) + 18 * (j - 1))
//   4608 1782 runners: 18 x 99 bytes
//   6390   72 18 x (int16 predicted index, int16 rank)
//   6462   12 win picks: 3 x (int16 horse number, int16 set-flag)
//   6474   12 zero
//   6486   40 small-field picks: 10 x (int16 pair code a*10+b, int16 set-flag)
//   6526   40 quinella picks: 10 x (int16 pair code a*100+b, int16 set-flag)
//   6566   36 zero
//   6602    4 start time hhmm
//   6606    2 CR LF
//
// Past-run entry (51 bytes): 0 venue code (2), 2 meeting digit (1), 3 day digit (1),
// 4 date (8), 12 race number (2), 14 track code (1), 15 int16 distance, 17 field size (2),
// 19 finish (2), 21 popularity (2), 23 int16 figure, 25 odds (6), 31 zero (20).
// Runner entry (99 bytes): 0 horse code (7), 7 4 x 4 int16 course records, 39 int16 total,
// 41 4 x int16 other counts, 49 zero (50).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zm {

constexpr int kPredictionRecordLength = 6608;
constexpr int kPredictionRunners = 18;
constexpr int kPredictionPastRuns = 5;

struct PredictedPastRun {
    QString venueCode;         // 2 chars
    QString meeting;           // 1 char
    QString day;               // 1 char
    QString date;              // 8 chars yyyymmdd
    QString raceNo;            // 2 chars
    QString track;             // 1 char (surface code)
    std::int16_t distance = 0;
    QString fieldSize;         // 2 chars, right-aligned number ("  " style: " 9", "16")
    QString finish;            // 2 chars
    QString popularity;        // 2 chars
    std::int16_t figure = 0;
    QString odds;              // 6 chars, right-aligned decimal ("  12.3"), blanks when none

    friend bool operator==(const PredictedPastRun&, const PredictedPastRun&) = default;
};

struct PredictedRunner {
    QString horseCode;  // 7 chars
    // Four groups (芝右, 芝左, ダ右, ダ左) of four counts (1st, 2nd, 3rd, other).
    std::array<std::array<std::int16_t, 4>, 4> courseRecord{};
    std::int16_t courseRecordTotal = 0;
    std::array<std::int16_t, 4> otherRecord{};
    // Index 0 is the most recent run (前走) .. 4 is ５走前.
    std::array<PredictedPastRun, kPredictionPastRuns> pastRuns{};
    std::int16_t index = 0;  // predicted index, Int(score * 0.5)
    std::int16_t rank = 0;   // 0 when the race has no bet selection

    friend bool operator==(const PredictedRunner&, const PredictedRunner&) = default;
};

struct PickEntry {
    std::int16_t code = 0;  // horse number or pair code
    std::int16_t flag = 0;  // 1 when set

    friend bool operator==(const PickEntry&, const PickEntry&) = default;
};

struct PredictionRecord {
    QString raceDate;   // 8 chars yyyymmdd
    QString venueCode;  // 2 chars, service numbering
    std::int16_t meeting = 0;
    std::int16_t dayNo = 0;
    std::int16_t raceNo = 0;
    std::int16_t runnerCount = 0;
    std::array<PredictedRunner, kPredictionRunners> runners{};
    std::array<PickEntry, 3> winPicks{};
    std::array<PickEntry, 10> smallPicks{};     // codes a * 10 + b, races of 1-8 runners
    std::array<PickEntry, 10> quinellaPicks{};  // codes a * 100 + b, races of 9+ runners
    QString startTime;  // 4 chars hhmm

    friend bool operator==(const PredictionRecord&, const PredictionRecord&) = default;
};

// The packed bytes of one record (exactly kPredictionRecordLength, ending in CR LF).
QByteArray encodePrediction(const PredictionRecord& record);

// One record from its bytes; a short buffer reads as if padded with zero bytes.
PredictionRecord decodePrediction(QByteArrayView bytes);

// DataDir + yyyymmdd + ".DAT".
QString predictionFilePath(const QString& dataDir, const QString& yyyymmdd);

// Every record of a prediction file, record 1 first. The record count is the file length over
// the record length rounded half to even, so a trailing partial record counts when it holds at
// least half a record (its missing bytes read as zero). Nothing when the file cannot be read.
std::optional<std::vector<PredictionRecord>> readPredictionFile(const QString& path);

// The record numbered recordNo (from 1), or nothing when the file or that record is missing.
std::optional<PredictionRecord> readPredictionRecord(const QString& path, int recordNo);

// Writes the day's prediction file afresh with these records, through a temporary file renamed
// into place. False when it could not be written.
bool writePredictionFile(const QString& path, const std::vector<PredictionRecord>& records);

// The day texts "yyyymmdd" of the prediction files in the data folder: every file whose name is
// exactly 12 characters and ends in ".DAT" (any case), at most 1024, in ascending order.
// Whether the day's race file is there too is the caller's rule.
QStringList predictionFileDays(const QString& dataDir);

}  // namespace zm
