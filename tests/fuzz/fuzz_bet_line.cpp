// Any bytes as pending-bet lines: a line the strict line reader takes keeps the record's widths,
// and both layouts of it (every rewrite's and the bet output's) read back as the same bet.
// Nothing crashes.

#include "bets/pending_bet.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = zm::fromSjis(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (const QStringView line : zm::LinesOf(text)) {
        for (zm::NormalizeRules rules :
             {zm::NormalizeRules{}, zm::NormalizeRules{true, false}, zm::NormalizeRules{false, true}}) {
            const auto bet = zm::ParsePendingBetLine(line, rules);
            if (!bet.ok()) {
                if (bet.message().isEmpty())
                    std::abort();
                continue;
            }
            const zm::PendingBet& b = *bet;
            if (b.Venue.size() != 2 || b.Race.size() != 3 || b.BetType.size() != 6 || b.Combination.size() != 5 ||
                b.Odds.size() != 6 || b.Amount.size() < 7)
                std::abort();
            for (zm::BetLineForm form : {zm::BetLineForm::Rewrite, zm::BetLineForm::Output}) {
                const auto back = zm::ParsePendingBetLine(zm::PendingBetLineText(b, form), rules);
                if (!back.ok() || *back != b)
                    std::abort();
            }
        }
    }
    return 0;
}
