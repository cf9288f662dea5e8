#pragma once

// Long runs (import, batch, split, odds import, back-test, odds conversion) work on a thread of
// their own while the GUI thread goes on painting.

#include "app/context.h"

#include <functional>

namespace zm::ui {

// What a run changed of its context, already put back into the caller's context.
struct RunChanges {
    bool settings = false;     // the settings record (a folder the run stored, say)
    bool importedDay = false;  // the day the last import wrote
};

// Runs work(runContext) on a worker thread and returns when it has returned, the GUI thread
// handling its events meanwhile. The run's context is a copy of ctx whose questions go to
// ctx.prompter on the GUI thread and wait for the answer, and whose progress goes to `progress`
// (when given) without waiting.
RunChanges RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work);

}  // namespace zm::ui
