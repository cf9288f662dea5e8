// Any data through our writer and back through the reader (liblhasa's decoder) unchanged.

#include "import/archive.h"
#include "import/lzh_encode.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Stretch the input so that long matches, far distances and several blocks are reached.
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (!bytes.isEmpty() && (static_cast<unsigned char>(bytes[0]) & 1U)) {
        bytes = bytes.repeated(1 + static_cast<unsigned char>(bytes[0]) % 64);
    }
    const std::vector<zm::ArchiveMember> in = {{QStringLiteral("A.KD2"), bytes}};
    QString message;
    const auto out = zm::readArchive(zm::writeArchive(in), QStringLiteral("F.LZH"), message);
    if (!out || out->size() != 1 || out->front().data != bytes) {
        std::abort();
    }
    // The compressed form alone must decode too (the writer may have stored it uncompressed).
    const QByteArray packed = zm::lzhCompressLh5(bytes);
    if (bytes.size() > 0 && packed.isEmpty()) {
        std::abort();
    }
    return 0;
}
