#pragma once

// The prediction of a race day: walk the day's races venue by venue, join each race's runners
// with their entry and horse records, score, rank and pick, and write one prediction record per
// race into the day's prediction file, which each run writes afresh.

#include "predict/prediction_file.h"
#include "predict/runner_work.h"
#include "predict/selection.h"

#include "codes/status.h"
#include "import/records.h"

#include <QHash>
#include <QString>
#include <array>
#include <vector>
#include <cstdint>

namespace zm {

struct AppContext;
struct ImportedDay;
class FileSet;

// The race part of a prediction, filled from the race record.
struct PredictedRace {
    QString RaceDate;   // 8 chars
    QString VenueCode;  // 2 chars
    std::int16_t Meeting = 0;
    std::int16_t DayNo = 0;
    std::int16_t RaceNo = 0;
    std::int16_t RunnerCount = 0;  // at most 18; below 1 when the race file says so
    QString Distance;   // 4 chars
    QString Field99;    // 5 chars, prize class
    QString Field97;    // 1 char, race class
    QString StartTime;  // 5 chars: hhmm and a blank
    QString Field348;   // 1 char, pace code
    std::array<std::int16_t, 18> EntryRecNo{};
    std::array<std::int16_t, 18> HorseRecNo{};
    std::array<QString, 18> RunnerCodes;  // 7 chars each

    // What the scoring reads of the race (distance and surface from the race record).
    RaceScoringInput scoring;
};

// Fills the header fields of a race (the runner record numbers stay 0).
PredictedRace predictedRaceOf(const RaceRecord& race);

// The prediction record of a race: all 18 runner slots, the ranks, picks and predicted
// indices; picks and ranks only when betSelection is set.
PredictionRecord WritePrediction(const PredictedRace& race, const RunnerArray& runners, const SelectionLists& lists,
                                 bool betSelection);

// The past-run odds text: the 5-character tenths as a decimal right-aligned in 6 ("00123" gives
// "  12.3", "00120" gives "    12"), six blanks when the value is 0.
QString pastRunOddsText(const QString& runOdds);

// A count written as text: the last two characters of its signed form (" 5", "16").
QString twoCharNumber(int value);

// The day's predicted-odds records by race: the first record of each venue code and race number,
// as a scan of the file from its first record finds it.
class OddsLookup {
public:
    void load(const RecordFile& file);
    // Nothing when the file holds no record for the race.
    const OddsRecord* find(const QString& venueCode, int raceNo) const;

private:
    std::vector<OddsRecord> records_;
    QHash<QString, int> first_;
};

// Predicts one race of the day (style: the prediction style; odds: the day's predicted odds,
// read by style 8 only). Its record, or the message that stops the day when a runner's horse
// code is not in the entries or horse file.
Result<PredictionRecord> PredictRace(const ImportedDay& day, int style, const OddsLookup& odds, const RaceRecord& race);

// Predicts every race of the day and puts DataDir + yyyymmdd + ".DAT" afresh into the day's
// file set (none when no race of the date was predicted). A failure carries its message.
Status PredictDay(AppContext& ctx, const ImportedDay& day, FileSet& set);

// The progress caption of the day: "ゼノゼノＭＵＲ 2001年9月15日 開催分の予想状況".
QString predictionCaption(const QString& yyyymmdd);

}  // namespace zm
