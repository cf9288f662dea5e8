#include "ui/frmbetikkatuout.h"

#include "ui/uiutil.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

const char16_t* const kTypeOptions[4] = {u"単勝・連勝", u"連勝のみ", u"単勝のみ", u"複勝のみ（単勝を移行）"};
const char16_t* const kStakeLabels[5] = {u"単勝", u"複勝", u"枠連", u"馬連", u"ワイド"};

QLineEdit* numberEdit(QWidget* parent, const QString& name, int width = 70) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAlignment(Qt::AlignRight);
    e->setFixedWidth(width);
    return e;
}

// A contest text of one day as the text output names it: "W" (DUEL) or "MUR" + yyyymmdd + ".TXT".
const QRegularExpression& dayTextName() {
    static const QRegularExpression re(u"^(W|MUR)(\\d{8})\\.TXT$"_s, QRegularExpression::CaseInsensitiveOption);
    return re;
}

}  // namespace

QString frmBetIkkatuOut::dayTextPath(bool mur) const {
    return ctx_.settings.OutPutDir + (mur ? u"MUR"_s : u"W"_s) + day_ + u".TXT"_s;
}

void frmBetIkkatuOut::pickDayText() {
    const QString stored = path_->text();
    const auto name = dayTextName().match(QFileInfo(stored).fileName());
    // A file of the user's own choice is kept while it is there; a day text (the default) is
    // always the text of this day that exists.
    if (!stored.isEmpty() && !name.hasMatch() && QFileInfo(stored).isFile())
        return;
    // The day's text that exists, the format chosen last time first.
    const bool first = murFormat_->isChecked();
    for (const bool mur : {first, !first}) {
        if (QFileInfo(dayTextPath(mur)).isFile()) {
            path_->setText(dayTextPath(mur));
            (mur ? murFormat_ : duelFormat_)->setChecked(true);
            return;
        }
    }
    if (stored.isEmpty() || name.hasMatch())
        path_->setText(dayTextPath(first));
}

QString frmBetIkkatuOut::missingTextMessage() const {
    QString text = kBulkFileMissing;
    if (!QFileInfo(dayTextPath(false)).isFile() && !QFileInfo(dayTextPath(true)).isFile()) {
        text += u"\r\n\r\nこの日の予想テキスト（"_s + QFileInfo(dayTextPath(false)).fileName() + u" または "_s +
                QFileInfo(dayTextPath(true)).fileName() +
                u"）がありません。\r\nメニューの［オプション］→［テキスト出力の設定］で「DUELﾌｫｰﾏｯﾄの出力」か"_s
                u"「ＭＵＲﾌｫｰﾏｯﾄ(ﾃｷｽﾄ)の出力」をオンにして「解凍･予想」を行うと作られます。"_s;
    }
    return text;
}

frmBetIkkatuOut::frmBetIkkatuOut(AppContext& ctx, const QString& day, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day) {
    setObjectName(u"frmBetIkkatuOut"_s);
    setWindowTitle(u"保留ベットへの一括出力"_s);

    heading_ = new QLabel(bulkHeading(day), this);
    heading_->setObjectName(u"Label1"_s);

    auto* fileBox = new QGroupBox(u"読み込む予想ファイル"_s, this);
    auto* fileRow = new QHBoxLayout(fileBox);
    path_ = new QLineEdit(fileBox);
    path_->setObjectName(u"Text1"_s);
    auto* browse = new QPushButton(u"参照..."_s, fileBox);
    browse->setObjectName(u"Command3"_s);
    fileRow->addWidget(path_, 1);
    fileRow->addWidget(browse);

    auto* formatBox = new QGroupBox(u"読み込む予想形式ファイルの設定"_s, this);
    auto* formatGrid = new QGridLayout(formatBox);
    murFormat_ = new QRadioButton(u"MUR形式"_s, formatBox);
    murFormat_->setObjectName(u"Option1_0"_s);
    duelFormat_ = new QRadioButton(u"DUEL形式"_s, formatBox);
    duelFormat_->setObjectName(u"Option1_1"_s);
    murCode_ = numberEdit(formatBox, u"Text2"_s);
    duelCode_ = numberEdit(formatBox, u"Text3"_s);
    formatGrid->addWidget(murFormat_, 0, 0);
    formatGrid->addWidget(new QLabel(u"MUR識別ｺｰﾄﾞ"_s, formatBox), 0, 1);
    formatGrid->addWidget(murCode_, 0, 2);
    formatGrid->addWidget(duelFormat_, 1, 0);
    formatGrid->addWidget(new QLabel(u"DUEL識別ｺｰﾄﾞ"_s, formatBox), 1, 1);
    formatGrid->addWidget(duelCode_, 1, 2);

    auto* typeBox = new QGroupBox(u"取り込み項目の設定"_s, this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    for (size_t i = 0; i < types_.size(); ++i) {
        types_[i] = new QRadioButton(QString::fromUtf16(kTypeOptions[i]), typeBox);
        types_[i]->setObjectName(u"Option2_"_s + QString::number(i));
        typeLayout->addWidget(types_[i]);
    }

    auto* stakeBox = new QGroupBox(u"購入金額（円）"_s, this);
    auto* stakeGrid = new QGridLayout(stakeBox);
    for (size_t k = 0; k < stakes_.size(); ++k) {
        stakeGrid->addWidget(new QLabel(QString::fromUtf16(kStakeLabels[k]), stakeBox), static_cast<int>(k), 0);
        stakes_[k] = numberEdit(stakeBox, u"txtBet"_s + QString::number(k));
        stakeGrid->addWidget(stakes_[k], static_cast<int>(k), 1);
    }
    toWide_ = new QCheckBox(u"馬連 → ワイド"_s, stakeBox);
    toWide_->setObjectName(u"Check3"_s);
    stakeGrid->addWidget(toWide_, 5, 0, 1, 2);

    auto* oddsBox = new QGroupBox(u"オッズ"_s, this);
    auto* oddsGrid = new QGridLayout(oddsBox);
    oddsIn_ = new QCheckBox(u"オッズを取り込む"_s, oddsBox);
    oddsIn_->setObjectName(u"Check1"_s);
    oddsRange_ = new QCheckBox(u"設定したオッズレンジで出力を限定する"_s, oddsBox);
    oddsRange_->setObjectName(u"Check2"_s);
    tmin_ = numberEdit(oddsBox, u"TminOdds"_s);
    tmax_ = numberEdit(oddsBox, u"TmaxOdds"_s);
    rmin_ = numberEdit(oddsBox, u"RminOdds"_s);
    rmax_ = numberEdit(oddsBox, u"RmaxOdds"_s);
    oddsGrid->addWidget(oddsIn_, 0, 0, 1, 4);
    oddsGrid->addWidget(oddsRange_, 1, 0, 1, 4);
    oddsGrid->addWidget(new QLabel(u"単勝・複勝の最低/最高オッズ"_s, oddsBox), 2, 0);
    oddsGrid->addWidget(tmin_, 2, 1);
    oddsGrid->addWidget(new QLabel(u"～"_s, oddsBox), 2, 2);
    oddsGrid->addWidget(tmax_, 2, 3);
    oddsGrid->addWidget(new QLabel(u"馬連・枠連の最低/最高オッズ"_s, oddsBox), 3, 0);
    oddsGrid->addWidget(rmin_, 3, 1);
    oddsGrid->addWidget(new QLabel(u"～"_s, oddsBox), 3, 2);
    oddsGrid->addWidget(rmax_, 3, 3);
    oddsGrid->setColumnStretch(4, 1);

    run_ = new QPushButton(u"保留ベット出力"_s, this);
    run_->setObjectName(u"Command1"_s);
    run_->setDefault(true);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"Command2"_s);
    close_->setAutoDefault(false);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(formatBox);
    left->addWidget(typeBox);
    middle->addLayout(left, 1);
    middle->addWidget(stakeBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(run_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(fileBox);
    layout->addLayout(middle);
    layout->addWidget(oddsBox);
    layout->addLayout(buttons);

    connect(run_, &QPushButton::clicked, this, &frmBetIkkatuOut::Command1_Click);
    connect(close_, &QPushButton::clicked, this, &frmBetIkkatuOut::Command2_Click);
    connect(browse, &QPushButton::clicked, this, &frmBetIkkatuOut::Command3_Click);

    setForm(OpenBulkOutForm(ctx_.store, ctx_.settings, day_));
    pickDayText();
    setMinimumWidth(560);
}

BulkOutForm frmBetIkkatuOut::form() const {
    BulkOutForm f;
    f.Path = path_->text();
    f.murFormat = murFormat_->isChecked();
    f.SoftCode_MUR = murCode_->text();
    f.SoftCode_DUEL = duelCode_->text();
    for (size_t i = 0; i < types_.size(); ++i)
        if (types_[i]->isChecked())
            f.Syubetu = static_cast<BulkTypes>(i);
    f.OddsIN = oddsIn_->isChecked();
    f.OddsReng = oddsRange_->isChecked();
    f.TminOdds = tmin_->text();
    f.TmaxOdds = tmax_->text();
    f.RminOdds = rmin_->text();
    f.RmaxOdds = rmax_->text();
    for (size_t k = 0; k < stakes_.size(); ++k)
        f.stakes[k] = stakes_[k]->text();
    f.quinellaToWide = toWide_->isChecked();
    return f;
}

void frmBetIkkatuOut::setForm(const BulkOutForm& f) {
    path_->setText(f.Path);
    (f.murFormat ? murFormat_ : duelFormat_)->setChecked(true);
    murCode_->setText(f.SoftCode_MUR);
    duelCode_->setText(f.SoftCode_DUEL);
    types_[static_cast<size_t>(f.Syubetu)]->setChecked(true);
    oddsIn_->setChecked(f.OddsIN);
    oddsRange_->setChecked(f.OddsReng);
    tmin_->setText(f.TminOdds);
    tmax_->setText(f.TmaxOdds);
    rmin_->setText(f.RminOdds);
    rmax_->setText(f.RmaxOdds);
    for (size_t k = 0; k < stakes_.size(); ++k)
        stakes_[k]->setText(f.stakes[k]);
    toWide_->setChecked(f.quinellaToWide);
}

void frmBetIkkatuOut::Command1_Click() {
    if (!QFileInfo(path_->text()).isFile()) {
        ctx_.prompter.warning(missingTextMessage(), kBulkTitle);
        return;
    }
    run_->setEnabled(false);
    const auto r = RunBulkOutput(ctx_, day_, form());
    last_ = r.ok() ? *r : BulkResult{};
    if (showFailure(ctx_.prompter, r.status()))
        showNotice(ctx_.prompter, r->notice);
    run_->setEnabled(true);
}

void frmBetIkkatuOut::Command2_Click() {
    close();
}

void frmBetIkkatuOut::Command3_Click() {
    const QString folder = QFileInfo(path_->text()).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(this, u"予想ファイルの選択"_s, folder,
                                                        u"予想ファイル (*.TXT *.txt);;すべてのファイル (*)"_s);
    if (chosen.isEmpty())
        return;
    path_->setText(chosen);
    // A day text's name tells its format.
    const auto name = dayTextName().match(QFileInfo(chosen).fileName());
    if (name.hasMatch())
        (name.captured(1).compare(u"MUR"_s, Qt::CaseInsensitive) == 0 ? murFormat_ : duelFormat_)->setChecked(true);
}

void frmBetIkkatuOut::closeEvent(QCloseEvent* event) {
    if (!stored_) {
        if (const Status stored = SaveBulkOutForm(ctx_, form()); !stored)
            ctx_.prompter.critical(stored.message());
        stored_ = true;
    }
    QDialog::closeEvent(event);
}

}  // namespace zm::ui
