// Any bytes as the stored win model: it loads or is refused with a message naming the file; a
// model that loads gives chances that are numbers summing to 1, and saves and loads back alike.

#include "analysis/model_days.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("winmodel.json"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const auto stored = zm::loadModel(path);
    if (!stored) {
        if (!stored.message().contains(path))
            std::abort();
        return 0;
    }
    const std::vector<zm::WinFeatures> runners = {
        zm::winFeatures(120, 120, 1, 3, u'◎'), zm::winFeatures(110, 120, 2, 3, u'○'), zm::winFeatures(90, 120, 3, 3, u' ')};
    double sum = 0;
    for (double c : stored->model.chances(runners)) {
        if (!std::isfinite(c) || c < 0 || c > 1)
            std::abort();
        sum += c;
    }
    if (std::abs(sum - 1) > 1e-9)
        std::abort();
    const QString again = dir.filePath(QStringLiteral("again.json"));
    if (!zm::saveModel(again, *stored))
        return 0;
    const auto back = zm::loadModel(again);
    if (!back || back->model.beta != stored->model.beta || back->days != stored->days)
        std::abort();
    return 0;
}
