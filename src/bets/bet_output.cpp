#include "bets/bet_output.h"

#include "app/safe_save.h"
#include "bets/pending_bet.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "codes/text_fields.h"

#include <cmath>
#include <optional>

namespace zm {

namespace {

const QString kFiveBlanks = QStringLiteral("     ");
const QString kSixBlanks = QStringLiteral("      ");

// A number written as the program prints one, without blanks.
QString plain(double v) {
    return NumberText(v);
}

QString twoDigitsOf(int v) {
    return QString::number(v).rightJustified(2, u'0');
}

}  // namespace

BetRow* BetOutForm::row(BetGroup group, int i) {
    switch (group) {
    case GroupWin:
        return &tan[static_cast<size_t>(i)];
    case GroupPlace:
        return &fuku[static_cast<size_t>(i)];
    case GroupBracket:
        return &waku[static_cast<size_t>(i)];
    case GroupQuinella:
        return &uma[static_cast<size_t>(i)];
    }
    return nullptr;
}

BetRow* BetOutForm::nextFreeRow(BetGroup group) {
    for (int i = 0; i < kBetGroupRows[group]; ++i) {
        if (row(group, i)->isEmpty())
            return row(group, i);
    }
    return nullptr;
}

QString normalizedDefaultStake(const QString& text) {
    const QString t = text.trimmed();
    return FieldValue(t) < 100 ? QStringLiteral("100") : t;
}

BetOutForm OpenBetOutForm(const AppSettings& settings, const std::array<QString, 11>& recommendations) {
    BetOutForm form;
    form.defaults = {normalizedDefaultStake(settings.BetTan), normalizedDefaultStake(settings.BetFuku),
                     normalizedDefaultStake(settings.BetWaku), normalizedDefaultStake(settings.BetUma)};
    if (FieldValue(recommendations[0]) > 0)
        form.tan[0] = BetRow{true, recommendations[0], form.defaults[0]};
    for (size_t k = 0; k < 10; ++k) {
        const QString& pick = recommendations[k + 1];
        if (pick.isEmpty())
            continue;
        if (!pick.contains(u'-')) {
            if (k < form.waku.size())
                form.waku[k] = BetRow{true, HalfWidthAscii(pick), form.defaults[2]};
        } else {
            form.uma[k] = BetRow{true, pick, form.defaults[3]};
        }
    }
    return form;
}

QString betRaceText(double raceNo) {
    const QString n = (raceNo >= 0 ? QStringLiteral(" ") : QString()) + plain(raceNo);
    return n.right(2) + u'R';
}

QString betStakeText(Amount stake) {
    const QString digits = stake.digits();
    return (digits.size() > 5 ? digits : rightPart(digits, 5)) + u'円';
}

QString betStakeText(double typed) {
    double stake = std::floor(typed / 100.0) * 100.0;
    if (!(stake >= 100))
        stake = 100;
    stake = std::min(stake, static_cast<double>(kMaxStake));
    return betStakeText(Amount::yen(static_cast<std::int64_t>(stake)));
}

namespace {

// A checked row as messages name it: "単勝 1行目「3」（1,000）".
QString rowName(const QString& type, int index, const BetRow& r) {
    return type + QStringLiteral(" %1行目「%2」（%3）").arg(index + 1).arg(r.entry, r.stake);
}

// The entry with full-width digits and blanks made half-width, blanks around removed.
QString entryText(const QString& typed) {
    return HalfWidthAscii(typed).trimmed();
}

std::optional<int> horseOf(QStringView text) {
    return SmallNumber(text, 1, 18);
}

}  // namespace

BetOutBets BetOutBetsOf(const BetOutForm& form, const QString& venueCode, int raceNo) {
    BetOutBets out;
    const QString venue = VenueName(venueCode);
    // The stake of a checked row, or nothing after naming the row among the skipped.
    auto stakeOf = [&](const QString& type, int i, const BetRow& r) -> std::optional<Amount> {
        const auto a = ParseAmount(r.stake);
        if (a && isValidStake(*a))
            return a;
        out.skipped << rowName(type, i, r) + QStringLiteral(": ") + stakeRuleText();
        return std::nullopt;
    };
    auto add = [&](const QString& type, const QString& combination, Amount stake) {
        out.bets.push_back(MakePendingBet(venue, raceNo, type, combination, stake));
    };
    auto horses = [&](const auto& rows, const QString& type) {
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            const BetRow& r = rows[static_cast<size_t>(i)];
            if (!r.checked)
                continue;
            const auto h = horseOf(entryText(r.entry));
            if (!h) {
                out.skipped << rowName(type, i, r) + QStringLiteral(": 馬番は1～18の数字です");
                continue;
            }
            if (const auto stake = stakeOf(type, i, r))
                add(type, QString::number(*h), *stake);
        }
    };
    horses(form.tan, QStringLiteral("単勝"));
    horses(form.fuku, QStringLiteral("複勝"));
    for (int i = 0; i < static_cast<int>(form.waku.size()); ++i) {
        const BetRow& r = form.waku[static_cast<size_t>(i)];
        if (!r.checked)
            continue;
        const QString type = QStringLiteral("枠連");
        // Two brackets, written together ("18") or joined by a dash ("1-8") as quinella rows are;
        // the first two characters are the brackets ("81" and "81 " alike).
        QString e = entryText(r.entry);
        if (e.size() == 3 && e[1] == u'-')
            e.remove(1, 1);
        e.truncate(2);
        const bool ok = e.size() == 2 && e[0] >= u'1' && e[0] <= u'8' && e[1] >= u'1' && e[1] <= u'8';
        if (!ok) {
            out.skipped << rowName(type, i, r) + QStringLiteral(": 枠番は1～8の数字２つ（例 18 または 1-8）です");
            continue;
        }
        QChar a = e[0];
        QChar b = e[1];
        if (b < a)
            std::swap(a, b);
        if (const auto stake = stakeOf(type, i, r))
            add(type, QString(a) + u'-' + b, *stake);
    }
    for (int i = 0; i < static_cast<int>(form.uma.size()); ++i) {
        const BetRow& r = form.uma[static_cast<size_t>(i)];
        if (!r.checked)
            continue;
        const QString type = QStringLiteral("馬連");
        const QString e = entryText(r.entry);
        const qsizetype dash = e.indexOf(u'-');
        auto a = dash < 0 ? std::nullopt : horseOf(QStringView(e).first(dash).trimmed());
        auto b = dash < 0 ? std::nullopt : horseOf(QStringView(e).sliced(dash + 1).trimmed());
        // Both numbers must be horses of a race, and two different ones.
        if (!a || !b || *a == *b) {
            out.skipped << rowName(type, i, r) + QStringLiteral(": 馬番は異なる1～18の数字２つを「-」でつなぎます（例 5-12）");
            continue;
        }
        if (*b < *a)
            std::swap(a, b);
        if (const auto stake = stakeOf(type, i, r))
            add(type, twoDigitsOf(*a) + u'-' + twoDigitsOf(*b), *stake);
    }
    return out;
}

QStringList BetOutLines(const BetOutForm& form, const QString& venueCode, double raceNo) {
    QStringList lines;
    for (const PendingBet& b : BetOutBetsOf(form, venueCode, static_cast<int>(raceNo)).bets)
        lines << PendingBetLineText(b, BetLineForm::Output);
    return lines;
}

QString skippedRowsText(const QStringList& skipped) {
    if (skipped.isEmpty())
        return {};
    return QStringLiteral("%1 行の買い目を書き込みませんでした:\n").arg(skipped.size()) + skipped.join(u'\n');
}

Result<BetOutResult> WriteBetOut(AppContext& ctx, const QString& day, const BetOutForm& form, const QString& venueCode,
                                 double raceNo, Notices& notices, bool allOrNothing) {
    std::array<QString*, 4> record = {&ctx.settings.BetTan, &ctx.settings.BetFuku, &ctx.settings.BetWaku,
                                      &ctx.settings.BetUma};
    Status stored;
    for (size_t k = 0; k < 4; ++k) {
        const QString value = normalizedDefaultStake(form.defaults[k]);
        *record[k] = value;
        if (stored)
            stored = ctx.store.SaveAppSetting(QStringLiteral("PAT"), kDefaultStakeKeys[k], value);
    }
    if (!stored)
        notices << Notice(stored.message(), {}, Severity::Critical);  // the bets are written all the same
    const BetOutBets built = BetOutBetsOf(form, venueCode, static_cast<int>(raceNo));
    BetOutResult result;
    result.skipped = built.skipped;
    if (allOrNothing && !built.skipped.isEmpty())
        return Result<BetOutResult>::failure(skippedRowsText(built.skipped) +
                                             QStringLiteral("\n保留ＢＥＴには何も書き込んでいません。"));
    if (built.bets.empty())
        return result;
    const Status s = AppendPendingBets(PendingBetPath(ctx.paths, day), built.bets, BetLineForm::Output);
    if (!s.ok())
        return s;
    result.written = static_cast<int>(built.bets.size());
    return result;
}

}  // namespace zm
