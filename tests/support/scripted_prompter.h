#pragma once

#include "app/prompter.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

namespace zm::test {

// A prompter for tests: every message is recorded; every question must have been scripted
// beforehand with the answer to give, or the test fails.
class ScriptedPrompter : public Prompter {
public:
    // Confirmations are logged as the plain question they fall back to.
    using Kind = QuestionKind;
    using Entry = Question;

    // Queues the answer to the next question (OK/Yes = Answer::Ok or Answer::Yes).
    void answer(Answer a) { answers_.push_back(a); }

    Answer ask(const Question& question) override;

    const std::vector<Entry>& log() const { return log_; }
    // The texts of every message and question shown, in order.
    QStringList texts() const;
    bool unansweredLeft() const { return !answers_.empty(); }
    void clear() {
        log_.clear();
        answers_.clear();
    }

private:
    std::vector<Entry> log_;
    std::deque<Answer> answers_;
};

// Shows a core result as the front ends do (its failure, else the notice its value carries) and
// gives its outcome, or nothing after a failure.
template <class T>
auto shown(Prompter& prompter, const Result<T>& result) -> std::optional<decltype(result->outcome)> {
    if (!result) {
        showNotice(prompter, result.status().notice());
        return std::nullopt;
    }
    showNotice(prompter, result->notice);
    return result->outcome;
}

}  // namespace zm::test
