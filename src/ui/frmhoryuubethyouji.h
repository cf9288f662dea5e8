#pragma once

#include "bets/maintenance.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace zm::ui {

// The day's pending bets in figures: count and amount of each type, the total count and the
// total amount.
class frmHoryuuBetHyouji : public QDialog {
    Q_OBJECT

public:
    explicit frmHoryuuBetHyouji(const BetTotals& totals, QWidget* parent = nullptr);

    QLabel* heading() const { return heading_; }
    QLabel* countLabel(int type) const { return counts_.at(static_cast<std::size_t>(type)); }
    QLabel* amountLabel(int type) const { return amounts_.at(static_cast<std::size_t>(type)); }
    QLabel* totalCountLabel() const { return totalCount_; }
    QLabel* totalAmountLabel() const { return totalAmount_; }
    QPushButton* closeButton() const { return close_; }

private:
    QLabel* heading_ = nullptr;
    std::array<QLabel*, 5> counts_{};
    std::array<QLabel*, 5> amounts_{};
    QLabel* totalCount_ = nullptr;
    QLabel* totalAmount_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
