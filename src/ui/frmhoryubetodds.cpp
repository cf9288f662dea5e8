#include "ui/frmhoryubetodds.h"

#include "codes/numeric.h"
#include "ui/uiutil.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

frmHoryubetOdds::frmHoryubetOdds(AppContext& ctx, const QString& day, const OddsRangeDialog& values, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day) {
    setObjectName(u"frmHoryubetOdds"_s);
    setWindowTitle(u"指定オッズ範囲の保留ＢＥＴ削除"_s);

    auto* rangeBox = new QGroupBox(u"削除するオッズの範囲"_s, this);
    auto* grid = new QGridLayout(rangeBox);
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(u"削除"_s, rangeBox), 0, 0, Qt::AlignCenter);
    grid->addWidget(new QLabel(u"オッズ"_s, rangeBox), 0, 1, 1, 4, Qt::AlignCenter);
    const int fieldWidth = fontMetrics().horizontalAdvance(u"00000"_s) + 16;
    for (std::size_t k = 0; k < 5; ++k) {
        const int row = static_cast<int>(k) + 1;
        const QString index = u"_"_s + QString::number(k);
        auto* check = new QCheckBox(kOddsRangeTypes[k], rangeBox);
        check->setObjectName(u"chkSakujo"_s + index);
        check->setChecked(values.checked[k]);
        auto* min = new QLineEdit(values.minText[k], rangeBox);
        min->setObjectName(u"txtMin"_s + index);
        auto* max = new QLineEdit(values.maxText[k], rangeBox);
        max->setObjectName(u"txtMax"_s + index);
        for (QLineEdit* f : {min, max}) {
            f->setMaxLength(6);
            f->setFixedWidth(fieldWidth);
            f->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        grid->addWidget(check, row, 0);
        grid->addWidget(min, row, 1);
        grid->addWidget(new QLabel(u"倍以上"_s, rangeBox), row, 2);
        grid->addWidget(max, row, 3);
        grid->addWidget(new QLabel(u"倍未満を削除"_s, rangeBox), row, 4);
        checks_[k] = check;
        mins_[k] = min;
        maxs_[k] = max;
    }

    auto* noOddsBox = new QGroupBox(u"オッズを取得していない保留ＢＥＴの扱い"_s, this);
    auto* noOddsLayout = new QVBoxLayout(noOddsBox);
    asOne_ = new QRadioButton(u"オッズを「１倍」として扱う"_s, noOddsBox);
    asOne_->setObjectName(u"optNoOdds_0"_s);
    excluded_ = new QRadioButton(u"削除対象から除外"_s, noOddsBox);
    excluded_->setObjectName(u"optNoOdds_1"_s);
    auto* group = new QButtonGroup(this);
    group->addButton(asOne_, 0);
    group->addButton(excluded_, 1);
    (values.noOddsAsOne ? asOne_ : excluded_)->setChecked(true);
    noOddsLayout->addWidget(asOne_);
    noOddsLayout->addWidget(excluded_);

    // Neither button takes Enter: a bound typed and confirmed with Enter must not start the delete.
    start_ = new QPushButton(u"削除開始"_s, this);
    start_->setObjectName(u"cmdSakujo"_s);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);
    for (QPushButton* b : {start_, close_}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }
    connect(start_, &QPushButton::clicked, this, &frmHoryubetOdds::cmdSakujo_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rangeBox);
    layout->addWidget(noOddsBox);
    layout->addLayout(buttons);
}

OddsRangeDialog frmHoryubetOdds::values() const {
    OddsRangeDialog v;
    for (std::size_t k = 0; k < 5; ++k) {
        v.checked[k] = checks_[k]->isChecked();
        v.minText[k] = mins_[k]->text();
        v.maxText[k] = maxs_[k]->text();
    }
    v.noOddsAsOne = asOne_->isChecked();
    return v;
}

void frmHoryubetOdds::cmdSakujo_Click() {
    // A checked row whose upper bound is not above its lower one is refused as typed: nothing is
    // stored or deleted, and the upper bound is there to be retyped.
    const OddsRangeBounds bounds = OddsRangeBoundsOf(values());
    for (std::size_t k = 0; k < 5; ++k) {
        if (!checks_[k]->isChecked())
            continue;
        const double min = Val(mins_[k]->text());
        const double max = Val(maxs_[k]->text());
        if (max > min && bounds.max[k] > bounds.min[k])
            continue;
        ctx_.prompter.warning(kOddsRangeTypes[k] + u"のオッズ範囲「"_s + mins_[k]->text().trimmed() + u"倍以上 "_s +
                              maxs_[k]->text().trimmed() + u"倍未満」には当てはまるオッズがありません。"_s +
                              u"\r\n右の値（未満）を左の値（以上）より大きくしてください。"_s);
        maxs_[k]->setFocus(Qt::OtherFocusReason);
        maxs_[k]->selectAll();
        return;
    }
    std::optional<Result<BetDone>> done;
    {
        BusyCursor busy;
        done = DeleteBetsByOddsRange(ctx_, day_, values());
    }
    if (showFailure(ctx_.prompter, done->status())) {
        showNotice(ctx_.prompter, done->value().notice);
    }
    if (done->ok() && done->value().outcome == BetOutcome::Done) {
        accept();
        return;
    }
    // Nothing was deleted: the dialog stays for another try.
    activateWindow();
    start_->setFocus(Qt::OtherFocusReason);
}

}  // namespace zm::ui
