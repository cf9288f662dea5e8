#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace zm::test {

void ScriptedPrompter::information(const QString& text, const QString& title) {
    log_.push_back({Kind::Information, text, title});
}

void ScriptedPrompter::warning(const QString& text, const QString& title) {
    log_.push_back({Kind::Warning, text, title});
}

void ScriptedPrompter::critical(const QString& text, const QString& title) {
    log_.push_back({Kind::Critical, text, title});
}

Answer ScriptedPrompter::next(Kind kind, const QString& text) {
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::Cancel;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    (void)kind;
    return a;
}

bool ScriptedPrompter::okCancel(const QString& text, const QString& title) {
    log_.push_back({Kind::OkCancel, text, title});
    const Answer a = next(Kind::OkCancel, text);
    return a == Answer::Ok || a == Answer::Yes;
}

bool ScriptedPrompter::yesNo(const QString& text, const QString& title) {
    log_.push_back({Kind::YesNo, text, title});
    const Answer a = next(Kind::YesNo, text);
    return a == Answer::Ok || a == Answer::Yes;
}

Answer ScriptedPrompter::yesNoCancel(const QString& text, const QString& title) {
    log_.push_back({Kind::YesNoCancel, text, title});
    const Answer a = next(Kind::YesNoCancel, text);
    return a == Answer::Ok ? Answer::Yes : a;
}

QStringList ScriptedPrompter::texts() const {
    QStringList out;
    for (const auto& e : log_) {
        out << e.text;
    }
    return out;
}

}  // namespace zm::test
