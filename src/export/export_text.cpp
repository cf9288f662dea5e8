#include "export/export_text.h"

#include "app/context.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include "zenomur_version.h"

#include <cmath>

namespace zm {

QString programVersion() {
    return QStringLiteral(ZENOMUR_VERSION);
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += toSjis(line);
        bytes += "\r\n";
    }
    return bytes;
}

int stakeOf(const QString& text) {
    const double hundreds = std::floor(Val(text) / 100.0);
    if (!(hundreds >= 1.0))
        return 100;
    return hundreds > 1e7 ? 1000000000 : static_cast<int>(hundreds) * 100;
}

void reportExportFailure(AppContext& ctx, const Status& status) {
    if (!status.ok())
        ctx.prompter.critical(status.message());
}

}  // namespace zm
