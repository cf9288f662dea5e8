#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cmath>
#include <memory>

namespace zm::ui {

namespace {

// The hand-overs between the threads go through Qt's event queue and semaphores, whose locks a
// thread sanitizer cannot see inside a Qt built without it: each one is told to it here.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_THREAD__) || __has_feature(thread_sanitizer)
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
char handOver;
void handOut() { __tsan_release(&handOver); }
void takeOver() { __tsan_acquire(&handOver); }
#else
void handOut() {}
void takeOver() {}
#endif

// The GUI thread as a run sees it: a question waits there for its answer, progress is queued
// there without waiting.
class GuiThread : public Prompter, public ProgressSink {
public:
    GuiThread(Prompter& prompter, ProgressSink& progress) : prompter_(prompter), progress_(&progress) {}

    // The answer is stored on the GUI thread before the hand-over back. The call is taken by
    // reference, so nothing of it is left for this thread to destroy before it has taken over again.
    Answer ask(const Question& q) override {
        Answer answer{};
        handOut();
        QMetaObject::invokeMethod(
            &home, [&] { takeOver(); answer = prompter_.ask(q); handOut(); }, Qt::BlockingQueuedConnection);
        takeOver();
        return answer;
    }

    void setCaption(const QString& c) override { post(&ProgressSink::setCaption, c); }
    void setLabel(const QString& s, int meeting) override { post(&ProgressSink::setLabel, s, meeting); }
    void setBatchStep(int step, int steps, const QString& item) override {
        lastPercent_ = -1;  // the next item starts its own count
        post(&ProgressSink::setBatchStep, step, steps, item);
    }
    void setPercent(double percent) override {
        // The bar shows whole percents: only a change is worth a trip to the GUI thread.
        if (const int whole = static_cast<int>(std::lround(percent)); std::exchange(lastPercent_, whole) != whole)
            post(&ProgressSink::setPercent, percent);
    }

    QObject home;  // lives in the GUI thread: the calls of the run land here

private:
    // The call is kept as it is, not in a std::function: the last of the queued copies may be
    // released on either thread.
    template <class... Params, class... Args>
    void post(void (ProgressSink::*report)(Params...), const Args&... args) {
        handOut();
        QMetaObject::invokeMethod(
            &home, [t = progress_, report, args...] { takeOver(); (t->*report)(args...); }, Qt::QueuedConnection);
    }

    Prompter& prompter_;
    ProgressSink* progress_;
    int lastPercent_ = -1;
};

}  // namespace

RunChanges RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work) {
    GuiThread gui(ctx.prompter, progress ? *progress : nullProgress());
    AppContext run(ctx.paths, ctx.store, gui);
    run.settings = ctx.settings;
    run.BatchRequested = ctx.BatchRequested;
    run.ImportedDay = ctx.ImportedDay;
    run.progress = &gui;

    handOut();
    std::unique_ptr<QThread> thread(QThread::create([&] { takeOver(); work(run); handOut(); }));
    QEventLoop loop;  // a quit queued before it runs still ends it
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    takeOver();
    // Reports still queued are delivered before the context they describe is given back.
    QCoreApplication::sendPostedEvents(&gui.home);

    const RunChanges changes{run.settings != ctx.settings, run.ImportedDay != ctx.ImportedDay};
    ctx.settings = run.settings;
    ctx.ImportedDay = run.ImportedDay;
    return changes;
}

}  // namespace zm::ui
