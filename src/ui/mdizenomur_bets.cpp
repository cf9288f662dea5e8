// The main window's pending-bet commands: view and edit the day's file, merge and remove
// duplicates, sort, read the odds, delete by odds range, the totals and the purchase files.
// Each works on the file of the current race day.

#include "bets/maintenance.h"
#include "bets/pending_bet.h"
#include "bets/purchase_files.h"
#include "import/race_model.h"
#include "ui/frmhoryubetodds.h"
#include "ui/frmhoryuubethyouji.h"
#include "ui/mdizenomur.h"
#include "ui/uiutil.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace zm::ui {

namespace {

struct BetCounts {
    int bets = 0;
    int withOdds = 0;
};

// The day's pending bets as a rewrite left them: how many, and how many have odds.
std::optional<BetCounts> betCounts(const AppPaths& paths, const QString& day) {
    const auto file = ReadPendingBets(PendingBetPath(paths, day));
    if (!file.ok() || !file->exists) {
        return std::nullopt;
    }
    BetCounts c;
    for (const PendingBet& bet : file->bets) {
        ++c.bets;
        if (!trimBlanks(bet.Odds).isEmpty()) {
            ++c.withOdds;
        }
    }
    return c;
}

// Shows how a rewrite ended: its failure, or what it has to say. A failed rewrite changed
// nothing, as a declined one.
BetOutcome showBetDone(Prompter& prompter, const std::optional<Result<BetDone>>& done) {
    if (!done || !showFailure(prompter, done->status())) {
        return BetOutcome::Declined;
    }
    showNotice(prompter, done->value().notice);
    return done->value().outcome;
}

}  // namespace

const QString& MDIZenoMUR::currentRaceDate() const {
    return currentDay_;
}

void MDIZenoMUR::mnuBetFIleEdit_Click() {
    const Result<QString> file = PendingBetFileToEdit(ctx_.paths, currentRaceDate());
    if (!showFailure(ctx_.prompter, file.status())) {
        return;
    }
    // The desktop's own application for the file; the program goes on without waiting for it.
    if (!openUrl(QUrl::fromLocalFile(*file))) {
        ctx_.prompter.warning(
            QStringLiteral("「%1」を開けません。").arg(QDir::toNativeSeparators(*file)) +
            QStringLiteral("\r\n\r\nテキストファイル（.TXT）を開くアプリケーションが決まっていないようです。"
                           "\r\nデスクトップの設定（既定のアプリケーション）で、.TXT をテキストエディタで開くように"
                           "してください。"));
    }
}

// The rewrites run on a worker thread: the window goes on painting while the file is read and
// written, and their questions come up here as usual.
void MDIZenoMUR::mnuBetTougou_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<BetDone>> done;
    runLong([&](AppContext& run) { done = MergeDuplicateBets(run, day); }, false);
    showBetDone(ctx_.prompter, done);
}

void MDIZenoMUR::mnuBetSakujo_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<BetDone>> done;
    runLong([&](AppContext& run) { done = RemoveDuplicateBets(run, day); }, false);
    showBetDone(ctx_.prompter, done);
}

void MDIZenoMUR::mnuBetSort_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<BetDone>> done;
    runLong([&](AppContext& run) { done = SortPendingBets(run, day); }, false);
    const BetOutcome outcome = showBetDone(ctx_.prompter, done);
    const auto after = betCounts(ctx_.paths, day);
    if (outcome == BetOutcome::Done && after) {
        ctx_.prompter.information(QStringLiteral("保留ＢＥＴ（%1ベット）を並び替えました。").arg(after->bets));
    } else if (outcome == BetOutcome::NothingToDo) {
        ctx_.prompter.information(QStringLiteral("保留ＢＥＴが２ベット未満なので、並び替えはしませんでした。"));
    }
}

void MDIZenoMUR::mnuBetOddsTorikomi_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<BetDone>> done;
    runLong([&](AppContext& run) { done = ImportBetOdds(run, day); }, false);
    const BetOutcome outcome = showBetDone(ctx_.prompter, done);
    const auto after = betCounts(ctx_.paths, day);
    if (outcome == BetOutcome::Done && after) {
        QString text = QStringLiteral("保留ＢＥＴ%1ベットのうち、%2ベットのオッズを取り込みました。")
                           .arg(after->bets)
                           .arg(after->withOdds);
        if (after->withOdds < after->bets) {
            text += QStringLiteral("\r\nＰＡＴにオッズのなかった買い目は、オッズ欄が空白のままです。");
        }
        ctx_.prompter.information(text);
    }
}

void MDIZenoMUR::mnuBetOddsHanniSakujo_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    if (!QFileInfo(PendingBetPath(ctx_.paths, day)).isFile()) {
        ctx_.prompter.information(kNoPendingBets);
        return;
    }
    showDialog(new frmHoryubetOdds(ctx_, day, OpenOddsRangeDialog(ctx_.store), this));
}

void MDIZenoMUR::mnuBetHyouji_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<BetTotals>> totals;
    runLong([&](AppContext& run) { totals = PendingBetTotals(run.paths, day); }, false);
    if (totals && showFailure(ctx_.prompter, totals->status())) {
        showDialog(new frmHoryuuBetHyouji(totals->value(), this));
    }
}

void MDIZenoMUR::mnuPatBetOut_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    std::optional<Result<Notice>> report;
    runLong([&](AppContext& run) { report = CutPurchaseFiles(run, day); }, false);
    if (!report || !showFailure(ctx_.prompter, report->status())) {
        return;
    }
    showNotice(ctx_.prompter, report->value());
    showFailure(ctx_.prompter, OfferPendingBetRemoval(ctx_, day));
}

}  // namespace zm::ui
