#include "cli/cli_prompter.h"

#include "codes/sjis.h"

#include <QStringList>

#include <cstdio>
#include <string>

namespace zm::cli {

CliPrompter::CliPrompter(Preset preset, QTextStream& err, bool interactive)
    : preset_(preset), err_(err), interactive_(interactive) {}

void CliPrompter::setAnswers(std::deque<Preset> answers) {
    answersGiven_ = true;
    answers_ = std::move(answers);
}

CliPrompter::Preset CliPrompter::presetFor() {
    if (preset_ != Preset::None || !answersGiven_)
        return preset_;
    if (answers_.empty())
        return Preset::Cancel;
    const Preset p = answers_.front();
    answers_.pop_front();
    return p;
}

const CliPrompter::Choice& CliPrompter::askOnTerminal(const QString& text, const QList<Choice>& choices) {
    QStringList hints, letters;
    for (const Choice& c : choices) {
        hints << c.letter + QStringLiteral(": ") + c.word;
        letters << QString(c.letter);
    }
    err_ << escapeControls(text + QStringLiteral("\n(") + hints.join(QStringLiteral(", ")) + u')') << Qt::endl;
    const Choice& fallback = choices.constLast();
    if (!interactive_) {
        err_ << QStringLiteral("(端末がないため「%1」と見なしました)").arg(fallback.letter) << Qt::endl;
        return fallback;
    }
    for (;;) {
        err_ << u'[' << letters.join(u'/') << QStringLiteral("] ") << Qt::flush;
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) {
            err_ << Qt::endl << QStringLiteral("(入力がないため「%1」と見なしました)").arg(fallback.letter) << Qt::endl;
            return fallback;
        }
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        for (const Choice& c : choices) {
            if (!answer.isEmpty() && answer[0] == c.letter)
                return c;
        }
    }
}

// A preset Yes takes the first choice, No the second and Cancel the last, each said on stderr.
Answer CliPrompter::ask(const Question& q) {
    if (isMessage(q.kind)) {
        err_ << escapeControls(q.text) << Qt::endl;
        return Answer::Ok;
    }
    const Choice ok{u'o', Answer::Ok, QStringLiteral("OK")}, cancel{u'c', Answer::Cancel, QStringLiteral("キャンセル")};
    const Choice yes{u'y', Answer::Yes, QStringLiteral("はい")}, no{u'n', Answer::No, QStringLiteral("いいえ")};
    const QuestionKind kind = plainKind(q.kind);
    const QList<Choice> choices = kind == QuestionKind::OkCancel ? QList{ok, cancel}
                                  : kind == QuestionKind::YesNo  ? QList{yes, no}
                                                                 : QList{yes, no, cancel};
    const Preset p = presetFor();
    if (p == Preset::None)
        return askOnTerminal(q.text, choices).answer;
    const Choice& taken = p == Preset::Yes ? choices[0] : p == Preset::No ? choices[1] : choices.constLast();
    err_ << q.text << Qt::endl << u'(' << taken.word << u')' << Qt::endl;
    return taken.answer;
}

}  // namespace zm::cli
