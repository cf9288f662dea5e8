#include "export/mur_contest_text.h"

#include "app/context.h"
#include "app/safe_save.h"
#include "codes/codetables.h"
#include "codes/numeric.h"
#include "codes/sjis.h"
#include "export/contest_readers.h"
#include "export/export_text.h"
#include "import/day_files.h"
#include "import/race_model.h"
#include "predict/predict_day.h"
#include "predict/selection.h"

#include <cmath>

namespace zm {

namespace {

struct Pair {
    int a = 0;
    int b = 0;
};

// The pair picks of a race as horse numbers, within the field.
std::vector<Pair> pairPicks(const PredictionRecord& rec) {
    const int n = rec.runnerCount;
    const bool small = n >= 1 && n <= 8;
    std::vector<Pair> pairs;
    for (size_t k = 0; k < 10; ++k) {
        const int code = small ? rec.smallPicks[k].code : rec.quinellaPicks[k].code;
        const Pair p = small ? Pair{code / 10, code % 10} : Pair{code / 100, code % 100};
        if (p.a >= 1 && p.a <= n && p.b >= 1 && p.b <= n && p.a != p.b)
            pairs.push_back(p);
    }
    return pairs;
}

QString twoDigitsZero(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// "単勝" or "馬連", two blanks, the combination right-aligned in five, two blanks, the stake
// right-aligned in six and "円".
QString betLine(const QString& word, const QString& combination, int stake) {
    return word + QStringLiteral("  ") + combination.rightJustified(5, u' ') + QStringLiteral("  ") +
           QString::number(stake).rightJustified(6, u' ') + u'円';
}

QString dayText(const QString& day) {
    const QDate d = DateFromYmd(day);
    if (!d.isValid())
        return day;
    return QString::number(d.year()) + u'年' + QString::number(d.month()).rightJustified(2, u' ') + u'月' +
           QString::number(d.day()).rightJustified(2, u' ') + u'日' + u'(' + WeekdayChar(day) + u')';
}

}  // namespace

QString murRaceHeader(const PredictionRecord& rec, bool continued) {
    const QString time = rec.startTime.leftJustified(4, u' ');
    QString s = QStringLiteral("■ ") + PadBytes(VenueName(rec.venueCode).left(2), 4) + u' ' + twoCharNumber(rec.raceNo) +
                QStringLiteral("Ｒ ") + rec.raceDate.leftJustified(8, u' ', true) + QStringLiteral(" [") + kMurSoftCode +
                QStringLiteral("] 発走") + time.left(2) + u':' + time.mid(2, 2) + u' ' + twoCharNumber(rec.runnerCount) +
                QStringLiteral("頭立");
    if (continued)
        s += QStringLiteral("（続き）");
    return s;
}

MurContestText murContestText(const std::vector<PredictionRecord>& records, const MurContestInput& input) {
    MurContestText out;
    QStringList body;
    for (const PredictionRecord& rec : records) {
        const int win = rec.winPicks[0].code;
        const bool hasWin = win >= 1 && (rec.runnerCount < 1 || win <= rec.runnerCount) && win <= 18;
        const std::vector<Pair> pairs = pairPicks(rec);
        if (!hasWin && pairs.empty())
            continue;
        body << murRaceHeader(rec, false);
        if (hasWin) {
            body << betLine(QStringLiteral("単勝"), QString::number(win), input.winStake);
            out.total += input.winStake;
        }
        for (size_t k = 0; k < pairs.size(); ++k) {
            if (k > 0 && k % kContestSelectionsPerType == 0)
                body << QString() << murRaceHeader(rec, true);
            const Pair& p = pairs[k];
            body << betLine(QStringLiteral("馬連"),
                            twoDigitsZero(std::min(p.a, p.b)) + u'-' + twoDigitsZero(std::max(p.a, p.b)),
                            input.pairStake);
            out.total += input.pairStake;
        }
        body << QString();
    }
    out.lines << QStringLiteral("【MURコンテスト版】ゼノゼノＭＵＲの予想");
    out.lines << QStringLiteral("開催日 ") + dayText(input.day) + QStringLiteral("  予想法 ") +
                     PredictionStyleName(input.style);
    out.lines << QStringLiteral("投票金額 ") + QString::number(out.total) + QStringLiteral("円  持ち点 ") +
                     QString::number(input.budget) + QStringLiteral("円");
    out.lines << QStringLiteral("ソフトコード ") + kMurSoftCode;
    out.lines << QString();
    out.lines << body;
    return out;
}

QString murOverBudgetMessage(int total, int budget) {
    return QStringLiteral("【MURコンテスト版】の投票金額が ") + QString::number(total / 100) +
           QStringLiteral("００円で\r\n持ち点の ") + QString::number(budget / 100) +
           QStringLiteral("００円をオーバーしました！");
}

int murBudgetOf(const QString& stored) {
    const double hundreds = std::floor(Val(stored) / 100.0);
    if (!(hundreds >= 1.0))
        return kMurDefaultBudget;
    return hundreds > 1e7 ? 1000000000 : static_cast<int>(hundreds) * 100;
}

ExportFile MurContestTextFile(AppContext& ctx, const ImportedDay& imported, const FileSet* set) {
    MurContestInput input;
    input.day = imported.date;
    input.style = ctx.settings.Yosou;
    input.winStake = stakeOf(ctx.settings.BetTan);
    input.pairStake = stakeOf(ctx.settings.BetUma);
    input.budget = murBudgetOf(ctx.store.read(QStringLiteral("File"), kMurBudgetKey));
    const auto records = readPredictionFile(dayFileToRead(set, predictionFilePath(ctx.paths.DataDir, input.day)));
    const MurContestText text = murContestText(records ? *records : std::vector<PredictionRecord>{}, input);
    ExportFile file{ctx.settings.OutPutDir + QStringLiteral("MUR") + input.day + QStringLiteral(".TXT"),
                    crlfLines(text.lines)};
    if (text.total > input.budget)
        file.warning = murOverBudgetMessage(text.total, input.budget);
    return file;
}

}  // namespace zm
