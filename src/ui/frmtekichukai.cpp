#include "ui/frmtekichukai.h"

#include "app/safe_save.h"
#include "bets/pending_bet.h"
#include "codes/sjis.h"
#include "ui/uiutil.h"
#include "zenomur_version.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

QPushButton* button(const QString& caption, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QPlainTextEdit* postArea(QWidget* parent) {
    auto* t = new QPlainTextEdit(parent);
    t->setObjectName(u"Text1"_s);
    t->setLineWrapMode(QPlainTextEdit::NoWrap);
    t->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    t->setMinimumSize(460, 300);
    return t;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

frmTekichukai::frmTekichukai(AppContext& ctx, const QString& day, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day) {
    setObjectName(u"frm的中会"_s);
    setWindowTitle(kTekichukaiOutTitle);
    text_ = postArea(this);

    auto* totals = new QGridLayout;
    totals->addWidget(new QLabel(u"全ベット数"_s, this), 0, 0);
    count_ = new QLabel(this);
    count_->setObjectName(u"lblBetCount"_s);
    totals->addWidget(count_, 0, 1);
    totals->addWidget(new QLabel(u"ベット金額"_s, this), 1, 0);
    stake_ = new QLabel(this);
    stake_->setObjectName(u"lblBetKingaku"_s);
    totals->addWidget(stake_, 1, 1);
    for (QLabel* l : {count_, stake_}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(90);
        l->setFrameShape(QFrame::StyledPanel);
    }

    wide_ = new QCheckBox(u"出力時に「馬連」を「ワイド」に変換する"_s, this);
    wide_->setObjectName(u"chkWide"_s);
    recount_ = button(u"再計算"_s, u"cmdSaikeisan"_s, this);
    file_ = button(u"ファイルに出力"_s, u"cmdFileOut"_s, this);
    clipboard_ = button(u"クリップボードに出力"_s, u"cmdClipOut"_s, this);
    close_ = button(u"閉じる"_s, u"cmdClose"_s, this);

    auto* side = new QVBoxLayout;
    side->addLayout(totals);
    side->addWidget(recount_);
    side->addSpacing(12);
    side->addWidget(wide_);
    side->addWidget(file_);
    side->addWidget(clipboard_);
    side->addStretch();
    side->addWidget(close_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(side);

    connect(recount_, &QPushButton::clicked, this, &frmTekichukai::Saikeisan_Click);
    connect(file_, &QPushButton::clicked, this, &frmTekichukai::FileOut_Click);
    connect(clipboard_, &QPushButton::clicked, this, &frmTekichukai::ClipOut_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void frmTekichukai::Form_Load() {
    const TekichukaiList list = ListTekichukaiBets(PendingBetPath(ctx_.paths, day_), day_);
    if (list.tooMany)
        ctx_.prompter.warning(kTekichukaiTooMany, kTekichukaiOutTitle);
    else if (!list.refused.isEmpty())
        ctx_.prompter.warning(list.refused, kTekichukaiOutTitle);
    text_->setPlainText(list.text());
    Saikeisan_Click();
}

void frmTekichukai::Saikeisan_Click() {
    const TekichukaiTotals t = RecountTekichukai(text_->toPlainText());
    count_->setText(QString::number(t.count));
    stake_->setText(thousandsOrEmpty(t.stake));
}

QString frmTekichukai::post() const {
    return TekichukaiPost(day_, text_->toPlainText(), wide_->isChecked(), QStringLiteral(ZENOMUR_VERSION));
}

void frmTekichukai::FileOut_Click() {
    Saikeisan_Click();
    const QString path = TekichukaiFilePath(ctx_.settings.OutPutDir, day_);
    const Status s = SafeSave::save(path, toSjis(post()));
    if (!s.ok()) {
        ctx_.prompter.critical(s.message(), kTekichukaiOutTitle);
        return;
    }
    ctx_.prompter.information(tekichukaiFileDoneMessage(path), kTekichukaiOutTitle);
}

void frmTekichukai::ClipOut_Click() {
    Saikeisan_Click();
    QString text = post();
    text.replace(u"\r\n"_s, u"\n"_s);
    QGuiApplication::clipboard()->setText(text);
    ctx_.prompter.information(kTekichukaiClipboardDone, kTekichukaiOutTitle);
}

// ---------------------------------------------------------------------------------------------

frmReadTekichukai::frmReadTekichukai(AppContext& ctx, const QString& day, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day) {
    setObjectName(u"Read的中会"_s);
    setWindowTitle(u"的中会の投票を保留BETに変換"_s);
    text_ = postArea(this);
    paste_ = button(u"クリップボードから貼り付け"_s, u"cmdPaste"_s, this);

    auto* box = new QGroupBox(u"金額の変更"_s, this);
    auto* grid = new QGridLayout(box);
    const QString types[5] = {u"単勝"_s, u"複勝"_s, u"枠連"_s, u"馬連"_s, u"ワイド"_s};
    for (int k = 0; k < 5; ++k) {
        auto* check = new QCheckBox(types[k], box);
        check->setObjectName(u"chkKingaku_%1"_s.arg(k));
        auto* amount = new QLineEdit(u"100"_s, box);
        amount->setObjectName(u"txtKingaku_%1"_s.arg(k));
        amount->setAlignment(Qt::AlignRight);
        amount->setMaximumWidth(90);
        amount->setEnabled(false);
        connect(check, &QCheckBox::toggled, amount, &QLineEdit::setEnabled);
        grid->addWidget(check, k, 0);
        grid->addWidget(amount, k, 1);
        grid->addWidget(new QLabel(u"円"_s, box), k, 2);
        checks_[static_cast<std::size_t>(k)] = check;
        amounts_[static_cast<std::size_t>(k)] = amount;
    }
    output_ = button(u"保留BETに出力"_s, u"cmdOutput"_s, this);
    close_ = button(u"閉じる"_s, u"cmdClose"_s, this);

    auto* side = new QVBoxLayout;
    side->addWidget(paste_);
    side->addWidget(box);
    side->addStretch();
    side->addWidget(output_);
    side->addWidget(close_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(text_, 1);
    layout->addLayout(side);

    connect(paste_, &QPushButton::clicked, this, &frmReadTekichukai::Paste_Click);
    connect(output_, &QPushButton::clicked, this, &frmReadTekichukai::Output_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

TekichukaiFixedAmounts frmReadTekichukai::fixedAmounts() const {
    TekichukaiFixedAmounts fixed;
    for (std::size_t k = 0; k < 5; ++k) {
        fixed.on[k] = checks_[k]->isChecked();
        fixed.amount[k] = amounts_[k]->text();
    }
    return fixed;
}

void frmReadTekichukai::Paste_Click() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        ctx_.prompter.information(u"クリップボード上にテキストがありません。"_s);
        return;
    }
    text_->setPlainText(text);
}

void frmReadTekichukai::Output_Click() {
    // The amounts as they are used: whole hundreds, 100 the lowest (one that is no amount stays
    // as typed and the import says so).
    for (std::size_t k = 0; k < 5; ++k) {
        if (!checks_[k]->isChecked())
            continue;
        if (const auto amount = FixedAmountValue(amounts_[k]->text()))
            amounts_[k]->setText(amount->digits());
    }
    const auto done = ImportTekichukai(ctx_, day_, text_->toPlainText(), fixedAmounts());
    if (showFailure(ctx_.prompter, done.status()))
        showNotice(ctx_.prompter, done->notice);
}

}  // namespace zm::ui
