#pragma once

#include "app/prompter.h"

class QWidget;

namespace zm::ui {

// The desktop program's prompter: modal message boxes over the main window.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void information(const QString& text, const QString& title) override;
    void warning(const QString& text, const QString& title) override;
    void critical(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    Answer yesNoCancel(const QString& text, const QString& title) override;

private:
    QWidget* parent_;
};

}  // namespace zm::ui
