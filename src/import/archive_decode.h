#pragma once

// The data of an archive's members, unpacked with liblhasa's decoders straight from the
// archive's bytes. The members are independent of one another: a day's archive is unpacked on
// two cores at once, its large horse file on one and the rest on the other.

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zm {

// One member's packed data, as its header describes it.
struct PackedMember {
    QByteArray* data = nullptr;            // where the member's data goes
    const unsigned char* packed = nullptr;  // inside the archive's bytes, which outlive the unpacking
    std::size_t packedLength = 0;
    std::size_t length = 0;               // unpacked
    std::uint16_t crc = 0;
    std::array<char, 6> method{};          // "-lh5-", ...
};

// Unpacks each member's data into *p.data, its length and CRC checked against its header. False
// as soon as one of them is damaged (what the others hold is then of no use).
bool unpackMembers(const std::vector<PackedMember>& packed);

}  // namespace zm
