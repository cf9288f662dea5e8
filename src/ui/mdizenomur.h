#pragma once

#include "app/context.h"
#include "ui/frmzenomain.h"

#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>

class QMdiArea;
#include <QMdiSubWindow>
class QLabel;
class QAction;

class QMenuBar;

namespace zm {
}

namespace zm::ui {

class frmProgres;


// A command button that also reports a click of the right mouse button.
class CommandButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

signals:
    void rightClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A dotted mark inside the button that has the focus, whatever the style draws.
    void paintEvent(QPaintEvent* event) override;

private:
    bool rightDown_ = false;
};

// The strip of five command buttons: each a fifth of the strip's width (rounded half to
// even), button i at i times that width, all as high as the strip.
class CommandStrip : public QWidget {
    Q_OBJECT

public:
    explicit CommandStrip(QWidget* parent = nullptr);
    CommandButton* button(int i) const { return buttons_.at(static_cast<std::size_t>(i)); }
    QSize sizeHint() const override;
    // The width of one button for a strip of the given width.
    static int buttonWidth(int stripWidth);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<CommandButton*, 5> buttons_{};
};

// The frame in which every other window of the program opens: the menu bar, the five command
// buttons, the MDI area and the two-panel status bar.
class MDIZenoMUR : public QMainWindow {
    Q_OBJECT

public:
    // Picks a file to open: caption, start folder, filters (Qt syntax), preselected index (0-based).
    using OpenFileFn =
        std::function<QString(const QString& caption, const QString& folder, const QStringList& filters, int selected)>;
    using UrlOpenFn = std::function<bool(const QUrl&)>;

    explicit MDIZenoMUR(AppContext& ctx, QWidget* parent = nullptr);
    ~MDIZenoMUR() override;

    QMdiArea* mdiArea() const { return mdi_; }
    CommandButton* SSCommand1(int i) const { return strip_->button(i); }
    // The menu item with the given handler name (e.g. "mnuKaitou"), or null.
    QAction* menuAction(const QString& name) const;
    frmProgres* progressWindow() const { return progress_; }
    QLabel* editionPanel() const { return editionPanel_; }
    QLabel* signaturePanel() const { return signaturePanel_; }
    // The race-card window while it is open, else null (a closed window is gone).
    frmZenoMain* cardWindow() const { return card_; }
    QMdiSubWindow* cardSubWindow() const { return cardSub_; }
    // Sets the current race day (as an import or the race card would).
    void setCurrentRaceDate(const QString& day) { currentDay_ = day; }
    // The day chosen in the race-card window, empty when none.
    const QString& chosenDay() const { return chosenDay_; }

    // Replace the file dialog and the browser (tests).
    void setOpenFileFunction(OpenFileFn fn) { openFile_ = std::move(fn); }
    void setUrlOpener(UrlOpenFn fn) { openUrl_ = std::move(fn); }

    // The race-card archive dialog; filter 1 = "H*.LZH" ... 5 = every file. Empty when cancelled.
    QString KaitouDataSelect(int filter);
    // The import command of button 0 (the batch run in batch mode).
    void Kaitou_Yosou();

    // The filters of the race-card archive dialog, in Qt syntax, in order.
    static QStringList archiveFilters();
    static QStringList oddsArchiveFilters();

    // Web pages: settings section and keys, with the addresses used when a key is empty.
    static QString webPageAddress(SettingsStore& store, int entry);

public slots:
    void SSCommand1_Click(int index);
    void SSCommand1_RightClick();
    void mnuKaitou_Click();
    void mnuHyouji_Click();
    void mnuDataDel_Click();
    void mnuG1cut_Click();
    void mnuEnd_Click();
    void HidukeHoryuuBet_Click();
    // The pending-bet commands on the current race day's file.
    void mnuBetFIleEdit_Click();
    void mnuBetTougou_Click();
    void mnuBetSakujo_Click();
    void mnuBetSort_Click();
    void mnuBetOddsTorikomi_Click();
    void mnuBetOddsHanniSakujo_Click();
    void mnuBetHyouji_Click();
    void mnuPatBetOut_Click();
    void mnuVoteRoboOut_Click();
    void mnuShoubakaiOut_Click();
    void mnuReadTekichukai_Click();
    void mnuConvMurOdds_Click(int index);
    void mnuPatItem_Click(int index);
    void mnuBacktest_Click();
    void mnuLedger_Click();
    void mnuOpt_Dir_Click();
    void mnuOpt_Pat_Click();
    void mnuYosouOut_Click();
    void mnuTxtOut_Click();
    void mnuumaFhozon_Click();
    void mnuHelp_Click();
    void mnuVer_Click();
    void mnuGoHP_Click();
    void mnuGoMurHP_Click();
    void mnuGoWeb2HP_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    // The menu bar's menus, left to right.
    void buildFileMenu(QMenuBar* bar);
    void buildBetMenu(QMenuBar* bar);
    void buildOddsMenu(QMenuBar* bar);
    void buildPatMenu(QMenuBar* bar);
    void buildOptionMenu(QMenuBar* bar);
    void buildHelpMenu(QMenuBar* bar);
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption, void (MDIZenoMUR::*handler)());
    QAction* addPlaceholder(QMenu* menu, const QString& name, const QString& caption);
    void setCommandsEnabled(bool enabled);
    // Runs a long command on a worker thread: busy pointer, buttons and menus disabled, the
    // progress window shown when asked. Returns when the command has ended.
    void runLong(const std::function<void(AppContext&)>& work, bool showProgress);
    void showDialog(QDialog* dialog);
    void closeCardWindow();
    void ExtractAndPredictCommand();
    // The current race day: the day last loaded in the race card, chosen in the date dialog or
    // imported.
    const QString& currentRaceDate() const;
    void openWebPage(int entry);
    QString openFile(const QString& caption, const QString& folder, const QStringList& filters, int selected);
    bool openUrl(const QUrl& url);

    AppContext& ctx_;
    QString currentDay_;  // the day last imported, created or chosen
    QMdiArea* mdi_ = nullptr;
    CommandStrip* strip_ = nullptr;
    QLabel* editionPanel_ = nullptr;
    QLabel* signaturePanel_ = nullptr;
    frmProgres* progress_ = nullptr;
    QPointer<frmZenoMain> card_;
    QPointer<QMdiSubWindow> cardSub_;
    QString chosenDay_;
    bool running_ = false;
    bool closeAfterRun_ = false;
    bool shutDown_ = false;
    OpenFileFn openFile_;
    UrlOpenFn openUrl_;
};

}  // namespace zm::ui
