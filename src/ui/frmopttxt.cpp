#include "ui/frmopttxt.h"

#include "ui/dialog_buttons.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

frmOptTxt::frmOptTxt(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOptTxt"));
    setWindowTitle(QStringLiteral("予想テキストファイルの出力設定"));

    const QString captions[4] = {QStringLiteral("ＭＵＲﾌｫｰﾏｯﾄ(CSV)の出力"), QStringLiteral("DUELﾌｫｰﾏｯﾄの出力"),
                                 QStringLiteral("ＭＵＲﾌｫｰﾏｯﾄ(ﾃｷｽﾄ)の出力"),
                                 QStringLiteral("出馬表をＣＳＶ形式で出力")};
    const bool values[4] = {ctx_.settings.MurOut, ctx_.settings.DuelOut, ctx_.settings.MurTextOut,
                            ctx_.settings.DenCsvOut};
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 4; ++i) {
        auto* c = new QCheckBox(captions[i], this);
        c->setObjectName(QStringLiteral("Check1_%1").arg(i));
        c->setChecked(values[i]);
        checks_[static_cast<std::size_t>(i)] = c;
        layout->addWidget(c);
    }
    auto* note = new QLabel(QStringLiteral("レース別詳細ファイルは、出馬表表示画面で設定してください。"), this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);
    layout->addSpacing(6);
    layout->addWidget(note);

    const OkCancelRow row = makeOkCancelRow(this, QStringLiteral("ｷｬﾝｾﾙ"));
    ok_ = row.ok;
    cancel_ = row.cancel;
    auto* buttons = row.layout;
    layout->addSpacing(8);
    layout->addLayout(buttons);

    setMinimumWidth(400);
    connect(ok_, &QPushButton::clicked, this, &frmOptTxt::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmOptTxt::Command2_Click);
}

void frmOptTxt::Command1_Click() {
    struct Target {
        bool* field;
        const char16_t* key;
    };
    const Target targets[4] = {{&ctx_.settings.MurOut, u"MurOut"},
                               {&ctx_.settings.DuelOut, u"DuelOut"},
                               {&ctx_.settings.MurTextOut, u"MurTextOut"},
                               {&ctx_.settings.DenCsvOut, u"DenCsvOut"}};
    Status stored;
    for (int i = 0; i < 4; ++i) {
        *targets[i].field = checks_[static_cast<std::size_t>(i)]->isChecked();
        if (stored)
            stored = ctx_.store.SaveAppSetting(QStringLiteral("File"), QString::fromUtf16(targets[i].key),
                                               boolText(*targets[i].field));
    }
    if (!stored)
        ctx_.prompter.critical(stored.message());
    accept();
}

void frmOptTxt::Command2_Click() { reject(); }

}  // namespace zm::ui
