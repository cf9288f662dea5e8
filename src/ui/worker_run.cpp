#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cmath>
#include <memory>
#include <type_traits>

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

void inTurn(const std::function<void()>& call) {
    takeOver();
    call();
    handOut();
}

// Runs call on home's thread and waits for it: a question, whose answer call stores before the
// hand-over back. The call is taken by reference, so nothing of it is left for this thread to
// destroy before it has taken over again.
void waitOn(QObject* home, const std::function<void()>& call) {
    handOut();
    QMetaObject::invokeMethod(home, [&call] { inTurn(call); }, Qt::BlockingQueuedConnection);
    takeOver();
}

class GuiThreadPrompter : public Prompter {
public:
    GuiThreadPrompter(Prompter& target, QObject* home) : target_(target), h_(home) {}
    void information(const QString& s, const QString& c) override { ask(&Prompter::information, s, c); }
    void warning(const QString& s, const QString& c) override { ask(&Prompter::warning, s, c); }
    void critical(const QString& s, const QString& c) override { ask(&Prompter::critical, s, c); }
    bool okCancel(const QString& s, const QString& c) override { return ask(&Prompter::okCancel, s, c); }
    bool confirm(const QString& s, const QString& c) override { return ask(&Prompter::confirm, s, c); }
    bool yesNo(const QString& s, const QString& c) override { return ask(&Prompter::yesNo, s, c); }
    bool confirmYesNo(const QString& s, const QString& c) override { return ask(&Prompter::confirmYesNo, s, c); }
    Answer yesNoCancel(const QString& s, const QString& c) override { return ask(&Prompter::yesNoCancel, s, c); }

private:
    template <class R>
    R ask(R (Prompter::*question)(const QString&, const QString&), const QString& s, const QString& c) {
        if constexpr (std::is_void_v<R>) {
            waitOn(h_, [&] { (target_.*question)(s, c); });
        } else {
            R answer{};
            waitOn(h_, [&] { answer = (target_.*question)(s, c); });
            return answer;
        }
    }

    Prompter& target_;
    QObject* h_;
};

class QueuedProgress : public ProgressSink {
public:
    QueuedProgress(ProgressSink& target, QObject* home) : t_(&target), h_(home) {}
    void setCaption(const QString& c) override { post([t = t_, c] { t->setCaption(c); }); }
    void setLabel(const QString& s, int meeting) override { post([t = t_, s, meeting] { t->setLabel(s, meeting); }); }
    void setBatchStep(int step, int steps, const QString& item) override {
        lastPercent_ = -1;  // the next item starts its own count
        post([t = t_, step, steps, item] { t->setBatchStep(step, steps, item); });
    }
    void setPercent(double percent) override {
        // The bar shows whole percents: only a change is worth a trip to the GUI thread.
        if (const int whole = static_cast<int>(std::lround(percent)); std::exchange(lastPercent_, whole) != whole)
            post([t = t_, percent] { t->setPercent(percent); });
    }

private:
    // Queued without waiting. The call is kept as it is, not in a std::function: the last of the
    // queued copies may be released on either thread.
    template <class Call>
    void post(Call call) {
        handOut();
        QMetaObject::invokeMethod(h_, [call = std::move(call)] { takeOver(); call(); }, Qt::QueuedConnection);
    }

    ProgressSink* t_;
    QObject* h_;
    int lastPercent_ = -1;
};

}  // namespace

RunChanges RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work) {
    QObject home;  // lives in this thread: the calls of the run land here
    GuiThreadPrompter prompter(ctx.prompter, &home);
    QueuedProgress queued(progress ? *progress : nullProgress(), &home);
    AppContext run(ctx.paths, ctx.store, prompter);
    run.settings = ctx.settings;
    run.BatchRequested = ctx.BatchRequested;
    run.ImportedDay = ctx.ImportedDay;
    run.progress = &queued;

    handOut();
    std::unique_ptr<QThread> thread(QThread::create([&] { inTurn([&] { work(run); }); }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    if (!thread->isFinished())
        loop.exec();
    thread->wait();
    takeOver();
    // Reports still queued are delivered before the context they describe is given back.
    QCoreApplication::sendPostedEvents(&home);

    const RunChanges changes{run.settings != ctx.settings, run.ImportedDay != ctx.ImportedDay};
    ctx.settings = run.settings;
    ctx.ImportedDay = run.ImportedDay;
    return changes;
}

}  // namespace zm::ui
