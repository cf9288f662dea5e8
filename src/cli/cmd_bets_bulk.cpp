#include "cli/cli.h"
#include "export/bulk_output.h"

#include <optional>

namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

namespace {

// The program's prompter, except that the overwrite / append / cancel question takes the answer
// given after the subcommand.
class AnsweringPrompter : public Prompter {
public:
    AnsweringPrompter(Prompter& inner, std::optional<Answer> answer) : inner_(inner), answer_(answer) {}

    Answer ask(const Question& q) override {
        return q.kind == QuestionKind::YesNoCancel && answer_ ? *answer_ : inner_.ask(q);
    }

private:
    Prompter& inner_;
    std::optional<Answer> answer_;
};

}  // namespace

// The bulk output with the stored settings of section "DavazOrev"; --path and --format stand
// for "Path" and "Sikibetu" in this run only, and nothing is stored.
int betsBulk(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    BulkOutForm form = OpenBulkOutForm(env.ctx.store, env.ctx.settings, day);
    std::optional<Answer> answer;
    for (const auto& [name, value] : call.args.ordered()) {
        if (name == u"yes") {
            answer = Answer::Yes;
        } else if (name == u"no") {
            answer = Answer::No;
        } else if (name == u"cancel") {
            answer = Answer::Cancel;
        } else if (name == u"wide") {
            form.quinellaToWide = true;
        } else if (name == u"path") {
            form.Path = value;
        } else if (name == u"format") {
            const QString f = value.toLower();
            if (f != u"duel" && f != u"mur")
                return usageError(env, call.usage);
            form.murFormat = f == u"mur";
        }
    }
    AnsweringPrompter prompter(env.ctx.prompter, answer);
    AppContext ctx(env.ctx.paths, env.ctx.store, prompter);
    ctx.settings = env.ctx.settings;
    ctx.progress = env.ctx.progress;
    const auto r = RunBulkOutput(ctx, day, form);
    if (!r)
        return showFailure(env, r.status());
    showNotice(env, r->notice);
    switch (r->outcome) {
    case BulkOutcome::Written:
        return kExitOk;
    case BulkOutcome::Cancelled:
        return showFailure(env, Status::notice(QStringLiteral("処理を中止しました。保留ＢＥＴファイルは変わっていません。"),
                                               kBulkTitle));
    case BulkOutcome::NothingFound:
        break;
    }
    return kExitStopped;
}

}  // namespace zm::cli
