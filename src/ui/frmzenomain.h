#pragma once

// The race-card window: the list of predicted days, the day view with up to three venue frames
// of twelve race rows, and the card view of one race with its prediction. It lives inside the
// main window's MDI area; every text it shows comes from src/card.

#include "analysis/race_ev.h"
#include "app/context.h"
#include "card/cardday.h"
#include "pat/pat_format.h"

#include <QString>
#include <QWidget>
#include <array>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QGroupBox;

namespace zm::ui {

class frmZenoMain : public QWidget {
    Q_OBJECT

public:
    explicit frmZenoMain(AppContext& ctx, QWidget* parent = nullptr);

    // Opens in the day view and reloads the day list. When an import has just finished
    // (ctx.ImportedDay not empty) that day is cleared from the context and loaded at once.
    // The main window calls this every time it shows the window (button 1 and the menu).
    void ShowCardScreen();

    // Rebuilds the day list from the data folder (newest day first).
    void LoadDayList();

    // Loads one day ("yyyymmdd") into the venue frames; false (after the message) when the
    // day's files are missing, leaving the view as it was.
    bool LoadDay(const QString& day);

    // Shows race row `row` (1-12) of venue frame `frame` (1-3) in the card view. An empty row
    // does nothing.
    void ShowRace(int frame, int row);

    // Returns from the card view to the day view.
    void showDayView();

    // The day last loaded ("yyyymmdd"), empty before any.
    QString currentRaceDate() const { return currentRaceDate_; }
    // 1, 2 or 3; see zm::CardViewState.
    int cardView() const { return cardView_; }
    bool inCardView() const;
    bool placeOddsShown() const { return placeOddsMode_; }
    // The win model's chance and expected-value columns (off until switched on).
    bool evColumnsShown() const { return evShown_; }
    void setEvColumnsShown(bool shown);

    // A race is on the card.
    bool haveRace() const { return haveRace_; }
    // SSCommand2(4): the odds window of the shown race from PAT's files, or the predicted odds
    // when PAT's odds are not used.
    void ShowOddsWindow();

    // The eleven recommendation texts of the shown race: 0 the win pick, 1-10 the pair picks.
    const std::array<QString, 11>& recommendationList() const { return recommendations_; }

signals:
    // A day was loaded; it is now the current race day of the program.
    void dayLoaded(const QString& day);
    // Button 8 in the day view: the screen closes itself (its MDI sub-window too, if any).
    void screenHidden();
    // Button 6: the purchase files of the current race day (the main window writes them).
    void purchaseFilesRequested();
    // The 的中会 post and the VoteRobo schedule of the day shown.
    void tekichukaiRequested();
    void voteRoboRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Widens the name and figure columns to fill the grid's width.
    void spreadGridColumns();
    void buildDayView(QWidget* page);
    void buildCardView(QWidget* page);
    void showFrames();  // the venue frames of day_
    void onRaceRowClicked(int frame, QListWidgetItem* item);
    void advanceCardView();  // SSCommand2(5)
    void backClicked();      // SSCommand2(8)
    // The grid and its columns (frmzenomain_grid.cpp): the card's columns, then the chance and
    // the expected value, shown beside the win odds.
    static constexpr int kColChance = zm::ColumnCount;
    static constexpr int kColEv = zm::ColumnCount + 1;
    static constexpr int kGridColumns = zm::ColumnCount + 2;
    QTableWidget* buildGrid(QWidget* page);
    QStringList gridHeadings() const;
    void setOddsColumnMode(bool placeOdds);
    void applyCardView();
    void fillGrid();
    void fillEvColumns();
    void Command1_Click();   // bet output of the shown race
    void Command2_Click();   // predicted odds of the shown race
    // SSCommand2(0..2): bulk bet output, detail file, output text files (frmzenomain_outputs.cpp).
    void BulkOut_Click();
    void DetailFile_Click();
    void TextFiles_Click();
    void hideScreen();

    void highlightShownDay();

    AppContext& ctx_;
    QString currentRaceDate_;
    QString chosenDay_;
    zm::DayCard day_;
    zm::RaceCard race_;
    bool haveRace_ = false;
    int shownFrame_ = 0;
    int shownRow_ = 0;
    int cardView_ = 1;
    bool placeOddsMode_ = true;
    std::array<QString, 11> recommendations_;
    QString raceTitle_;  // "東京11Ｒ"
    const zm::PatFormat* livePat_ = nullptr;  // the generation the shown race's odds came from
    zm::PatRaceRef patRace_;
    std::array<int, kGridColumns> baseWidths_{};
    bool evShown_ = false;
    zm::CardModelCache models_;

    QStackedWidget* stack_ = nullptr;
    QListWidget* dayList_ = nullptr;
    QLabel* dayHelp_ = nullptr;
    std::array<QGroupBox*, 3> frames_{};
    std::array<QListWidget*, 3> raceLists_{};
    QLabel* raceLine_ = nullptr;
    QLabel* titleLine_ = nullptr;
    QLabel* courseLine_ = nullptr;
    QLabel* conditionsLine_ = nullptr;
    QLabel* recommendWin_ = nullptr;
    QLabel* recommendPairs_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QPushButton* placeOddsButton_ = nullptr;
    QPushButton* bodyWeightButton_ = nullptr;
    QPushButton* evButton_ = nullptr;
    QLabel* evNote_ = nullptr;
    QTableWidget* grid_ = nullptr;
    std::array<QPushButton*, 9> ssCommand2_{};
};

}  // namespace zm::ui
