#pragma once

#include "app/context.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace zm::ui {

// The split window: shows the two dates of a two-day archive and the steps of the split while
// it writes the second day's archive.
class frmSplit : public QDialog {
    Q_OBJECT

public:
    explicit frmSplit(QWidget* parent = nullptr);

    void setOriginal(const QString& text);
    void setAdded(const QString& text);
    void setStatus(const QString& text);
    // Enables "戻る" once the split has ended.
    void finish();

    QLabel* originalLabel() const { return original_; }
    QLabel* addedLabel() const { return added_; }
    QLabel* statusLabel() const { return status_; }
    QPushButton* backButton() const { return back_; }

public slots:
    void cmdBack_Click();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool finished_ = false;
    QLabel* original_ = nullptr;
    QLabel* added_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* back_ = nullptr;
};

}  // namespace zm::ui
