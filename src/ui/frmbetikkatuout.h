#pragma once

#include "app/context.h"
#include "export/bulk_output.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zm::ui {

// 保留ベットへの一括出力: the day's contest text read into the pending bets, with the settings of
// section "DavazOrev" and the five stakes. The close button stores them. It opens on the day's
// DUEL or MUR text, whichever exists.
class frmBetIkkatuOut : public QDialog {
    Q_OBJECT

public:
    frmBetIkkatuOut(AppContext& ctx, const QString& day, QWidget* parent = nullptr);

    // The dialog's controls as they stand.
    BulkOutForm form() const;
    void setForm(const BulkOutForm& form);
    BulkResult lastResult() const { return last_; }

public slots:
    void Command1_Click();  // 保留ベット出力
    void Command2_Click();  // 閉じる: stores the settings and closes
    void Command3_Click();  // 参照: choose the file

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The day's DUEL ("W") or MUR contest text in the output folder.
    QString dayTextPath(bool mur) const;
    // On opening: the day's contest text that exists, with its format, unless the stored file
    // is one of the user's own (not named as a day's text) and is there.
    void pickDayText();
    // The missing-file message; when the day has neither text, it says which setting makes them.
    QString missingTextMessage() const;
    // The dialog's boxes, their controls kept in the members below.
    QGroupBox* fileBox();
    QGroupBox* formatBox();
    QGroupBox* typeBox();
    QGroupBox* stakeBox();
    QGroupBox* oddsBox();

    AppContext& ctx_;
    QString day_;
    BulkResult last_;
    bool stored_ = false;

    QLabel* heading_ = nullptr;
    QLineEdit* path_ = nullptr;
    QRadioButton* murFormat_ = nullptr;
    QRadioButton* duelFormat_ = nullptr;
    QLineEdit* murCode_ = nullptr;
    QLineEdit* duelCode_ = nullptr;
    std::array<QRadioButton*, 4> types_{};
    std::array<QLineEdit*, 5> stakes_{};
    QCheckBox* toWide_ = nullptr;
    QCheckBox* oddsIn_ = nullptr;
    QCheckBox* oddsRange_ = nullptr;
    QLineEdit* tmin_ = nullptr;
    QLineEdit* tmax_ = nullptr;
    QLineEdit* rmin_ = nullptr;
    QLineEdit* rmax_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
