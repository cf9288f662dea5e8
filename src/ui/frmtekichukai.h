#pragma once

#include "app/context.h"
#include "export/tekichukai.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zm::ui {

// 「的中会投票」形式で出力: the day's pending bets as post lines in an editable text area, the two
// totals, and the post written to a file or the clipboard.
class frmTekichukai : public QDialog {
    Q_OBJECT

public:
    frmTekichukai(AppContext& ctx, const QString& day, QWidget* parent = nullptr);

    // Fills the text area from the pending-bet file; more than 300 bets show their message and
    // leave it empty.
    void Form_Load();

    QPlainTextEdit* textArea() const { return text_; }
    QLabel* countLabel() const { return count_; }
    QLabel* stakeLabel() const { return stake_; }
    QCheckBox* wideCheck() const { return wide_; }
    QPushButton* recountButton() const { return recount_; }
    QPushButton* fileButton() const { return file_; }
    QPushButton* clipboardButton() const { return clipboard_; }
    QPushButton* closeButton() const { return close_; }

    // The post as it would be written now.
    QString post() const;

public slots:
    void Saikeisan_Click();
    void FileOut_Click();
    void ClipOut_Click();

private:
    AppContext& ctx_;
    QString day_;
    QPlainTextEdit* text_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* stake_ = nullptr;
    QCheckBox* wide_ = nullptr;
    QPushButton* recount_ = nullptr;
    QPushButton* file_ = nullptr;
    QPushButton* clipboard_ = nullptr;
    QPushButton* close_ = nullptr;
};

// 的中会の投票を保留BETに変換: a pasted post read into the day's pending bets, with fixed amounts
// per bet type.
class frmReadTekichukai : public QDialog {
    Q_OBJECT

public:
    frmReadTekichukai(AppContext& ctx, const QString& day, QWidget* parent = nullptr);

    QPlainTextEdit* textArea() const { return text_; }
    QPushButton* pasteButton() const { return paste_; }
    QCheckBox* fixedCheck(int k) const { return checks_.at(static_cast<std::size_t>(k)); }
    QLineEdit* fixedAmount(int k) const { return amounts_.at(static_cast<std::size_t>(k)); }
    QPushButton* outputButton() const { return output_; }
    QPushButton* closeButton() const { return close_; }

    TekichukaiFixedAmounts fixedAmounts() const;

public slots:
    void Paste_Click();
    void Output_Click();

private:
    AppContext& ctx_;
    QString day_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* paste_ = nullptr;
    std::array<QCheckBox*, 5> checks_{};
    std::array<QLineEdit*, 5> amounts_{};
    QPushButton* output_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
