#pragma once

// Long runs (import, batch, split, odds import) work on a thread of their own while the GUI
// thread goes on painting. The run sees a context of its own: the same folders, settings and
// store, but questions and progress that cross to the GUI thread.

#include "app/context.h"

#include <QObject>
#include <functional>

namespace zm::ui {

// The object on the GUI thread that the run's calls are delivered to: each call is an event
// posted to it and run by it on its own thread.
class CallTarget : public QObject {
public:
    using QObject::QObject;
    // Queues call to run on this object's thread; returns at once.
    void post(std::function<void()> call);
    // Runs call on this object's thread and waits for it to return (at once when already there).
    void run(const std::function<void()>& call);

protected:
    bool event(QEvent* e) override;
};

// A prompter that may be called from any thread: each message and question is put to the target
// on the thread of `home` (the GUI thread), and the calling thread waits for the answer.
class GuiThreadPrompter : public Prompter {
public:
    GuiThreadPrompter(Prompter& target, CallTarget* home) : target_(target), home_(home) {}

    void information(const QString& text, const QString& title) override;
    void warning(const QString& text, const QString& title) override;
    void critical(const QString& text, const QString& title) override;
    bool okCancel(const QString& text, const QString& title) override;
    bool confirm(const QString& text, const QString& title) override;
    bool yesNo(const QString& text, const QString& title) override;
    bool confirmYesNo(const QString& text, const QString& title) override;
    Answer yesNoCancel(const QString& text, const QString& title) override;

private:
    Prompter& target_;
    CallTarget* home_;
};

// A progress sink that may be called from any thread: each report is queued to the target on
// the thread of `home` and the caller goes on at once.
class QueuedProgress : public ProgressSink {
public:
    QueuedProgress(ProgressSink& target, CallTarget* home) : target_(target), home_(home) {}

    void setCaption(const QString& caption) override;
    void setLabel(const QString& text, int meeting) override;
    void setPercent(double percent) override;
    void setBatchStep(int step, int steps, const QString& item) override;

private:
    ProgressSink& target_;
    CallTarget* home_;
    int lastPercent_ = -1;
};

// Runs work(runContext) on a worker thread and returns when it has returned; meanwhile this
// (the GUI) thread handles its events, so windows repaint and timers fire. The questions of the
// run go to ctx.prompter on this thread, its progress to `progress` (when given). What the run
// changes of the context's run state (ImportedDay) is copied back before returning.
void RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work);

}  // namespace zm::ui
