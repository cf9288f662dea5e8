#pragma once

#include "app/context.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zm::ui {

// The PAT settings: whether PAT's files are used, its generation and its folder.
class frmPatOption : public QDialog {
    Q_OBJECT

public:
    explicit frmPatOption(AppContext& ctx, QWidget* parent = nullptr);

    // The generation stored in "Ver" for each choice, in order.
    static QString versionOfChoice(int choice);
    static int choiceOfVersion(const QString& ver);

    QCheckBox* patCheck() const { return check_; }
    QRadioButton* choice(int i) const { return choices_.at(static_cast<std::size_t>(i)); }
    QLineEdit* folderField() const { return folder_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    void SSCommand1_Ok_Click();
    void SSCommand1_Cancel_Click();
    void Check1_Click();
    void Browse_Click();
    void reject() override;

private:
    int chosen() const;
    void updateEnabled();

    AppContext& ctx_;
    bool patOptAtOpen_ = false;
    QCheckBox* check_ = nullptr;
    std::array<QRadioButton*, 4> choices_{};
    QButtonGroup* group_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace zm::ui
