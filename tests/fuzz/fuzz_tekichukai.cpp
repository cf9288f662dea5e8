// Any bytes as a pasted 的中会 post: both passes, with and without fixed amounts, and every
// pending-bet line they build has the file's widths and a valid stake; what was read, posted
// again and read back is the same; the post output of any line keeps its seven fields. Nothing
// crashes.

#include "bets/pending_bet.h"
#include "codes/amount.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"
#include "export/tekichukai.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkBetLine(const QString& line) {
    const auto bet = zm::ParsePendingBetLine(line);
    if (!bet.ok() || line.section(u',', 1, 1).size() != 3 || zm::ByteLength(line.section(u',', 2, 2)) != 6 ||
        line.section(u',', 3, 3).size() != 5 || !line.endsWith(u'円') || line.count(u',') != 5)
        std::abort();
    const auto stake = bet->stake();
    if (!stake || !zm::isValidStake(*stake))
        std::abort();
}

// The bets read, posted and read again: the same lines, the same total.
void checkRoundTrip(const zm::TekichukaiImport& read, const QString& day) {
    QString area;
    for (const QString& line : read.lines)
        area += zm::TekichukaiBetLine(zm::ParsePendingBetLine(line, {.keepKaku = true}).value(), day) +
                QStringLiteral("\r\n");
    const QString post = zm::TekichukaiPost(day, area, false, QStringLiteral("0.1.0"));
    const zm::TekichukaiImport again = zm::TekichukaiSecondPass(zm::TekichukaiFirstPass(post, day), {});
    if (again.lines != read.lines || again.total != read.total || again.skipped != 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = zm::decodePostFile(bytes);
    zm::TekichukaiFixedAmounts fixed;
    for (const QString& day : {QStringLiteral("20011014"), text.mid(2, 8)}) {
        const QList<QStringView> kept = zm::TekichukaiFirstPass(text, day);
        for (bool on : {false, true}) {
            fixed.on.fill(on);
            fixed.amount = {text.left(3), QString(), text.right(4), QStringLiteral("99"), QStringLiteral("1250")};
            const zm::TekichukaiImport bets = zm::TekichukaiSecondPass(kept, fixed);
            for (const QString& line : bets.lines)
                checkBetLine(line);
            if (day == QStringLiteral("20011014"))
                checkRoundTrip(bets, day);
        }
    }
    for (const QStringView line : zm::LinesOf(text)) {
        const auto bet = zm::ParsePendingBetLine(line, {.keepKaku = true});
        if (bet.ok() && zm::TekichukaiBetLine(*bet, QStringLiteral("20011014")).count(u',') != 6)
            std::abort();
    }
    zm::RecountTekichukai(text);
    zm::QuinellaToWide(text);
    return 0;
}
