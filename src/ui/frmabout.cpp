#include "ui/frmabout.h"

#include "zenomur_version.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

frmAbout::frmAbout(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("バージョン情報"));

    auto* title = new QLabel(QStringLiteral("ゼノゼノＭＵＲ"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);

    version_ = new QLabel(QStringLiteral("バージョン ") + QStringLiteral(ZENOMUR_VERSION), this);
    version_->setObjectName(QStringLiteral("lblVersion"));
    auto* edition = new QLabel(QStringLiteral("ゼノゼノＭＵＲ_駿馬堂OnLine版"), this);
    auto* description = new QLabel(QStringLiteral("ＭＵＲの出馬表データを解凍し、レースごとの予想と推奨買い目を作ります。"),
                                   this);
    description->setWordWrap(true);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    sysInfo_ = new QPushButton(QStringLiteral("システム情報(&S)..."), this);
    sysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo_->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(sysInfo_);
    buttons->addStretch(1);
    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version_);
    text->addWidget(edition);
    text->addSpacing(10);
    text->addWidget(description);
    text->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(text, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(540);

    connect(ok_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(sysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() {
    // There is no system-information tool to start on this platform.
    ctx_.prompter.information(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), kAppTitle);
}

}  // namespace zm::ui
