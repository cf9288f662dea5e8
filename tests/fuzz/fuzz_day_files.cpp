// Any bytes as a day's files read back: the race day file, the entries day file, the prediction
// file and the odds day file (input parts separated by "\n--\n"). The card loads the day and
// every race of it without a crash, and a damaged day is named.

#include "card/cardday.h"
#include "card/predicted_odds.h"
#include "fuzz_support.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zm::fuzz::Home& h = zm::fuzz::home();
    h.clear();
    const auto p = zm::fuzz::parts(data, size, 4);
    const QString day = QStringLiteral("20261205");
    const QString dir = h.paths.DataDir;
    zm::fuzz::write(dir + QStringLiteral("MUR") + day + QStringLiteral("_1.DEN"), p[0]);
    zm::fuzz::write(dir + QStringLiteral("MUR") + day + QStringLiteral("_2.DEN"), p[1]);
    zm::fuzz::write(dir + day + QStringLiteral(".DAT"), p[2]);
    zm::fuzz::write(dir + QStringLiteral("MURODDS") + day + QStringLiteral(".DAT"), p[3]);
    zm::DayCard card;
    const zm::DayLoad loaded = zm::LoadDay(dir, day, card);
    if (loaded == zm::DayLoad::Damaged && card.problem.isEmpty())
        std::abort();
    if (loaded != zm::DayLoad::Ok)
        return 0;
    for (int frame = 1; frame <= 3; ++frame) {
        for (int row = 1; row <= 12; ++row) {
            if (const auto race = zm::LoadRace(dir, card, frame, row)) {
                if (race->rows.size() > 18)
                    std::abort();
            }
        }
    }
    return 0;
}
