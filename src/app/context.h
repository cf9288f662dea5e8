#pragma once

// What one run of either program shares: the folders, the settings record and its store, the
// prompter for messages and questions, the progress sink, and the run-wide state of the
// commands. Every operation of the core takes it by reference.

#include "app/paths.h"
#include "app/progress.h"
#include "app/prompter.h"
#include "app/settings.h"

#include <QString>

namespace zm {

struct AppContext {
    AppContext(const AppPaths& p, SettingsStore& s, Prompter& pr) : paths(p), store(s), prompter(pr) {}
    // A copy of `from` that asks and reports through others (a run on another thread).
    AppContext(const AppContext& from, Prompter& pr, ProgressSink* pg)
        : paths(from.paths), store(from.store), settings(from.settings), prompter(pr), progress(pg),
          BatchRequested(from.BatchRequested), ImportedDay(from.ImportedDay) {}

    AppPaths paths;
    SettingsStore& store;
    AppSettings settings;
    Prompter& prompter;
    ProgressSink* progress = nullptr;

    // The batch mode switched by a right click on the import button.
    bool BatchRequested = false;
    // The day the last import wrote ("yyyymmdd"), empty when none.
    QString ImportedDay;

    ProgressSink& progressSink() { return progress ? *progress : nullProgress(); }
};

}  // namespace zm
