#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cmath>
#include <memory>

// The run's data crosses between the threads through Qt's event queue and semaphores, whose locks
// a thread sanitizer cannot see inside a Qt built without it: each hand-over is told to it here.
#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_THREAD__) || __has_feature(thread_sanitizer)
#include <sanitizer/tsan_interface.h>
static char handOver;
static void handOut() { __tsan_release(&handOver); }
static void takeOver() { __tsan_acquire(&handOver); }
#else
static void handOut() {}
static void takeOver() {}
#endif

namespace zm::ui {

namespace {

// The GUI thread as a run sees it: a question waits there for its answer; progress is queued
// there and the run goes on.
class GuiThread : public Prompter, public ProgressSink {
public:
    GuiThread(Prompter& prompter, ProgressSink& progress) : prompter_(prompter), progress_(&progress) {}

    // The answer is stored on the GUI thread before the hand-over back.
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
    // The bar shows whole percents: only a change is worth a trip to the GUI thread.
    void setPercent(double percent) override {
        if (const int whole = static_cast<int>(std::lround(percent)); std::exchange(lastPercent_, whole) != whole)
            post(&ProgressSink::setPercent, percent);
    }

    QObject home;  // lives in the GUI thread: the calls of the run land here

private:
    // The call travels as it is, not in a std::function: the last queued copy may be released on
    // either thread.
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
    AppContext run(ctx, gui, &gui);
    handOut();
    std::unique_ptr<QThread> thread(QThread::create([&] { takeOver(); work(run); handOut(); }));
    QEventLoop loop;  // a quit queued before it runs still ends it
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    takeOver();
    QCoreApplication::sendPostedEvents(&gui.home);  // the run's last reports, before its changes

    const RunChanges changes{run.settings != ctx.settings, run.ImportedDay != ctx.ImportedDay};
    ctx.settings = run.settings;
    ctx.ImportedDay = run.ImportedDay;
    return changes;
}

}  // namespace zm::ui
