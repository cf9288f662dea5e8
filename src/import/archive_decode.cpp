#include "import/archive_decode.h"

#include "codes/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <numeric>

extern "C" {
#include <lha_decoder.h>
}

namespace zm {

namespace {

// The packed data of one member, handed to the decoder as it asks for it.
struct PackedData {
    const unsigned char* at = nullptr;
    std::size_t left = 0;
};

std::size_t readPacked(void* buf, std::size_t len, void* handle) {
    auto* p = static_cast<PackedData*>(handle);
    const std::size_t n = std::min(len, p->left);
    std::memcpy(buf, p->at, n);
    p->at += n;
    p->left -= n;
    return n;
}

struct DecoderDeleter {
    void operator()(LHADecoder* d) const { lha_decoder_free(d); }
};

// lha_reader_read hands back short data and data with a wrong CRC without a word, and
// lha_reader_extract, which compares, gives the data only to a file. The decoder keeps the CRC
// and the length of what it gave out: the data is passed over once.
bool unpackOne(const PackedMember& p, QByteArray& data) {
    data.resize(static_cast<qsizetype>(p.length));
    LHADecoderType* type = lha_decoder_for_name(const_cast<char*>(p.method.data()));
    if (type == nullptr)
        return false;
    PackedData packed{p.packed, p.packedLength};
    const std::unique_ptr<LHADecoder, DecoderDeleter> decoder(lha_decoder_new(type, readPacked, &packed, p.length));
    if (!decoder)
        return false;
    // One read fills the buffer unless the packed data runs out first.
    auto* out = reinterpret_cast<std::uint8_t*>(data.data());
    const std::size_t got = p.length == 0 ? 0 : lha_decoder_read(decoder.get(), out, p.length);
    return got == p.length && lha_decoder_get_length(decoder.get()) == p.length &&
           lha_decoder_get_crc(decoder.get()) == p.crc;
}

// Below this much data a second thread costs more than it saves.
constexpr std::size_t kSideBySideBytes = 256 * 1024;

}  // namespace

bool unpackMembers(const std::vector<PackedMember>& packed) {
    // The largest first: with two threads the horse file goes on one while the others share the
    // second.
    std::vector<std::size_t> order(packed.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return packed[a].length > packed[b].length; });
    std::atomic<bool> damaged{false};
    std::size_t total = 0;
    for (const PackedMember& p : packed)
        total += p.length;
    forEachSideBySide(order.size(), total >= kSideBySideBytes, [&](std::size_t i) {
        const PackedMember& p = packed[order[i]];
        if (!damaged && !unpackOne(p, *p.data))
            damaged = true;
    });
    return !damaged;
}

}  // namespace zm
