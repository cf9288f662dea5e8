#pragma once

// The start of either program: resolve the home folder and the store, hold the home folder
// against a second instance, create the folders, load the settings and purge old pending bets.

#include "app/context.h"

#include <QDate>
#include <QLockFile>
#include <QString>
#include <memory>

namespace zm {

struct StartOptions {
    QString home;    // --home; empty: ZENOMUR_HOME, else the XDG data folder
    QString config;  // --config; empty: ZENOMUR_CONFIG, else the XDG config folder
};

// The home folder: the option, else ZENOMUR_HOME, else ~/.local/share/zenomur.
QString resolveHome(const QString& option);

// One started run. Owns the lock on the home folder for as long as it lives.
class AppSession {
public:
    enum class Status { Started, AlreadyRunning, Failed };

    // Returns null and sets status when the home folder is held by another instance or
    // cannot be used; message then says why.
    static std::unique_ptr<AppSession> StartUp(const StartOptions& options, Prompter& prompter, Status& status,
                                               QString& message);

    AppContext& context() { return context_; }
    // Whether the day's files a kill or a crash left half committed were finished or rolled back
    // at the start; the front end shows a failure (the program goes on).
    const zm::Status& recovery() const { return recovery_; }
    // Whether the settings store could be read and written at the start; the front end shows a
    // failure before the recovery's (the program goes on, with what it could read).
    const zm::Status& settingsLoad() const { return settingsLoad_; }

private:
    AppSession(const AppPaths& paths, const QString& configFile, Prompter& prompter);

    std::unique_ptr<QLockFile> lock_;
    SettingsStore store_;
    AppContext context_;
    zm::Status recovery_;
    zm::Status settingsLoad_;
};

// Deletes the pending-bet files "~B*.*" of DataDir whose date (characters 3-10 of the name) is
// older than today minus 28 days.
void PurgeOldPendingBets(const AppPaths& paths, const QDate& today = QDate::currentDate());

// Removes the temporary files that saves interrupted by a kill or a crash left in the
// program's folders (Data/, OutPut/, the folders of the settings) and, in the settings file's
// folder, those of the settings file alone. Nothing else is touched.
void RemoveInterruptedSaves(const AppPaths& paths, const AppSettings& settings, const QString& settingsFile);

}  // namespace zm
