// Any bytes as a PAT log (LG, both generations) and as a result file (KS, both generations):
// no crash, the condensed result a whole record, and the judgement of any bet one of the four.

#include "pat/pat_log.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString day = QStringLiteral("20261205");
    zm::DayStake stake;
    stake.day = day;
    zm::addLg95Stake(file, stake);
    zm::addLg31Stake(file, stake);
    std::vector<zm::SeiRecord> sei;
    for (const auto& s : {zm::seiFromKs98(file, day), zm::seiFromKs95(file, day)}) {
        if (s) {
            if (s->bytes().size() != zm::SeiRecord::kLength)
                std::abort();
            (void)zm::resultsRow(*s);
            sei.push_back(*s);
        }
    }
    const auto read = zm::seiRecords(file);
    sei.insert(sei.end(), read.begin(), read.end());
    zm::sortSeiRecords(sei);
    for (const char* type : {"1", "2", "3", "4", "5", "9"}) {
        const auto r = zm::JudgeBet(sei, QStringLiteral("05"), QStringLiteral("05"), QStringLiteral("11"),
                                         QString::fromLatin1(type), QStringLiteral(" 3"), QStringLiteral(" 5"));
        if (static_cast<int>(r.judgement) < 0 || static_cast<int>(r.judgement) > 3)
            std::abort();
    }
    return 0;
}
