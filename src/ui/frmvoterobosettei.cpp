#include "ui/frmvoterobosettei.h"

#include "ui/uiutil.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

frmVoteRoboSettei::frmVoteRoboSettei(AppContext& ctx, const QString& day, QWidget* parent)
    : QDialog(parent), ctx_(ctx), day_(day) {
    setObjectName(u"frmVoteRoboSettei"_s);
    setWindowTitle(u"「VoteRobo」の出力設定"_s);
    const VoteRoboOptions o = VoteRoboOptionsOf(ctx.settings);
    T_Time_ = o.T_Time;

    QVBoxLayout* left = groupColumn(o);
    QVBoxLayout* right = oddsColumn(o);
    output_ = new QPushButton(u"出力"_s, this);
    output_->setObjectName(u"cmdOutput"_s);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(output_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    for (QCheckBox* c : {group_, odds_, results_})
        connect(c, &QCheckBox::toggled, this, &frmVoteRoboSettei::updateEnabled);
    connect(output_, &QPushButton::clicked, this, &frmVoteRoboSettei::Output_Click);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    updateEnabled();
}

QCheckBox* frmVoteRoboSettei::checkBox(const QString& caption, const QString& name, bool checked) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QVBoxLayout* frmVoteRoboSettei::groupColumn(const VoteRoboOptions& o) {
    group_ = checkBox(u"場別にグループ分けをする"_s, u"chkGroup"_s, o.group);
    groupSetBox_ = new QGroupBox(u"ｸﾞﾙｰﾌﾟ分け指定"_s, this);
    groupSet_ = radios(groupSetBox_, {u"１・２・３ ｸﾞﾙｰﾌﾟ"_s, u"４・５・６ ｸﾞﾙｰﾌﾟ"_s, u"７・８・９ ｸﾞﾙｰﾌﾟ"_s},
                       u"optGroupbetu"_s, o.groupSet);
    groupOutBox_ = new QGroupBox(u"ｸﾞﾙｰﾌﾟ分けしない場合の出力先ｸﾞﾙｰﾌﾟ"_s, this);
    groupOut_ = new QComboBox(groupOutBox_);
    groupOut_->setObjectName(u"cmbGroupOut"_s);
    for (int g = 0; g <= 9; ++g)
        groupOut_->addItem(QString::number(g));
    groupOut_->setCurrentIndex(groupOut_->findText(o.groupOut));
    (new QHBoxLayout(groupOutBox_))->addWidget(groupOut_);

    auto* voteBox = new QGroupBox(u"投票時間"_s, this);
    voteTime_ =
        radios(voteBox, {u"７時に全買い目を一括投票"_s, u"各レース毎に投票を行う"_s, u"９時に全買い目を一括投票"_s},
               u"optTouhyou"_s, o.voteTime);

    auto* column = new QVBoxLayout;
    column->addWidget(group_);
    column->addWidget(groupSetBox_);
    column->addWidget(groupOutBox_);
    column->addWidget(voteBox);
    column->addStretch();
    return column;
}

QVBoxLayout* frmVoteRoboSettei::oddsColumn(const VoteRoboOptions& o) {
    odds_ = checkBox(u"オッズを取得する"_s, u"chkOdds"_s, o.odds);
    oddsTimingBox_ = new QGroupBox(u"オッズ・馬体重の取得"_s, this);
    oddsTiming_ = radios(
        oddsTimingBox_,
        {u"朝一で全レース分のオッズを取得"_s, u"朝一で購入レース分のみオッズを取得"_s, u"購入レース毎にオッズを取得"_s},
        u"optOddsSyutoku"_s, o.oddsTiming);
    oddsKindBox_ = new QGroupBox(u"出力設定項目"_s, this);
    oddsKind_ = radios(oddsKindBox_, {u"全部"_s, u"単複枠"_s, u"馬連"_s}, u"optGetOdds"_s, o.oddsKind);
    weights_ = checkBox(u"購入レース毎に馬体重を取得"_s, u"chkBataiju"_s, o.weights);

    results_ = checkBox(u"レース結果を取得する"_s, u"chkSei"_s, o.results);
    resultsBox_ = new QGroupBox(u"成績の取得・的中判定"_s, this);
    resultsTiming_ = radios(resultsBox_, {u"全レース終了後に競争結果を取得"_s, u"ﾚｰｽ毎に結果を取得し的中判定を行う"_s},
                            u"optHantei"_s, o.resultsTiming);

    auto* column = new QVBoxLayout;
    column->addWidget(odds_);
    column->addWidget(oddsTimingBox_);
    column->addWidget(oddsKindBox_);
    column->addWidget(weights_);
    column->addWidget(results_);
    column->addWidget(resultsBox_);
    return column;
}

QButtonGroup* frmVoteRoboSettei::radios(QGroupBox* box, const QStringList& captions, const QString& name, int checked) {
    auto* group = new QButtonGroup(this);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < captions.size(); ++i) {
        auto* r = new QRadioButton(captions[i], box);
        r->setObjectName(u"%1_%2"_s.arg(name).arg(i));
        group->addButton(r, i);
        layout->addWidget(r);
        r->setChecked(i == checked);
    }
    return group;
}

QRadioButton* frmVoteRoboSettei::radio(QButtonGroup* group, int i) {
    return qobject_cast<QRadioButton*>(group->button(i));
}

void frmVoteRoboSettei::updateEnabled() {
    groupSetBox_->setEnabled(group_->isChecked());
    groupOutBox_->setEnabled(!group_->isChecked());
    oddsTimingBox_->setEnabled(odds_->isChecked());
    oddsKindBox_->setEnabled(odds_->isChecked());
    resultsBox_->setEnabled(results_->isChecked());
}

VoteRoboOptions frmVoteRoboSettei::options() const {
    VoteRoboOptions o;
    o.group = group_->isChecked();
    o.groupSet = std::max(0, groupSet_->checkedId());
    o.groupOut = groupOut_->currentText();
    o.voteTime = voteTime_->checkedId() < 0 ? 2 : voteTime_->checkedId();
    o.T_Time = T_Time_;
    o.odds = odds_->isChecked();
    o.oddsTiming = oddsTiming_->checkedId();
    o.oddsKind = std::max(0, oddsKind_->checkedId());
    o.weights = weights_->isChecked();
    o.results = results_->isChecked();
    o.resultsTiming = std::max(0, resultsTiming_->checkedId());
    return o;
}

void frmVoteRoboSettei::Output_Click() {
    const VoteRoboOptions o = options();
    showFailure(ctx_.prompter, StoreVoteRoboOptions(ctx_.store, ctx_.settings, o));
    showFailure(ctx_.prompter, WriteVoteRoboSchedule(ctx_, day_, o));
}

}  // namespace zm::ui
