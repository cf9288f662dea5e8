// Any bytes as a pending-bet file: every line split, normalized and written back keeps the
// record's widths; nothing crashes.

#include "bets/pending_bet.h"
#include "codes/sjis.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = zm::fromSjis(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const QString& line : zm::splitLines(text)) {
        const zm::BetLine fields = zm::ReadBetLine(line);
        for (zm::NormalizeRules rules : {zm::NormalizeRules{}, zm::NormalizeRules{true, false}, zm::NormalizeRules{false, true}}) {
            const zm::PendingBet b = zm::NormalizeBet(fields, rules);
            if (b.Venue.size() != 2 || b.Race.size() != 3 || b.BetType.size() != 6 || b.Combination.size() != 5 ||
                b.Odds.size() != 6 || b.Amount.size() < 7)
                std::abort();
            if (zm::WriteAllBytes({b}).isEmpty())
                std::abort();
        }
    }
    return 0;
}
