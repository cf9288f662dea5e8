#include "ui/frmyosouout.h"

#include "ui/dialog_buttons.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zm::ui {

namespace {
const char16_t* const kStyles[9] = {u"軸馬から ３点流し",   u"軸馬から ４点流し",  u"軸馬から ５点流し",
                                    u"軸馬から ６点流し",   u"軸馬から 10点流し",  u"上位３頭ボックス",
                                    u"上位４頭ボックス",    u"上位５頭ボックス",   u"おまかせ予想(予想オッズが必要)"};
}  // namespace

frmYosouOut::frmYosouOut(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmYosouOut"));
    setWindowTitle(QStringLiteral("【ゼノゼノＭＵＲ】予想出力の設定"));

    auto* box = new QGroupBox(QStringLiteral("推奨買い目の出し方"), this);
    auto* boxLayout = new QVBoxLayout(box);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        auto* r = new QRadioButton(QString::fromUtf16(kStyles[i]), box);
        r->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group_->addButton(r, i);
        boxLayout->addWidget(r);
        options_[static_cast<std::size_t>(i)] = r;
    }
    const int stored = ctx_.settings.Yosou >= 0 && ctx_.settings.Yosou <= 8 ? ctx_.settings.Yosou : 0;
    options_[static_cast<std::size_t>(stored)]->setChecked(true);

    const OkCancelRow row = makeOkCancelRow(this);
    ok_ = row.ok;
    cancel_ = row.cancel;
    auto* buttons = row.layout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);

    setMinimumWidth(320);
    connect(ok_, &QPushButton::clicked, this, &frmYosouOut::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmYosouOut::Command2_Click);
}

void frmYosouOut::Command1_Click() {
    const int chosen = qMax(0, group_->checkedId());
    ctx_.settings.Yosou = static_cast<std::int16_t>(chosen);
    if (const Status stored =
            ctx_.store.SaveAppSetting(QStringLiteral("UserInfo"), QStringLiteral("Yosou"), QString::number(chosen));
        !stored)
        ctx_.prompter.critical(stored.message());
    accept();
}

void frmYosouOut::Command2_Click() { reject(); }

}  // namespace zm::ui
