#pragma once

// Any bytes read as a contest text: no crash, no hang, and every bet read obeys the readers'
// limits (races 1-12, numbers 1-18 or brackets 1-8, two different numbers in a quinella or wide
// pair, at most six of a type in a race entry, a venue without blanks or commas, a message
// whenever the text is refused).

#include "export/contest_readers.h"

#include <cstdint>
#include <cstdlib>

inline int fuzzContestReader(const std::uint8_t* data, std::size_t size, zm::ContestFormat format) {
    using zm::ContestBetType;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& code : {QStringLiteral("A917"), QStringLiteral("0863")}) {
        const auto r = zm::readContestFile(bytes, format, u"20261205", code);
        if (!r.ok()) {
            if (r.message() != zm::contestLineGuardMessage())
                std::abort();
            continue;
        }
        for (const zm::ContestBet& b : r.value()) {
            const bool pair = b.type == ContestBetType::Bracket || b.type == ContestBetType::Quinella ||
                              b.type == ContestBetType::Wide;
            const int top = b.type == ContestBetType::Bracket ? 8 : 18;
            if (b.race < 1 || b.race > 12 || b.first < 1 || b.first > top || b.stake < 0 ||
                b.venue.isEmpty() || b.venue.contains(u',') || b.venue.contains(u' '))
                std::abort();
            if (pair ? (b.second < 1 || b.second > top || (b.type != ContestBetType::Bracket && b.first == b.second))
                     : b.second != 0)
                std::abort();
        }
    }
    return 0;
}
