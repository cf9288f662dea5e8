#pragma once

// Pending-bet files written and read back as text in the tests.

#include "codes/sjis.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace zm::test {

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

// Lines joined with CR LF, encoded as CP932.
inline QByteArray betBytes(const QStringList& lines) {
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    return toSjis(text);
}

inline QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline QStringList readLines(const QString& path) {
    QStringList lines = fromSjis(readBytes(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace zm::test
