#include "predict/prediction_file.h"

#include "codes/numeric.h"
#include "app/file_names.h"
#include "app/safe_save.h"
#include "codes/field_table.h"
#include "codes/sjis.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace zm {

namespace {

// One past run of one runner: 51 bytes, the last 20 zero.
class PastRunBytes : public FixedRecord<51, '\0'> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto venueCode = textField("venueCode", 0, 2);
    static constexpr auto meeting = textField("meeting", 2, 1);
    static constexpr auto day = textField("day", 3, 1);
    static constexpr auto date = digitsField("date", 4, 8);
    static constexpr auto raceNo = digitsField("raceNo", 12, 2);
    static constexpr auto track = textField("track", 14, 1);
    static constexpr auto distance = int16Field("distance", 15);
    static constexpr auto fieldSize = digitsField("fieldSize", 17, 2);
    static constexpr auto finish = digitsField("finish", 19, 2);
    static constexpr auto popularity = digitsField("popularity", 21, 2);
    static constexpr auto figure = int16Field("figure", 23);
    static constexpr auto odds = digitsField("odds", 25, 6);
    static constexpr Field kFields[] = {venueCode, meeting, day,    date,       raceNo, track,
                                        distance,  fieldSize, finish, popularity, figure, odds};
};
static_assert(fieldTableIsSound(PastRunBytes::kFields, PastRunBytes::kLength));

// One runner's records: 99 bytes, the last 50 zero.
class RunnerBytes : public FixedRecord<99, '\0'> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto horseCode = textField("horseCode", 0, 7);
    // Four groups of four counts, group-major.
    static constexpr auto courseRecord = int16Field("courseRecord", 7, 16);
    static constexpr auto courseRecordTotal = int16Field("courseRecordTotal", 39);
    static constexpr auto otherRecord = int16Field("otherRecord", 41, 4);
    static constexpr Field kFields[] = {horseCode, courseRecord, courseRecordTotal, otherRecord};
};
static_assert(fieldTableIsSound(RunnerBytes::kFields, RunnerBytes::kLength));

class PredictionBytes : public FixedRecord<kPredictionRecordLength, '\0'> {
public:
    using FixedRecord::FixedRecord;
    static constexpr auto raceDate = digitsField("raceDate", 0, 8);
    static constexpr auto venueCode = textField("venueCode", 8, 2);
    static constexpr auto meeting = int16Field("meeting", 10);
    static constexpr auto dayNo = int16Field("dayNo", 12);
    static constexpr auto raceNo = int16Field("raceNo", 14);
    static constexpr auto runnerCount = int16Field("runnerCount", 16);
    // Runner-major within each run: (runner i, run j) is element 1 + i + 18 * j.
    static constexpr auto pastRuns = textField("pastRuns", 18, PastRunBytes::kLength, kPredictionRunners * kPredictionPastRuns);
    static constexpr auto runners = textField("runners", 4608, RunnerBytes::kLength, kPredictionRunners);
    // Per runner: index, rank.
    static constexpr auto indexRank = int16Field("indexRank", 6390, 2 * kPredictionRunners);
    // Per pick: code, set-flag.
    static constexpr auto winPicks = int16Field("winPicks", 6462, 2 * 3);
    static constexpr auto smallPicks = int16Field("smallPicks", 6486, 2 * 10);
    static constexpr auto quinellaPicks = int16Field("quinellaPicks", 6526, 2 * 10);
    static constexpr auto startTime = textField("startTime", 6602, 4);
    static constexpr auto lineEnd = constantField("lineEnd", 6606, 2);
    static constexpr Field kFields[] = {raceDate,  venueCode, meeting,    dayNo,         raceNo,    runnerCount,
                                        pastRuns,  runners,   indexRank,  winPicks,      smallPicks, quinellaPicks,
                                        startTime, lineEnd};

    static constexpr auto pastRun(int runner, int run) { return pastRuns.element(1 + runner + kPredictionRunners * run); }
    static constexpr auto runner(int i) { return runners.element(1 + i); }

    void setLineEnd() { FixedRecord::setLineEnd(); }
};
static_assert(fieldTableCoversRecord(PredictionBytes::kFields, PredictionBytes::kLength));

template <size_t N>
void encodePicks(PredictionBytes& b, const Int16Field& f, const std::array<PickEntry, N>& picks) {
    for (size_t k = 0; k < N; ++k) {
        b.setInt16(f, int(2 * k + 1), picks[k].code);
        b.setInt16(f, int(2 * k + 2), picks[k].flag);
    }
}

template <size_t N>
void decodePicks(const PredictionBytes& b, const Int16Field& f, std::array<PickEntry, N>& picks) {
    for (size_t k = 0; k < N; ++k) {
        picks[k].code = b.int16(f, int(2 * k + 1));
        picks[k].flag = b.int16(f, int(2 * k + 2));
    }
}

// A text field of a record read from `available` bytes: the part that was there, nothing of the
// zero padding behind a short buffer.
QString textWithin(QByteArrayView field, int offset, qsizetype available) {
    if (offset >= available)
        return QString();
    return fromSjis(field.first(std::min<qsizetype>(field.size(), available - offset)));
}

}  // namespace

QByteArray encodePrediction(const PredictionRecord& rec) {
    using P = PredictionBytes;
    P b;
    b.setText(P::raceDate, rec.raceDate);
    b.setText(P::venueCode, rec.venueCode);
    b.setInt16(P::meeting, rec.meeting);
    b.setInt16(P::dayNo, rec.dayNo);
    b.setInt16(P::raceNo, rec.raceNo);
    b.setInt16(P::runnerCount, rec.runnerCount);
    // The sub-records are written in place (the record starts as zero bytes, as they do).
    for (int i = 0; i < kPredictionRunners; ++i) {
        const PredictedRunner& runner = rec.runners[size_t(i)];
        for (int j = 0; j < kPredictionPastRuns; ++j) {
            const PredictedPastRun& p = runner.pastRuns[size_t(j)];
            const int at = P::pastRun(i, j).offset;
            auto text = [&](const auto& f, const QString& value) { b.setText(f.shifted(at), value); };
            auto i16 = [&](const Int16Field& f, std::int16_t value) { b.setInt16(f.shifted(at), value); };
            text(PastRunBytes::venueCode, p.venueCode);
            text(PastRunBytes::meeting, p.meeting);
            text(PastRunBytes::day, p.day);
            text(PastRunBytes::date, p.date);
            text(PastRunBytes::raceNo, p.raceNo);
            text(PastRunBytes::track, p.track);
            i16(PastRunBytes::distance, p.distance);
            text(PastRunBytes::fieldSize, p.fieldSize);
            text(PastRunBytes::finish, p.finish);
            text(PastRunBytes::popularity, p.popularity);
            i16(PastRunBytes::figure, p.figure);
            text(PastRunBytes::odds, p.odds);
        }
        const int at = P::runner(i).offset;
        b.setText(RunnerBytes::horseCode.shifted(at), runner.horseCode);
        for (int g = 0; g < 4; ++g)
            for (int c = 0; c < 4; ++c)
                b.setInt16(RunnerBytes::courseRecord.shifted(at), 1 + 4 * g + c,
                           runner.courseRecord[size_t(g)][size_t(c)]);
        b.setInt16(RunnerBytes::courseRecordTotal.shifted(at), runner.courseRecordTotal);
        for (int c = 0; c < 4; ++c)
            b.setInt16(RunnerBytes::otherRecord.shifted(at), 1 + c, runner.otherRecord[size_t(c)]);
        b.setInt16(P::indexRank, 1 + 2 * i, runner.index);
        b.setInt16(P::indexRank, 2 + 2 * i, runner.rank);
    }
    encodePicks(b, P::winPicks, rec.winPicks);
    encodePicks(b, P::smallPicks, rec.smallPicks);
    encodePicks(b, P::quinellaPicks, rec.quinellaPicks);
    b.setText(P::startTime, rec.startTime);
    b.setLineEnd();
    return b.bytes();
}

PredictionRecord decodePrediction(QByteArrayView bytes) {
    using P = PredictionBytes;
    const P b(bytes);
    const qsizetype available = bytes.size();
    auto text = [&]<FieldKind K>(const FieldOf<K>& f, int base = 0) requires TextualKind<K> { return textWithin(b.raw(f.shifted(base)), base + f.offset, available); };
    PredictionRecord rec;
    rec.raceDate = text(P::raceDate);
    rec.venueCode = text(P::venueCode);
    rec.meeting = b.int16(P::meeting);
    rec.dayNo = b.int16(P::dayNo);
    rec.raceNo = b.int16(P::raceNo);
    rec.runnerCount = b.int16(P::runnerCount);
    for (int i = 0; i < kPredictionRunners; ++i) {
        PredictedRunner& runner = rec.runners[size_t(i)];
        for (int j = 0; j < kPredictionPastRuns; ++j) {
            PredictedPastRun& p = runner.pastRuns[size_t(j)];
            const int at = P::pastRun(i, j).offset;
            auto i16 = [&](const Int16Field& f) { return b.int16(f.shifted(at)); };
            p.venueCode = text(PastRunBytes::venueCode, at);
            p.meeting = text(PastRunBytes::meeting, at);
            p.day = text(PastRunBytes::day, at);
            p.date = text(PastRunBytes::date, at);
            p.raceNo = text(PastRunBytes::raceNo, at);
            p.track = text(PastRunBytes::track, at);
            p.distance = i16(PastRunBytes::distance);
            p.fieldSize = text(PastRunBytes::fieldSize, at);
            p.finish = text(PastRunBytes::finish, at);
            p.popularity = text(PastRunBytes::popularity, at);
            p.figure = i16(PastRunBytes::figure);
            p.odds = text(PastRunBytes::odds, at);
        }
        const int at = P::runner(i).offset;
        auto i16 = [&](const Int16Field& f, int k = 1) { return b.int16(f.shifted(at), k); };
        runner.horseCode = text(RunnerBytes::horseCode, at);
        for (int g = 0; g < 4; ++g)
            for (int c = 0; c < 4; ++c)
                runner.courseRecord[size_t(g)][size_t(c)] = i16(RunnerBytes::courseRecord, 1 + 4 * g + c);
        runner.courseRecordTotal = i16(RunnerBytes::courseRecordTotal);
        for (int c = 0; c < 4; ++c)
            runner.otherRecord[size_t(c)] = i16(RunnerBytes::otherRecord, 1 + c);
        runner.index = b.int16(P::indexRank, 1 + 2 * i);
        runner.rank = b.int16(P::indexRank, 2 + 2 * i);
    }
    decodePicks(b, P::winPicks, rec.winPicks);
    decodePicks(b, P::smallPicks, rec.smallPicks);
    decodePicks(b, P::quinellaPicks, rec.quinellaPicks);
    rec.startTime = text(P::startTime);
    return rec;
}

QString predictionFilePath(const QString& dataDir, const QString& yyyymmdd) {
    return dataDir + yyyymmdd + QStringLiteral(".DAT");
}

namespace {

qsizetype recordCount(qint64 fileSize) {
    return static_cast<qsizetype>(ToInt32(static_cast<double>(fileSize) / kPredictionRecordLength));
}

}  // namespace

std::optional<std::vector<PredictionRecord>> readPredictionFile(const QString& path) {
    const std::optional<QByteArray> read = readRegularFile(path);
    if (!read) {
        return std::nullopt;
    }
    const QByteArray& all = *read;
    const qsizetype n = recordCount(all.size());
    std::vector<PredictionRecord> records;
    records.reserve(static_cast<size_t>(n));
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype from = k * kPredictionRecordLength;
        const qsizetype len = std::min<qsizetype>(kPredictionRecordLength, all.size() - from);
        records.push_back(decodePrediction(QByteArrayView(all).sliced(from, len)));
    }
    return records;
}

std::optional<PredictionRecord> readPredictionRecord(const QString& path, int recordNo) {
    QFile file(path);
    if (recordNo < 1 || !isRegularFile(path) || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    if (recordNo > recordCount(file.size())) {
        return std::nullopt;
    }
    if (!file.seek(static_cast<qint64>(recordNo - 1) * kPredictionRecordLength)) {
        return std::nullopt;
    }
    return decodePrediction(file.read(kPredictionRecordLength));
}

QByteArray encodePredictionFile(const std::vector<PredictionRecord>& records) {
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(records.size()) * kPredictionRecordLength);
    for (const PredictionRecord& rec : records)
        bytes.append(encodePrediction(rec));
    return bytes;
}

bool writePredictionFile(const QString& path, const std::vector<PredictionRecord>& records) {
    return SafeSave::save(path, encodePredictionFile(records)).ok();
}

}  // namespace zm
