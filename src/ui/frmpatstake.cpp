#include "ui/frmpatstake.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

frmPatStake::frmPatStake(const zm::DayStake& stake, QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmPatStake"_s);
    setWindowTitle(u"BET金額・BET残数"_s);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(10);
    QFont valueFont = font();
    valueFont.setPointSize(valueFont.pointSize() + 4);
    valueFont.setBold(true);
    const auto addRow = [&](int row, const QString& caption, const QString& value, const QString& name) {
        auto* c = new QLabel(caption, this);
        auto* v = new QLabel(value, this);
        v->setObjectName(name);
        v->setFont(valueFont);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(c, row, 0);
        grid->addWidget(v, row, 1);
        return v;
    };
    day_ = addRow(0, u"日付"_s, stake.dayText(), u"lblDay"_s);
    count_ = addRow(1, u"BET数"_s, QString::number(stake.count), u"lblCount"_s);
    remaining_ = addRow(2, u"BET残数"_s, QString::number(stake.remaining), u"lblRemaining"_s);
    stake_ = addRow(3, u"BET金額"_s, stake.stakeText(), u"lblStake"_s);
    stake_->setStyleSheet(u"color: #0000c0;"_s);

    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);
}

}  // namespace zm::ui
