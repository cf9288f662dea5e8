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

    // Built in the order of the tab chain.
    QGroupBox* files = fileBox();
    QGroupBox* formats = formatBox();
    QGroupBox* types = typeBox();
    QGroupBox* stakes = stakeBox();
    QGroupBox* odds = oddsBox();
    run_ = new QPushButton(u"保留ベット出力"_s, this);
    run_->setObjectName(u"Command1"_s);
    run_->setDefault(true);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"Command2"_s);
    close_->setAutoDefault(false);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(formats);
    left->addWidget(types);
    middle->addLayout(left, 1);
    middle->addWidget(stakes);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(run_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addWidget(files);
    layout->addLayout(middle);
    layout->addWidget(odds);
    layout->addLayout(buttons);

    connect(run_, &QPushButton::clicked, this, &frmBetIkkatuOut::Command1_Click);
    connect(close_, &QPushButton::clicked, this, &frmBetIkkatuOut::Command2_Click);

    setForm(OpenBulkOutForm(ctx_.store, ctx_.settings, day_));
    pickDayText();
    setMinimumWidth(560);
}

QGroupBox* frmBetIkkatuOut::fileBox() {
    auto* box = new QGroupBox(u"読み込む予想ファイル"_s, this);
    auto* row = new QHBoxLayout(box);
    path_ = new QLineEdit(box);
    path_->setObjectName(u"Text1"_s);
    auto* browse = new QPushButton(u"参照..."_s, box);
    browse->setObjectName(u"Command3"_s);
    row->addWidget(path_, 1);
    row->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, &frmBetIkkatuOut::Command3_Click);
    return box;
}

QGroupBox* frmBetIkkatuOut::formatBox() {
    auto* box = new QGroupBox(u"読み込む予想形式ファイルの設定"_s, this);
    auto* grid = new QGridLayout(box);
    murFormat_ = new QRadioButton(u"MUR形式"_s, box);
    murFormat_->setObjectName(u"Option1_0"_s);
    duelFormat_ = new QRadioButton(u"DUEL形式"_s, box);
    duelFormat_->setObjectName(u"Option1_1"_s);
    murCode_ = numberEdit(box, u"Text2"_s);
    duelCode_ = numberEdit(box, u"Text3"_s);
    grid->addWidget(murFormat_, 0, 0);
    grid->addWidget(new QLabel(u"MUR識別ｺｰﾄﾞ"_s, box), 0, 1);
    grid->addWidget(murCode_, 0, 2);
    grid->addWidget(duelFormat_, 1, 0);
    grid->addWidget(new QLabel(u"DUEL識別ｺｰﾄﾞ"_s, box), 1, 1);
    grid->addWidget(duelCode_, 1, 2);
    return box;
}

QGroupBox* frmBetIkkatuOut::typeBox() {
    auto* box = new QGroupBox(u"取り込み項目の設定"_s, this);
    auto* column = new QVBoxLayout(box);
    for (size_t i = 0; i < types_.size(); ++i) {
        types_[i] = new QRadioButton(QString::fromUtf16(kTypeOptions[i]), box);
        types_[i]->setObjectName(u"Option2_"_s + QString::number(i));
        column->addWidget(types_[i]);
    }
    return box;
}

QGroupBox* frmBetIkkatuOut::stakeBox() {
    auto* box = new QGroupBox(u"購入金額（円）"_s, this);
    auto* grid = new QGridLayout(box);
    for (size_t k = 0; k < stakes_.size(); ++k) {
        grid->addWidget(new QLabel(QString::fromUtf16(kStakeLabels[k]), box), static_cast<int>(k), 0);
        stakes_[k] = numberEdit(box, u"txtBet"_s + QString::number(k));
        grid->addWidget(stakes_[k], static_cast<int>(k), 1);
    }
    toWide_ = new QCheckBox(u"馬連 → ワイド"_s, box);
    toWide_->setObjectName(u"Check3"_s);
    grid->addWidget(toWide_, 5, 0, 1, 2);
    return box;
}

QGroupBox* frmBetIkkatuOut::oddsBox() {
    auto* box = new QGroupBox(u"オッズ"_s, this);
    auto* grid = new QGridLayout(box);
    oddsIn_ = new QCheckBox(u"オッズを取り込む"_s, box);
    oddsIn_->setObjectName(u"Check1"_s);
    oddsRange_ = new QCheckBox(u"設定したオッズレンジで出力を限定する"_s, box);
    oddsRange_->setObjectName(u"Check2"_s);
    grid->addWidget(oddsIn_, 0, 0, 1, 4);
    grid->addWidget(oddsRange_, 1, 0, 1, 4);
    // The two ranges, one row each: label, lowest, "～", highest.
    const struct {
        const char16_t* label;
        QLineEdit** low;
        const char16_t* lowName;
        QLineEdit** high;
        const char16_t* highName;
    } rows[] = {{u"単勝・複勝の最低/最高オッズ", &tmin_, u"TminOdds", &tmax_, u"TmaxOdds"},
                {u"馬連・枠連の最低/最高オッズ", &rmin_, u"RminOdds", &rmax_, u"RmaxOdds"}};
    int r = 2;
    for (const auto& row : rows) {
        *row.low = numberEdit(box, QString::fromUtf16(row.lowName));
        *row.high = numberEdit(box, QString::fromUtf16(row.highName));
        grid->addWidget(new QLabel(QString::fromUtf16(row.label), box), r, 0);
        grid->addWidget(*row.low, r, 1);
        grid->addWidget(new QLabel(u"～"_s, box), r, 2);
        grid->addWidget(*row.high, r, 3);
        ++r;
    }
    grid->setColumnStretch(4, 1);
    return box;
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
