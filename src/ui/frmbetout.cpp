#include "ui/frmbetout.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

struct GroupLayout {
    const char16_t* caption;
    const char16_t* prefix;  // control names: prefix + "Check1", "Text1", "Text2"
    const char16_t* entryHeading;
    const char16_t* entryTip;
    int entryLength;
};

constexpr GroupLayout kGroups[4] = {
    {u"単勝の購入", u"tan", u"馬番", u"馬番（1～18）", 2},
    {u"複勝の購入", u"fuku", u"馬番", u"馬番（1～18）", 2},
    {u"枠番連勝の購入", u"waku", u"枠番", u"二つの枠番を続けて、または「-」でつないで（例：18、1-8）", 3},
    {u"馬番連勝の購入", u"uma", u"組番", u"二つの馬番を「-」でつないで（例：5-12）", 5},
};

constexpr const char16_t* kDefaultLabels[4] = {u"単勝", u"複勝", u"枠連", u"馬連"};

// Room for a stake of seven digits.
constexpr int kStakeLength = 8;

}  // namespace

frmBETout::frmBETout(AppContext& ctx, const QString& day, const QString& venueCode, int raceNo,
                     const QString& raceTitle, const BetOutForm& form, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day), venueCode_(venueCode), raceNo_(raceNo) {
    setObjectName(u"frmBETout"_s);
    setWindowTitle(raceTitle + u" のＢＥＴ出力"_s);

    QGroupBox* defaults = defaultsBox(form);

    output_ = new QPushButton(u"保留ＢＥＴへ出力"_s, this);
    output_->setObjectName(u"SSCommand1"_s);
    output_->setToolTip(u"チェックした買い目を保留ＢＥＴファイルに追加します"_s);
    output_->setDefault(true);
    output_->setMinimumHeight(32);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);
    close_->setAutoDefault(false);
    connect(output_, &QPushButton::clicked, this, &frmBETout::SSCommand1_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(groupBox(GroupWin, form));
    left->addWidget(groupBox(GroupPlace, form));
    left->addWidget(groupBox(GroupBracket, form));
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(defaults);
    right->addStretch(1);
    right->addWidget(output_);
    right->addWidget(close_);
    auto* body = new QHBoxLayout(this);
    body->addLayout(left);
    body->addWidget(groupBox(GroupQuinella, form), 0, Qt::AlignTop);
    body->addLayout(right);
    // The picks are in place: Enter writes them.
    output_->setFocus(Qt::OtherFocusReason);
}

int frmBETout::entryWidth() const { return fontMetrics().horizontalAdvance(u"00-00"_s) + 16; }
int frmBETout::stakeWidth() const { return fontMetrics().horizontalAdvance(u"0000000"_s) + 16; }

QGroupBox* frmBETout::groupBox(int g, const BetOutForm& form) {
    const GroupLayout& group = kGroups[g];
    const QString prefix = QString::fromUtf16(group.prefix);
    auto* box = new QGroupBox(QString::fromUtf16(group.caption), this);
    box->setObjectName(prefix + u"Frame"_s);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QString::fromUtf16(group.entryHeading), box), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(u"金額"_s, box), 0, 2, Qt::AlignCenter);
    BetOutForm copy = form;
    for (int i = 0; i < kBetGroupRows[static_cast<std::size_t>(g)]; ++i) {
        const BetRow& row = *copy.row(static_cast<BetGroup>(g), i);
        const QString index = u"_"_s + QString::number(i);
        RowBoxes r;
        r.check = new QCheckBox(QString::number(i + 1), box);
        r.check->setObjectName(prefix + u"Check1"_s + index);
        r.check->setChecked(row.checked);
        r.entry = new QLineEdit(row.entry, box);
        r.entry->setObjectName(prefix + u"Text1"_s + index);
        r.entry->setMaxLength(group.entryLength);
        r.entry->setFixedWidth(entryWidth());
        r.entry->setAlignment(Qt::AlignCenter);
        r.entry->setToolTip(QString::fromUtf16(group.entryTip));
        r.stake = new QLineEdit(row.stake, box);
        r.stake->setObjectName(prefix + u"Text2"_s + index);
        r.stake->setMaxLength(kStakeLength);
        r.stake->setFixedWidth(stakeWidth());
        r.stake->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(r.check, i + 1, 0);
        grid->addWidget(r.entry, i + 1, 1);
        grid->addWidget(r.stake, i + 1, 2);
        grid->addWidget(new QLabel(u"円"_s, box), i + 1, 3);
        rows_[static_cast<std::size_t>(g)].push_back(r);
    }
    grid->setRowStretch(kBetGroupRows[static_cast<std::size_t>(g)] + 1, 1);
    return box;
}

QGroupBox* frmBETout::defaultsBox(const BetOutForm& form) {
    auto* box = new QGroupBox(u"デフォルト金額"_s, this);
    box->setObjectName(u"dfoFrame"_s);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    for (int k = 0; k < 4; ++k) {
        auto* field = new QLineEdit(form.defaults[static_cast<std::size_t>(k)], box);
        field->setObjectName(u"dfoKingaku_"_s + QString::number(k));
        field->setMaxLength(kStakeLength);
        field->setFixedWidth(stakeWidth());
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(new QLabel(QString::fromUtf16(kDefaultLabels[k]), box), k, 0);
        grid->addWidget(field, k, 1);
        grid->addWidget(new QLabel(u"円"_s, box), k, 2);
        defaults_[static_cast<std::size_t>(k)] = field;
    }
    return box;
}

const frmBETout::RowBoxes& frmBETout::boxes(BetGroup group, int i) const {
    return rows_.at(static_cast<std::size_t>(group)).at(static_cast<std::size_t>(i));
}

QCheckBox* frmBETout::check(BetGroup group, int i) const {
    return boxes(group, i).check;
}
QLineEdit* frmBETout::entry(BetGroup group, int i) const {
    return boxes(group, i).entry;
}
QLineEdit* frmBETout::stake(BetGroup group, int i) const {
    return boxes(group, i).stake;
}

BetOutForm frmBETout::form() const {
    BetOutForm f;
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < kBetGroupRows[static_cast<std::size_t>(g)]; ++i) {
            const RowBoxes& r = boxes(static_cast<BetGroup>(g), i);
            BetRow* row = f.row(static_cast<BetGroup>(g), i);
            row->checked = r.check->isChecked();
            row->entry = r.entry->text();
            row->stake = r.stake->text();
        }
    }
    for (std::size_t k = 0; k < 4; ++k) {
        f.defaults[k] = defaults_[k]->text();
    }
    return f;
}

void frmBETout::SSCommand1_Click() {
    Notices notices;
    const Result<BetOutResult> written = WriteBetOut(ctx_, day_, form(), venueCode_, raceNo_, notices);
    for (const Notice& notice : notices) {
        showNotice(ctx_.prompter, notice);
    }
    if (!written) {
        // The bets typed stay in the window: nothing of them reached the file.
        ctx_.prompter.critical(written.message());
        return;
    }
    QString report = QString::number(written->written) + u" 件の買い目を保留ＢＥＴに書き込みました。"_s;
    if (!written->skipped.isEmpty())
        report += u"\n\n"_s + skippedRowsText(written->skipped);
    if (written->skipped.isEmpty())
        ctx_.prompter.information(report);
    else
        ctx_.prompter.warning(report);
    accept();
}

void PlaceAtLowerRight(QWidget* window, const QWidget* frame) {
    if (!frame) {
        return;
    }
    const QRect outer = frame->frameGeometry();
    QRect own = window->frameGeometry();
    if (!window->isVisible()) {
        // Not shown yet: its frame will be as much larger than its size as the main window's is.
        const QSize decoration = outer.size() - frame->geometry().size();
        own.setSize(window->size().expandedTo(window->sizeHint()) + decoration);
    }
    QPoint topLeft = outer.bottomRight() - QPoint(own.width() - 1, own.height() - 1);
    if (const QScreen* screen = frame->screen()) {
        const QRect room = screen->availableGeometry();
        topLeft.setX(std::max(room.left(), std::min(topLeft.x(), room.right() - own.width() + 1)));
        topLeft.setY(std::max(room.top(), std::min(topLeft.y(), room.bottom() - own.height() + 1)));
    }
    window->move(topLeft);
}

}  // namespace zm::ui
