#include "ui/frmopt1.h"

#include "ui/dialog_buttons.h"

#include "ui/frmfolder.h"
#include "ui/uiutil.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

frmOpt1::frmOpt1(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOpt1"));
    setWindowTitle(QStringLiteral("データ格納フォルダの設定"));

    const QString captions[3] = {QStringLiteral("ＭＵＲデータ（圧縮ファイル）の格納フォルダ"),
                                 QStringLiteral("予想テキスト・ＣＳＶファイルの出力フォルダ"),
                                 QStringLiteral("購入ファイル・VoteRoboファイルの出力フォルダ")};
    const QString values[3] = {ctx_.settings.MurDataDir, ctx_.settings.OutPutDir, ctx_.settings.BetOutDir};

    auto* grid = new QGridLayout;
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        fields_[k] = new QLineEdit(FieldFromFolder(values[i]), this);
        fields_[k]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        fields_[k]->setMinimumWidth(380);
        browse_[k] = new QPushButton(QStringLiteral("参照..."), this);
        browse_[k]->setObjectName(QStringLiteral("Command3_%1").arg(i));
        browse_[k]->setAutoDefault(false);
        grid->addWidget(new QLabel(captions[i], this), i * 2, 0, 1, 2);
        grid->addWidget(fields_[k], i * 2 + 1, 0);
        grid->addWidget(browse_[k], i * 2 + 1, 1);
        connect(browse_[k], &QPushButton::clicked, this, [this, i] { Browse_Click(i); });
    }

    const OkCancelRow row = makeOkCancelRow(this);
    ok_ = row.ok;
    cancel_ = row.cancel;
    auto* buttons = row.layout;
    connect(ok_, &QPushButton::clicked, this, &frmOpt1::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmOpt1::Command2_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void frmOpt1::Command1_Click() {
    QString folders[3];
    for (int i = 0; i < 3; ++i) {
        const auto checked = CheckFolderField(ctx_.prompter, fields_[static_cast<std::size_t>(i)]->text(),
                                              QStringLiteral("フォルダ名が設定されていません！"));
        if (!checked) {
            fields_[static_cast<std::size_t>(i)]->setFocus();
            return;
        }
        folders[i] = *checked;
    }
    ctx_.settings.MurDataDir = folders[0];
    ctx_.settings.OutPutDir = folders[1];
    ctx_.settings.BetOutDir = folders[2];
    Status stored = ctx_.store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("MurDataDir"), folders[0]);
    if (stored)
        stored = ctx_.store.SaveAppSetting(QStringLiteral("Folder"), QStringLiteral("OutPutDir"), folders[1]);
    if (stored)
        stored = ctx_.store.SaveAppSetting(QStringLiteral("PAT"), QStringLiteral("BetOutDir"), folders[2]);
    if (!stored)
        ctx_.prompter.critical(stored.message());
    accept();
}

void frmOpt1::Command2_Click() { reject(); }

void frmOpt1::Browse_Click(int i) {
    QLineEdit* field = fields_.at(static_cast<std::size_t>(i));
    auto* picker = new frmFOLDER(ctx_, field, field->text(), this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setModal(true);
    picker->open();
}

}  // namespace zm::ui
