// Any bytes as a pending-bet file through the strict reader: a file it takes is written by the
// writer and read again to the same bets, and that second writing gives the same bytes.

#include "bets/pending_bet.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (zm::NormalizeRules rules :
         {zm::NormalizeRules{}, zm::NormalizeRules{true, false}, zm::NormalizeRules{false, true}}) {
        const auto first = zm::ParsePendingBets(QStringLiteral("fuzz"), bytes, rules);
        if (!first.ok()) {
            if (first.message().isEmpty())
                std::abort();
            continue;
        }
        const auto written = zm::PendingBetBytes(first->bets);
        if (!written.ok())
            std::abort();
        const auto second = zm::ParsePendingBets(QStringLiteral("fuzz"), *written, rules);
        if (!second.ok() || second->bets != first->bets)
            std::abort();
        const auto again = zm::PendingBetBytes(second->bets);
        if (!again.ok() || *again != *written)
            std::abort();
        for (const auto& b : first->bets) {
            if (!b.stake() || !zm::isValidStake(*b.stake()))
                std::abort();
        }
    }
    return 0;
}
