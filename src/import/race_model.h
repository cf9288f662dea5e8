#pragma once

// The in-memory race model of the current day: the indexes of the horse and entries files,
// the jockey table, the meeting table, the counts and the paths of the day's files. The import
// fills it; the prediction, the race card and the exports read it.

#include "import/records.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zm {

class FileSet;
class UnpackedArchive;

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

constexpr int kJockeySlots = 1024;
constexpr int kJockeyMax = 512;
// A JRA day has at most 36 races; the day file keeps 40.
constexpr int kMaxDayRaces = 40;

struct ImportState {
    // Horse codes of the horse file and of the entries file (the runner's horseCode), by
    // record number.
    CodeIndex HorseIndex;
    CodeIndex EntryIndex;

    // Slot i - 1 holds jockey record i; the first JockeyCount slots are filled.
    std::array<JockeySlot, kJockeySlots> JockeyTable{};

    std::int16_t JockeyCount = 0;
    std::int16_t HorseCount = 0;
    std::int16_t EntryCount = 0;

    std::vector<MeetingEntry> MeetingTable;  // MeetingTable[k - 1] is meeting k
    std::int16_t RaceCount = 0;
    std::int16_t MeetingCount = 0;

    QString CurrentRaceDate;  // "yyyymmdd"
    QString OddsPath;         // the day's predicted-odds day file, or empty
    QString RaceFilePath;
    QString EntryFilePath;
    QString HorseFilePath;
    QString ArchivePath;      // the archive being imported

    // The bytes of the files the paths name, read once by the import so that the prediction
    // need not read them again: the horse work file, the entries file (the same bytes as the
    // "_2.DEN" day file) and the races written to the "_1.DEN" day file. Empty when not loaded.
    RecordFile horseFile;
    RecordFile entryFile;
    RecordFile dayRaceFile;

    // The archive being imported, unpacked in memory: the work files are read from here when
    // it is set, else from the work folder.
    const UnpackedArchive* unpacked = nullptr;

    // The day's files while an import writes them: put in place together once the prediction
    // is through (nullptr outside an import, where each file is written on its own).
    FileSet* daySet = nullptr;

    // The files of the day run's exports that could not be written (each message shown); the
    // day itself went through all the same.
    QStringList ExportFailures;
    // While a batch runs: true once a day of it went through. The batch's cumulative exports
    // then add to what the batch wrote; until then they replace what an earlier batch left.
    bool BatchFilesStarted = false;

    // The jockeyRating of the first of the JockeyCount slots whose code equals code
    // exactly; nothing when none does.
    std::optional<std::int16_t> jockeyRating(const QString& code) const {
        const auto it = jockeyFirst_.constFind(code);
        if (it == jockeyFirst_.constEnd() || *it >= JockeyCount)
            return std::nullopt;
        return JockeyTable[static_cast<size_t>(*it)].jockeyRating;
    }

    // Fills slot n - 1 (jockey record n, n = 1..kJockeyMax) and keeps the lookup current.
    void setJockey(int n, const QString& code, std::int16_t rating) {
        JockeyTable[static_cast<size_t>(n - 1)] = JockeySlot{code, rating};
        if (!jockeyFirst_.contains(code))
            jockeyFirst_.insert(code, n - 1);
    }
    void clearJockeys() {
        JockeyTable.fill(JockeySlot{});
        jockeyFirst_.clear();
        JockeyCount = 0;
    }

private:
    QHash<QString, int> jockeyFirst_;
};

}  // namespace zm
