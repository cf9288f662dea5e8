#pragma once

// The pieces of the LHA format that archive creation needs: the CRC-16 every header and every
// member carries, and an -lh5- compressor (LZSS over an 8 KiB window, static Huffman blocks).

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

namespace zm {

// CRC-16 of LHA archives (polynomial 0x8005 reflected = 0xA001, initial value 0), continued
// from crc.
std::uint16_t lzhCrc16(QByteArrayView bytes, std::uint16_t crc = 0);

// The -lh5- compressed form of the data. The result may be larger than the input (random
// data); the caller then stores the member uncompressed.
QByteArray lzhCompressLh5(QByteArrayView data);

}  // namespace zm
