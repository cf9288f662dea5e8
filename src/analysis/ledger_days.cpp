#include "analysis/ledger_days.h"

#include "app/file_names.h"
#include "codes/codetables.h"
#include "pat/pat_log.h"

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <set>

namespace zm {

namespace {

using namespace Qt::Literals::StringLiterals;

// The type code "1".."5" of a vote-log type name or a pending bet's type word; empty for neither.
QString typeCodeOf(const QString& word) {
    static const QString kFirst = u"単複枠馬ワ"_s;
    if (word == u"WIDE" || word.startsWith(u'拡'))
        return u"5"_s;
    const qsizetype k = word.isEmpty() ? -1 : kFirst.indexOf(word[0]);
    return k < 0 ? QString() : QString::number(k + 1);
}

// The horse or bracket numbers of a combination, in order for a win or place bet and sorted for
// the others (a quinella of 5 and 3 is the quinella of 3 and 5).
QList<int> numbersOf(const QString& combination, const QString& typeCode) {
    static const QRegularExpression kNumber(u"\\d+"_s);
    QList<int> numbers;
    for (auto it = kNumber.globalMatch(combination); it.hasNext();)
        numbers << it.next().captured().toInt();
    if (typeCode != u"1" && typeCode != u"2")
        std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// A bet's identity for telling whether it stood in the pending bets: venue, race, type, numbers.
using BetKey = std::tuple<QString, int, QString, QList<int>>;

std::set<BetKey> pendingKeys(const PendingBetTable& bets) {
    std::set<BetKey> keys;
    for (const PendingBet& p : bets) {
        const QString code = typeCodeOf(p.BetType.trimmed());
        keys.insert({JraVenueCodeOf(p.Venue.trimmed()), p.Race.trimmed().remove(u'R').toInt(), code,
                     numbersOf(p.Combination, code)});
    }
    return keys;
}

QString dayOfFile(const QString& name, const QRegularExpression& pattern) {
    const QRegularExpressionMatch m = pattern.match(name);
    return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

QString ledgerPath(const AppPaths& paths) { return paths.DataDir + kLedgerFileName; }

QStringList ledgerSourceDays(const AppPaths& paths, const QString& from, const QString& to) {
    static const QRegularExpression kSei(u"^(\\d{8})\\.SEI$"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kPending(u"^~B(\\d{8})\\.TXT$"_s, QRegularExpression::CaseInsensitiveOption);
    std::set<QString> days;
    const QStringList names = QDir(paths.DataDir).entryList(QDir::Files);
    for (const QString& name : names) {
        QString day = dayOfFile(name, kSei);
        if (day.isEmpty())
            day = dayOfFile(name, kPending);
        if (day.isEmpty() || (!from.isEmpty() && day < from) || (!to.isEmpty() && day > to))
            continue;
        days.insert(day);
    }
    return QStringList(days.begin(), days.end());
}

Result<LedgerDay> ledgerDayFromFiles(AppContext& ctx, const QString& dayText, const FolderNames& patFolder) {
    LedgerDay day;
    day.day = dayText;
    const QString sei = seiPath(ctx.paths.DataDir, dayText);
    if (QFileInfo::exists(sei)) {
        const Result<QByteArray> bytes = readOutsideFile(sei, kMaxSeiFile);
        if (!bytes)
            return bytes.status();
        for (const SeiRecord& r : seiRecords(*bytes))
            day.results.push_back(r.bytes());
    }
    const Result<PendingBetFile> pending = ReadPendingBets(PendingBetPath(ctx.paths, dayText));
    if (!pending)
        return pending.status();
    day.pending = pending->bets;

    if (!ctx.settings.PatOpt)
        return day;
    // A day without a vote log (no log files, or none of the day) has no bets.
    const Result<VoteLog> log = ShowVoteLog(ctx, dayText, patFolder);
    if (!log)
        return day;
    const std::set<BetKey> keys = pendingKeys(day.pending);
    for (const VoteRow& row : log->rows) {
        LedgerBet b;
        b.venueNo = JraVenueCodeOf(row.venue);
        b.race = row.race.toInt();
        b.typeCode = typeCodeOf(row.type);
        b.combination = row.combination;
        b.stake = row.stake;
        b.judgement = row.judgement;
        b.payout = row.payout;
        b.returns = row.returned;
        b.pending = keys.count({b.venueNo, b.race, b.typeCode, numbersOf(b.combination, b.typeCode)}) > 0;
        day.bets.push_back(b);
    }
    return day;
}

Result<LedgerUpdate> updateLedger(AppContext& ctx, Ledger& ledger, const QStringList& days,
                                  ProgressSink* progress) {
    LedgerUpdate update;
    // Nothing of the update writes into PAT's folder: its names are read once for every day.
    const FolderNames patFolder(ctx.settings.PatOpt ? ctx.settings.PatDir : QString());
    for (qsizetype i = 0; i < days.size(); ++i) {
        const QString& d = days[i];
        if (progress) {
            progress->setLabel(d);
            progress->setPercent(100.0 * double(i) / double(days.size()));
        }
        const Result<LedgerDay> day = ledgerDayFromFiles(ctx, d, patFolder);
        if (!day) {
            update.failures << day.message();
            continue;
        }
        const Result<Ledger::Change> change = ledger.writeDay(*day);
        if (!change)
            return change.status();
        switch (*change) {
        case Ledger::Change::Added: ++update.added; break;
        case Ledger::Change::Replaced: ++update.replaced; break;
        case Ledger::Change::Unchanged: ++update.unchanged; break;
        }
    }
    if (const Status flushed = ledger.flush(); !flushed)
        return flushed;
    if (progress)
        progress->setPercent(100);
    return update;
}

}  // namespace zm
