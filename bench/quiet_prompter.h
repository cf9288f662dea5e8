#pragma once

// The benchmarks' prompter: shows nothing, keeps the last error and gives every question one
// answer (yes by default).

#include "app/prompter.h"

namespace zm::bench {

class QuietPrompter : public Prompter {
public:
    explicit QuietPrompter(bool yes = true) : yes_(yes) {}
    Answer ask(const Question& q) override {
        if (q.kind == QuestionKind::Critical)
            last = q.text;
        return yes_ ? Answer::Yes : Answer::Cancel;
    }
    QString last;  // the last error shown

private:
    bool yes_;
};

}  // namespace zm::bench
