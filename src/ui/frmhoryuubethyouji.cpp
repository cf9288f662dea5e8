#include "ui/frmhoryuubethyouji.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

frmHoryuuBetHyouji::frmHoryuuBetHyouji(const BetTotals& totals, QWidget* parent) : QDialog(parent) {
    setObjectName(u"frmHoryuuBetHyouji"_s);
    setWindowTitle(u"保留ＢＥＴの内訳"_s);

    heading_ = new QLabel(totals.heading, this);
    heading_->setObjectName(u"lblHiduke"_s);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(4);
    grid->addWidget(new QLabel(u"ＢＥＴ数"_s, this), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(u"金額"_s, this), 0, 2, Qt::AlignRight);
    auto figure = [this](const QString& text, const QString& name) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    for (std::size_t k = 0; k < 5; ++k) {
        const int row = static_cast<int>(k) + 1;
        const QString index = u"_"_s + QString::number(k);
        counts_[k] = figure(thousands(static_cast<double>(totals.counts[k])), u"lblCount"_s + index);
        amounts_[k] = figure(totals.sums[k].display(), u"lblKingaku"_s + index);
        grid->addWidget(new QLabel(kOddsRangeTypes[k], this), row, 0);
        grid->addWidget(counts_[k], row, 1);
        grid->addWidget(amounts_[k], row, 2);
    }
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    grid->addWidget(rule, 6, 0, 1, 3);
    totalCount_ = figure(thousands(static_cast<double>(totals.totalCount())), u"lblTotalCount"_s);
    totalAmount_ = figure(totals.totalAmount().display() + u"円"_s, u"lblTotalKingaku"_s);
    grid->addWidget(new QLabel(u"合計ＢＥＴ数"_s, this), 7, 0);
    grid->addWidget(totalCount_, 7, 1);
    grid->addWidget(new QLabel(u"合計金額"_s, this), 8, 0);
    grid->addWidget(totalAmount_, 8, 2);
    QFont totalsFont = totalAmount_->font();
    totalsFont.setBold(true);
    totalCount_->setFont(totalsFont);
    totalAmount_->setFont(totalsFont);

    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);
    close_->setDefault(true);
    close_->setMinimumWidth(96);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addSpacing(6);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

}  // namespace zm::ui
