// Any bytes as a PAT odds file of each generation, looked up with every kind: no crash, and
// every answer six characters.

#include "pat/pat_files.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The first bytes also choose a combination, so that odd ones are tried as well.
    const QString picked = QString::fromLatin1(file.first(std::min<qsizetype>(5, file.size())));
    for (const char16_t* kind : {u"単", u"複", u"枠", u"馬", u"ワ", u"拡"}) {
        for (const QString& combination : {QStringLiteral("5"), QStringLiteral("  1-8"), QStringLiteral("05-12"), picked}) {
            const QString k = QString::fromUtf16(kind);
            if (zm::PatOdds98FromBytes(file, k, combination).size() != 6 ||
                zm::PatOdds95FromBytes(file, k, combination).size() != 6 ||
                zm::PatOdds31FromBytes(file, k, combination).size() != 6)
                std::abort();
        }
    }
    return 0;
}
