#pragma once

// Every message box and question goes through a Prompter: the desktop program shows message
// boxes, the command line answers from flags or a terminal, tests script the answers.

#include "codes/status.h"

#include <QString>

namespace zm {

enum class Answer { Ok, Cancel, Yes, No };

// The caption of the program's message boxes when a message names none.
inline const QString kAppTitle = QStringLiteral("ゼノゼノＭＵＲ");

enum class QuestionKind {
    Information,  // the three messages, answered with OK
    Warning,
    Critical,
    OkCancel,      // OK is the default answer
    Confirm,       // OK/Cancel before data is lost: Cancel is the default answer
    YesNo,         // Yes is the default answer
    ConfirmYesNo,  // Yes/No before data is lost: No is the default answer
    YesNoCancel,   // overwrite (Yes) / append (No) / stop (Cancel): Cancel is the default answer
};

struct Question {
    QuestionKind kind;
    QString text;
    QString title = kAppTitle;
};

constexpr bool isMessage(QuestionKind kind) {
    return kind <= QuestionKind::Critical;
}

// The question a confirmation is where nothing marks a default answer (a terminal, a script).
constexpr QuestionKind plainKind(QuestionKind kind) {
    return kind == QuestionKind::Confirm        ? QuestionKind::OkCancel
           : kind == QuestionKind::ConfirmYesNo ? QuestionKind::YesNo
                                                : kind;
}

class Prompter {
public:
    virtual ~Prompter() = default;

    // Shows a message or asks a question. Either OK or Yes accepts an OK/Cancel or Yes/No
    // question; what a message answers is not looked at.
    virtual Answer ask(const Question& question) = 0;

    void information(const QString& text, const QString& title = kAppTitle) {
        ask({QuestionKind::Information, text, title});
    }
    void warning(const QString& text, const QString& title = kAppTitle) { ask({QuestionKind::Warning, text, title}); }
    void critical(const QString& text, const QString& title = kAppTitle) { ask({QuestionKind::Critical, text, title}); }
    // True for OK.
    bool okCancel(const QString& text, const QString& title = kAppTitle) {
        return accepts(QuestionKind::OkCancel, text, title);
    }
    bool confirm(const QString& text, const QString& title = kAppTitle) {
        return accepts(QuestionKind::Confirm, text, title);
    }
    // True for Yes.
    bool yesNo(const QString& text, const QString& title = kAppTitle) {
        return accepts(QuestionKind::YesNo, text, title);
    }
    bool confirmYesNo(const QString& text, const QString& title = kAppTitle) {
        return accepts(QuestionKind::ConfirmYesNo, text, title);
    }
    Answer yesNoCancel(const QString& text, const QString& title = kAppTitle) {
        return ask({QuestionKind::YesNoCancel, text, title});
    }

private:
    bool accepts(QuestionKind kind, const QString& text, const QString& title) {
        const Answer a = ask({kind, text, title});
        return a == Answer::Ok || a == Answer::Yes;
    }
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
