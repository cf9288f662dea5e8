#pragma once

// PAT odds records of all three generations built in memory: every horse h has win odds h + 0.5
// and place odds h / 10 + 1, bracket pair a-b odds a * 10 + b, horse pair a-b quinella odds
// a * 100 + b and wide odds a + b (lower) and a + b + 1 (upper). A scratched horse shows "ﾄﾘｹｼ";
// missing pairs are blank.

#include "pat/pat_files.h"

#include <QByteArray>
#include <QSet>
#include <QString>

namespace zm::test {

inline QString oddsField(double v, int width) {
    return QString::number(v, 'f', 1).rightJustified(width);
}

struct PatRace {
    int runners = 18;
    QSet<int> scratched;
    QSet<int> missingPairsOf;  // pairs with these first horses carry no odds

    QString horseOdds(int h, double v, int width) const {
        return scratched.contains(h) ? QStringLiteral("ﾄﾘｹｼ").rightJustified(width) : oddsField(v, width);
    }
    bool missing(int a) const { return missingPairsOf.contains(a); }
};

template <class Zo>
QByteArray zoRecord(const PatRace& race) {
    Zo r;
    for (int h = 1; h <= race.runners; ++h) {
        auto at = [&](const Field& f) { return f.shifted(Zo::horses.element(h).offset); };
        r.setText(at(Zo::horseNo), QString::number(h).rightJustified(2));
        r.setText(at(Zo::winOdds), race.horseOdds(h, h + 0.5, 5));
        r.setText(at(Zo::placeLow), race.horseOdds(h, h / 10.0 + 1, 5));
        r.setText(at(Zo::placeHigh), race.horseOdds(h, h / 10.0 + 2, 5));
    }
    for (int a = 1; a <= 8; ++a) {
        for (int b = a; b <= 8; ++b) {
            const int k = zm::BracketEntryOf(a, b);
            auto at = [&](const Field& f) { return f.shifted(Zo::brackets.element(k).offset); };
            r.setText(at(Zo::bracket1), QString::number(a));
            r.setText(at(Zo::dash), QStringLiteral("-"));
            r.setText(at(Zo::bracket2), QString::number(b));
            r.setText(at(Zo::bracketOdds), oddsField(a * 10 + b, 5));
        }
    }
    return r.bytes();
}

template <class Uo>
QByteArray uoRecord(const PatRace& race) {
    Uo r;
    for (int a = 1; a <= race.runners; ++a) {
        for (int b = a + 1; b <= race.runners; ++b) {
            const int k = zm::PairEntryOf(a, b, race.runners);
            auto at = [&](const Field& f) { return f.shifted(Uo::pairs.element(k).offset); };
            r.setText(at(Uo::horse1), QString::number(a).rightJustified(2, u'0'));
            r.setText(at(Uo::dash), QStringLiteral("-"));
            r.setText(at(Uo::horse2), QString::number(b).rightJustified(2, u'0'));
            if (race.missing(a))
                continue;
            const bool out = race.scratched.contains(a) || race.scratched.contains(b);
            r.setText(at(Uo::quinellaOdds), out ? QStringLiteral("  ﾄﾘｹｼ") : oddsField(a * 100 + b, 6));
            if constexpr (std::is_same_v<Uo, zm::Uo98Record>) {
                r.setText(at(Uo::wideLow), out ? QStringLiteral("  ﾄﾘｹｼ") : oddsField(a + b, 6));
                r.setText(at(Uo::wideHigh), out ? QStringLiteral("  ﾄﾘｹｼ") : oddsField(a + b + 1, 6));
            }
        }
    }
    return r.bytes();
}

}  // namespace zm::test
