// Any bytes as a PAT log (LG, both generations) and as a result file (KS, both generations):
// no crash, the condensed result a whole record, and the judgement of any bet one of the four.

#include "pat/pat_log.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString day = QStringLiteral("20261205");
    zm::pat::DayStake stake;
    stake.day = day;
    zm::pat::addLg95Stake(file, stake);
    zm::pat::addLg31Stake(file, stake);
    std::vector<zm::pat::SeiRecord> sei;
    for (const auto& s : {zm::pat::seiFromKs98(file, day), zm::pat::seiFromKs95(file, day)}) {
        if (s) {
            if (s->bytes().size() != zm::pat::SeiRecord::kLength)
                std::abort();
            (void)zm::pat::resultsRow(*s);
            sei.push_back(*s);
        }
    }
    const auto read = zm::pat::seiRecords(file);
    sei.insert(sei.end(), read.begin(), read.end());
    zm::pat::sortSeiRecords(sei);
    for (const char* type : {"1", "2", "3", "4", "5", "9"}) {
        const auto r = zm::pat::JudgeBet(sei, QStringLiteral("05"), QStringLiteral("05"), QStringLiteral("11"),
                                         QString::fromLatin1(type), QStringLiteral(" 3"), QStringLiteral(" 5"));
        if (static_cast<int>(r.judgement) < 0 || static_cast<int>(r.judgement) > 3)
            std::abort();
    }
    return 0;
}
