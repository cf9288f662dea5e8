#include "ui/frmdelfile.h"

#include "app/day_deletion.h"
#include "ui/uiutil.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace zm::ui {

frmDelFile::frmDelFile(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmDelFile"));
    setWindowTitle(QStringLiteral("データファイルの削除"));

    // Broken by hand where the sentence allows: the label never wraps inside a word.
    auto* label = new QLabel(QStringLiteral("クリックあるいはスペースバーで、\n削除したいデータを選択してください。"), this);
    label->setObjectName(QStringLiteral("Label1"));
    cardNote_ = new QLabel(QStringLiteral("削除する日を表示していることがあるため、\n出馬表画面は閉じました。"), this);
    cardNote_->setObjectName(QStringLiteral("lblCardClosed"));
    cardNote_->setVisible(false);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    list_->setSpacing(1);

    delete_ = new QPushButton(QStringLiteral("削 除"), this);
    delete_->setObjectName(QStringLiteral("cmdDelete"));
    back_ = new QPushButton(QStringLiteral("戻 る"), this);
    back_->setObjectName(QStringLiteral("cmdBack"));
    deleteAll_ = new QPushButton(QStringLiteral("全部削除"), this);
    deleteAll_->setObjectName(QStringLiteral("cmdAllDelete"));
    for (QPushButton* b : {delete_, back_, deleteAll_}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(delete_);
    buttons->addWidget(deleteAll_);
    buttons->addStretch(1);
    buttons->addWidget(back_);
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cardNote_);
    layout->addLayout(body, 1);
    resize(460, 400);

    connect(delete_, &QPushButton::clicked, this, &frmDelFile::cmdDelete_Click);
    connect(back_, &QPushButton::clicked, this, &frmDelFile::cmdBack_Click);
    connect(deleteAll_, &QPushButton::clicked, this, &frmDelFile::cmdAllDelete_Click);
    refresh();
}

void frmDelFile::setCardClosed(bool closed) {
    cardNote_->setVisible(closed);
}

void frmDelFile::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, as Space does; elsewhere it presses nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        for (QPushButton* b : {delete_, deleteAll_, back_}) {
            if (focusWidget() == b) {
                b->click();
                return;
            }
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmDelFile::refresh() {
    days_ = ListPredictedDays(ctx_.paths.DataDir);
    list_->clear();
    for (const QString& day : days_) {
        auto* item = new QListWidgetItem(DayCaption(day), list_);
        item->setData(Qt::UserRole, day);
    }
}

void frmDelFile::deleteDays(const QStringList& days) {
    // Deleted days cannot be brought back: ask first, Cancel being the default.
    if (!ctx_.prompter.confirm(QString::number(days.size()) + QStringLiteral("日分のデータを削除します。よろしいですか？"),
                               kAppTitle)) {
        return;
    }
    int processed = 0;
    {
        BusyCursor busy;
        processed = DeleteDays(ctx_.paths.DataDir, ctx_.settings.OutPutDir, days);
    }
    ctx_.prompter.information(QString::number(processed) + QStringLiteral("日分のデータを削除しました。"), kAppTitle);
    refresh();
}

void frmDelFile::cmdDelete_Click() {
    if (list_->count() == 0) {
        ctx_.prompter.warning(kDelNoFiles, kAppTitle);
        return;
    }
    QStringList chosen;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) {
            chosen << list_->item(i)->data(Qt::UserRole).toString();
        }
    }
    if (chosen.isEmpty()) {
        ctx_.prompter.warning(kDelNoneSelected, kAppTitle);
        return;
    }
    deleteDays(chosen);
}

void frmDelFile::cmdAllDelete_Click() {
    if (list_->count() == 0) {
        ctx_.prompter.warning(kDelNoFiles, kAppTitle);
        return;
    }
    deleteDays(days_);
}

void frmDelFile::cmdBack_Click() { reject(); }

}  // namespace zm::ui
