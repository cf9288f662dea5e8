#include "ui/dialog_buttons.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace zm::ui {

OkCancelRow makeOkCancelRow(QWidget* parent, const QString& cancelText, const QString& okName,
                            const QString& cancelName) {
    OkCancelRow row;
    row.ok = new QPushButton(QStringLiteral("OK"), parent);
    row.ok->setObjectName(okName);
    row.ok->setDefault(true);
    row.cancel = new QPushButton(cancelText, parent);
    row.cancel->setObjectName(cancelName);
    row.cancel->setAutoDefault(false);
    row.layout = new QHBoxLayout;
    row.layout->addStretch(1);
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    return row;
}

}  // namespace zm::ui
