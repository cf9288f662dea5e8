#include "ui/frmhiduke.h"

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

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    cancel_->setAutoDefault(false);
    connect(ok_, &QPushButton::clicked, this, &frmHiduke::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmHiduke::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
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
    }
}

void frmHiduke::Command2_Click() { reject(); }

}  // namespace zm::ui
