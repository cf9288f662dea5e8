// Any record contents inside a race-card archive: the race, entries and horse work files (input
// parts separated by "\n--\n") go through the whole import and prediction of a day. No crash,
// and the day is either imported whole or not at all.

#include "app/file_set.h"
#include "fuzz_support.h"
#include "import/day_import.h"
#include "day/day_pipeline.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zm::fuzz::Home& h = zm::fuzz::home();
    h.clear();
    const auto p = zm::fuzz::parts(data, size, 3);
    zm::fuzz::write(h.paths.WorkDir + QStringLiteral("mur_den1.kd2"), p[0]);
    zm::fuzz::write(h.paths.WorkDir + QStringLiteral("mur_den2.kd2"), p[1]);
    zm::fuzz::write(h.paths.WorkDir + QStringLiteral("mur_uma.kd2"), p[2]);
    const bool done = zm::DayRun(h.ctx, zm::DaySteps::predictionOnly()).ok();
    zm::FinishFileSets();  // the end of the commit, which runs in the background
    const QStringList left = QDir(h.paths.DataDir).entryList(QDir::Files);
    for (const QString& name : left) {
        if (name.contains(QStringLiteral(".zmnew")) || name.contains(QStringLiteral("journal")))
            std::abort();  // a set left half done
    }
    if (!done && !left.isEmpty())
        std::abort();  // a failed import wrote a file
    return 0;
}
