#pragma once

#include "app/context.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace zm::ui {

// The date dialog of the dummy race day: the user types the day on which the pending-bet
// commands should work.
class frmHiduke : public QDialog {
    Q_OBJECT

public:
    // create receives the typed text; false keeps the dialog open (it has shown its message).
    using CreateFn = std::function<bool(const QString& typed)>;

    frmHiduke(CreateFn create, const QDate& today, QWidget* parent = nullptr);

    QLineEdit* dateField() const { return field_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel

private:
    CreateFn create_;
    QLineEdit* field_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zm::ui
