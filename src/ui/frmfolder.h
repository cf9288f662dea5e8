#pragma once

#include "app/context.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace zm::ui {

// The folder picker: a drive list (file-system roots and mount points), a folder tree and
// the chosen folder as text. OK writes the folder into the caller's field.
class frmFOLDER : public QDialog {
    Q_OBJECT

public:
    frmFOLDER(AppContext& ctx, QLineEdit* target, const QString& startFolder, QWidget* parent = nullptr);

    QComboBox* driveList() const { return drives_; }
    QTreeView* folderTree() const { return tree_; }
    QLineEdit* folderText() const { return text_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Roots offered in the drive list.
    static QStringList driveRoots();

public slots:
    void Command1_Click();  // OK
    void Command2_Click();  // Cancel
    void Drive1_Change(int index);

private:
    // After a message: the folder field again, its text selected for typing over.
    void retryField();
    void showFolder(const QString& folder);
    void treeSelectionChanged();

    AppContext& ctx_;
    QLineEdit* target_;
    QComboBox* drives_ = nullptr;
    QTreeView* tree_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    QLineEdit* text_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int currentDrive_ = 0;
};

}  // namespace zm::ui
