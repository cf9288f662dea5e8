#pragma once

// The four-digit key of a bet's selection that orders pending bets within a race and type.

#include <QString>
#include <QStringView>

namespace zm {

// selection as written in the pending-bet file ("5", "1-2", "05-12"), betType a type word of
// which only the first character counts:
//   単, 複      the selection trimmed, "0"-padded to four digits   (5 -> 0005)
//   枠          "00" + the first and last of its last three characters   (1-8 -> 0018)
//   馬, ワ, 拡  each horse number of the pair as two digits   (5-12 -> 0512)
//   otherwise   "0000"
QString BetSortKey(QStringView selection, QStringView betType);

}  // namespace zm
