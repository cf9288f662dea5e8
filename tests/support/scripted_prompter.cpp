#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace zm::test {

Answer ScriptedPrompter::ask(const Question& question) {
    const Kind kind = plainKind(question.kind);
    log_.push_back({kind, question.text, question.title});
    if (isMessage(kind))
        return Answer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
        return Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return kind == Kind::YesNoCancel && a == Answer::Ok ? Answer::Yes : a;
}

QStringList ScriptedPrompter::texts() const {
    QStringList out;
    for (const auto& e : log_) {
        out << e.text;
    }
    return out;
}

}  // namespace zm::test
