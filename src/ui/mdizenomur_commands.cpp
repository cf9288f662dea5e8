// The main window's archive commands: import and predict, the batch, the split of a two-day
// archive, the predicted-odds import and the dummy race day.

#include "ui/mdizenomur.h"

#include "export/day_exports.h"
#include "import/day_run.h"
#include "import/odds_import.h"
#include "import/race_model.h"
#include "import/split.h"
#include "predict/dummy_day.h"
#include "ui/frmhiduke.h"
#include "ui/frmprogres.h"
#include "ui/frmsplit.h"
#include "ui/uiutil.h"

#include <QPointer>
#include <QStatusBar>

namespace zm::ui {

void MDIZenoMUR::Kaitou_Yosou() {
    if (running_) {
        return;
    }
    if (ctx_.BatchRequested) {
        closeCardWindow();
        BatchResult result;
        runLong([&] {
            progress_->showOverParent();
            result = BatchRun(ctx_, *state_, dayRunHooks());
        });
        if (result.archives > 0) {
            ctx_.prompter.information(QStringLiteral("一括処理が終了しました(^^)"), kAppTitle);
        }
        return;
    }
    ExtractAndPredictCommand();
}

void MDIZenoMUR::ExtractAndPredictCommand() {
    const QString archive = KaitouDataSelect(1);
    if (archive.isEmpty()) {
        return;
    }
    runLong([&] {
        progress_->showOverParent();
        ExtractAndPredict(ctx_, *state_, archive, dayRunHooks());
    });
}

void MDIZenoMUR::mnuG1cut_Click() {
    if (running_) {
        return;
    }
    const QString archive = KaitouDataSelect(2);
    if (archive.isEmpty()) {
        return;
    }
    auto* window = new frmSplit(this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->adjustSize();
    PlaceOverParent(window);
    window->show();
    const QPointer<frmSplit> shown(window);
    SplitObserver observer;
    observer.original = [shown](const QString& t) {
        if (shown) {
            shown->setOriginal(t);
        }
    };
    observer.added = [shown](const QString& t) {
        if (shown) {
            shown->setAdded(t);
        }
    };
    observer.status = [shown](const QString& t) {
        if (shown) {
            shown->setStatus(t);
        }
    };
    running_ = true;
    setCommandsEnabled(false);
    QString written;
    {
        BusyCursor busy;
        written = SplitTwoDayArchive(ctx_, archive, observer);
    }
    setCommandsEnabled(true);
    running_ = false;
    if (!shown) {
        return;
    }
    window->finish();
    if (written.isEmpty()) {
        // Stopped (one date only, unreadable archive): its message has been shown.
        window->close();
    }
}

void MDIZenoMUR::HidukeHoryuuBet_Click() {
    auto* dialog = new frmHiduke(
        [this](const QString& typed) {
            const auto day = CreateDummyDay(ctx_, *state_, typed);
            if (day) {
                chosenDay_ = *day;
            }
            return day.has_value();
        },
        QDate::currentDate(), this);
    showDialog(dialog);
}

void MDIZenoMUR::mnuConvMurOdds_Click(int index) {
    if (running_ || index != 0) {
        return;
    }
    const QString folder = FolderExists(ctx_.settings.MurDataDir) ? ctx_.settings.MurDataDir : ctx_.paths.AppPath;
    const QString archive = openFile(QStringLiteral("ＭＵＲ予想オッズの選択"), folder, oddsArchiveFilters(), 0);
    if (archive.isEmpty()) {
        return;
    }
    bool done = false;
    runLong([&] { done = ImportOddsArchive(ctx_, *state_, archive); });
    if (done) {
        statusBar()->showMessage(QStringLiteral("予想オッズを取り込みました：") + state_->OddsPath, 10000);
    }
}

}  // namespace zm::ui
