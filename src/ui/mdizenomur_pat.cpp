// The main window's ＰＡＴ menu: the day's stake, the odds window of the race on the card, the
// race results, the vote log with its profit and loss, the back-test of the prediction styles
// over the days with results and the season ledger. Every results read and vote-log judgement
// is put into the ledger.

#include "ui/mdizenomur.h"

#include "analysis/ledger_days.h"
#include "import/race_model.h"
#include "pat/pat_log.h"
#include "ui/frmbacktest.h"
#include "ui/frmledger.h"
#include "ui/frmpatlog.h"
#include "ui/frmpatstake.h"
#include "ui/frmzenomain.h"
#include "ui/uiutil.h"

#include <QFile>
#include <QScreen>

namespace zm::ui {

namespace {

// The day's results as the ".SEI" file holds them now (none without one).
std::vector<zm::SeiRecord> savedResults(const AppContext& ctx, const QString& day) {
    QFile f(zm::seiPath(ctx.paths.DataDir, day));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return zm::seiRecords(f.readAll());
}

// Puts the day as its files now hold it into the ledger. A failure is shown; what was read stays.
void updateDayLedger(AppContext& ctx, const QString& day) {
    if (zm::ledgerSourceDays(ctx.paths, day, day).isEmpty()) {
        return;
    }
    auto ledger = zm::Ledger::open(zm::ledgerPath(ctx.paths));
    if (!showFailure(ctx.prompter, ledger.status())) {
        return;
    }
    const auto update = zm::updateLedger(ctx, *ledger.value(), {day});
    if (showFailure(ctx.prompter, update.status()) && !update->failures.isEmpty()) {
        showFailure(ctx.prompter, Status::warning(update->failures.join(u'\n')));
    }
}

// A report window: application modal and, as its tables and charts want, larger than a dialog's
// usual share of the screen.
void openReportWindow(QWidget* owner, QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    QSize size = dialog->sizeHint();
    if (const QScreen* screen = owner->screen()) {
        size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 40));
    }
    dialog->resize(size);
    PlaceOverParent(dialog);
    dialog->open();
}

}  // namespace

void MDIZenoMUR::mnuPatItem_Click(int index) {
    if (running_) {
        return;
    }
    // The day the PAT views look at: the race day of the card, else the one last chosen or
    // imported; the views fall back to today without one.
    QString day = card_ ? card_->currentRaceDate() : QString();
    if (day.isEmpty()) {
        day = chosenDay_.isEmpty() ? currentDay_ : chosenDay_;
    }
    day = zm::referenceDay(day);

    switch (index) {
        case 0: {
            const auto stake = zm::ShowDayStake(ctx_, day);
            if (showFailure(ctx_.prompter, stake.status())) {
                showDialog(new frmPatStake(*stake, this));
            }
            break;
        }
        case 1:
            if (!card_ || !card_->haveRace() || !card_->inCardView()) {
                ctx_.prompter.information(QStringLiteral("出馬表画面から実行してください。"));
                return;
            }
            card_->ShowOddsWindow();
            break;
        case 2: {
            const auto results = zm::BuildResults(ctx_, day);
            if (!showFailure(ctx_.prompter, results.status())) {
                return;
            }
            updateDayLedger(ctx_, day);
            // Without a vote log the results page still shows.
            auto log = zm::ShowVoteLog(ctx_, day);
            std::optional<zm::VoteLog> shown;
            if (showFailure(ctx_.prompter, log.status())) {
                shown = std::move(log.value());
            }
            showDialog(new frmPatLog(ctx_, std::move(shown), *results, frmPatLog::ResultsPage, this));
            break;
        }
        case 3: {
            // The bets are judged against the latest results PAT holds, without a visit to the
            // results list first.
            showFailure(ctx_.prompter, zm::RefreshResults(ctx_, day).status());
            auto log = zm::ShowVoteLog(ctx_, day);
            if (!showFailure(ctx_.prompter, log.status())) {
                return;
            }
            updateDayLedger(ctx_, day);
            showDialog(new frmPatLog(ctx_, std::move(log.value()), savedResults(ctx_, day), frmPatLog::VoteLogPage,
                                     this));
            break;
        }
        default:
            break;
    }
}

void MDIZenoMUR::mnuBacktest_Click() {
    if (running_) {
        return;
    }
    openReportWindow(this, new frmBacktest(ctx_, this));
}

void MDIZenoMUR::mnuLedger_Click() {
    if (running_) {
        return;
    }
    openReportWindow(this, new frmLedger(ctx_, this));
}

}  // namespace zm::ui
