#pragma once

#include "app/context.h"
#include "support/scripted_prompter.h"

#include <QTemporaryDir>
#include <memory>

namespace zm::test {

// A fresh program folder and settings file in a temporary directory, with the folders
// created and the settings loaded as at start, and a scripted prompter.
class TestHome {
public:
    TestHome();

    AppContext& ctx() { return *ctx_; }
    ScriptedPrompter& prompter() { return prompter_; }
    const QString& home() const { return home_; }
    QString configFile() const { return dir_.path() + QStringLiteral("/zenomur.ini"); }
    // Loads the settings again from the store (after a test wrote raw values).
    void reload();

private:
    QTemporaryDir dir_;
    QString home_;
    ScriptedPrompter prompter_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<AppContext> ctx_;
};

// Runs zenomur-cli with the given arguments; returns the exit code and fills stdout/stderr.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};
// A run that has not ended after timeoutMs is killed and reported with exitCode -1.
CliRun runCliProcess(const QStringList& args, const QByteArray& stdinData = {}, int timeoutMs = 120000);

}  // namespace zm::test
