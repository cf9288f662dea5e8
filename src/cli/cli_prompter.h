#pragma once

#include "app/prompter.h"

#include <QList>
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

    Answer ask(const Question& question) override;

private:
    struct Choice {
        QChar letter;
        Answer answer;
        QString word;
    };
    // Asks on the terminal and returns the choice taken; the last choice is the safe one.
    const Choice& askOnTerminal(const QString& text, const QList<Choice>& choices);
    // The preset answer for the next question, or None when it is to be asked.
    Preset presetFor();

    Preset preset_;
    QTextStream& err_;
    bool interactive_;
    bool answersGiven_ = false;
    std::deque<Preset> answers_;
};

}  // namespace zm::cli
