#pragma once

#include "app/context.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QPushButton;

namespace zm::ui {

// Which text and CSV exports each import run writes.
class frmOptTxt : public QDialog {
    Q_OBJECT

public:
    explicit frmOptTxt(AppContext& ctx, QWidget* parent = nullptr);

    QCheckBox* check(int i) const { return checks_.at(static_cast<std::size_t>(i)); }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void Command1_Click();  // OK
    void Command2_Click();  // ｷｬﾝｾﾙ

private:
    AppContext& ctx_;
    std::array<QCheckBox*, 4> checks_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zm::ui
