#include "cli/cli.h"

#include "import/split.h"

namespace zm::cli {

int cmdSplit(CliEnv& env, const Call& call) {
    const QStringList& args = call.args.positionals();
    const auto archive = archiveArgument(env, args[0]);
    if (!archive)
        return kExitStopped;
    SplitObserver observer;
    observer.original = [&](const QString& text) { env.out << QStringLiteral("元データ: ") << text << Qt::endl; };
    observer.added = [&](const QString& text) { env.out << QStringLiteral("追加データ: ") << text << Qt::endl; };
    observer.status = [&](const QString& text) { env.out << text << Qt::endl; };
    const Result<QString> written = SplitTwoDayArchive(env.ctx, *archive, observer);
    if (!written)
        return showFailure(env, written.status());
    env.out << *written << Qt::endl;
    return kExitOk;
}

}  // namespace zm::cli
