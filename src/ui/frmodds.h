#pragma once

// The odds window of one race: win and place odds and body weight per horse, the bracket
// quinella of the 36 bracket pairs, and the quinella (with PAT98 also the wide) odds of every
// pair, as PAT's files hold them now. Every column sorts with a click on its heading.

#include "app/context.h"
#include "ui/live_odds.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace zm::ui {

class frmOdds : public QDialog {
    Q_OBJECT

public:
    // title names the race ("中山 11Ｒ").
    frmOdds(AppContext& ctx, const zm::PatFormat& format, const zm::PatRaceRef& race, const QString& title,
            QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* horseTable() const { return horses_; }
    QTableWidget* bracketTable() const { return brackets_; }
    QTableWidget* pairTable() const { return pairs_; }
    QLabel* statusLabel() const { return status_; }

    QSize sizeHint() const override;

    // Reads the race's files again and refills the tables.
    void Reload();

private:
    void fill(const LiveOdds& odds);

    AppContext& ctx_;
    const zm::PatFormat& format_;
    zm::PatRaceRef race_;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* horses_ = nullptr;
    QTableWidget* brackets_ = nullptr;
    QTableWidget* pairs_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* reload_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
