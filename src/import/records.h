#pragma once

// The data service's fixed-length records. Each record is held as its bytes; every type is
// described once by a table of named fields (offset and width in CP932 bytes). Text getters
// decode the field's bytes, number getters parse them with Val, setters write the text
// left-aligned and padded with blanks. Bytes no field names are never touched, so a record
// copied through the program stays the service's record byte for byte.
//
// Usage:  race.text(RaceRecord::raceClass), race.number(RaceRecord::distance),
//         race.setText(RaceRecord::venueCode, u"04"), horse.pastRun(1).number(PastRun::figure)

#include "codes/field_table.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <algorithm>

namespace zm {

// The race key shared by RaceRecord, EntryRecord and PastRun (OddsRecord has the date as one
// field). Twenty bytes at offset 0.
struct RaceKeyFields {
    static constexpr TextField venueCode{"venueCode", 0, 2};
    static constexpr auto meetingYear = digitsField("meetingYear", 2, 4);
    static constexpr auto kai = digitsField("kai", 6, 2);
    static constexpr auto nichi = digitsField("nichi", 8, 2);
    static constexpr auto raceNo = digitsField("raceNo", 10, 2);
    static constexpr auto raceYear = digitsField("raceYear", 12, 4);
    static constexpr auto raceMonth = digitsField("raceMonth", 16, 2);
    static constexpr auto raceDay = digitsField("raceDay", 18, 2);
    // The whole key, for comparisons.
    static constexpr TextField raceKey{"raceKey", 0, 20};
    // venueCode + meetingYear + kai + nichi.
    static constexpr TextField meetingKey{"meetingKey", 0, 10};
    // venueCode .. raceNo (a race without its date).
    static constexpr TextField raceId{"raceId", 0, 12};
    // raceYear + raceMonth + raceDay.
    static constexpr auto raceDate = digitsField("raceDate", 12, 8);
};

// Gives a record type the text of its race key (assumes RaceKeyFields at offset 0).
template <class Record>
struct RaceKeyAccess {
    // "yyyymmdd".
    QString dateText() const { return self().text(RaceKeyFields::raceDate); }
    QByteArrayView meetingKeyBytes() const { return self().raw(RaceKeyFields::meetingKey); }
    QByteArrayView raceKeyBytes() const { return self().raw(RaceKeyFields::raceKey); }

private:
    const Record& self() const { return static_cast<const Record&>(*this); }
};

// ---------------------------------------------------------------------------------------------
// Race card: one race.

class RunnerSlot : public FixedRecord<10> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto waku = digitsField("waku", 0, 1);
    static constexpr auto umaban = digitsField("umaban", 1, 2);
    static constexpr TextField horseCode{"horseCode", 3, 7};
    static constexpr Field kFields[] = {waku, umaban, horseCode};
};
static_assert(fieldTableCoversRecord(RunnerSlot::kFields, RunnerSlot::kLength));

class RaceRecord : public FixedRecord<779>, public RaceKeyFields, public RaceKeyAccess<RaceRecord> {
public:
    RaceRecord() { setLineEnd(); }
    explicit RaceRecord(QByteArrayView bytes) : FixedRecord(bytes) {}

    static constexpr TextField raceClass{"raceClass", 97, 1};
    static constexpr auto prizeClass = digitsField("prizeClass", 99, 5);
    static constexpr TextField courseLayout{"courseLayout", 104, 1, 4};
    static constexpr auto distance = digitsField("distance", 108, 4);
    static constexpr TextField postTime{"postTime", 331, 5};
    static constexpr auto runnerCount = digitsField("runnerCount", 336, 2);
    static constexpr TextField paceCode{"paceCode", 348, 1};
    static constexpr TextField runners{"runners", 497, RunnerSlot::kLength, 28};
    static constexpr auto lineEnd = constantField("lineEnd", 777, 2);
    static constexpr Field kFields[] = {venueCode, meetingYear, kai,         nichi,    raceNo,
                                        raceYear,  raceMonth,   raceDay,     raceClass, prizeClass,
                                        courseLayout, distance, postTime,    runnerCount, paceCode,
                                        runners,   lineEnd};

    // Runner slot i, 1..28.
    RunnerSlot runner(int i) const { return RunnerSlot(span(runners.element(i).offset, RunnerSlot::kLength)); }
    void setRunner(int i, const RunnerSlot& slot) { putSpan(runners.element(i).offset, slot.bytes()); }
    // A field of runner slot i read in place.
    template <FieldKind K>
    static constexpr auto runnerField(int i, const FieldOf<K>& f) { return f.shifted(runners.element(i).offset); }
};
static_assert(fieldTableCoversRecord(RaceRecord::kFields, RaceRecord::kLength));

// ---------------------------------------------------------------------------------------------
// Entries: one runner of one race.

class RunnerInfo : public FixedRecord<129> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto waku = digitsField("waku", 0, 1);
    static constexpr auto umaban = digitsField("umaban", 1, 2);
    static constexpr TextField horseCode{"horseCode", 3, 7};
    static constexpr TextField horseName{"horseName", 10, 30};
    static constexpr TextField sex{"sex", 42, 1};
    static constexpr auto age = digitsField("age", 43, 2);
    static constexpr TextField cardMark{"cardMark", 125, 1};
    static constexpr auto weight = digitsField("weight", 126, 3);
    static constexpr Field kFields[] = {waku, umaban, horseCode, horseName, sex, age, cardMark, weight};
};
static_assert(fieldTableCoversRecord(RunnerInfo::kFields, RunnerInfo::kLength));

// Three of these follow the jockey and trainer fields; the import does not read them.
class EntryDetail : public FixedRecord<117> {
public:
    using FixedRecord::FixedRecord;
};

class EntryRecord : public FixedRecord<743>, public RaceKeyFields, public RaceKeyAccess<EntryRecord> {
public:
    EntryRecord() { setLineEnd(); }
    explicit EntryRecord(QByteArrayView bytes) : FixedRecord(bytes) {}

    static constexpr int kRunnerOffset = 22;
    static constexpr TextField runnerInfo{"runner", kRunnerOffset, RunnerInfo::kLength};
    static constexpr TextField jockeyCode{"jockeyCode", 151, 5};
    static constexpr TextField jockeyShort{"jockeyShort", 188, 8};
    static constexpr TextField trainerShort{"trainerShort", 243, 8};
    static constexpr auto ratingDigit = digitsField("ratingDigit", 254, 1);
    static constexpr TextField works{"works", 255, EntryDetail::kLength, 3};
    static constexpr auto lineEnd = constantField("lineEnd", 741, 2);

    // RunnerInfo fields in place.
    static constexpr auto waku = RunnerInfo::waku.shifted(kRunnerOffset);
    static constexpr auto umaban = RunnerInfo::umaban.shifted(kRunnerOffset);
    static constexpr auto horseCode = RunnerInfo::horseCode.shifted(kRunnerOffset);
    static constexpr auto horseName = RunnerInfo::horseName.shifted(kRunnerOffset);
    static constexpr auto sex = RunnerInfo::sex.shifted(kRunnerOffset);
    static constexpr auto age = RunnerInfo::age.shifted(kRunnerOffset);
    static constexpr auto cardMark = RunnerInfo::cardMark.shifted(kRunnerOffset);
    static constexpr auto weight = RunnerInfo::weight.shifted(kRunnerOffset);

    static constexpr Field kFields[] = {venueCode, meetingYear, kai,        nichi,       raceNo,      raceYear,
                                        raceMonth, raceDay,     runnerInfo, jockeyCode,  jockeyShort, trainerShort,
                                        ratingDigit, works,     lineEnd};

    RunnerInfo runner() const { return RunnerInfo(raw(runnerInfo)); }
    void setRunner(const RunnerInfo& info) { putSpan(kRunnerOffset, info.bytes()); }
    EntryDetail work(int i) const { return EntryDetail(raw(works.element(i))); }
    void setWork(int i, const EntryDetail& d) { putSpan(works.element(i).offset, d.bytes()); }
};
static_assert(fieldTableCoversRecord(EntryRecord::kFields, EntryRecord::kLength));

// ---------------------------------------------------------------------------------------------
// Horses: one horse with its last five runs.

class PastRun : public FixedRecord<590>, public RaceKeyFields, public RaceKeyAccess<PastRun> {
public:
    using FixedRecord::FixedRecord;
    static constexpr TextField courseLayout{"courseLayout", 115, 1, 4};
    static constexpr auto distance = digitsField("distance", 119, 4);
    static constexpr auto runnerCount = digitsField("runnerCount", 123, 2);
    static constexpr auto figure = digitsField("figure", 251, 3);
    static constexpr auto finishPos = digitsField("finishPos", 359, 2);
    static constexpr auto odds = digitsField("odds", 361, 5);
    static constexpr auto popularity = digitsField("popularity", 366, 2);
    static constexpr auto cornerPos = digitsField("cornerPos", 390, 2, 4);
    static constexpr Field kFields[] = {venueCode,  meetingYear, kai,       nichi,       raceNo,
                                        raceYear,   raceMonth,   raceDay,   courseLayout, distance,
                                        runnerCount, figure,     finishPos, odds,        popularity,
                                        cornerPos};
};
static_assert(fieldTableIsSound(PastRun::kFields, PastRun::kLength));

// Fifty of these close the horse record; the import does not read them.
class HistoryLine : public FixedRecord<23> {
public:
    using FixedRecord::FixedRecord;
};

class HorseRecord : public FixedRecord<5166> {
public:
    HorseRecord() { setLineEnd(); }
    explicit HorseRecord(QByteArrayView bytes) : FixedRecord(bytes) {}

    static constexpr TextField horseCode{"horseCode", 0, 7};
    static constexpr TextField horseName{"horseName", 7, 30};
    // 16 groups × 4 two-digit counts (firsts, seconds, thirds, others).
    static constexpr auto statsA = digitsField("statsA", 656, 2, 64);
    static constexpr auto statsB = digitsField("statsB", 784, 2, 16);
    static constexpr auto statsC = digitsField("statsC", 816, 2, 64);
    static constexpr TextField pastRuns{"pastRuns", 1064, PastRun::kLength, 5};
    static constexpr TextField history{"history", 4014, HistoryLine::kLength, 50};
    static constexpr auto lineEnd = constantField("lineEnd", 5164, 2);
    static constexpr Field kFields[] = {horseCode, horseName, statsA, statsB, statsC, pastRuns, history, lineEnd};

    // Count j (0 firsts, 1 seconds, 2 thirds, 3 others) of group k (0..15).
    static constexpr auto statsAField(int k, int j) { return statsA.element(k * 4 + j + 1); }
    static constexpr auto statsCField(int k, int j) { return statsC.element(k * 4 + j + 1); }
    // Value k (0..15) of statsB.
    static constexpr auto statsBField(int k) { return statsB.element(k + 1); }

    // Past run i, 1..5 (1 the most recent).
    PastRun pastRun(int i) const { return PastRun(raw(pastRuns.element(i))); }
    void setPastRun(int i, const PastRun& run) { putSpan(pastRuns.element(i).offset, run.bytes()); }
    // A field of past run i read in place (no copy of the sub-record).
    template <FieldKind K>
    static constexpr auto pastRunField(int i, const FieldOf<K>& f) { return f.shifted(pastRuns.element(i).offset); }
    HistoryLine historyLine(int i) const { return HistoryLine(raw(history.element(i))); }
};
static_assert(fieldTableCoversRecord(HorseRecord::kFields, HorseRecord::kLength));

// ---------------------------------------------------------------------------------------------
// Jockeys (the file in the program folder).

class JockeyRecord : public FixedRecord<1729> {
public:
    JockeyRecord() { setLineEnd(); }
    explicit JockeyRecord(QByteArrayView bytes) : FixedRecord(bytes) {}

    static constexpr TextField jockeyCode{"jockeyCode", 0, 5};
    static constexpr TextField jockeyName{"jockeyName", 5, 32};
    static constexpr auto countsB = digitsField("countsB", 207, 5, 4);
    static constexpr auto countsA = digitsField("countsA", 247, 3, 4);
    // 43 groups × 4 three-digit counts.
    static constexpr auto statGroups = digitsField("statGroups", 309, 3, 172);
    static constexpr auto lineEnd = constantField("lineEnd", 1727, 2);
    static constexpr Field kFields[] = {jockeyCode, jockeyName, countsB, countsA, statGroups, lineEnd};

    // Count j (0..3) of group k (0..42).
    static constexpr auto statGroupField(int k, int j) { return statGroups.element(k * 4 + j + 1); }
};
static_assert(fieldTableCoversRecord(JockeyRecord::kFields, JockeyRecord::kLength));

// ---------------------------------------------------------------------------------------------
// Predicted odds of one race.

class OddsRecord : public FixedRecord<1504> {
public:
    OddsRecord() { setLineEnd(); }
    explicit OddsRecord(QByteArrayView bytes) : FixedRecord(bytes) {}

    static constexpr TextField venueCode{"venueCode", 0, 2};
    static constexpr auto meetingYear = digitsField("meetingYear", 2, 4);
    static constexpr auto kai = digitsField("kai", 6, 2);
    static constexpr auto nichi = digitsField("nichi", 8, 2);
    static constexpr auto raceNo = digitsField("raceNo", 10, 2);
    static constexpr auto raceDate = digitsField("raceDate", 12, 8);
    static constexpr auto winOdds = digitsField("winOdds", 161, 5, 18);
    static constexpr auto placeOdds = digitsField("placeOdds", 251, 5, 36);
    static constexpr auto quinellaOdds = digitsField("quinellaOdds", 431, 7, 153);
    static constexpr auto lineEnd = constantField("lineEnd", 1502, 2);
    static constexpr Field kFields[] = {venueCode, meetingYear, kai,          nichi,        raceNo,
                                        raceDate,  winOdds,     placeOdds,    quinellaOdds, lineEnd};

    // 1-based position of the pair (i, j) of horse numbers, in either order, among the 153
    // quinella fields; 0 when the pair is not one of them (i == j or outside 1..18).
    static constexpr int quinellaIndex(int i, int j) {
        if (i > j) {
            const int t = i;
            i = j;
            j = t;
        }
        if (i < 1 || j > 18 || i == j)
            return 0;
        int pos = 0;
        for (int w = 1; w < i; ++w)
            pos += 18 - w;
        return pos + (j - i);
    }
    static constexpr auto quinellaField(int i, int j) { return quinellaOdds.element(quinellaIndex(i, j)); }
};
static_assert(fieldTableCoversRecord(OddsRecord::kFields, OddsRecord::kLength));

// ---------------------------------------------------------------------------------------------
// A record file read whole: records by number from 1.

// Number of records of a file: length / record length rounded half to even.
int recordCountOf(qint64 fileLength, int recordLength);

class RecordFile {
public:
    RecordFile() = default;
    RecordFile(QByteArray bytes, int recordLength);

    // Reads the whole file; nothing when it is missing or unreadable.
    static std::optional<RecordFile> load(const QString& path, int recordLength);

    int count() const { return count_; }
    int recordLength() const { return recordLength_; }
    const QByteArray& bytes() const { return bytes_; }

    // The bytes of record n (1..count). A trailing partial record is padded with blanks.
    QByteArray record(int n) const;
    // Record n without a copy when it lies wholly in the file, else the padded copy.
    QByteArrayView recordView(int n) const;

    template <class Record>
    Record get(int n) const {
        return Record(recordView(n));
    }

private:
    QByteArray bytes_;
    QByteArray lastPadded_;  // the padded partial record, when the file has one
    int recordLength_ = 1;
    int count_ = 0;
};

}  // namespace zm
