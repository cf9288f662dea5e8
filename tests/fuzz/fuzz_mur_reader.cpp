// Any bytes read as a service contest text.

#include "contest_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzContestReader(data, size, zm::ContestFormat::Mur);
}
