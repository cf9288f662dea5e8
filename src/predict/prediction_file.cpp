#include "predict/prediction_file.h"

#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/sjis.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

namespace zm {

namespace {

constexpr int kPastRunOffset = 18;
constexpr int kPastRunLength = 51;
constexpr int kRunnerOffset = 4608;
constexpr int kRunnerLength = 99;
constexpr int kIndexOffset = 6390;
constexpr int kWinOffset = 6462;
constexpr int kSmallOffset = 6486;
constexpr int kQuinellaOffset = 6526;
constexpr int kStartTimeOffset = 6602;
constexpr int kLineEndOffset = 6606;

static_assert(kPastRunOffset + kPastRunLength * kPredictionRunners * kPredictionPastRuns == kRunnerOffset);
static_assert(kRunnerOffset + kRunnerLength * kPredictionRunners == kIndexOffset);
static_assert(kIndexOffset + 4 * kPredictionRunners == kWinOffset);
static_assert(kQuinellaOffset + 40 + 36 == kStartTimeOffset);
static_assert(kLineEndOffset + 2 == kPredictionRecordLength);

int pastRunAt(int runner, int run) {
    return kPastRunOffset + kPastRunLength * (runner + kPredictionRunners * run);
}

class Writer {
public:
    explicit Writer(QByteArray& b) : b_(b) {}
    void text(int at, const QString& s, int width) {
        const QByteArray bytes = padSjis(s, width);
        std::memcpy(b_.data() + at, bytes.constData(), static_cast<size_t>(width));
    }
    void i16(int at, std::int16_t v) {
        const auto u = static_cast<std::uint16_t>(v);
        b_[at] = static_cast<char>(u & 0xFF);
        b_[at + 1] = static_cast<char>(u >> 8);
    }

private:
    QByteArray& b_;
};

class Reader {
public:
    explicit Reader(QByteArrayView b) : b_(b) {}
    QString text(int at, int width) const {
        if (at >= b_.size()) {
            return QString();
        }
        return fromSjis(b_.sliced(at, std::min<qsizetype>(width, b_.size() - at)));
    }
    std::int16_t i16(int at) const {
        const auto lo = at < b_.size() ? static_cast<unsigned char>(b_[at]) : 0u;
        const auto hi = at + 1 < b_.size() ? static_cast<unsigned char>(b_[at + 1]) : 0u;
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    }

private:
    QByteArrayView b_;
};

void encodePicks(Writer& w, int at, const auto& picks) {
    for (size_t k = 0; k < picks.size(); ++k) {
        w.i16(at + 4 * static_cast<int>(k), picks[k].code);
        w.i16(at + 4 * static_cast<int>(k) + 2, picks[k].flag);
    }
}

void decodePicks(const Reader& r, int at, auto& picks) {
    for (size_t k = 0; k < picks.size(); ++k) {
        picks[k].code = r.i16(at + 4 * static_cast<int>(k));
        picks[k].flag = r.i16(at + 4 * static_cast<int>(k) + 2);
    }
}

}  // namespace

QByteArray encodePrediction(const PredictionRecord& rec) {
    QByteArray b(kPredictionRecordLength, '\0');
    Writer w(b);
    w.text(0, rec.raceDate, 8);
    w.text(8, rec.venueCode, 2);
    w.i16(10, rec.meeting);
    w.i16(12, rec.dayNo);
    w.i16(14, rec.raceNo);
    w.i16(16, rec.runnerCount);
    for (int i = 0; i < kPredictionRunners; ++i) {
        const PredictedRunner& runner = rec.runners[static_cast<size_t>(i)];
        for (int j = 0; j < kPredictionPastRuns; ++j) {
            const PredictedPastRun& p = runner.pastRuns[static_cast<size_t>(j)];
            const int at = pastRunAt(i, j);
            w.text(at + 0, p.venueCode, 2);
            w.text(at + 2, p.meeting, 1);
            w.text(at + 3, p.day, 1);
            w.text(at + 4, p.date, 8);
            w.text(at + 12, p.raceNo, 2);
            w.text(at + 14, p.track, 1);
            w.i16(at + 15, p.distance);
            w.text(at + 17, p.fieldSize, 2);
            w.text(at + 19, p.finish, 2);
            w.text(at + 21, p.popularity, 2);
            w.i16(at + 23, p.figure);
            w.text(at + 25, p.odds, 6);
        }
        const int at = kRunnerOffset + kRunnerLength * i;
        w.text(at, runner.horseCode, 7);
        for (int g = 0; g < 4; ++g) {
            for (int c = 0; c < 4; ++c) {
                w.i16(at + 7 + 8 * g + 2 * c, runner.courseRecord[static_cast<size_t>(g)][static_cast<size_t>(c)]);
            }
        }
        w.i16(at + 39, runner.courseRecordTotal);
        for (int c = 0; c < 4; ++c) {
            w.i16(at + 41 + 2 * c, runner.otherRecord[static_cast<size_t>(c)]);
        }
        w.i16(kIndexOffset + 4 * i, runner.index);
        w.i16(kIndexOffset + 4 * i + 2, runner.rank);
    }
    encodePicks(w, kWinOffset, rec.winPicks);
    encodePicks(w, kSmallOffset, rec.smallPicks);
    encodePicks(w, kQuinellaOffset, rec.quinellaPicks);
    w.text(kStartTimeOffset, rec.startTime, 4);
    b[kLineEndOffset] = '\r';
    b[kLineEndOffset + 1] = '\n';
    return b;
}

PredictionRecord decodePrediction(QByteArrayView bytes) {
    PredictionRecord rec;
    const Reader r(bytes);
    rec.raceDate = r.text(0, 8);
    rec.venueCode = r.text(8, 2);
    rec.meeting = r.i16(10);
    rec.dayNo = r.i16(12);
    rec.raceNo = r.i16(14);
    rec.runnerCount = r.i16(16);
    for (int i = 0; i < kPredictionRunners; ++i) {
        PredictedRunner& runner = rec.runners[static_cast<size_t>(i)];
        for (int j = 0; j < kPredictionPastRuns; ++j) {
            PredictedPastRun& p = runner.pastRuns[static_cast<size_t>(j)];
            const int at = pastRunAt(i, j);
            p.venueCode = r.text(at + 0, 2);
            p.meeting = r.text(at + 2, 1);
            p.day = r.text(at + 3, 1);
            p.date = r.text(at + 4, 8);
            p.raceNo = r.text(at + 12, 2);
            p.track = r.text(at + 14, 1);
            p.distance = r.i16(at + 15);
            p.fieldSize = r.text(at + 17, 2);
            p.finish = r.text(at + 19, 2);
            p.popularity = r.text(at + 21, 2);
            p.figure = r.i16(at + 23);
            p.odds = r.text(at + 25, 6);
        }
        const int at = kRunnerOffset + kRunnerLength * i;
        runner.horseCode = r.text(at, 7);
        for (int g = 0; g < 4; ++g) {
            for (int c = 0; c < 4; ++c) {
                runner.courseRecord[static_cast<size_t>(g)][static_cast<size_t>(c)] = r.i16(at + 7 + 8 * g + 2 * c);
            }
        }
        runner.courseRecordTotal = r.i16(at + 39);
        for (int c = 0; c < 4; ++c) {
            runner.otherRecord[static_cast<size_t>(c)] = r.i16(at + 41 + 2 * c);
        }
        runner.index = r.i16(kIndexOffset + 4 * i);
        runner.rank = r.i16(kIndexOffset + 4 * i + 2);
    }
    decodePicks(r, kWinOffset, rec.winPicks);
    decodePicks(r, kSmallOffset, rec.smallPicks);
    decodePicks(r, kQuinellaOffset, rec.quinellaPicks);
    rec.startTime = r.text(kStartTimeOffset, 4);
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray all = file.readAll();
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
    if (recordNo < 1 || !file.open(QIODevice::ReadOnly)) {
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

bool writePredictionFile(const QString& path, const std::vector<PredictionRecord>& records) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    for (const PredictionRecord& rec : records) {
        if (file.write(encodePrediction(rec)) != kPredictionRecordLength) {
            file.cancelWriting();
            return false;
        }
    }
    return file.commit();
}

QStringList predictionFileDays(const QString& dataDir) {
    const QStringList names = QDir(dataDir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QStringList days;
    for (const QString& name : names) {
        if (name.size() == 12 && name.right(4).toUpper() == u".DAT") {
            days.append(name.left(8));
            if (days.size() == 1024) {
                break;
            }
        }
    }
    days.sort();
    return days;
}

}  // namespace zm
