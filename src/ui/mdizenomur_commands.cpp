// The main window's archive commands: import and predict, the batch, the split of a two-day
// archive, the predicted-odds import and the dummy race day.

#include "ui/mdizenomur.h"

#include "card/cardday.h"
#include "card/cardtext.h"
#include "export/day_exports.h"
#include "day/day_pipeline.h"
#include "import/odds_import.h"
#include "import/race_model.h"
#include "import/split.h"
#include "predict/dummy_day.h"
#include "ui/frmconvmurodds.h"
#include "ui/frmhiduke.h"
#include "ui/frmprogres.h"
#include "ui/frmsplit.h"
#include "ui/uiutil.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QStatusBar>

namespace zm::ui {

namespace {
// How long the note of a finished run stays in the status bar (milliseconds).
constexpr int kStatusNoteMs = 20000;

// The predicted-odds menu's conversion items: 2 PAT98, 3 PAT95, 4 PAT31.
const zm::PatFormat& convFormatOfItem(int index) {
    return *zm::patFormat(index == 4 ? zm::PatVer::V31 : index == 3 ? zm::PatVer::V95 : zm::PatVer::V98);
}
}  // namespace

void MDIZenoMUR::Kaitou_Yosou() {
    if (running_) {
        return;
    }
    if (ctx_.BatchRequested) {
        closeCardWindow();
        BatchResult result;
        runLong(
            [&](AppContext& run) {
                result = BatchRun(run, DaySteps::whole(), [&run](const Notice& message) { showNotice(run.prompter, message); });
            },
            true);
        if (!result.lastDate.isEmpty())
            currentDay_ = result.lastDate;
        if (result.archives > 0) {
            statusBar()->showMessage(QStringLiteral("一括処理：%1件の出馬表ファイルのうち%2日分を取り込み、予想しました。")
                                         .arg(result.archives)
                                         .arg(result.imported),
                                     kStatusNoteMs);
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
    DayOutcome imported;
    runLong([&](AppContext& run) { imported = ExtractAndPredict(run, archive, DaySteps::whole()); }, true);
    if (!imported.date.isEmpty())
        currentDay_ = imported.date;
    for (const Notice& message : imported.messages())
        showNotice(ctx_.prompter, message);
    if (!imported.ok())
        return;
    const QString day = imported.date;
    statusBar()->showMessage(QFileInfo(archive).fileName() + QStringLiteral("：") + zm::DayText(day) +
                                 QStringLiteral("の出馬表を取り込み、予想しました。"),
                             kStatusNoteMs);
    if (card_) {
        // An open race card shows the new day at once.
        card_->ShowCardScreen();
    }
}

void MDIZenoMUR::mnuG1cut_Click() {
    if (running_) {
        return;
    }
    const QString archive = KaitouDataSelect(2);
    if (archive.isEmpty()) {
        return;
    }
    // The window opens with the first report of the split, that is once the archive has passed
    // its format check; an archive refused before that leaves only its message.
    QPointer<frmSplit> window;
    const auto shown = [this, &window]() -> frmSplit* {
        if (!window) {
            window = new frmSplit(this);
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->setWindowModality(Qt::ApplicationModal);
            window->adjustSize();
            PlaceOverParent(window);
            window->show();
        }
        return window;
    };
    // Reports come from the worker thread; they are shown on this one, in order.
    QObject relay;
    const auto report = [&relay, shown](void (frmSplit::*set)(const QString&)) {
        return [&relay, shown, set](const QString& text) {
            QMetaObject::invokeMethod(
                &relay, [shown, set, text] { (shown()->*set)(text); }, Qt::QueuedConnection);
        };
    };
    SplitObserver observer;
    observer.original = report(&frmSplit::setOriginal);
    observer.added = report(&frmSplit::setAdded);
    observer.status = report(&frmSplit::setStatus);
    Result<QString> written = Status::failure(QString());
    runLong([&](AppContext& run) { written = SplitTwoDayArchive(run, archive, observer); }, false);
    QCoreApplication::sendPostedEvents(&relay);
    // Stopped (one date only, unreadable archive): its message, if it has one, comes first.
    const bool done = showFailure(ctx_.prompter, written.status());
    if (!window) {
        return;
    }
    window->finish();
    if (!done) {
        window->close();
    }
}

void MDIZenoMUR::HidukeHoryuuBet_Click() {
    auto* dialog = new frmHiduke(
        [this](const QString& typed) {
            const QStringList before = zm::LoadDayList(ctx_.paths.DataDir);
            const Result<QString> day = parseDummyDate(typed);
            if (!day) {
                ctx_.prompter.warning(day.message());
                return false;
            }
            currentDay_ = *day;
            if (const Status created = CreateDummyDay(ctx_, *day); !created) {
                ctx_.prompter.critical(created.message());
                return false;
            }
            chosenDay_ = *day;
            const QString text = zm::DayText(*day);
            ctx_.prompter.information(
                before.contains(*day)
                    ? text + QStringLiteral("は開催日の一覧にすでにあります。ファイルは作成しませんでした。\n"
                                            "保留ＢＥＴの操作はこの日付で行います。")
                    : text + QStringLiteral("のダミーの開催日を作成しました（") + QStringLiteral("MUR") + *day +
                          QStringLiteral("_1.DEN、") + *day +
                          QStringLiteral(".DAT）。\n保留ＢＥＴの操作はこの日付で行います。"),
                QStringLiteral("ダミーの開催日を作成"));
            if (card_) {
                // The open race card lists the new day and shows it as the chosen one.
                card_->ShowCardScreen();
            }
            return true;
        },
        QDate::currentDate(), this);
    showDialog(dialog);
}

void MDIZenoMUR::mnuConvMurOdds_Click(int index) {
    if (running_ || index < 0 || index == 1 || index > 4) {
        return;
    }
    const QString folder = FolderExists(ctx_.settings.MurDataDir) ? ctx_.settings.MurDataDir : ctx_.paths.AppPath;
    const QString archive = openFile(QStringLiteral("ＭＵＲ予想オッズの選択"), folder, oddsArchiveFilters(), 0);
    if (archive.isEmpty()) {
        return;
    }
    Result<QString> oddsPath = Status::failure(QString());
    runLong([&](AppContext& run) { oddsPath = ImportOddsArchive(run, archive); }, false);
    if (!oddsPath && !oddsPath.message().isEmpty()) {
        ctx_.prompter.critical(oddsPath.message());
    }
    if (oddsPath) {
        statusBar()->showMessage(QStringLiteral("予想オッズを取り込みました：") + *oddsPath, kStatusNoteMs);
    }
    if (oddsPath && index >= 2) {
        showDialog(new frmConvMurOdds(ctx_, *oddsPath, convFormatOfItem(index), this));
    }
}

}  // namespace zm::ui
