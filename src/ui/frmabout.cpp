#include "ui/frmabout.h"

#include "zenomur_version.h"

#include <QDir>
#include <QFont>
#include <QSysInfo>
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
    // Broken where the sentence allows it, never inside a word.
    auto* description = new QLabel(QStringLiteral("ＭＵＲの出馬表データを解凍し、\nレースごとの予想と推奨買い目を作ります。"),
                                   this);
    description->setWordWrap(false);

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
    layout->setContentsMargins(16, 14, 16, 16);
    layout->addLayout(text, 1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(540);

    connect(ok_, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(sysInfo_, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdOK_Click() { accept(); }

QString frmAbout::systemInformation(const AppContext& ctx) {
    const auto folder = [](const QString& path) {
        return path.isEmpty() ? QStringLiteral("（未設定）") : QDir::toNativeSeparators(path);
    };
    QStringList lines;
    lines << QStringLiteral("ゼノゼノＭＵＲ バージョン ") + QStringLiteral(ZENOMUR_VERSION);
    lines << QStringLiteral("Qt バージョン ") + QString::fromLatin1(qVersion()) + QStringLiteral("（ビルド時 ") +
                 QStringLiteral(QT_VERSION_STR) + QStringLiteral("）");
    lines << QStringLiteral("システム：") + QSysInfo::prettyProductName() + QStringLiteral("（") +
                 QSysInfo::currentCpuArchitecture() + QStringLiteral("）");
    lines << QString();
    lines << QStringLiteral("プログラムフォルダ：") + folder(ctx.paths.AppPath);
    lines << QStringLiteral("予想データ（Data）：") + folder(ctx.paths.DataDir);
    lines << QStringLiteral("ＭＵＲデータの格納フォルダ：") + folder(ctx.settings.MurDataDir);
    lines << QStringLiteral("テキスト・ＣＳＶの出力フォルダ：") + folder(ctx.settings.OutPutDir);
    lines << QStringLiteral("購入ファイルの出力フォルダ：") + folder(ctx.settings.BetOutDir);
    lines << QStringLiteral("ＰＡＴのフォルダ：") + folder(ctx.settings.PatOpt ? ctx.settings.PatDir : QString());
    lines << QStringLiteral("設定ファイル：") + folder(ctx.store.fileName());
    return lines.join(u'\n');
}

void frmAbout::cmdSysInfo_Click() { ctx_.prompter.information(systemInformation(ctx_), QStringLiteral("システム情報")); }

}  // namespace zm::ui
