#include "cli/cmd_bets_contest.h"

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

namespace {

const QString kOutUsage = u"bets --day yyyymmdd tekichukai-out [--wide] (--file | --stdout)"_s;
const QString kInUsage = u"bets --day yyyymmdd tekichukai-in FILE [--fixed 単勝|複勝|枠連|馬連|ワイド:AMOUNT]..."_s;
const QString kVoteRoboUsage = u"bets --day yyyymmdd voterobo"_s;

int exitOf(BetOutcome outcome) {
    return outcome == BetOutcome::Stopped ? kExitStopped : kExitOk;
}

// A command that did not write what was asked for, a declined question included, exits 1.
int exitOfImport(BetOutcome outcome) {
    return outcome == BetOutcome::Done ? kExitOk : kExitStopped;
}

}  // namespace

int betsTekichukaiOut(CliEnv& env, const QString& day, const QStringList& args) {
    bool wide = false;
    bool toFile = false;
    bool toStdout = false;
    for (const QString& a : args) {
        if (a == u"--wide" && !wide)
            wide = true;
        else if (a == u"--file" && !toFile)
            toFile = true;
        else if (a == u"--stdout" && !toStdout)
            toStdout = true;
        else
            return usageError(env, kOutUsage);
    }
    if (toFile == toStdout)
        return usageError(env, kOutUsage);

    const TekichukaiList list = ListTekichukaiBets(PendingBetPath(env.ctx.paths, day), day);
    if (!list.fileExists) {
        env.ctx.prompter.information(kNoPurchaseFile, kTekichukaiOutTitle);
        return kExitStopped;
    }
    if (list.tooMany) {
        env.ctx.prompter.warning(kTekichukaiTooMany, kTekichukaiOutTitle);
        return kExitStopped;
    }
    if (!list.refused.isEmpty()) {
        env.ctx.prompter.warning(list.refused, kTekichukaiOutTitle);
        return kExitStopped;
    }
    if (list.lines.isEmpty()) {
        env.ctx.prompter.information(kPendingBetsEmpty, kTekichukaiOutTitle);
        return kExitStopped;
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
    const Status s = saveFile(path, toSjis(post));
    if (!s.ok()) {
        env.ctx.prompter.critical(s.message(), kTekichukaiOutTitle);
        return kExitStopped;
    }
    env.ctx.prompter.information(tekichukaiFileDoneMessage(path), kTekichukaiOutTitle);
    return kExitOk;
}

int betsTekichukaiIn(CliEnv& env, const QString& day, const QStringList& args) {
    if (args.isEmpty() || args[0].startsWith(u"--"))
        return usageError(env, kInUsage);
    TekichukaiFixedAmounts fixed;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] != u"--fixed" || i + 1 >= args.size())
            return usageError(env, kInUsage);
        const QString value = args[++i];
        const qsizetype colon = value.indexOf(u':');
        static const QStringList kTypes = {u"単勝"_s, u"複勝"_s, u"枠連"_s, u"馬連"_s, u"ワイド"_s};
        const qsizetype k = colon < 0 ? -1 : kTypes.indexOf(value.left(colon));
        if (k < 0)
            return usageError(env, kInUsage);
        // A fixed amount typed here is taken as it is: it must itself be a valid stake.
        const QString amount = value.mid(colon + 1);
        const auto stake = ParseAmount(amount);
        if (!stake || !isValidStake(*stake)) {
            env.ctx.prompter.warning(u"--fixed "_s + value + u"："_s + stakeRuleText(), kTekichukaiOverwriteTitle);
            return kExitStopped;
        }
        fixed.on[static_cast<size_t>(k)] = true;
        fixed.amount[static_cast<size_t>(k)] = stake->digits();
    }
    QString text;
    {
        const Result<QByteArray> bytes = readOutsideFile(args[0], kMaxPostFile);
        if (!bytes.ok()) {
            env.ctx.prompter.warning(bytes.message(), kTekichukaiOverwriteTitle);
            return kExitStopped;
        }
        text = decodePostFile(*bytes);  // the bytes are let go before the bets are read
    }
    const BetOutcome outcome = ImportTekichukai(env.ctx, day, text, fixed);
    if (outcome == BetOutcome::Declined)
        env.ctx.prompter.information(u"処理を中止しました。保留ＢＥＴファイルは変わっていません。"_s,
                                     kTekichukaiOverwriteTitle);
    return exitOfImport(outcome);
}

int betsVoteRobo(CliEnv& env, const QString& day, const QStringList& args) {
    if (!args.isEmpty())
        return usageError(env, kVoteRoboUsage);
    return exitOf(WriteVoteRoboSchedule(env.ctx, day, VoteRoboOptionsOf(env.ctx.settings)));
}

}  // namespace zm::cli
