#pragma once

// Every message box and question goes through a Prompter: the desktop program shows message
// boxes, the command line answers from flags or a terminal, tests script the answers.

#include "codes/status.h"

#include <QString>

namespace zm {

enum class Answer { Ok, Cancel, Yes, No };

// The caption of the program's message boxes when a message names none.
inline const QString kAppTitle = QStringLiteral("ゼノゼノＭＵＲ");

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual void information(const QString& text, const QString& title = kAppTitle) = 0;
    virtual void warning(const QString& text, const QString& title = kAppTitle) = 0;
    virtual void critical(const QString& text, const QString& title = kAppTitle) = 0;

    // True for OK.
    virtual bool okCancel(const QString& text, const QString& title = kAppTitle) = 0;
    // An OK/Cancel question before data is lost: Cancel is the default answer. True for OK.
    virtual bool confirm(const QString& text, const QString& title = kAppTitle) { return okCancel(text, title); }
    // True for Yes.
    virtual bool yesNo(const QString& text, const QString& title = kAppTitle) = 0;
    // A Yes/No question before data is lost: No is the default answer. True for Yes.
    virtual bool confirmYesNo(const QString& text, const QString& title = kAppTitle) { return yesNo(text, title); }
    // Overwrite (Yes) / append (No) / stop (Cancel): Cancel is the default answer.
    virtual Answer yesNoCancel(const QString& text, const QString& title = kAppTitle) = 0;
};

// Shows a message in the box of its icon under its caption; an empty message shows nothing.
inline void showNotice(Prompter& prompter, const Notice& notice) {
    if (notice.empty())
        return;
    const QString& title = notice.caption.isEmpty() ? kAppTitle : notice.caption;
    switch (notice.severity) {
    case Severity::Information:
        prompter.information(notice.text, title);
        break;
    case Severity::Warning:
        prompter.warning(notice.text, title);
        break;
    case Severity::Critical:
        prompter.critical(notice.text, title);
        break;
    }
}

}  // namespace zm
