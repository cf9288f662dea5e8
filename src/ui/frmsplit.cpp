#include "ui/frmsplit.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

namespace {
QLabel* dateLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setMinimumWidth(300);
    l->setAlignment(Qt::AlignCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.2);
    f.setBold(true);
    l->setFont(f);
    return l;
}
}  // namespace

frmSplit::frmSplit(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSplit"));
    setWindowTitle(QStringLiteral("翌日分添付データ切出し"));

    auto* originalBox = new QGroupBox(QStringLiteral("元データ"), this);
    original_ = dateLabel(originalBox, QStringLiteral("lblOriginal"));
    (new QVBoxLayout(originalBox))->addWidget(original_);
    auto* addedBox = new QGroupBox(QStringLiteral("追加データ"), this);
    added_ = dateLabel(addedBox, QStringLiteral("lblAdded"));
    (new QVBoxLayout(addedBox))->addWidget(added_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setAlignment(Qt::AlignCenter);
    status_->setMinimumHeight(28);

    back_ = new QPushButton(QStringLiteral("戻る"), this);
    back_->setObjectName(QStringLiteral("cmdBack"));
    back_->setEnabled(false);
    connect(back_, &QPushButton::clicked, this, &frmSplit::cmdBack_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(back_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(originalBox);
    layout->addWidget(addedBox);
    layout->addWidget(status_);
    layout->addLayout(buttons);
}

void frmSplit::setOriginal(const QString& text) {
    original_->setText(text);
}

void frmSplit::setAdded(const QString& text) {
    added_->setText(text);
}

void frmSplit::setStatus(const QString& text) {
    status_->setText(text);
}

void frmSplit::finish() {
    finished_ = true;
    back_->setEnabled(true);
    back_->setDefault(true);
    back_->setFocus();
}

void frmSplit::cmdBack_Click() { accept(); }

// The window stays while the split writes its files.
void frmSplit::reject() {
    if (finished_) {
        QDialog::reject();
    }
}

void frmSplit::closeEvent(QCloseEvent* event) {
    if (finished_) {
        QDialog::closeEvent(event);
    } else {
        event->ignore();
    }
}

}  // namespace zm::ui
