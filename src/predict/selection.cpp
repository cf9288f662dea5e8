#include "predict/selection.h"

#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/records.h"

#include <QStringList>
#include <cmath>
#include <vector>

namespace zm {

QString PredictionStyleName(int style) {
    static const char16_t* const names[] = {u"３点流し", u"４点流し", u"５点流し", u"６点流し", u"１０点流し",
                                            u"３頭ＢＯＸ", u"４頭ＢＯＸ", u"５頭ＢＯＸ", u"Odds絞り込み"};
    if (style < 0 || style > 8) {
        return QString();
    }
    return QString::fromUtf16(names[style]);
}

std::int16_t SelectionLists::R(int k, int runnerCount) const {
    if (k < 1 || k > runnerCount || k > 18) {
        return 0;
    }
    return RankList[static_cast<size_t>(k - 1)];
}

namespace {

// Int(score * 10000) in the scores' own single precision: equal keys share a rank.
float rankKey(float score) {
    return std::floor(score * 10000.0f);
}

}  // namespace

void RankRunners(RunnerArray& runners, int runnerCount, SelectionLists& lists) {
    const int n = std::clamp(runnerCount, 0, kRunnerSlots);
    std::vector<float> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        sorted[static_cast<size_t>(i)] = runners[static_cast<size_t>(i)].Score;
    }
    // Exchange sort, descending: swap whenever the earlier value is not >= the later one.
    for (int p = 0; p + 1 < n; ++p) {
        for (int q = p + 1; q < n; ++q) {
            if (!(sorted[static_cast<size_t>(p)] >= sorted[static_cast<size_t>(q)])) {
                std::swap(sorted[static_cast<size_t>(p)], sorted[static_cast<size_t>(q)]);
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        RunnerWork& w = runners[static_cast<size_t>(i)];
        const float key = rankKey(w.Score);
        w.OddsRank = 0;
        for (int j = 0; j < n; ++j) {
            if (rankKey(sorted[static_cast<size_t>(j)]) == key) {
                w.OddsRank = static_cast<std::int16_t>(j + 1);
                break;
            }
        }
    }
    std::array<std::int16_t, kRunnerSlots> ranks{};
    for (int i = 0; i < n; ++i) {
        ranks[static_cast<size_t>(i)] = runners[static_cast<size_t>(i)].OddsRank;
    }
    FillRankList(ranks, n, lists);
}

void FillRankList(const std::array<std::int16_t, 18>& ranks, int runnerCount, SelectionLists& lists) {
    const int n = std::clamp(runnerCount, 0, 18);
    for (int i = 0; i < n; ++i) {
        const std::int16_t rank = ranks[static_cast<size_t>(i)];
        if (rank > 0 && rank <= 18) {
            lists.RankList[static_cast<size_t>(rank - 1)] = static_cast<std::int16_t>(i + 1);
        }
    }
}

bool oddsFilterPasses(const QString& oddsText) {
    const double tenths = Val(oddsText);
    return tenths > 0.0 && tenths / 10.0 < 30.0;
}

namespace {

void pickLargeField(const SelectionRace& race, SelectionLists& lists) {
    const int n = race.runnerCount;
    auto R = [&](int k) { return static_cast<int>(lists.R(k, n)); };
    auto& picks = lists.QuinellaPicks;
    size_t count = 0;
    auto add = [&](int a, int b) {
        if (count < picks.size()) {
            picks[count++] = static_cast<std::int16_t>(a * 100 + b);
        }
    };
    const int style = race.style;
    if (style == 0) {
        add(R(1), R(2));
        add(R(1), R(3));
        add(R(1), R(4));
    } else if (style >= 1 && style <= 4) {
        for (int k = 2; k <= 5; ++k) {
            add(R(1), R(k));
        }
        // Each stop ends the list.
        const bool stops[] = {style == 1 || n == 5, style == 2 || n == 6, style == 3 || n == 7, n == 8, n == 9, n == 10};
        for (int k = 6; k <= 11; ++k) {
            if (stops[k - 6]) {
                break;
            }
            add(R(1), R(k));
        }
    } else if (style >= 5 && style <= 7) {
        const int top = style - 2;  // 3, 4 or 5 horses
        for (int b = 2; b <= top; ++b) {
            for (int a = 1; a < b; ++a) {
                add(R(a), R(b));
            }
        }
    } else if (style == kStyleOddsFilter) {
        if (race.odds == nullptr) {
            return;
        }
        for (int l = 1; l <= n - 1 && l <= 5; ++l) {
            int a = R(l);
            int b = R(l + 1);
            if (a > b) {
                std::swap(a, b);
            }
            if (a > 0 && b > 0 && a < b) {
                const int entry = (a - 1) * 18 - a * (a - 1) / 2 + (b - a);
                const QString text = fromSjis(race.odds->raw(OddsRecord::quinellaOdds.element(entry)));
                if (oddsFilterPasses(text)) {
                    add(a, b);
                }
            }
        }
    }
}

void pickSmallField(const SelectionRace& race, SelectionLists& lists) {
    const int n = race.runnerCount;
    const int r1 = lists.R(1, n);
    lists.SmallFieldPicks[0] = static_cast<std::int16_t>(r1 * 10 + lists.R(2, n));
    if (race.style == 4 && n == 8) {
        lists.SmallFieldPicks[6] = static_cast<std::int16_t>(r1 * 10 + lists.R(8, n));
    }
}

}  // namespace

void PickBets(const SelectionRace& race, SelectionLists& lists) {
    if (race.runnerCount >= 9) {
        pickLargeField(race, lists);
    } else if (race.runnerCount >= 1) {
        pickSmallField(race, lists);
    }
}

void SelectBets(const SelectionRace& race, RunnerArray& runners, SelectionLists& lists) {
    RankRunners(runners, race.runnerCount, lists);
    PickBets(race, lists);
}

void StorePicks(const SelectionLists& lists, int runnerCount, PredictionRecord& record) {
    const int n = runnerCount;
    for (int k = 1; k <= 3; ++k) {
        record.winPicks[static_cast<size_t>(k - 1)] = PickEntry{lists.R(k, n), 1};
    }
    const bool smallField = n >= 1 && n <= 8;
    for (int k = 1; k <= 10; ++k) {
        const std::int16_t code = smallField ? NormalizeSmallPair(lists, k, n) : NormalizePair(lists, k, n);
        const PickEntry entry{code, static_cast<std::int16_t>(code != 0 ? 1 : 0)};
        (smallField ? record.smallPicks : record.quinellaPicks)[static_cast<size_t>(k - 1)] = entry;
    }
}

namespace {

std::int16_t normalize(int code, int base, int runnerCount) {
    int a = code / base;
    int b = code % base;
    if (a < 1 || b < 1 || a > runnerCount || b > runnerCount) {
        return 0;
    }
    if (a > b) {
        std::swap(a, b);
    }
    return static_cast<std::int16_t>(a * base + b);
}

}  // namespace

std::int16_t NormalizePair(const SelectionLists& lists, int k, int runnerCount) {
    if (k < 1 || k > 10) {
        return 0;
    }
    return normalize(lists.QuinellaPicks[static_cast<size_t>(k - 1)], 100, runnerCount);
}

std::int16_t NormalizeSmallPair(const SelectionLists& lists, int k, int runnerCount) {
    if (k < 1 || k > 10) {
        return 0;
    }
    return normalize(lists.SmallFieldPicks[static_cast<size_t>(k - 1)], 10, runnerCount);
}

QString MarkOf(int rank) {
    switch (rank) {
    case 1:
        return QStringLiteral("◎");
    case 2:
        return QStringLiteral("○");
    case 3:
        return QStringLiteral("▲");
    case 4:
        return QStringLiteral("△");
    case 5:
        return QStringLiteral("×");
    default:
        return QStringLiteral("　");
    }
}

QString PaceText(const QString& paceCode) {
    if (paceCode == u"0") return QStringLiteral("Ｈ");
    if (paceCode == u"1") return QStringLiteral("Ｍ");
    if (paceCode == u"2") return QStringLiteral("Ｓ");
    return QStringLiteral("？");
}

QString PaceListText(const QString& paceCode) {
    if (paceCode == u"0") return QStringLiteral(" ﾍﾟｰｽ:H");
    if (paceCode == u"1") return QStringLiteral(" ﾍﾟｰｽ:M");
    if (paceCode == u"2") return QStringLiteral(" ﾍﾟｰｽ:S");
    return QStringLiteral(" (混戦)");
}

QString QuinellaPicksText(const PredictionRecord& record) {
    const bool small = record.runnerCount >= 1 && record.runnerCount <= 8;
    const auto& picks = small ? record.smallPicks : record.quinellaPicks;
    const int base = small ? 10 : 100;
    QStringList parts;
    for (const PickEntry& p : picks) {
        if (p.code != 0) {
            parts.append(QString::number(p.code / base) + u'-' + QString::number(p.code % base));
        }
    }
    return parts.join(u',');
}

Recommendation RecommendationText(const PredictionRecord& record) {
    Recommendation r;
    r.win = QStringLiteral("推奨馬券    単勝：");
    const int win = record.winPicks[0].code;
    if (win == 0) {
        r.win += QStringLiteral("ありません");
    } else {
        r.win += FullWidthDigits(PadBytesLeft(QString::number(win), 2)).replace(u' ', u'　') + QStringLiteral("番");
    }
    r.quinella = QStringLiteral("            馬連：");
    const bool small = record.runnerCount >= 1 && record.runnerCount <= 8;
    const PickEntry& first = small ? record.smallPicks[0] : record.quinellaPicks[0];
    const QString picks = QuinellaPicksText(record);
    if (first.code == 0 || picks.isEmpty()) {
        r.quinella += QStringLiteral("ありません");
    } else {
        r.quinella += picks;
    }
    return r;
}

}  // namespace zm
