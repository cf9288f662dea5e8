#pragma once

#include "app/prompter.h"

#include <QMessageBox>
#include <QStringList>

class QFontMetrics;
class QWidget;

namespace zm::ui {

// The desktop program's prompter: modal message boxes over the window that raised them (the
// open dialog), else over the main window.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer ask(const Question& question) override;

private:
    QWidget* owner() const;

    QWidget* parent_;
};

// The lines of a message as shown: the text's own line ends (CR LF, LF or CR) break it; a line
// wider than maxWidth breaks after a punctuation mark, never inside a word or number.
QStringList MessageLines(const QString& text, const QFontMetrics& metrics, int maxWidth);

// A message box whose lines are laid out by MessageLines and which is wide enough for the
// longest of them.
QMessageBox* MakeMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
                            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton preset);

}  // namespace zm::ui
