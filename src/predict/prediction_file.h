#pragma once

// The day's prediction file yyyymmdd + ".DAT" in the data folder: one packed 6608-byte record per
// predicted race, in the order the races were predicted. Text fields are CP932 padded with
// blanks; integers are 16-bit little-endian; bytes no field names are zero. The layout is the
// field tables in prediction_file.cpp, checked at compile time; the writer and every reader go
// through encodePrediction / decodePrediction.
//
// Record: 0 race date (8), 8 venue code (2), 10 int16 回, 12 int16 日目, 14 int16 race number,
// 16 int16 runner count, 18 past runs (18 runners x 5 runs x 51 bytes, runner-major within a
// run), 4608 runners (18 x 99), 6390 18 x (int16 index, int16 rank), 6462 win picks 3 x (int16
// horse, int16 flag), 6486 small-field picks 10 x (int16 a*10+b, flag), 6526 quinella picks
// 10 x (int16 a*100+b, flag), 6602 start time hhmm, 6606 CR LF.

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

// The bytes of a prediction file holding these records.
QByteArray encodePredictionFile(const std::vector<PredictionRecord>& records);

// Writes the day's prediction file afresh with these records, through a temporary file renamed
// into place. False when it could not be written.
bool writePredictionFile(const QString& path, const std::vector<PredictionRecord>& records);

}  // namespace zm
