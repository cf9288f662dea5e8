#pragma once

// The back-test: over the predicted days of a date range, the recommended bets of every
// prediction style rebuilt from the stored prediction records (through the prediction's own
// picking code), staked with the default stakes and judged against the day's ".SEI" results;
// the day's own pending bets judged the same way; and how the marked horses finished.

#include "app/paths.h"
#include "app/progress.h"
#include "app/settings.h"
#include "pat/pat_log.h"
#include "predict/prediction_file.h"

#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace zm {
class OddsRecord;
}

namespace zm {

constexpr int kPredictionStyleCount = 9;  // the prediction's styles 0..8
// Win bets on the horses whose expected value at the predicted odds reaches a threshold, by
// the stored win model, on the days after those it was fitted on.
constexpr int kStyleEv = 9;
constexpr int kStyleCount = 10;  // styles 0..9
// The stake of each bet of the expected-value style, in yen.
constexpr double kEvStakeYen = 100;
// The style number of the day's own pending bets in the figures.
constexpr int kMyBets = -1;

struct Tally {
    int races = 0;  // races with at least one judged bet
    int bets = 0;   // judged bets (hit, miss or refund)
    int hits = 0;
    int refunds = 0;
    double stake = 0;    // yen
    double returns = 0;  // yen: payouts of hits and refunded stakes

    double balance() const { return returns - stake; }
    double hitRate() const;       // hits / bets x 100, 0 without bets
    double recoveryRate() const;  // returns / stake x 100, 0 without stake
    void add(const Tally& other);
};

// One bet as judged.
struct JudgedBet {
    QString day;      // yyyymmdd
    QString venueNo;  // JRA venue number "01".."10"
    int raceNo = 0;
    QString typeCode;     // "1" 単勝 .. "5" ワイド
    QString combination;  // "3", "5-12", "1-8"
    double stake = 0;
    Judgement judgement = Judgement::Unjudged;
    double payout = 0;  // per 100 yen on a hit
    double returns = 0;
};

struct DayFigures {
    QString day;
    Tally tally;
    double cumulativeBalance = 0;
};

struct StyleFigures {
    int style = 0;  // 0..8, or kMyBets
    QString name;   // the style's short name, or "my bets"
    Tally total;
    std::map<QString, Tally> byType;   // by bet type code "1".."5"
    std::map<QString, Tally> byVenue;  // by JRA venue number
    std::map<QString, Tally> byMonth;  // by "yyyy/mm"
    std::vector<DayFigures> days;      // the days it bet on, in order
    int unjudged = 0;                  // bets of races that have no result
};

struct MarkFigures {
    int runs = 0;
    int wins = 0;
    int topTwo = 0;
    int topThree = 0;
};

struct BacktestOptions {
    QString from;             // yyyymmdd, empty for no bound
    QString to;               // yyyymmdd, empty for no bound
    std::vector<int> styles;  // empty for all of them
    std::optional<double> evThreshold;  // the settings' when none
    bool keepBets = false;    // fill BacktestReport::bets (for the bet list export)
};

struct BacktestReport {
    std::vector<StyleFigures> styles;  // in the order asked
    StyleFigures myBets;               // style kMyBets
    std::array<MarkFigures, 5> marks{};  // ◎ ○ ▲ △ ×
    QStringList daysTested;             // prediction and results
    QStringList daysWithoutResults;     // predicted, no results: left out
    QStringList daysWithoutPrediction;  // results, no prediction: only the pending bets judged
    QStringList daysWithoutOdds;        // tested, but style 8 had no predicted-odds day file
    std::vector<std::pair<int, JudgedBet>> bets;  // (style, bet) when keepBets
    // The expected-value style, when asked for: why it has no bets at all (no usable model),
    // the days tested that it left out as the model's own, and the threshold it used.
    QString evProblem;
    QStringList daysLearned;
    double evThreshold = 0;
};

// "単勝" "複勝" "枠連" "馬連" "ワイド" of a type code, "？？" else.
QString betTypeName(const QString& typeCode);
// The name of a style in the figures: its short name, or "保留ＢＥＴ" for the pending bets.
QString styleFiguresName(int style);

// A default stake in yen from its settings text: whole hundreds, at least 100.
double defaultStakeYen(const QString& text);

// The recommended bets of one stored prediction record in one style, before staking: the win
// pick ("1", horse, "") and the pair picks ("4", a, b). None when the race had no bet selection.
// odds is the race's predicted-odds record (style 8), nullptr when there is none.
struct PickedBet {
    QString typeCode;
    int first = 0;
    int second = 0;
};
std::vector<PickedBet> rebuildPicks(const PredictionRecord& record, int style, const OddsRecord* odds);

// Runs the back-test over the days of dataDir (from the prediction and ".SEI" files found).
BacktestReport RunBacktest(const AppPaths& paths, const AppSettings& settings, const BacktestOptions& options,
                           ProgressSink& progress);

}  // namespace zm
