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

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace zm::ui {

const QString& MDIZenoMUR::currentRaceDate() const {
    return state_->CurrentRaceDate;
}

void MDIZenoMUR::mnuBetFIleEdit_Click() {
    const Result<QString> file = PendingBetFileToEdit(ctx_.paths, currentRaceDate());
    if (!file) {
        ctx_.prompter.information(file.message());
        return;
    }
    // The desktop's own application for the file; the program goes on without waiting for it.
    if (!openUrl(QUrl::fromLocalFile(*file))) {
        ctx_.prompter.warning(QStringLiteral("「%1」を開けません。").arg(QDir::toNativeSeparators(*file)));
    }
}

// The rewrites run on a worker thread: the window goes on painting while the file is read and
// written, and their questions come up here as usual.
void MDIZenoMUR::mnuBetTougou_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    runLong([&day](AppContext& run) { MergeDuplicateBets(run, day); }, false);
}

void MDIZenoMUR::mnuBetSakujo_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    runLong([&day](AppContext& run) { RemoveDuplicateBets(run, day); }, false);
}

void MDIZenoMUR::mnuBetSort_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    runLong([&day](AppContext& run) { SortPendingBets(run, day); }, false);
}

void MDIZenoMUR::mnuBetOddsTorikomi_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    runLong([&day](AppContext& run) { ImportBetOdds(run, day); }, false);
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
    std::optional<BetTotals> totals;
    runLong([&](AppContext& run) { totals = PendingBetTotals(run, day); }, false);
    if (totals) {
        showDialog(new frmHoryuuBetHyouji(*totals, this));
    }
}

void MDIZenoMUR::mnuPatBetOut_Click() {
    if (running_) {
        return;
    }
    const QString day = currentRaceDate();
    runLong([&day](AppContext& run) { CutPurchaseFiles(run, day); }, false);
}

}  // namespace zm::ui
