#pragma once

// What the analyses read of a race day: which days the data folder holds predictions or results
// of, the day's results, and each race's result and winner.

#include "pat/pat_log.h"

#include <QString>
#include <vector>

namespace zm {

// True for "yyyymmdd" + suffix (the suffix in any case).
bool isDayFileName(const QString& name, const QString& suffix);

// The records of the day's ".SEI" file; none when it cannot be read.
std::vector<SeiRecord> readDayResults(const QString& path);

// The day's result of one race (JRA venue number, race number), or nullptr.
const SeiRecord* raceResult(const std::vector<SeiRecord>& sei, const QString& day, const QString& venueNo,
                                 int raceNo);

// Whether the horse won the race: the first home, or either of a dead heat's winners.
bool wonRace(const SeiRecord& result, int horse);

// Whether the horse is among the first count horses home (count 1..3).
bool finishedWithin(const SeiRecord& result, int horse, int count);

}  // namespace zm
