#include "ui/frmpatoption.h"

#include "ui/dialog_buttons.h"

#include "ui/frmfolder.h"
#include "ui/uiutil.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

namespace zm::ui {

namespace {
const char16_t* const kChoiceCaptions[4] = {u"ＰＡＴ９５（Win95版）", u"ＰＡＴ３１（Win31版）", u"ＰＡＴ ９５/９８",
                                            u"FHduel mes17ログ"};
const char16_t* const kChoiceVersions[4] = {u"95", u"31", u"98", u"FHDUEL"};
}  // namespace

QString frmPatOption::versionOfChoice(int choice) {
    return QString::fromUtf16(kChoiceVersions[qBound(0, choice, 3)]);
}

int frmPatOption::choiceOfVersion(const QString& ver) {
    const auto* found = std::find_if(std::begin(kChoiceVersions), std::end(kChoiceVersions),
                                     [&](const char16_t* v) { return ver == QStringView(v); });
    return found == std::end(kChoiceVersions) ? 0 : static_cast<int>(found - std::begin(kChoiceVersions));
}

frmPatOption::frmPatOption(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), patOptAtOpen_(ctx.settings.PatOpt) {
    setObjectName(QStringLiteral("frmPatOption"));
    setWindowTitle(QStringLiteral("ＰＡＴの選択"));

    check_ = new QCheckBox(QStringLiteral("ＰＡＴのオッズを利用する"), this);
    check_->setObjectName(QStringLiteral("Check1"));

    auto* box = new QGroupBox(QStringLiteral("ＰＡＴの種類"), this);
    auto* boxLayout = new QVBoxLayout(box);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromUtf16(kChoiceCaptions[i]), box);
        r->setObjectName(QStringLiteral("Option1_%1").arg(i));
        group_->addButton(r, i);
        boxLayout->addWidget(r);
        choices_[static_cast<std::size_t>(i)] = r;
    }

    folder_ = new QLineEdit(FieldFromFolder(ctx_.settings.PatDir), this);
    folder_->setObjectName(QStringLiteral("Text1"));
    folder_->setMinimumWidth(320);
    browse_ = new QPushButton(QStringLiteral("参照..."), this);
    browse_->setObjectName(QStringLiteral("Command3"));
    browse_->setAutoDefault(false);

    const OkCancelRow row = makeOkCancelRow(this, QStringLiteral("キャンセル"), QStringLiteral("SSCommand1_Ok"),
                                            QStringLiteral("SSCommand1_Cancel"));
    ok_ = row.ok;
    cancel_ = row.cancel;

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* buttons = row.layout;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(check_);
    layout->addWidget(box);
    layout->addWidget(new QLabel(QStringLiteral("ＰＡＴのフォルダ"), this));
    layout->addLayout(folderRow);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    choices_[static_cast<std::size_t>(choiceOfVersion(ctx_.settings.Ver))]->setChecked(true);
    check_->setChecked(ctx_.settings.PatOpt);
    updateEnabled();

    connect(check_, &QCheckBox::clicked, this, &frmPatOption::Check1_Click);
    connect(browse_, &QPushButton::clicked, this, &frmPatOption::Browse_Click);
    connect(ok_, &QPushButton::clicked, this, &frmPatOption::SSCommand1_Ok_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmPatOption::SSCommand1_Cancel_Click);
}

int frmPatOption::chosen() const { return qMax(0, group_->checkedId()); }

void frmPatOption::updateEnabled() {
    const bool on = check_->isChecked();
    for (QRadioButton* r : choices_) {
        r->setEnabled(on);
    }
    folder_->setEnabled(on);
    browse_->setEnabled(on);
}

void frmPatOption::Check1_Click() {
    ctx_.settings.PatOpt = check_->isChecked();
    updateEnabled();
}

void frmPatOption::Browse_Click() {
    auto* picker = new frmFOLDER(ctx_, folder_, folder_->text(), this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setModal(true);
    picker->open();
}

void frmPatOption::SSCommand1_Ok_Click() {
    if (check_->isChecked()) {
        ctx_.settings.Ver = versionOfChoice(chosen());
        Status stored = ctx_.store.SaveAppSetting(QStringLiteral("PAT"), QStringLiteral("Ver"), ctx_.settings.Ver);
        const auto folder = CheckFolderField(ctx_.prompter, folder_->text(),
                                             QStringLiteral("「PAT」のフォルダ名が設定されていません！"));
        if (!folder) {
            if (!stored)
                ctx_.prompter.critical(stored.message());
            folder_->setFocus();
            return;
        }
        ctx_.settings.PatDir = *folder;
        if (stored)
            stored = ctx_.store.SaveAppSetting(QStringLiteral("PAT"), QStringLiteral("PatDir"), *folder);
        if (!stored)
            ctx_.prompter.critical(stored.message());
    }
    ctx_.settings.PatOpt = check_->isChecked();
    if (const Status stored = ctx_.store.SaveAppSetting(QStringLiteral("PAT"), QStringLiteral("PatOpt"),
                                                        boolText(ctx_.settings.PatOpt));
        !stored)
        ctx_.prompter.critical(stored.message());
    patOptAtOpen_ = ctx_.settings.PatOpt;
    accept();
}

void frmPatOption::SSCommand1_Cancel_Click() { reject(); }

void frmPatOption::reject() {
    // The box changes the flag while the dialog is open; leaving without OK puts it back, so
    // the run goes on with what the store holds.
    ctx_.settings.PatOpt = patOptAtOpen_;
    QDialog::reject();
}

}  // namespace zm::ui
