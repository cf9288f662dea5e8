#include "predict/prediction_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zm {
namespace {

std::int16_t le16(const QByteArray& b, int at) {
    return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

PredictionRecord sampleRecord() {
    PredictionRecord rec;
    rec.raceDate = QStringLiteral("20010915");
    rec.venueCode = QStringLiteral("04");
    rec.meeting = 4;
    rec.dayNo = 3;
    rec.raceNo = 11;
    rec.runnerCount = 16;
    rec.startTime = QStringLiteral("1540");
    for (int i = 0; i < kPredictionRunners; ++i) {
        PredictedRunner& r = rec.runners[static_cast<size_t>(i)];
        r.horseCode = QString::number(1000000 + i);
        r.courseRecord[1][2] = static_cast<std::int16_t>(i);
        r.courseRecordTotal = static_cast<std::int16_t>(100 + i);
        r.otherRecord[3] = -2;
        r.index = static_cast<std::int16_t>(35 + i);
        r.rank = static_cast<std::int16_t>(i + 1);
        for (int j = 0; j < kPredictionPastRuns; ++j) {
            PredictedPastRun& p = r.pastRuns[static_cast<size_t>(j)];
            p.venueCode = QStringLiteral("05");
            p.meeting = QStringLiteral("2");
            p.day = QStringLiteral("8");
            p.date = QStringLiteral("20010826");
            p.raceNo = QStringLiteral("12");
            p.track = QStringLiteral("1");
            p.distance = static_cast<std::int16_t>(1000 + 100 * j + i);
            p.fieldSize = QStringLiteral("16");
            p.finish = QStringLiteral(" 3");
            p.popularity = QStringLiteral(" 1");
            p.figure = static_cast<std::int16_t>(j * 18 + i);
            p.odds = QStringLiteral("  12.3");
        }
    }
    rec.winPicks[0] = {7, 1};
    rec.smallPicks[6] = {18, 1};
    rec.quinellaPicks[9] = {1516, 1};
    return rec;
}

TEST(PredictionFile, PackedOffsetsOfEveryArea) {
    const QByteArray b = encodePrediction(sampleRecord());
    ASSERT_EQ(b.size(), kPredictionRecordLength);
    EXPECT_EQ(b.left(10), QByteArray("2001091504"));
    EXPECT_EQ(le16(b, 10), 4);
    EXPECT_EQ(le16(b, 14), 11);
    EXPECT_EQ(le16(b, 16), 16);
    // Runner 2, run 3: 18 + 51 * ((2 - 1) + 18 * (3 - 1)).
    const int pr = 18 + 51 * (1 + 18 * 2);
    EXPECT_EQ(b.mid(pr, 15), QByteArray("052820010826121"));
    EXPECT_EQ(le16(b, pr + 15), 1201);
    EXPECT_EQ(b.mid(pr + 17, 6), QByteArray("16 3 1"));
    EXPECT_EQ(le16(b, pr + 23), 37);
    EXPECT_EQ(b.mid(pr + 25, 6), QByteArray("  12.3"));
    EXPECT_EQ(b.mid(pr + 31, 20), QByteArray(20, '\0'));
    // Runner 18 entry.
    const int ru = 4608 + 99 * 17;
    EXPECT_EQ(b.mid(ru, 7), QByteArray("1000017"));
    EXPECT_EQ(le16(b, ru + 7 + 8 * 1 + 2 * 2), 17);
    EXPECT_EQ(le16(b, ru + 39), 117);
    EXPECT_EQ(le16(b, ru + 41 + 6), -2);
    EXPECT_EQ(b.mid(ru + 49, 50), QByteArray(50, '\0'));
    EXPECT_EQ(le16(b, 6390 + 4 * 17), 52);
    EXPECT_EQ(le16(b, 6390 + 4 * 17 + 2), 18);
    EXPECT_EQ(le16(b, 6462), 7);
    EXPECT_EQ(le16(b, 6464), 1);
    EXPECT_EQ(b.mid(6474, 12), QByteArray(12, '\0'));
    EXPECT_EQ(le16(b, 6486 + 24), 18);
    EXPECT_EQ(le16(b, 6526 + 36), 1516);
    EXPECT_EQ(b.mid(6566, 36), QByteArray(36, '\0'));
    EXPECT_EQ(b.mid(6602, 6), QByteArray("1540\r\n"));
}

TEST(PredictionFile, BlankTextFieldsArePaddedWithBlanks) {
    const QByteArray b = encodePrediction(PredictionRecord{});
    EXPECT_EQ(b.left(10), QByteArray(10, ' '));
    EXPECT_EQ(b.mid(18, 2), QByteArray(2, ' '));
    EXPECT_EQ(b.mid(18 + 17, 6), QByteArray(6, ' '));
    EXPECT_EQ(b.mid(4608, 7), QByteArray(7, ' '));
}

TEST(PredictionFile, WriteAndReadBackEveryField) {
    QTemporaryDir dir;
    const QString path = predictionFilePath(dir.path() + u'/', QStringLiteral("20010915"));
    PredictionRecord second = sampleRecord();
    second.raceNo = 12;
    ASSERT_TRUE(writePredictionFile(path, {sampleRecord(), second}));
    EXPECT_EQ(QFileInfo(path).size(), 2 * kPredictionRecordLength);
    const auto all = readPredictionFile(path);
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ((*all)[0], sampleRecord());
    EXPECT_EQ((*all)[1], second);
    EXPECT_EQ(readPredictionRecord(path, 2), second);
    EXPECT_FALSE(readPredictionRecord(path, 3).has_value());
    EXPECT_FALSE(readPredictionFile(path + u'x').has_value());
}

TEST(PredictionFile, TrailingPartialRecordCountsFromHalf) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/20010915.DAT");
    const QByteArray one = encodePrediction(sampleRecord());
    const struct {
        int extra;
        size_t records;
    } cases[] = {{0, 1}, {kPredictionRecordLength / 2 - 1, 1}, {kPredictionRecordLength / 2 + 1, 2}};
    for (const auto& c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(one);
        f.write(one.left(c.extra));
        f.close();
        const auto all = readPredictionFile(path);
        ASSERT_TRUE(all.has_value());
        EXPECT_EQ(all->size(), c.records) << c.extra;
    }
}

}  // namespace
}  // namespace zm
