// Any bytes given to the archive reader: no crash, no hang, and what it accepts is safe to
// write under a destination folder.

#include "import/archive.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString message;
    const auto members = zm::readArchive(
        QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
        QStringLiteral("F.LZH"), message);
    if (!members) {
        if (message.isEmpty()) {
            std::abort();  // a refusal must always say why
        }
        return 0;
    }
    qint64 total = 0;
    for (const auto& m : *members) {
        const QStringList parts = m.path.split(QLatin1Char('/'));
        if (m.path.isEmpty() || m.path.startsWith(QLatin1Char('/')) || m.path.contains(QLatin1Char(':')) ||
            m.path.contains(QLatin1Char('\\')) || parts.contains(QStringLiteral("..")) ||
            parts.contains(QString()) || (m.isDir && !m.data.isEmpty())) {
            std::abort();
        }
        total += m.data.size();
    }
    if (total > zm::kMaxUnpackedBytes || static_cast<qsizetype>(members->size()) > zm::kMaxMembers) {
        std::abort();
    }
    return 0;
}
