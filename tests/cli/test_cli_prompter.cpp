// What the command line says and answers for each kind of question: the founders compare these
// bytes on stderr.

#include "cli/cli_prompter.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace zm {
namespace {

using namespace Qt::Literals::StringLiterals;
using Preset = cli::CliPrompter::Preset;

struct Asked {
    Answer answer;
    QString err;
};

Asked ask(QuestionKind kind, Preset preset, bool interactive) {
    QString err;
    QTextStream stream(&err);
    cli::CliPrompter prompter(preset, stream, interactive);
    const Answer answer = prompter.ask({kind, u"消しますか？"_s});
    stream.flush();
    return {answer, err};
}

TEST(CliPrompter, EachKindSaysThePresetAnswerOrTakesItsSafeOne) {
    const QString q = u"消しますか？\n"_s;
    struct Case {
        QuestionKind kind;
        Preset preset;
        Answer answer;
        QString err;
    };
    const Case cases[] = {
        {QuestionKind::Warning, Preset::Yes, Answer::Ok, q},
        {QuestionKind::OkCancel, Preset::Yes, Answer::Ok, q + u"(OK)\n"_s},
        {QuestionKind::Confirm, Preset::No, Answer::Cancel, q + u"(キャンセル)\n"_s},
        {QuestionKind::YesNo, Preset::Cancel, Answer::No, q + u"(いいえ)\n"_s},
        {QuestionKind::ConfirmYesNo, Preset::Yes, Answer::Yes, q + u"(はい)\n"_s},
        {QuestionKind::YesNoCancel, Preset::No, Answer::No, q + u"(いいえ)\n"_s},
        // No preset and no terminal: the safe answer, and a word that it was taken.
        {QuestionKind::Confirm, Preset::None, Answer::Cancel,
         q + u"(o: OK, c: キャンセル)\n(端末がないため「c」と見なしました)\n"_s},
        {QuestionKind::ConfirmYesNo, Preset::None, Answer::No,
         q + u"(y: はい, n: いいえ)\n(端末がないため「n」と見なしました)\n"_s},
        {QuestionKind::YesNoCancel, Preset::None, Answer::Cancel,
         q + u"(y: はい, n: いいえ, c: キャンセル)\n(端末がないため「c」と見なしました)\n"_s},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Asked r = ask(cases[i].kind, cases[i].preset, false);
        EXPECT_EQ(r.answer, cases[i].answer) << i;
        EXPECT_EQ(r.err, cases[i].err) << i;
    }
}

// On a terminal the letters to type come between brackets; input that ends takes the safe answer.
TEST(CliPrompter, ATerminalWhoseInputEndsTakesTheSafeAnswer) {
    ASSERT_NE(std::freopen("/dev/null", "r", stdin), nullptr);
    const Asked r = ask(QuestionKind::YesNoCancel, Preset::None, true);
    EXPECT_EQ(r.answer, Answer::Cancel);
    EXPECT_EQ(r.err, u"消しますか？\n(y: はい, n: いいえ, c: キャンセル)\n[y/n/c] \n(入力がないため「c」と見なしました)\n"_s);
}

}  // namespace
}  // namespace zm
