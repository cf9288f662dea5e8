#pragma once

// The in-memory race model of a day: the meeting table, the indexes of the horse and entries
// files, the jockey table and the day's record files. The import builds it; the prediction and
// the exports read it.

#include "import/records.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace zm {

// One meeting of the current day, in the order the race file lists them.
struct MeetingEntry {
    std::int16_t firstRace = 0;  // record number of its first race in the race file
    QString venueCode;           // 2 characters, service numbering
    QString date;                // "yyyymmdd"
    QString kaiDigit;            // last character of kai
    QString nichiDigit;          // last character of nichi
    QString weekday;             // WeekdayChar of the date
    std::int16_t raceCount = 0;

    friend bool operator==(const MeetingEntry&, const MeetingEntry&) = default;
};

struct JockeySlot {
    QString jockeyCode;  // 5 characters as stored
    std::int16_t jockeyRating = 0;
};

// Horse codes of a record file by record number, with a first-match lookup.
class CodeIndex {
public:
    void clear() {
        codes_.clear();
        first_.clear();
    }
    void reserve(int n) {
        codes_.reserve(n);
        first_.reserve(n);
    }
    // Appends the code of the next record (record number size() + 1).
    void append(const QString& code) {
        codes_.push_back(code);
        if (!first_.contains(code))
            first_.insert(code, static_cast<int>(codes_.size()));
    }
    int size() const { return static_cast<int>(codes_.size()); }
    // The code of record n (1..size()).
    const QString& at(int n) const { return codes_[static_cast<size_t>(n - 1)]; }
    // The number of the first record whose code equals code exactly (all 7 characters),
    // 0 when there is none.
    int find(const QString& code) const { return first_.value(code, 0); }

private:
    std::vector<QString> codes_;
    QHash<QString, int> first_;  // code -> first record number
};

constexpr int kJockeyMax = 512;
// A JRA day has at most 36 races; the day file keeps 40.
constexpr int kMaxDayRaces = 40;

// The jockey table of the program folder: jockey records in file order, with a first-match
// lookup by code.
class JockeyTable {
public:
    // Adds the next jockey record (number count() + 1).
    void append(const QString& code, std::int16_t rating) {
        if (!first_.contains(code))
            first_.insert(code, static_cast<int>(slots_.size()));
        slots_.push_back(JockeySlot{code, rating});
    }
    int count() const { return static_cast<int>(slots_.size()); }
    // Jockey record n (1..count()).
    const JockeySlot& at(int n) const { return slots_[static_cast<size_t>(n - 1)]; }
    // The rating of the first jockey whose code equals code exactly; nothing when none does.
    std::optional<std::int16_t> rating(const QString& code) const {
        const auto it = first_.constFind(code);
        if (it == first_.constEnd())
            return std::nullopt;
        return slots_[static_cast<size_t>(*it)].jockeyRating;
    }

private:
    std::vector<JockeySlot> slots_;
    QHash<QString, int> first_;  // code -> index of its first slot
};

// A race day as its import leaves it: everything the prediction and the exports read of the
// day. The import builds it; after that it is only read.
struct ImportedDay {
    QString date;                        // "yyyymmdd"
    std::vector<MeetingEntry> meetings;  // meetings[k - 1] is meeting k
    int raceRecords = 0;                 // records of the archive's race file, of every date

    // The day's races as the "_1.DEN" day file holds them, the entries file (the "_2.DEN" day
    // file) and the horse file, with the horse codes of the last two by record number.
    RecordFile races;
    RecordFile entries;
    RecordFile horses;
    CodeIndex entryIndex;
    CodeIndex horseIndex;

    JockeyTable jockeys;
    // The predicted-odds records of the day when the prediction style uses them, else none.
    RecordFile odds;
};

}  // namespace zm
