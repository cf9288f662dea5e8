#include "cli/cli.h"

#include "app/file_names.h"
#include "app/safe_save.h"
#include "bets/pending_bet.h"
#include "bets/voterobo.h"
#include "codes/amount.h"
#include "codes/sjis.h"
#include "export/tekichukai.h"
#include "zenomur_version.h"


namespace zm::cli {

using namespace Qt::Literals::StringLiterals;

int betsTekichukaiOut(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    const ParsedArgs& args = call.args;
    const bool wide = args.isSet(u"wide"_s);
    const bool toFile = args.isSet(u"file"_s);
    const bool toStdout = args.isSet(u"stdout"_s);
    // Each switch at most once, and exactly one of --file and --stdout.
    if (toFile == toStdout || static_cast<qsizetype>(args.ordered().size()) != wide + toFile + toStdout)
        return usageError(env, call.usage);

    const TekichukaiList list = ListTekichukaiBets(PendingBetPath(env.ctx.paths, day), day);
    if (!list.fileExists) {
        return showFailure(env, Status::notice(kNoPurchaseFile, kTekichukaiOutTitle));
    }
    if (list.tooMany) {
        return showFailure(env, Status::warning(kTekichukaiTooMany, kTekichukaiOutTitle));
    }
    if (!list.refused.isEmpty()) {
        return showFailure(env, Status::warning(list.refused, kTekichukaiOutTitle));
    }
    if (list.lines.isEmpty()) {
        return showFailure(env, Status::notice(kPendingBetsEmpty, kTekichukaiOutTitle));
    }
    const QString post = TekichukaiPost(day, list.text(), wide, QStringLiteral(ZENOMUR_VERSION));
    if (toStdout) {
        QString text = post;
        text.replace(u"\r\n"_s, u"\n"_s);
        env.out << text;
        env.out.flush();
        return kExitOk;
    }
    const QString path = TekichukaiFilePath(env.ctx.settings.OutPutDir, day);
    const Status s = SafeSave::save(path, toSjis(post));
    if (!s.ok()) {
        return showFailure(env, Status::failure(s.message(), kTekichukaiOutTitle));
    }
    env.ctx.prompter.information(tekichukaiFileDoneMessage(path), kTekichukaiOutTitle);
    return kExitOk;
}

int betsTekichukaiIn(CliEnv& env, const Call& call) {
    const QString& day = call.day;
    const QString file = call.args.positionals()[0];
    TekichukaiFixedAmounts fixed;
    for (const QString& value : call.args.values(u"fixed"_s)) {
        const qsizetype colon = value.indexOf(u':');
        static const QStringList kTypes = {u"単勝"_s, u"複勝"_s, u"枠連"_s, u"馬連"_s, u"ワイド"_s};
        const qsizetype k = colon < 0 ? -1 : kTypes.indexOf(value.left(colon));
        if (k < 0)
            return usageError(env, call.usage);
        // A fixed amount typed here is taken as it is: it must itself be a valid stake.
        const QString amount = value.mid(colon + 1);
        const auto stake = ParseAmount(amount);
        if (!stake || !isValidStake(*stake)) {
            return showFailure(env, Status::warning(u"--fixed "_s + value + u"："_s + stakeRuleText(), kTekichukaiOverwriteTitle));
        }
        fixed.on[static_cast<size_t>(k)] = true;
        fixed.amount[static_cast<size_t>(k)] = stake->digits();
    }
    QString text;
    {
        const Result<QByteArray> bytes = readOutsideFile(file, kMaxPostFile);
        if (!bytes.ok()) {
            return showFailure(env, Status::warning(bytes.message(), kTekichukaiOverwriteTitle));
        }
        text = decodePostFile(*bytes);  // the bytes are let go before the bets are read
    }
    // A command that did not write what was asked for, a declined question included, exits 1.
    const auto done = ImportTekichukai(env.ctx, day, text, fixed);
    if (!done)
        return showFailure(env, done.status());
    if (done->outcome == BetOutcome::Declined)
        return showFailure(env, Status::notice(u"処理を中止しました。保留ＢＥＴファイルは変わっていません。"_s,
                                               kTekichukaiOverwriteTitle));
    showNotice(env, done->notice);
    return kExitOk;
}

int betsVoteRobo(CliEnv& env, const Call& call) {
    if (const Status s = WriteVoteRoboSchedule(env.ctx, call.day, VoteRoboOptionsOf(env.ctx.settings)); !s)
        return showFailure(env, s);
    return kExitOk;
}

}  // namespace zm::cli
