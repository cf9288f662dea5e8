// Any bytes as a predicted-odds record converted into every PAT layout: no crash, and every
// record exactly its layout's length.

#include "pat/odds_convert.h"
#include "pat/pat_files.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zm::OddsRecord record(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (zm::pat::Zo95Bytes(record).size() != zm::pat::Zo95Record::kLength ||
        zm::pat::Zo31Bytes(record).size() != zm::pat::Zo31Record::kLength ||
        zm::pat::Uo98Bytes(record).size() != zm::pat::Uo98Record::kLength ||
        zm::pat::Uo95Bytes(record).size() != zm::pat::Uo95Record::kLength ||
        zm::pat::Uo31Bytes(record).size() != zm::pat::Uo31Record::kLength)
        std::abort();
    (void)zm::pat::ConvFileCode(record, *zm::pat::patFormat(zm::pat::PatVer::V95));
    (void)zm::pat::ConvRaceStatus(record);
    return 0;
}
