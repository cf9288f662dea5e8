// Any bytes as a PAT body-weight, win/place or pair file of each generation: no crash, and
// every table full.

#include "pat/odds_read.h"
#include "pat/odds_view.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const auto ver : {zm::PatVer::V31, zm::PatVer::V95, zm::PatVer::V98}) {
        const auto w = zm::bodyWeightsFromBytes(file, ver);
        const auto wp = zm::winPlaceOddsFromBytes(file, ver);
        const auto p = zm::renOddsFromBytes(file, ver);
        if (!w.found || wp.win[17].size() != 5 || p.pairs[152].quinella.isNull())
            std::abort();
    }
    return 0;
}
