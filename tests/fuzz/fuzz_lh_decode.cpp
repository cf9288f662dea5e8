// Damaged compressed data behind a sound header: the bytes after the first four become the
// data of one member whose method and unpacked length the first four choose. The reader must
// refuse or accept without a crash or a hang; what it accepts must match the header's CRC.

#include "import/archive.h"
#include "import/lzh_encode.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

void le32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    static const char* const kMethods[] = {"-lh5-", "-lh6-", "-lh7-", "-lh1-", "-lh4-", "-lzs-", "-lz5-", "-lh0-"};
    const char* method = kMethods[data[0] % 8];
    const quint32 length = (quint32(data[1]) | (quint32(data[2]) << 8) | (quint32(data[3] & 0x0F) << 16)) *
                           ((data[3] & 0x80) ? 64U : 1U);
    const QByteArray packed(reinterpret_cast<const char*>(data + 4), static_cast<qsizetype>(size - 4));

    // A level-0 header: size, checksum, method, sizes, time, attribute, level, name, CRC.
    QByteArray h;
    h.append(method, 5);
    le32(h, static_cast<quint32>(packed.size()));
    le32(h, length);
    le32(h, 0);
    h.append('\x20');
    h.append('\0');
    h.append('\x05');
    h.append("A.KD2");
    h.append('\0');
    h.append('\0');
    unsigned sum = 0;
    for (const char c : h) {
        sum += static_cast<unsigned char>(c);
    }
    QByteArray archive;
    archive.append(static_cast<char>(h.size()));
    archive.append(static_cast<char>(sum & 0xFF));
    archive += h + packed + '\0';

    QString message;
    const auto members = zm::readArchive(archive, QStringLiteral("F.LZH"), message);
    if (members && (members->size() != 1 || zm::lzhCrc16(members->front().data) != 0 ||
                    members->front().data.size() != static_cast<qsizetype>(length))) {
        std::abort();
    }
    if (!members && message.isEmpty()) {
        std::abort();
    }
    return 0;
}
