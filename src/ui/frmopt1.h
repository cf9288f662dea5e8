#pragma once

#include "app/context.h"

#include <QDialog>
#include <array>

class QLineEdit;
class QPushButton;

namespace zm::ui {

// The folder settings: the archive folder, the export folder and the purchase-file folder.
class frmOpt1 : public QDialog {
    Q_OBJECT

public:
    explicit frmOpt1(AppContext& ctx, QWidget* parent = nullptr);

    QLineEdit* field(int i) const { return fields_.at(static_cast<std::size_t>(i)); }
    QPushButton* browseButton(int i) const { return browse_.at(static_cast<std::size_t>(i)); }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void Browse_Click(int i);

private:
    AppContext& ctx_;
    std::array<QLineEdit*, 3> fields_{};
    std::array<QPushButton*, 3> browse_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zm::ui
