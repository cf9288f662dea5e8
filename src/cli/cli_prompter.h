#pragma once

#include "app/prompter.h"

#include <QTextStream>
#include <deque>
#include <optional>

namespace zm::cli {

// Answers questions from the --yes/--no/--cancel flag, else by asking on the terminal; with
// neither it takes the safe answer (Cancel, or No where there is no Cancel) and says so.
class CliPrompter : public Prompter {
public:
    enum class Preset { None, Yes, No, Cancel };

    CliPrompter(Preset preset, QTextStream& err, bool interactive);
    // Answers given one per question, in the order the questions come (--answer). A question
    // past the last of them takes its safe answer (Cancel, or No where there is no Cancel).
    void setAnswers(std::deque<Preset> answers);

    void information(const QString& text, const QString& title) override;
    void warning(const QString& text, const QString& title) override;
    void critical(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    Answer yesNoCancel(const QString& text, const QString& title) override;

private:
    // Asks on the terminal; choices are letters such as "yn" or "ync". Returns the chosen letter.
    QChar ask(const QString& text, const QString& choices, QChar fallback);
    // The preset answer for the next question, or None when it is to be asked.
    Preset presetFor();
    // A question answered without asking: its text and the answer taken, on stderr.
    void tell(const QString& text, Preset p, const QString& taken);

    Preset preset_;
    QTextStream& err_;
    bool interactive_;
    bool answersGiven_ = false;
    std::deque<Preset> answers_;
};

}  // namespace zm::cli
