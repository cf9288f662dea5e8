#pragma once

#include "app/context.h"

#include <QDialog>

class QPushButton;
class QLabel;

namespace zm::ui {

// The about box: product name, version and the system-information button, which shows the
// program's and Qt's versions, the system, the folders and the settings file.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(AppContext& ctx, QWidget* parent = nullptr);

    QPushButton* okButton() const { return ok_; }
    QPushButton* sysInfoButton() const { return sysInfo_; }
    QLabel* versionLabel() const { return version_; }

    // What the system-information button shows: versions, folders and the settings file.
    static QString systemInformation(const AppContext& ctx);

public slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    AppContext& ctx_;
    QLabel* version_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* sysInfo_ = nullptr;
};

}  // namespace zm::ui
