#pragma once

#include "app/prompter.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zm::ui {

// The text files of the output folder in three lists (詳細, W and MUR files); the chosen one
// opens in the desktop's default application for its type.
class frmOutputFiles : public QDialog {
    Q_OBJECT

public:
    // opener opens a file; by default the desktop's default application.
    frmOutputFiles(const QString& outputDir, Prompter& prompter, QWidget* parent = nullptr,
                   std::function<bool(const QString&)> opener = {});

    QListWidget* list(int k) const { return lists_.at(static_cast<size_t>(k)); }
    // Reads the folder again.
    void reload();

public slots:
    void Command1_Click();  // 開く: the selected file of the list that has one

private:
    void open(QListWidgetItem* item);

    QString dir_;
    Prompter& prompter_;
    std::function<bool(const QString&)> opener_;
    std::array<QListWidget*, 3> lists_{};
    QPushButton* open_ = nullptr;
};

}  // namespace zm::ui
