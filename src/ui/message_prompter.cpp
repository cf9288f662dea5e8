#include "ui/message_prompter.h"

#include <QMessageBox>

namespace zm::ui {

void MessageBoxPrompter::information(const QString& text, const QString& title) {
    QMessageBox::information(parent_, title, text);
}

void MessageBoxPrompter::warning(const QString& text, const QString& title) {
    QMessageBox::warning(parent_, title, text);
}

void MessageBoxPrompter::critical(const QString& text, const QString& title) {
    QMessageBox::critical(parent_, title, text);
}

bool MessageBoxPrompter::okCancel(const QString& text, const QString& title) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool MessageBoxPrompter::yesNo(const QString& text, const QString& title) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

Answer MessageBoxPrompter::yesNoCancel(const QString& text, const QString& title) {
    const auto b = QMessageBox::question(parent_, title, text,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return b == QMessageBox::Yes ? Answer::Yes : b == QMessageBox::No ? Answer::No : Answer::Cancel;
}

}  // namespace zm::ui
