// The fuzz corpora of the log, result, body-weight and conversion readers replayed: no crash,
// every record its layout's length.

#include "pat/odds_read.h"
#include "pat/odds_convert.h"
#include "pat/odds_view.h"
#include "pat/pat_files.h"
#include "pat/pat_log.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zm {
namespace {

std::vector<QByteArray> corpus(const char* name) {
    const QString dir = QStringLiteral(ZENOMUR_TEST_DATA_DIR "/") + QString::fromLatin1(name);
    std::vector<QByteArray> out;
    for (const QString& file : QDir(dir).entryList(QDir::Files)) {
        QFile f(dir + "/" + file);
        if (f.open(QIODevice::ReadOnly))
            out.push_back(f.readAll());
    }
    return out;
}

TEST(PatCorpus, LogsAndResults) {
    const auto files = corpus("pat-log-corpus");
    ASSERT_FALSE(files.empty());
    for (const QByteArray& bytes : files) {
        DayStake stake;
        stake.day = "20261205";
        addLg95Stake(bytes, stake);
        addLg31Stake(bytes, stake);
        std::vector<SeiRecord> sei = seiRecords(bytes);
        for (const auto& s : {seiFromKs98(bytes, "20261205"), seiFromKs95(bytes, "20261205")}) {
            if (s) {
                EXPECT_EQ(s->bytes().size(), SeiRecord::kLength);
                EXPECT_EQ(resultsRow(*s).size(), resultsColumns().size());
                sei.push_back(*s);
            }
        }
        sortSeiRecords(sei);
        for (const char* type : {"1", "2", "3", "4", "5", "0"})
            (void)JudgeBet(sei, "05", "05", "11", type, " 3", " 5");
    }
}

TEST(PatCorpus, WeightsAndOddsViews) {
    const auto files = corpus("pat-ut-corpus");
    ASSERT_FALSE(files.empty());
    for (const QByteArray& bytes : files) {
        for (const auto ver : {PatVer::V31, PatVer::V95, PatVer::V98}) {
            EXPECT_TRUE(bodyWeightsFromBytes(bytes, ver).found);
            EXPECT_EQ(winPlaceOddsFromBytes(bytes, ver).win[0].size(), 5);
            EXPECT_EQ(renOddsFromBytes(bytes, ver).pairs[0].quinella.size(), 6);
        }
    }
}

TEST(PatCorpus, Conversion) {
    const auto files = corpus("odds-convert-corpus");
    ASSERT_FALSE(files.empty());
    for (const QByteArray& bytes : files) {
        const OddsRecord r(bytes);
        EXPECT_EQ(Zo95Bytes(r).size(), Zo95Record::kLength);
        EXPECT_EQ(Zo31Bytes(r).size(), Zo31Record::kLength);
        EXPECT_EQ(Uo98Bytes(r).size(), Uo98Record::kLength);
        EXPECT_EQ(Uo95Bytes(r).size(), Uo95Record::kLength);
        EXPECT_EQ(Uo31Bytes(r).size(), Uo31Record::kLength);
    }
}

}  // namespace
}  // namespace zm
