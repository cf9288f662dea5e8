#include "analysis/ledger_report.h"

#include "analysis/backtest.h"
#include "codes/codetables.h"

#include <algorithm>
#include <map>

namespace zm {

namespace {

using namespace Qt::Literals::StringLiterals;

// The key a bet's group is ordered by: a part of the bet's own texts, so that finding the
// group of each of a season's bets copies nothing.
QStringView orderOf(const Ledger::DatedBet& b, LedgerGrouping g, QString& scratch) {
    switch (g) {
    case LedgerGrouping::Day:
        return b.day;
    case LedgerGrouping::Month:
        return QStringView(b.day).left(6);
    case LedgerGrouping::Year:
        return QStringView(b.day).left(4);
    case LedgerGrouping::Venue:
        return b.bet.venueNo;
    case LedgerGrouping::Type:
        return b.bet.typeCode;
    case LedgerGrouping::Style:
        scratch = !b.bet.pending ? u"~"_s : u"%1"_s.arg(b.bet.style + 1, 2, 10, QChar(u'0'));
        return scratch;
    }
    return {};
}

// The name a group is shown by.
QString groupName(const Ledger::DatedBet& b, LedgerGrouping g) {
    switch (g) {
    case LedgerGrouping::Day:
        return b.day;
    case LedgerGrouping::Month:
        return b.day.left(4) + u'-' + b.day.mid(4, 2);
    case LedgerGrouping::Year:
        return b.day.left(4);
    case LedgerGrouping::Venue:
        return JraVenueName(b.bet.venueNo);
    case LedgerGrouping::Type:
        return betTypeName(b.bet.typeCode);
    case LedgerGrouping::Style:
        if (!b.bet.pending)
            return u"保留ＢＥＴ以外"_s;
        return b.bet.style < 0 ? u"保留ＢＥＴ"_s : styleFiguresName(b.bet.style);
    }
    return {};
}

// Adds one bet to a group's figures, the running balance and its losing run carried along.
struct Running {
    LedgerFigures figures;
    std::int64_t balance = 0;
    std::int64_t peak = 0;
    int losingRun = 0;

    // Whether the bet is in the stake, the returns and the rates.
    static bool counts(const LedgerBet& bet) {
        return bet.judgement != Judgement::Unjudged && bet.judgement != Judgement::Refund;
    }
    static std::int64_t gain(const LedgerBet& bet) {
        return (bet.judgement == Judgement::Hit ? bet.returns.value() : 0) - bet.stake.value();
    }

    void add(const LedgerBet& bet) {
        LedgerFigures& f = figures;
        if (bet.judgement == Judgement::Unjudged) {
            ++f.unjudged;
            return;
        }
        if (bet.judgement == Judgement::Refund) {
            ++f.refunds;
            f.refunded += bet.stake;
            return;
        }
        ++f.bets;
        f.stake += bet.stake;
        const bool hit = bet.judgement == Judgement::Hit;
        if (hit) {
            ++f.hits;
            f.returns += bet.returns;
        }
        losingRun = hit ? 0 : losingRun + 1;
        f.longestLosingRun = std::max(f.longestLosingRun, losingRun);
        balance += gain(bet);
        peak = std::max(peak, balance);
        f.largestDrawdown = std::max(f.largestDrawdown, Amount::yen(peak - balance));
    }
};

}  // namespace

std::optional<LedgerGrouping> ledgerGroupingOf(const QString& word) {
    static const std::pair<const char16_t*, LedgerGrouping> words[] = {
        {u"day", LedgerGrouping::Day},     {u"month", LedgerGrouping::Month}, {u"year", LedgerGrouping::Year},
        {u"venue", LedgerGrouping::Venue}, {u"type", LedgerGrouping::Type},   {u"style", LedgerGrouping::Style}};
    for (const auto& [w, g] : words)
        if (word == QStringView(w))
            return g;
    return std::nullopt;
}

double LedgerFigures::recoveryRate() const {
    return stake.isZero() ? 0 : 100.0 * double(returns.value()) / double(stake.value());
}

double LedgerFigures::hitRate() const { return bets ? 100.0 * hits / bets : 0; }

LedgerReport ledgerReport(const std::vector<Ledger::DatedBet>& bets, LedgerGrouping grouping,
                          const LedgerFilter& filter) {
    std::map<QString, Running, std::less<>> groups;  // by order key
    Running total;
    // The bets come day by day: most of them fall into the group of the bet before.
    QString lastOrder;
    Running* last = nullptr;
    QString scratch;
    for (const Ledger::DatedBet& b : bets) {
        if (!filter.typeCodes.isEmpty() && !filter.typeCodes.contains(b.bet.typeCode))
            continue;
        if (!filter.venueNos.isEmpty() && !filter.venueNos.contains(b.bet.venueNo))
            continue;
        const QStringView order = orderOf(b, grouping, scratch);
        if (last == nullptr || order != lastOrder) {
            auto it = groups.find(order);
            if (it == groups.end()) {
                it = groups.emplace(order.toString(), Running()).first;
                it->second.figures.key = groupName(b, grouping);
            }
            last = &it->second;
            lastOrder = order.toString();
        }
        last->add(b.bet);
        total.add(b.bet);
    }
    LedgerReport report;
    for (auto& [order, group] : groups)
        report.groups.push_back(group.figures);
    report.total = total.figures;
    report.total.key = u"合計"_s;
    return report;
}

std::vector<LedgerDayBalances> ledgerRunningBalance(const std::vector<Ledger::DatedBet>& bets) {
    std::vector<LedgerDayBalances> days;
    std::int64_t balance = 0;
    for (const Ledger::DatedBet& b : bets) {
        if (!Running::counts(b.bet))
            continue;
        if (days.empty() || days.back().day != b.day)
            days.push_back({b.day, {}});
        balance += Running::gain(b.bet);
        days.back().balances.push_back(Amount::yen(balance));
    }
    return days;
}

Table ledgerTable(const LedgerReport& report) {
    Table t;
    t.header = {u"区分"_s,   u"点数"_s,     u"的中数"_s, u"購入金額"_s, u"払戻金額"_s, u"収支"_s,
                u"回収率"_s, u"的中率"_s,   u"最長連敗"_s, u"最大下落"_s, u"返還"_s,   u"返還金額"_s,
                u"未判定"_s};
    auto row = [](const LedgerFigures& f) {
        return QStringList{f.key,
                           QString::number(f.bets),
                           QString::number(f.hits),
                           f.stake.display(),
                           f.returns.display(),
                           f.balance().display(),
                           rateText(f.recoveryRate()),
                           rateText(f.hitRate()),
                           QString::number(f.longestLosingRun),
                           f.largestDrawdown.display(),
                           QString::number(f.refunds),
                           f.refunded.display(),
                           QString::number(f.unjudged)};
    };
    for (const LedgerFigures& f : report.groups)
        t.rows.append(row(f));
    t.rows.append(row(report.total));
    return t;
}

}  // namespace zm
