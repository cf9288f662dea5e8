#include "ui/frmconvmurodds.h"

#include "ui/frmfolder.h"
#include "ui/frmprogres.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

frmConvMurOdds::frmConvMurOdds(AppContext& ctx, const QString& dayFilePath, const zm::PatFormat& format,
                               QWidget* parent)
    : QDialog(parent), ctx_(ctx), format_(format), dayFile_(dayFilePath) {
    setObjectName(u"frmConvMurOdds"_s);
    setWindowTitle(zm::ConvDialogCaption(format));

    heading_ = new QLabel(zm::ConvHeading(dayFilePath), this);
    heading_->setObjectName(u"Label1"_s);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    // Without a folder of its own the conversion writes where PAT reads its odds.
    folder_ = new QLineEdit(ctx_.settings.ConvOddsDir.isEmpty() ? ctx_.settings.PatDir : ctx_.settings.ConvOddsDir,
                            this);
    folder_->setObjectName(u"Text1"_s);
    folder_->setMinimumWidth(360);
    browse_ = new QPushButton(u"参照..."_s, this);
    browse_->setObjectName(u"Command3"_s);
    browse_->setAutoDefault(false);
    auto* prompt = new QLabel(zm::kConvPrompt, this);
    prompt->setObjectName(u"Label2"_s);

    bar_ = new ProgressBarView(this);
    bar_->setObjectName(u"ProgressBar1"_s);
    status_ = new QLabel(this);
    status_->setObjectName(u"Label3"_s);
    race_ = new QLabel(this);
    race_->setObjectName(u"Label4"_s);
    race_->setMinimumWidth(race_->fontMetrics().horizontalAdvance(u"2026年12月05日 4回 中山 1日目 11Ｒ"_s) + 8);

    execute_ = new QPushButton(u"実 行"_s, this);
    execute_->setObjectName(u"Command1"_s);
    execute_->setDefault(true);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"Command2"_s);
    close_->setAutoDefault(false);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(execute_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading_);
    layout->addSpacing(6);
    layout->addWidget(new QLabel(u"出力先フォルダ"_s, this));
    layout->addLayout(folderRow);
    layout->addWidget(prompt);
    layout->addSpacing(6);
    layout->addWidget(bar_);
    layout->addWidget(status_);
    layout->addWidget(race_);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    connect(execute_, &QPushButton::clicked, this, &frmConvMurOdds::Command1_Click);
    connect(close_, &QPushButton::clicked, this, &frmConvMurOdds::Command2_Click);
    connect(browse_, &QPushButton::clicked, this, &frmConvMurOdds::Browse_Click);
}

void frmConvMurOdds::setLabel(const QString& text, int) {
    race_->setText(text);
    emit raceShown(text);
}

void frmConvMurOdds::setPercent(double percent) { bar_->setPercent(percent); }

void frmConvMurOdds::Browse_Click() {
    const QString shown = folder_->text().trimmed();
    auto* picker = new frmFOLDER(ctx_, folder_, shown.isEmpty() ? ctx_.paths.AppPath : shown, this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->setModal(true);
    picker->open();
}

void frmConvMurOdds::Command1_Click() {
    if (running_) {
        return;
    }
    const QString folder = folder_->text();
    if (folder.trimmed().isEmpty() || !QFileInfo(folder.trimmed()).isDir()) {
        // Said before anything claims to be written.
        status_->clear();
        ctx_.prompter.warning(zm::kConvFolderMissing);
        folder_->setFocus();
        return;
    }
    running_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{execute_, close_, browse_, folder_}) {
        w->setEnabled(false);
    }
    bar_->setPercent(0);
    race_->clear();
    status_->setText(zm::ConvStatusText(format_));
    bool done = false;
    Status failure;
    Notices notices;
    {
        BusyCursor busy;
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            const auto result = zm::ConvertPredictedOdds(run, dayFile_, format_, folder, notices);
            if (result) {
                written_ = result.value().written;
                done = true;
            } else {
                failure = result.status();
            }
        });
    }
    for (const Notice& notice : notices) {
        showNotice(ctx_.prompter, notice);
    }
    showFailure(ctx_.prompter, failure);
    if (done) {
        ctx_.prompter.information(zm::kConvDone);
    }
    status_->setText(done ? zm::kConvDone : QString());
    if (done)
        folder_->setText(ctx_.settings.ConvOddsDir);  // the folder the run stored
    for (QWidget* w : std::initializer_list<QWidget*>{execute_, close_, browse_, folder_}) {
        w->setEnabled(true);
    }
    running_ = false;
    if (done) {
        close_->setFocus();
    } else {
        folder_->setFocus();
    }
}

void frmConvMurOdds::Command2_Click() { close(); }

void frmConvMurOdds::closeEvent(QCloseEvent* event) {
    // A run cannot be stopped halfway: the window stays until it has ended.
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmConvMurOdds::reject() {
    if (!running_) {
        QDialog::reject();
    }
}

}  // namespace zm::ui
