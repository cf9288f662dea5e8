#pragma once

// Long runs (import, batch, split, odds import, back-test, odds conversion) work on a thread of
// their own while the GUI thread goes on painting. The run sees a context of its own: the same
// folders and store and a copy of the settings, with questions and progress that cross to the
// GUI thread.

#include "app/context.h"

#include <functional>

namespace zm::ui {

// What a run changed of its context. RunOnWorker has put the changes into the caller's context.
struct RunChanges {
    bool settings = false;     // the settings record (a folder the run stored, say)
    bool importedDay = false;  // the day the last import wrote
};

// Runs work(runContext) on a worker thread and returns when it has returned; meanwhile this
// (the GUI) thread handles its events, so windows repaint and timers fire. The run's questions
// go to ctx.prompter on this thread and wait for the answer; its progress goes to `progress`
// (when given) without waiting.
RunChanges RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work);

}  // namespace zm::ui
