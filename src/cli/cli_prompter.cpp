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

void CliPrompter::information(const QString& text, const QString&) {
    err_ << escapeControls(text) << Qt::endl;
}

void CliPrompter::warning(const QString& text, const QString&) {
    err_ << escapeControls(text) << Qt::endl;
}

void CliPrompter::critical(const QString& text, const QString&) {
    err_ << escapeControls(text) << Qt::endl;
}

QChar CliPrompter::ask(const QString& text, const QString& choices, QChar fallback) {
    err_ << escapeControls(text) << Qt::endl;
    if (!interactive_) {
        err_ << QStringLiteral("(端末がないため「%1」と見なしました)").arg(fallback) << Qt::endl;
        return fallback;
    }
    QStringList shown;
    for (QChar c : choices) {
        shown << QString(c);
    }
    for (;;) {
        err_ << u'[' << shown.join(u'/') << u"] " << Qt::flush;
        char line[256];
        if (!std::fgets(line, sizeof line, stdin)) {
            err_ << Qt::endl << QStringLiteral("(入力がないため「%1」と見なしました)").arg(fallback) << Qt::endl;
            return fallback;
        }
        const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
        if (answer.size() >= 1 && choices.contains(answer[0])) {
            return answer[0];
        }
    }
}

void CliPrompter::tell(const QString& text, Preset p, const QString& taken) {
    if (p != Preset::None)
        err_ << text << Qt::endl << u'(' << taken << u')' << Qt::endl;
}

bool CliPrompter::okCancel(const QString& text, const QString&) {
    const Preset p = presetFor();
    tell(text, p, p == Preset::Yes ? QStringLiteral("OK") : QStringLiteral("キャンセル"));
    if (p != Preset::None)
        return p == Preset::Yes;
    return ask(text + QStringLiteral("\n(o: OK, c: キャンセル)"), QStringLiteral("oc"), u'c') == u'o';
}

bool CliPrompter::yesNo(const QString& text, const QString&) {
    const Preset p = presetFor();
    tell(text, p, p == Preset::Yes ? QStringLiteral("はい") : QStringLiteral("いいえ"));
    if (p != Preset::None)
        return p == Preset::Yes;
    return ask(text + QStringLiteral("\n(y: はい, n: いいえ)"), QStringLiteral("yn"), u'n') == u'y';
}

Answer CliPrompter::yesNoCancel(const QString& text, const QString&) {
    const Preset p = presetFor();
    tell(text, p,
         p == Preset::Yes  ? QStringLiteral("はい")
         : p == Preset::No ? QStringLiteral("いいえ")
                           : QStringLiteral("キャンセル"));
    switch (p) {
    case Preset::Yes:
        return Answer::Yes;
    case Preset::No:
        return Answer::No;
    case Preset::Cancel:
        return Answer::Cancel;
    case Preset::None:
        break;
    }
    const QChar c = ask(text + QStringLiteral("\n(y: はい, n: いいえ, c: キャンセル)"), QStringLiteral("ync"), u'c');
    return c == u'y' ? Answer::Yes : c == u'n' ? Answer::No : Answer::Cancel;
}

}  // namespace zm::cli
