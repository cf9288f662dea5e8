#include "bets/voterobo.h"

#include "app/safe_save.h"
#include "bets/purchase_files.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "import/day_import.h"
#include "import/records.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <algorithm>

namespace zm {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kCrLf = u"\r\n"_s;

QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

// "hh:mm" of a number of minutes after midnight.
QString clock(int minutes) {
    return twoDigits(minutes / 60) + u':' + twoDigits(minutes % 60);
}

// A race's start in minutes; a race that is not in the race file or starts before 09:00 is
// timed as if it started at 09:40, so that its lines before the race fall on 09:30.
int startMinutes(const QString& raceTime) {
    const int h = static_cast<int>(Val(QStringView(raceTime).left(2)));
    const int m = static_cast<int>(Val(QStringView(raceTime).mid(3, 2)));
    if (raceTime.size() != 5 || h < 9 || h > 23 || m < 0 || m > 59)
        return 9 * 60 + 40;
    return h * 60 + m;
}

// A word padded to the width of "投票項目入力", so that venue and race stand in the same columns
// on every line that names a race.
QString word(const QString& w) {
    return PadBytes(w, 12);
}

QString raceColumns(const PendingBet& bet) {
    return bet.Venue + u' ' + bet.Race;
}

QString voteItemLine(const PendingBet& bet, const QString& hhmm) {
    QString line = bet.ScheduleMark + u' ' + hhmm + u':' + JraVenueCodeOf(bet.Venue) + u' ' + word(u"投票項目入力"_s) +
                   u' ' + raceColumns(bet) + u' ' + bet.BetType;
    line = LeftBytes(line + QString(45, u' '), 44) + bet.Combination;
    line = LeftBytes(line + QString(45, u' '), 50);
    return line + (bet.Amount.size() >= 6 ? bet.Amount : rightPart(bet.Amount, 6));
}

QString runLine(const QString& group, const QString& time, const QString& what) {
    return group + u' ' + time + u' ' + what;
}

QString fetchItemLine(const QString& group, const QString& time, const QString& venue, const QString& race,
                      const QString& item) {
    return group + u' ' + time + u' ' + word(u"取得項目入力"_s) + u' ' + venue + u' ' + race + u' ' + item;
}

QString oddsLabel(int kind) {
    switch (kind) {
        case 1:
            return u"Odds：単複枠"_s;
        case 2:
            return u"Odds：馬／ワ"_s;
        default:
            return u"オッズ"_s;
    }
}

// Groups in order of their first bet.
QStringList groupsOf(const PendingBetTable& bets) {
    QStringList groups;
    for (const PendingBet& b : bets) {
        if (!groups.contains(b.ScheduleMark))
            groups << b.ScheduleMark;
    }
    return groups;
}

}  // namespace

VoteRoboOptions VoteRoboOptionsOf(const AppSettings& s) {
    VoteRoboOptions o;
    o.group = s.Group;
    o.groupSet = std::clamp(static_cast<int>(Val(s.Groupbetu)), 0, 2);
    // Nothing chosen yet (a fresh settings file) or anything but one digit: group 1.
    o.groupOut = s.GroupOut.size() == 1 && s.GroupOut[0] >= u'0' && s.GroupOut[0] <= u'9' ? s.GroupOut : u"1"_s;
    o.T_Time = s.T_Time;
    o.voteTime = s.Touhyou ? 1 : s.T_Time == u"07:00" ? 0 : 2;
    o.odds = s.Odds;
    o.oddsTiming = s.OddsSyutoku[0] ? 0 : s.OddsSyutoku[1] ? 1 : s.OddsSyutoku[2] ? 2 : -1;
    o.oddsKind = std::clamp(static_cast<int>(s.GetOdds), 0, 2);
    o.weights = s.Bataiju;
    o.results = s.Sei;
    o.resultsTiming = s.Hantei[0] ? 1 : 0;
    return o;
}

Status StoreVoteRoboOptions(SettingsStore& store, AppSettings& s, const VoteRoboOptions& o) {
    s.Group = o.group;
    s.Groupbetu = QString::number(o.groupSet);
    s.GroupOut = o.groupOut;
    s.Touhyou = o.voteTime == 1;
    if (o.voteTime == 0)
        s.T_Time = u"07:00"_s;
    else if (o.voteTime == 2)
        s.T_Time = u"09:00"_s;
    s.Odds = o.odds;
    s.GetOdds = static_cast<std::int16_t>(o.oddsKind);
    for (int i = 0; i < 3; ++i)
        s.OddsSyutoku[static_cast<size_t>(i)] = o.oddsTiming == i;
    s.Bataiju = o.weights;
    s.Sei = o.results;
    s.Hantei = {o.resultsTiming == 1, o.resultsTiming != 1};
    const QString section = u"VoteRoboSetting"_s;
    const std::pair<QString, QString> values[] = {
        {u"Group"_s, boolText(s.Group)},
        {u"GroupOut"_s, s.GroupOut},
        {u"Groupbetu"_s, s.Groupbetu},
        {u"Odds"_s, boolText(s.Odds)},
        {u"GetOdds"_s, QString::number(s.GetOdds)},
        {u"Bataiju"_s, boolText(s.Bataiju)},
        {u"Sei"_s, boolText(s.Sei)},
        {u"OddsSyutoku"_s, QString::number(o.oddsTiming < 0 ? 0 : o.oddsTiming)},
        {u"Hantei"_s, boolText(s.Hantei[0])},
        {u"Touhyou"_s, boolText(s.Touhyou)},
        {u"T_Time"_s, s.T_Time},
    };
    for (const auto& [key, value] : values) {
        if (Status stored = store.SaveAppSetting(section, key, value); !stored)
            return stored;  // the rest would fail the same way
    }
    return {};
}

QString VoteRoboSchedulePath(const AppSettings& settings, const QString& day) {
    return withTrailingSlash(settings.BetOutDir) + day + u".lst"_s;
}

QString VoteRoboCombination(const QString& combination, const QString& betType) {
    const QString t = trimBlanks(combination);
    const QChar type = betType.isEmpty() ? QChar() : betType[0];
    if (type == u'枠') {
        return u" "_s + t.left(1) + u"- "_s + t.mid(2, 1);
    }
    if (type == u'馬' || type == u'ワ' || type == u'拡') {
        const qsizetype dash = t.indexOf(u'-');
        auto number = [](QStringView p) {
            const int n = static_cast<int>(Val(p));
            return n < 10 ? u" "_s + QString::number(n) : QString::number(n);
        };
        if (dash < 0)
            return fitField(t, PendingBetFields::Combination);
        return number(QStringView(t).left(dash)) + u'-' + number(QStringView(t).sliced(dash + 1));
    }
    return fitField(t, PendingBetFields::Combination);
}

PendingBetTable VoteRoboBets(const PendingBetTable& bets) {
    PendingBetTable table;
    table.reserve(bets.size());
    for (const PendingBet& bet : bets) {
        PendingBet b = bet;
        b.BetType = PadBytes(trimBlanks(bet.BetType), 6);
        b.Combination = VoteRoboCombination(trimBlanks(bet.Combination), b.BetType);
        const auto stake = bet.stake();
        b.Amount = stake ? stake->digits() : trimBlanks(bet.Amount);
        table.push_back(b);
    }
    return table;
}

std::optional<RaceTimes> ReadRaceTimes(const QString& dataDir, const QString& day) {
    const auto races = RecordFile::load(dataDir + dayRaceFileName(day), RaceRecord::kLength);
    if (!races)
        return std::nullopt;
    RaceTimes times;
    for (int n = 1; n <= races->count(); ++n) {
        const RaceRecord r = races->get<RaceRecord>(n);
        if (r.dateText() != day)
            continue;
        const int raceNo = static_cast<int>(r.number(RaceRecord::raceNo));
        const QString key =
            VenueName(r.text(RaceRecord::venueCode)) + u' ' + rightPart(QString::number(raceNo) + u'R', 3);
        if (!times.contains(key))
            times.insert(key, r.text(RaceRecord::postTime));
    }
    return times;
}

namespace {

// The morning odds fetch: per venue (or per race) of each group, then the group's run.
void morningFetchLines(QStringList& out, const PendingBetTable& bets, const QStringList& groups,
                       const VoteRoboOptions& o) {
    const QString at = u"09:30:00"_s;
    for (const QString& g : groups) {
        QStringList seen;
        for (const PendingBet& b : bets) {
            if (b.ScheduleMark != g)
                continue;
            const QString key = o.oddsTiming == 0 ? b.Venue : raceColumns(b);
            if (seen.contains(key))
                continue;
            seen << key;
            out << fetchItemLine(g, at, b.Venue, o.oddsTiming == 0 ? u"全R"_s : b.Race, oddsLabel(o.oddsKind));
        }
        out << runLine(g, at, u"取得"_s);
    }
}

// Race by race, in the order the races first appear among the bets: the fetch ten minutes before
// the start, the votes, and the race's results a quarter of an hour after it.
void perRaceLines(QStringList& out, const PendingBetTable& bets, const VoteRoboOptions& o) {
    const bool perRaceFetch = (o.odds && o.oddsTiming == 2) || o.weights;
    const bool perRaceVote = o.voteTime == 1;
    const bool perRaceResults = o.results && o.resultsTiming == 1;
    if (!perRaceFetch && !perRaceVote && !perRaceResults)
        return;
    QStringList races;
    for (const PendingBet& b : bets) {
        if (!races.contains(raceColumns(b)))
            races << raceColumns(b);
    }
    for (const QString& race : races) {
        const auto first =
            std::find_if(bets.begin(), bets.end(), [&](const PendingBet& b) { return raceColumns(b) == race; });
        const QString g = first->ScheduleMark;
        const int start = startMinutes(first->RaceTime);
        const QString before = clock(start - 10);
        if (perRaceFetch) {
            const QString at = before + u":00"_s;
            if (o.odds && o.oddsTiming == 2)
                out << fetchItemLine(g, at, first->Venue, first->Race, oddsLabel(o.oddsKind));
            if (o.weights)
                out << fetchItemLine(g, at, first->Venue, first->Race, u"馬体重"_s);
            out << runLine(g, at, u"取得"_s);
        }
        if (perRaceVote) {
            for (const PendingBet& b : bets) {
                if (raceColumns(b) == race)
                    out << voteItemLine(b, before);
            }
            out << runLine(g, before + u":30"_s, u"投票"_s);
        }
        if (perRaceResults)
            out << g + u' ' + clock(start + 15) + u":00 "_s + word(u"的中判定"_s) + u' ' + race;
    }
}

}  // namespace

QStringList VoteRoboScheduleLines(PendingBetTable bets, const VoteRoboOptions& o, const RaceTimes& times) {
    // Group digits: by the venue's place among the day's venues, or the one output group.
    QStringList venues;
    for (PendingBet& b : bets) {
        if (!venues.contains(b.Venue))
            venues << b.Venue;
        const int position = std::min(3, static_cast<int>(venues.indexOf(b.Venue)) + 1);
        b.ScheduleMark = o.group ? QString::number(3 * o.groupSet + position) : o.groupOut;
        b.RaceTime = times.value(raceColumns(b));
    }
    const QStringList groups = groupsOf(bets);
    QStringList out;

    // Every bet at once, one closing line per group.
    if (o.voteTime != 1) {
        const QString t = o.voteTime == 0 ? u"07:00"_s : u"09:00"_s;
        for (const PendingBet& b : bets)
            out << voteItemLine(b, t);
        for (const QString& g : groups)
            out << g + u' ' + t + u":30 投票"_s;
    }

    // The morning odds fetch.
    if (o.odds && (o.oddsTiming == 0 || o.oddsTiming == 1))
        morningFetchLines(out, bets, groups, o);
    perRaceLines(out, bets, o);

    // The day's results after the last race.
    if (o.results && o.resultsTiming == 0) {
        for (const QString& g : groups)
            out << runLine(g, u"16:45:00"_s, u"成績"_s);
    }
    return out;
}

Status WriteVoteRoboSchedule(AppContext& ctx, const QString& day, const VoteRoboOptions& options) {
    const QString betPath = PendingBetPath(ctx.paths, day);
    const auto file = ReadPendingBets(betPath);
    if (!file.ok()) {
        return Status::warning(file.message(), kVoteRoboTitle);
    }
    if (!file->exists) {
        return Status::notice(kNoPurchaseFile, kVoteRoboTitle);
    }
    const PendingBetTable bets = VoteRoboBets(file->bets);
    if (bets.size() > static_cast<size_t>(kPendingBetTableSize)) {
        return Status::warning(tooManyBetsMessage(static_cast<int>(bets.size()), kPendingBetTableSize),
                               kVoteRoboTitle);
    }
    const QString path = VoteRoboSchedulePath(ctx.settings, day);
    bool append = false;
    if (QFile::exists(path)) {
        const Answer a =
            ctx.prompter.yesNoCancel(u"同名のファイル（"_s + path + u"）が存在します。上書きしますか？"_s + kCrLf +
                                         kCrLf + u"はい→上書き　いいえ→アペンド（追加）　ｷｬﾝｾﾙ→処理を中止"_s,
                                     kVoteRoboTitle);
        if (a == Answer::Cancel)
            return {};
        append = a == Answer::No;
    }
    const auto times = ReadRaceTimes(ctx.paths.DataDir, day);
    if (!times) {
        return Status::warning(kVoteRoboNoRaceFile, kVoteRoboTitle);
    }
    QString text;
    for (const QString& line : VoteRoboScheduleLines(bets, options, *times))
        text += line + kCrLf;
    const QByteArray bytes = toSjis(text);
    const Status s = append ? SafeSave::append(path, bytes) : SafeSave::save(path, bytes);
    if (!s.ok()) {
        return s.titled(kVoteRoboTitle);
    }
    return OfferPendingBetRemoval(
        ctx, day, QString::number(bets.size()) + u"BET出力しました。"_s + kCrLf + kCrLf + u"保留ＢＥＴファイルを削除しますか？"_s,
        kVoteRoboTitle);
}

}  // namespace zm
