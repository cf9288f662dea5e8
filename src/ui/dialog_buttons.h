#pragma once

#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace zm::ui {

// The OK and Cancel buttons at the right end of a dialog's last row. OK is the default button;
// Cancel never takes Enter. The object names are the controls' names of the dialog.
struct OkCancelRow {
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QHBoxLayout* layout = nullptr;
};

OkCancelRow makeOkCancelRow(QWidget* parent, const QString& cancelText = QStringLiteral("キャンセル"),
                            const QString& okName = QStringLiteral("Command1"),
                            const QString& cancelName = QStringLiteral("Command2"));

}  // namespace zm::ui
