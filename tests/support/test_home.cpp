#include "support/test_home.h"

#include <QProcess>

namespace zm::test {

TestHome::TestHome() {
    home_ = dir_.path() + QStringLiteral("/home");
    const AppPaths paths = AppPaths::forHome(home_);
    CreateFolders(paths);
    store_ = std::make_unique<SettingsStore>(configFile());
    ctx_ = std::make_unique<AppContext>(paths, *store_, prompter_);
    LoadSettings(ctx_->settings, *store_, paths);
}

void TestHome::reload() {
    ctx_->settings = AppSettings{};
    LoadSettings(ctx_->settings, *store_, ctx_->paths);
}

CliRun runCliProcess(const QStringList& args, const QByteArray& stdinData, int timeoutMs) {
    QProcess p;
    p.start(QStringLiteral(ZENOMUR_CLI_BINARY), args);
    p.waitForStarted();
    if (!stdinData.isEmpty()) {
        p.write(stdinData);
    }
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("(killed after %1 ms)").arg(timeoutMs);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace zm::test
