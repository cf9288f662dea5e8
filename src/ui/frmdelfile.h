#pragma once

#include "app/context.h"

#include <QDialog>
#include <QStringList>

class QKeyEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace zm::ui {

// The deletion of predicted days: a list of the days with every file that goes with them.
class frmDelFile : public QDialog {
    Q_OBJECT

public:
    explicit frmDelFile(AppContext& ctx, QWidget* parent = nullptr);

    QListWidget* dayList() const { return list_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    // The listed days ("yyyymmdd"), in list order.
    const QStringList& days() const { return days_; }
    // Shows, under the guidance, that the race card was closed to open this dialog.
    void setCardClosed(bool closed);
    QLabel* cardClosedNote() const { return cardNote_; }

public slots:
    void cmdDelete_Click();
    void cmdBack_Click();
    void cmdAllDelete_Click();
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void deleteDays(const QStringList& days);

    AppContext& ctx_;
    QStringList days_;
    QListWidget* list_ = nullptr;
    QLabel* cardNote_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
};

}  // namespace zm::ui
