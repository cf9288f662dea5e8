#pragma once

#include "app/context.h"
#include "bets/maintenance.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zm::ui {

// The delete by odds range: for each of 単勝, 複勝, 枠連, 馬連 and ワイド a delete box and two
// bounds (from, and below which), the treatment of bets without odds, and 削除開始. It opens
// with section "保留BET" as stored and closes once the bets in range are deleted.
class frmHoryubetOdds : public QDialog {
    Q_OBJECT

public:
    frmHoryubetOdds(AppContext& ctx, const QString& day, const OddsRangeDialog& values, QWidget* parent = nullptr);

    QCheckBox* deleteBox(int type) const { return checks_.at(static_cast<std::size_t>(type)); }
    QLineEdit* minField(int type) const { return mins_.at(static_cast<std::size_t>(type)); }
    QLineEdit* maxField(int type) const { return maxs_.at(static_cast<std::size_t>(type)); }
    QRadioButton* noOddsAsOne() const { return asOne_; }
    QRadioButton* noOddsExcluded() const { return excluded_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* closeButton() const { return close_; }

    // What the dialog holds now.
    OddsRangeDialog values() const;

public slots:
    void cmdSakujo_Click();

private:
    AppContext& ctx_;
    QString day_;
    std::array<QCheckBox*, 5> checks_{};
    std::array<QLineEdit*, 5> mins_{};
    std::array<QLineEdit*, 5> maxs_{};
    QRadioButton* asOne_ = nullptr;
    QRadioButton* excluded_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
