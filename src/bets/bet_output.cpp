#include "bets/bet_output.h"

#include "app/safe_save.h"
#include "bets/pending_bet.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"

#include <cmath>

namespace zm {

namespace {

const QString kFiveBlanks = QStringLiteral("     ");
const QString kSixBlanks = QStringLiteral("      ");

// A number written as the program prints one, without blanks.
QString plain(double v) {
    return NumberText(v);
}

bool stakeOk(const BetRow& r) {
    return FieldValue(r.stake) >= 100;
}

QString twoDigitsOf(double v) {
    return QString::number(static_cast<int>(v)).rightJustified(2, u'0');
}

// Half-width forms of full-width digits and signs.
QString halfWidth(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(c.unicode() - 0xFEE0);
        else if (c == u'\u3000')
            c = u' ';
    }
    return out;
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
                form.waku[k] = BetRow{true, halfWidth(pick), form.defaults[2]};
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

QString betStakeText(double typed) {
    double stake = std::floor(typed / 100.0) * 100.0;
    if (stake < 100)
        stake = 100;
    const QString digits = QString::number(stake, 'f', 0);
    return (digits.size() > 5 ? digits : rightPart(digits, 5)) + u'円';
}

QStringList BetOutLines(const BetOutForm& form, const QString& venueCode, double raceNo) {
    const QString head = VenueName(venueCode) + u',' + betRaceText(raceNo) + u',';
    QStringList lines;
    auto add = [&](const QString& type, const QString& combination, const BetRow& r) {
        lines << head + type + u',' + combination + u',' + kSixBlanks + u',' + betStakeText(FieldValue(r.stake));
    };
    auto horses = [&](const auto& rows, const QString& type) {
        for (const BetRow& r : rows) {
            const double h = FieldValue(r.entry);
            if (r.checked && h > 0 && h < 19 && stakeOk(r))
                add(type, rightPart(kFiveBlanks + plain(h), 5), r);
        }
    };
    horses(form.tan, QStringLiteral("単勝"));
    horses(form.fuku, QStringLiteral("複勝"));
    for (const BetRow& r : form.waku) {
        const QString e = r.entry.trimmed().left(2);
        if (e.size() != 2 || !r.checked || !stakeOk(r))
            continue;
        QChar a = e[0];
        QChar b = e[1];
        const double va = FieldValue(QString(a));
        const double vb = FieldValue(QString(b));
        if (va < 1 || va > 8 || vb < 1 || vb > 8)
            continue;
        if (vb < va)
            std::swap(a, b);
        add(QStringLiteral("枠連"), rightPart(kFiveBlanks + a + u'-' + b, 5), r);
    }
    for (const BetRow& r : form.uma) {
        const qsizetype dash = r.entry.indexOf(u'-');
        if (!r.checked || !stakeOk(r) || dash < 0)
            continue;
        double a = FieldValue(QStringView(r.entry).first(dash));
        double b = FieldValue(QStringView(r.entry).sliced(dash + 1));
        // Both numbers must be horses of a race, and two different ones.
        if (a < 1 || a > 18 || b < 1 || b > 18 || a == b)
            continue;
        if (b < a)
            std::swap(a, b);
        add(QStringLiteral("馬連"), twoDigitsOf(a) + u'-' + twoDigitsOf(b), r);
    }
    return lines;
}

Result<int> WriteBetOut(AppContext& ctx, const QString& day, const BetOutForm& form, const QString& venueCode,
                        double raceNo) {
    std::array<QString*, 4> record = {&ctx.settings.BetTan, &ctx.settings.BetFuku, &ctx.settings.BetWaku,
                                      &ctx.settings.BetUma};
    for (size_t k = 0; k < 4; ++k) {
        const QString value = normalizedDefaultStake(form.defaults[k]);
        *record[k] = value;
        ctx.store.SaveAppSetting(QStringLiteral("PAT"), kDefaultStakeKeys[k], value);
    }
    const QStringList lines = BetOutLines(form, venueCode, raceNo);
    if (lines.isEmpty())
        return 0;
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    const Status s = appendToFile(PendingBetPath(ctx.paths, day), toSjis(text));
    if (!s.ok())
        return s;
    return static_cast<int>(lines.size());
}

}  // namespace zm
