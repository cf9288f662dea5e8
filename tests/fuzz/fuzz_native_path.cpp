// Any bytes as a path from the command line: decoded and encoded back, the same bytes; the text
// shown for it has no control characters and no stray surrogate.

#include "app/file_names.h"
#include "codes/sjis.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = zm::decodeNativePath(bytes);
    if (zm::encodeNativePath(text) != bytes)
        std::abort();
    const QString shown = zm::escapeControls(text);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t c = shown.at(i).unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            std::abort();
        if (shown.at(i).isLowSurrogate() && (i == 0 || !shown.at(i - 1).isHighSurrogate()))
            std::abort();
    }
    return 0;
}
