#pragma once

#include "app/context.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace zm::ui {

// The prediction style: how the race card's recommended bets are formed.
class frmYosouOut : public QDialog {
    Q_OBJECT

public:
    explicit frmYosouOut(AppContext& ctx, QWidget* parent = nullptr);

    QRadioButton* option(int i) const { return options_.at(static_cast<std::size_t>(i)); }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

private:
    AppContext& ctx_;
    std::array<QRadioButton*, 9> options_{};
    QButtonGroup* group_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zm::ui
