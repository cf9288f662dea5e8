#include "analysis/backtest.h"

#include "analysis/race_days.h"
#include "analysis/race_ev.h"
#include "bets/pending_bet.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "import/day_import.h"
#include "import/records.h"
#include "predict/predict_day.h"
#include "predict/selection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <optional>

namespace zm {


double Tally::hitRate() const {
    return bets > 0 ? static_cast<double>(hits) * 100.0 / bets : 0.0;
}

double Tally::recoveryRate() const {
    return stake > 0 ? returns * 100.0 / stake : 0.0;
}

void Tally::add(const Tally& other) {
    races += other.races;
    bets += other.bets;
    hits += other.hits;
    refunds += other.refunds;
    stake += other.stake;
    returns += other.returns;
}

QString betTypeName(const QString& typeCode) {
    if (typeCode == u"1") return QStringLiteral("単勝");
    if (typeCode == u"2") return QStringLiteral("複勝");
    if (typeCode == u"3") return QStringLiteral("枠連");
    if (typeCode == u"4") return QStringLiteral("馬連");
    if (typeCode == u"5") return QStringLiteral("ワイド");
    return QStringLiteral("？？");
}

QString styleFiguresName(int style) {
    if (style == kMyBets)
        return QStringLiteral("保留ＢＥＴ");
    return style == kStyleEv ? QStringLiteral("期待値") : PredictionStyleName(style);
}

double defaultStakeYen(const QString& text) {
    const double hundreds = std::floor(Val(text) / 100.0);
    return std::max(100.0, hundreds * 100.0);
}

std::vector<PickedBet> rebuildPicks(const PredictionRecord& record, int style, const OddsRecord* odds) {
    std::vector<PickedBet> out;
    const int n = std::clamp<int>(record.runnerCount, 0, kPredictionRunners);
    std::array<std::int16_t, 18> ranks{};
    bool ranked = false;
    for (int i = 0; i < n; ++i) {
        ranks[static_cast<size_t>(i)] = record.runners[static_cast<size_t>(i)].rank;
        ranked = ranked || ranks[static_cast<size_t>(i)] > 0;
    }
    if (!ranked) {
        return out;  // the race had no bet selection
    }
    SelectionLists lists;
    FillRankList(ranks, n, lists);
    SelectionRace race;
    race.runnerCount = record.runnerCount;
    race.style = style;
    race.odds = odds;
    PickBets(race, lists);
    // Only the pick lists are used: one record kept for them spares building 18 runners a race.
    thread_local PredictionRecord picks;
    picks.winPicks = {};
    picks.smallPicks = {};
    picks.quinellaPicks = {};
    StorePicks(lists, record.runnerCount, picks);
    if (picks.winPicks[0].code > 0) {
        out.push_back({QStringLiteral("1"), picks.winPicks[0].code, 0});
    }
    const bool small = record.runnerCount >= 1 && record.runnerCount <= 8;
    const int base = small ? 10 : 100;
    for (const PickEntry& p : small ? picks.smallPicks : picks.quinellaPicks) {
        if (p.code != 0) {
            out.push_back({QStringLiteral("4"), p.code / base, p.code % base});
        }
    }
    return out;
}

namespace {

bool inRange(const QString& day, const BacktestOptions& o) {
    return (o.from.isEmpty() || day >= o.from) && (o.to.isEmpty() || day <= o.to);
}

QString twoDigit(int n) {
    return QString::number(n).rightJustified(2, u'0');
}

// Accumulates the bets of one race into a style's figures.
class RaceTally {
public:
    void add(const JudgedBet& bet) {
        if (bet.judgement == Judgement::Unjudged) {
            ++unjudged_;
            return;
        }
        Tally& t = byType_[bet.typeCode];
        ++t.bets;
        t.hits += bet.judgement == Judgement::Hit ? 1 : 0;
        t.refunds += bet.judgement == Judgement::Refund ? 1 : 0;
        t.stake += bet.stake;
        t.returns += bet.returns;
    }

    void commit(StyleFigures& f, const QString& venueNo, const QString& month, Tally& day) const {
        f.unjudged += unjudged_;
        Tally race;
        for (auto [code, t] : byType_) {
            t.races = 1;
            f.byType[code].add(t);
            t.races = 0;
            race.add(t);
        }
        if (race.bets == 0) {
            return;
        }
        race.races = 1;
        f.total.add(race);
        f.byVenue[venueNo].add(race);
        f.byMonth[month].add(race);
        day.add(race);
    }

private:
    std::map<QString, Tally> byType_;
    int unjudged_ = 0;
};

JudgedBet judge(const std::vector<SeiRecord>& one, const QString& day, const QString& venueNo, int raceNo,
                const QString& typeCode, const QString& first, const QString& second, double stake) {
    JudgedBet b;
    b.day = day;
    b.venueNo = venueNo;
    b.raceNo = raceNo;
    b.typeCode = typeCode;
    b.combination = second.isEmpty() ? first : first + u'-' + second;
    b.stake = stake;
    if (!one.empty()) {
        const JudgeResult r = JudgeBet(one, day.mid(6, 2), venueNo, twoDigit(raceNo), typeCode, first, second);
        b.judgement = r.judgement;
        b.payout = r.payout;
    }
    b.returns = b.judgement == Judgement::Hit      ? b.payout * stake / 100.0
                : b.judgement == Judgement::Refund ? stake
                                                   : 0.0;
    return b;
}

void closeDay(StyleFigures& f, const QString& day, const Tally& tally) {
    if (tally.bets == 0) {
        return;
    }
    const double before = f.days.empty() ? 0.0 : f.days.back().cumulativeBalance;
    f.days.push_back({day, tally, before + tally.balance()});
}

void countMarks(const PredictionRecord& rec, const SeiRecord& result, std::array<MarkFigures, 5>& marks) {
    const int n = std::clamp<int>(rec.runnerCount, 0, kPredictionRunners);
    for (int i = 0; i < n; ++i) {
        const int rank = rec.runners[static_cast<size_t>(i)].rank;
        if (rank < 1 || rank > 5) {
            continue;
        }
        const int horse = i + 1;
        MarkFigures& m = marks[static_cast<size_t>(rank - 1)];
        ++m.runs;
        // A dead heat lists two winners; the finishers are the first three home.
        const bool won = wonRace(result, horse);
        const bool two = finishedWithin(result, horse, 2);
        const bool three = finishedWithin(result, horse, 3);
        m.wins += won ? 1 : 0;
        m.topTwo += two ? 1 : 0;
        m.topThree += three ? 1 : 0;
    }
}

void judgePendingBets(const AppPaths& paths, const QString& day, const std::vector<SeiRecord>& sei, bool keepBets,
                      BacktestReport& report) {
    // A file that does not read as pending bets is left out like a missing one.
    const auto file = ReadPendingBets(PendingBetPath(paths, day));
    if (!file.ok() || !file->exists) {
        return;
    }
    const PendingBetTable& bets = file->bets;
    // Races in file order; the pending file may list a race's bets apart.
    std::map<std::pair<QString, int>, RaceTally> races;
    std::vector<std::pair<QString, int>> order;
    for (const PendingBet& b : bets) {
        const QString venueNo = JraVenueCodeOf(trimBlanks(b.Venue));
        const int raceNo = static_cast<int>(FieldValue(b.Race));
        const QString code = BetTypeCode(trimBlanks(b.BetType));
        const QString combination = trimBlanks(b.Combination);
        const qsizetype dash = combination.indexOf(u'-');
        const QString first = dash < 0 ? combination : trimBlanks(combination.left(dash));
        const QString second = dash < 0 ? QString() : trimBlanks(combination.mid(dash + 1));
        const SeiRecord* result = raceResult(sei, day, venueNo, raceNo);
        const std::vector<SeiRecord> one = result ? std::vector<SeiRecord>{*result} : std::vector<SeiRecord>{};
        const JudgedBet judged = judge(one, day, venueNo, raceNo, code, first, second,
                                       static_cast<double>(b.stake().value_or(Amount()).value()));
        const auto key = std::make_pair(venueNo, raceNo);
        if (!races.contains(key)) {
            order.push_back(key);
        }
        races[key].add(judged);
        if (keepBets) {
            report.bets.emplace_back(kMyBets, judged);
        }
    }
    Tally dayTally;
    const QString month = day.left(4) + u'/' + day.mid(4, 2);
    for (const auto& key : order) {
        races[key].commit(report.myBets, key.first, month, dayTally);
    }
    closeDay(report.myBets, day, dayTally);
}

}  // namespace

namespace {

// The days of the range: every prediction file and every results file of the data folder.
QStringList backtestDays(const AppPaths& paths, const BacktestOptions& options, QSet<QString>& predicted,
                         QSet<QString>& resulted) {
    const QStringList names = QDir(paths.DataDir).entryList(QDir::Files);
    for (const QString& name : names) {
        if (isDayFileName(name, QStringLiteral(".DAT"))) {
            predicted.insert(name.left(8));
        } else if (isDayFileName(name, QStringLiteral(".SEI"))) {
            resulted.insert(name.left(8));
        }
    }
    QStringList days;
    for (const QString& d : predicted) {
        if (inRange(d, options)) days << d;
    }
    for (const QString& d : resulted) {
        if (!predicted.contains(d) && inRange(d, options)) days << d;
    }
    days.sort();
    return days;
}

// What the styles of a run bet with.
struct StyleStakes {
    double win = 0;
    double quinella = 0;
    std::optional<WinModel> model;  // the expected-value style's, when it is asked and usable
    QString modelTo;                 // the last day the model was fitted on
    double evThreshold = 0;
};

// The bets of one style on one race of the day: the expected-value style only on days after
// those its model learned from (evDay).
std::vector<PickedBet> stylePicks(const PredictionRecord& rec, int style, const OddsRecord* raceOdds,
                                  const StyleStakes& stakes, bool evDay) {
    if (style != kStyleEv)
        return rebuildPicks(rec, style, raceOdds);
    std::vector<PickedBet> picks;
    if (stakes.model && evDay) {
        for (int horse : evPicks(*stakes.model, rec, raceOdds, stakes.evThreshold))
            picks.push_back({QStringLiteral("1"), horse, 0});
    }
    return picks;
}

// The styles' bets on the races of one tested day, judged.
void testDay(const QString& day, const std::vector<PredictionRecord>& records, const std::vector<SeiRecord>& sei,
             const OddsLookup* odds, const std::vector<int>& styles, const StyleStakes& stakes, bool keepBets,
             BacktestReport& report) {
    const QString month = day.left(4) + u'/' + day.mid(4, 2);
    const bool evDay = stakes.model && day > stakes.modelTo;
    std::vector<Tally> dayTallies(styles.size());
    for (const PredictionRecord& rec : records) {
        const QString venueNo = ServiceToJraCode(rec.venueCode);
        const int raceNo = rec.raceNo;
        const SeiRecord* result = raceResult(sei, day, venueNo, raceNo);
        const std::vector<SeiRecord> one = result ? std::vector<SeiRecord>{*result} : std::vector<SeiRecord>{};
        if (result) {
            countMarks(rec, *result, report.marks);
        }
        const OddsRecord* raceOdds = odds ? odds->find(rec.venueCode, raceNo) : nullptr;
        for (size_t si = 0; si < styles.size(); ++si) {
            const int style = styles[si];
            const bool needsOdds = style == kStyleOddsFilter || style == kStyleEv;
            if (needsOdds && !odds) {
                continue;
            }
            RaceTally race;
            for (const PickedBet& p : stylePicks(rec, style, needsOdds ? raceOdds : nullptr, stakes, evDay)) {
                const bool win = p.typeCode == u"1";
                const double stake = style == kStyleEv ? kEvStakeYen : win ? stakes.win : stakes.quinella;
                const JudgedBet b = judge(one, day, venueNo, raceNo, p.typeCode, QString::number(p.first),
                                          win ? QString() : QString::number(p.second), stake);
                race.add(b);
                if (keepBets) {
                    report.bets.emplace_back(style, b);
                }
            }
            race.commit(report.styles[si], venueNo, month, dayTallies[si]);
        }
    }
    for (size_t si = 0; si < styles.size(); ++si) {
        closeDay(report.styles[si], day, dayTallies[si]);
    }
    if (stakes.model && !evDay) {
        report.daysLearned << day;
    }
}

}  // namespace

BacktestReport RunBacktest(const AppPaths& paths, const AppSettings& settings, const BacktestOptions& options,
                           ProgressSink& progress) {
    BacktestReport report;
    std::vector<int> styles = options.styles;
    if (styles.empty()) {
        for (int s = 0; s < kStyleCount; ++s) {
            styles.push_back(s);
        }
    }
    for (int s : styles) {
        StyleFigures f;
        f.style = s;
        f.name = styleFiguresName(s);
        report.styles.push_back(std::move(f));
    }
    report.myBets.style = kMyBets;
    report.myBets.name = styleFiguresName(kMyBets);
    const auto asked = [&](int style) { return std::find(styles.begin(), styles.end(), style) != styles.end(); };
    const bool wantsOdds = asked(kStyleOddsFilter) || asked(kStyleEv);
    StyleStakes stakes;
    stakes.win = defaultStakeYen(settings.BetTan);
    stakes.quinella = defaultStakeYen(settings.BetUma);
    if (asked(kStyleEv)) {
        report.evThreshold = stakes.evThreshold = options.evThreshold.value_or(settings.EvThreshold);
        if (const Result<StoredModel> stored = loadUsableModel(paths)) {
            stakes.model = stored->model;
            stakes.modelTo = stored->to;
        } else {
            report.evProblem = stored.message();
        }
    }

    QSet<QString> predicted;
    QSet<QString> resulted;
    const QStringList days = backtestDays(paths, options, predicted, resulted);
    progress.setCaption(QStringLiteral("予想スタイル別の成績"));
    progress.setPercent(0);
    for (qsizetype di = 0; di < days.size(); ++di) {
        const QString& day = days[di];
        progress.setLabel(day);
        progress.setPercent(static_cast<double>(di) * 100.0 / static_cast<double>(days.size()));
        progress.idle();

        const std::vector<SeiRecord> sei =
            resulted.contains(day) ? readDayResults(seiPath(paths.DataDir, day)) : std::vector<SeiRecord>{};
        std::optional<std::vector<PredictionRecord>> records;
        if (predicted.contains(day)) {
            records = readPredictionFile(predictionFilePath(paths.DataDir, day));
        }
        if (!records) {
            if (!sei.empty()) {
                report.daysWithoutPrediction << day;
                judgePendingBets(paths, day, sei, options.keepBets, report);
            }
            continue;
        }
        if (sei.empty()) {
            report.daysWithoutResults << day;
            continue;
        }
        report.daysTested << day;

        OddsLookup odds;
        bool haveOdds = false;
        if (wantsOdds) {
            if (auto file = RecordFile::load(paths.DataDir + dayOddsFileName(day), OddsRecord::kLength)) {
                odds.load(*file);
                haveOdds = true;
            } else {
                report.daysWithoutOdds << day;
            }
        }
        testDay(day, *records, sei, haveOdds ? &odds : nullptr, styles, stakes, options.keepBets, report);
        judgePendingBets(paths, day, sei, options.keepBets, report);
    }
    progress.setPercent(100);
    return report;
}

}  // namespace zm
