#include "predict/runner_work.h"

#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/race_model.h"

namespace zm {

namespace {

RunnerWork& at(RunnerArray& runners, int slot) {
    return runners[static_cast<size_t>(slot - 1)];
}
const RunnerWork& at(const RunnerArray& runners, int slot) {
    return runners[static_cast<size_t>(slot - 1)];
}

// The bytes of one entry or horse record, read where they lie (in the day's file) rather than
// from a copy.
struct RecordBytes {
    QByteArrayView bytes;
    QByteArrayView raw(const Field& f) const { return bytes.sliced(f.offset, f.totalWidth()); }
    double number(const DigitsField& f) const { return Val(raw(f)); }
};

std::int16_t int16Of(const RecordBytes& rec, const DigitsField& f) {
    return ToInt16(rec.number(f));
}

// The last character of the field's text.
QString lastChar(QByteArrayView field) {
    if (isAscii(field))
        return field.isEmpty() ? QString() : QString::fromLatin1(field.last(1));
    return fromSjis(field).right(1);
}

// First course-record group in the horse record (芝右成績) and the further counts before it.
constexpr int kCourseRecordOffset = 672;
constexpr int kOtherRecordOffset = 664;

void loadEntry(RunnerWork& w, const RecordBytes& entry) {
    w.HorseCode = fromSjis(entry.raw(EntryRecord::horseCode));
    // The name cut to 18 bytes (a character cut in half shows as U+FFFD).
    w.HorseName = fromSjis(entry.raw(EntryRecord::horseName).first(18));
    w.SexCode = fromSjis(entry.raw(EntryRecord::sex));
    w.Age = fromSjis(entry.raw(EntryRecord::age));
    w.Waku = fromSjis(entry.raw(EntryRecord::waku));
    w.Umaban = fromSjis(entry.raw(EntryRecord::umaban));
    w.RatingDigit = fromSjis(entry.raw(EntryRecord::ratingDigit));
    w.JockeyShort = fromSjis(entry.raw(EntryRecord::jockeyShort));
    w.JockeyCode = fromSjis(entry.raw(EntryRecord::jockeyCode));
    w.TrainerShort = fromSjis(entry.raw(EntryRecord::trainerShort));
}

void loadHorse(RunnerWork& w, const RecordBytes& horse) {
    std::int16_t total = 0;
    for (int g = 0; g < 4; ++g) {
        for (int c = 0; c < 4; ++c) {
            const DigitsField f{"courseRecord", kCourseRecordOffset + 8 * g + 2 * c, 2};
            const std::int16_t v = int16Of(horse, f);
            w.CourseRecord[static_cast<size_t>(g)][static_cast<size_t>(c)] = v;
            total = static_cast<std::int16_t>(total + v);
        }
    }
    w.CourseRecordTotal = total;
    for (int c = 0; c < 4; ++c) {
        w.OtherRecord[static_cast<size_t>(c)] = int16Of(horse, DigitsField{"otherRecord", kOtherRecordOffset + 2 * c, 2});
    }
    for (int j = 1; j <= 5; ++j) {
        PastRunWork& p = w.PastRuns[static_cast<size_t>(j - 1)];
        auto field = [j](const auto& f) { return HorseRecord::pastRunField(j, f); };
        p.RunDate = fromSjis(horse.raw(field(PastRun::raceDate)));
        p.RunVenueCode = fromSjis(horse.raw(field(PastRun::venueCode)));
        p.RunMeeting = lastChar(horse.raw(field(PastRun::kai)));
        p.RunDay = lastChar(horse.raw(field(PastRun::nichi)));
        p.RunRaceNo = fromSjis(horse.raw(field(PastRun::raceNo)));
        p.FieldSize = int16Of(horse, field(PastRun::runnerCount));
        p.Popularity = int16Of(horse, field(PastRun::popularity));
        p.Finish = int16Of(horse, field(PastRun::finishPos));
        p.RunOdds = fromSjis(horse.raw(field(PastRun::odds)));
        p.LatePosition = int16Of(horse, field(PastRun::cornerPos.element(4)));
        p.RunTrack = fromSjis(horse.raw(field(PastRun::courseLayout.element(1))));
        p.RunDistance = int16Of(horse, field(PastRun::distance));
        p.RunFigure = int16Of(horse, field(PastRun::figure));
    }
}

}  // namespace

void LoadRunnerFromEntry(RunnerArray& runners, int slot, const EntryRecord& entry) {
    loadEntry(at(runners, slot), {entry.bytes()});
}

void LoadRunnerFromHorse(RunnerArray& runners, int slot, const HorseRecord& horse) {
    loadHorse(at(runners, slot), {horse.bytes()});
}

void LoadRunnerFromEntry(RunnerArray& runners, int slot, QByteArrayView entry) {
    if (entry.size() != EntryRecord::kLength)
        return LoadRunnerFromEntry(runners, slot, EntryRecord(entry));
    loadEntry(at(runners, slot), {entry});
}

void LoadRunnerFromHorse(RunnerArray& runners, int slot, QByteArrayView horse) {
    if (horse.size() != HorseRecord::kLength)
        return LoadRunnerFromHorse(runners, slot, HorseRecord(horse));
    loadHorse(at(runners, slot), {horse});
}

void LoadBlankRunner(RunnerArray& runners, int slot) {
    // Every slot beyond the runners of every race reads the same blank records: read once.
    static const RunnerWork blank = [] {
        RunnerWork w;
        loadEntry(w, {EntryRecord{}.bytes()});
        loadHorse(w, {HorseRecord{}.bytes()});
        return w;
    }();
    at(runners, slot) = blank;
}

std::int16_t weightBandAPoints(int v) {
    if (v < 516) return 15;
    if (v <= 529) return 10;
    if (v <= 549) return 9;
    if (v <= 569) return 7;
    if (v <= 575) return 6;
    if (v <= 600) return 5;
    return 10;
}

std::int16_t weightBandBPoints(int v) {
    if (v < 516) return 0;
    if (v <= 529) return 2;
    if (v <= 549) return 4;
    if (v <= 569) return 7;
    if (v <= 575) return 10;
    if (v <= 600) return 5;
    return 15;
}

std::int16_t WeightBandA(const RunnerArray& runners, int slot) {
    return weightBandAPoints(static_cast<int>(Val(at(runners, slot).WeightA)));
}

std::int16_t WeightBandB(const RunnerArray& runners, int slot) {
    return weightBandBPoints(static_cast<int>(Val(at(runners, slot).WeightB)));
}

std::int16_t RatingDigitPoints(const RunnerArray& runners, int slot) {
    switch (ToInt16(Val(at(runners, slot).RatingDigit))) {
    case 0:
        return 25;
    case 1:
    case 2:
        return 18;
    default:
        return 10;
    }
}

std::int16_t LastFinishPoints(const RunnerArray& runners, int slot) {
    switch (at(runners, slot).PastRuns[0].Finish) {
    case 1:
        return 15;
    case 2:
        return 8;
    default:
        return 0;
    }
}

std::int16_t PositionAveragePoints(const RunnerArray& runners, int slot) {
    int sum = 0;
    int counted = 0;
    for (const PastRunWork& p : at(runners, slot).PastRuns) {
        const int pos = p.LatePosition;
        if (pos <= 0) {
            continue;
        }
        ++counted;
        if (pos == 1) {
            sum += 20;
        } else if (pos <= 3) {
            sum += 18;
        } else if (pos <= 6) {
            sum += 12;
        }
    }
    if (counted == 0) {
        return 0;
    }
    return ToInt16(static_cast<float>(sum) / static_cast<float>(counted));
}

float DistanceMatchFigure(const RunnerArray& runners, int slot, std::int16_t distance, const QString& surface) {
    const RunnerWork& w = at(runners, slot);
    const int lo = distance - 200;
    const int hi = distance + 200;
    int best = 0;
    bool any = false;
    for (const PastRunWork& p : w.PastRuns) {
        if (p.RunTrack == surface && p.RunDistance >= lo && p.RunDistance <= hi) {
            any = true;
            best = std::max(best, static_cast<int>(p.RunFigure));
        }
    }
    if (!any || best == 0) {
        best = 0;
        for (const PastRunWork& p : w.PastRuns) {
            if (p.RunDistance >= lo && p.RunDistance <= hi) {
                best = std::max(best, static_cast<int>(ToInt16(p.RunFigure * 0.8)));
            }
        }
    }
    return static_cast<float>(best);
}

float RecentFigurePoints(const RunnerArray& runners, int slot) {
    for (const PastRunWork& p : at(runners, slot).PastRuns) {
        if (p.RunFigure > 0) {
            return static_cast<float>(p.RunFigure * 0.2);
        }
    }
    return 0.0f;
}

bool betSelectionTest(int kept, int runnerCount, const QString& prizeClass, const QString& raceClass) {
    if (runnerCount <= 0) {
        return false;
    }
    const float ratio = static_cast<float>(kept) / static_cast<float>(runnerCount);
    return ratio > 0.7f && Val(prizeClass) > 2 && raceClass != u"0";
}

bool ScoreRunners(const RaceScoringInput& race, RunnerArray& runners, const JockeyTable& jockeys) {
    for (RunnerWork& w : runners) {
        w.Score = 0.0f;
        w.OddsRank = 0;
    }
    const int n = std::clamp(race.runnerCount, 0, kRunnerSlots);
    int kept = 0;
    for (int i = 1; i <= n; ++i) {
        RunnerWork& w = at(runners, i);
        float score = 0.0f;
        score += Val(w.SexCode) == 1 ? 8.0f : 10.0f;
        if (const auto rating = jockeys.rating(w.JockeyCode)) {
            score += static_cast<float>(*rating);
        }
        score += static_cast<float>(WeightBandA(runners, i));
        score += static_cast<float>(WeightBandB(runners, i));
        score += static_cast<float>(RatingDigitPoints(runners, i));
        score += static_cast<float>(LastFinishPoints(runners, i));
        score += static_cast<float>(PositionAveragePoints(runners, i));
        score += DistanceMatchFigure(runners, i, race.distance, race.surface);
        score += RecentFigurePoints(runners, i);
        if (score < 70.0f) {
            score = 0.0f;
        } else {
            ++kept;
        }
        w.Score = score;
    }
    return betSelectionTest(kept, n, race.prizeClass, race.raceClass);
}

}  // namespace zm
