// Any bytes as a predicted-odds record converted into every PAT layout: no crash, and every
// record exactly its layout's length.

#include "pat/odds_convert.h"
#include "pat/pat_files.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zm::OddsRecord record(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (zm::Zo95Bytes(record).size() != zm::Zo95Record::kLength ||
        zm::Zo31Bytes(record).size() != zm::Zo31Record::kLength ||
        zm::Uo98Bytes(record).size() != zm::Uo98Record::kLength ||
        zm::Uo95Bytes(record).size() != zm::Uo95Record::kLength ||
        zm::Uo31Bytes(record).size() != zm::Uo31Record::kLength)
        std::abort();
    (void)zm::ConvFileCode(record, *zm::patFormat(zm::PatVer::V95));
    (void)zm::ConvRaceStatus(record);
    return 0;
}
