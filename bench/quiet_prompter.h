#pragma once

// The benchmarks' prompter: shows nothing, keeps the last error and gives every question one
// answer (yes by default).

#include "app/prompter.h"

namespace zm::bench {

class QuietPrompter : public Prompter {
public:
    explicit QuietPrompter(bool yes = true) : yes_(yes) {}
    void information(const QString&, const QString&) override {}
    void warning(const QString&, const QString&) override {}
    void critical(const QString& text, const QString&) override { last = text; }
    bool okCancel(const QString&, const QString&) override { return yes_; }
    bool yesNo(const QString&, const QString&) override { return yes_; }
    Answer yesNoCancel(const QString&, const QString&) override { return yes_ ? Answer::Yes : Answer::Cancel; }
    QString last;  // the last error shown

private:
    bool yes_;
};

}  // namespace zm::bench
