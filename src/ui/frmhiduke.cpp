#include "ui/frmhiduke.h"

#include "ui/dialog_buttons.h"

#include "predict/dummy_day.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

frmHiduke::frmHiduke(CreateFn create, const QDate& today, QWidget* parent)
    : QDialog(parent), create_(std::move(create)) {
    setObjectName(QStringLiteral("frmHiduke"));
    setWindowTitle(QStringLiteral("ダミーの開催日を作成"));

    auto* prompt = new QLabel(QStringLiteral("実行したい開催日を入力してください。"), this);
    prompt->setObjectName(QStringLiteral("Label1"));
    field_ = new QLineEdit(dummyDayPreset(today), this);
    field_->setObjectName(QStringLiteral("Text1"));
    field_->setMaxLength(20);
    field_->selectAll();

    const OkCancelRow row = makeOkCancelRow(this);
    ok_ = row.ok;
    cancel_ = row.cancel;
    auto* buttons = row.layout;
    connect(ok_, &QPushButton::clicked, this, &frmHiduke::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmHiduke::Command2_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(field_);
    layout->addWidget(new QLabel(QStringLiteral("（例：2001/09/03）"), this));
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(340);
}

void frmHiduke::Command1_Click() {
    if (create_ && create_(field_->text())) {
        accept();
        return;
    }
    // The message has been answered: the date field again, ready to be typed over.
    activateWindow();
    field_->setFocus(Qt::OtherFocusReason);
    field_->selectAll();
}

void frmHiduke::Command2_Click() { reject(); }

}  // namespace zm::ui
