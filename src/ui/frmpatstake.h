#pragma once

// The day's stake in PAT: the reference day, the bets bought, the bets left and the money
// spent.

#include "pat/pat_log.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zm::ui {

class frmPatStake : public QDialog {
    Q_OBJECT

public:
    explicit frmPatStake(const zm::DayStake& stake, QWidget* parent = nullptr);

    QLabel* dayLabel() const { return day_; }
    QLabel* countLabel() const { return count_; }
    QLabel* remainingLabel() const { return remaining_; }
    QLabel* stakeLabel() const { return stake_; }
    QPushButton* closeButton() const { return close_; }

private:
    QLabel* day_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* remaining_ = nullptr;
    QLabel* stake_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
