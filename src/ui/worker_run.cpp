#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <cmath>
#include <memory>
#include <type_traits>

#if defined(__SANITIZE_THREAD__)
#define ZENOMUR_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZENOMUR_TSAN 1
#endif
#endif

namespace zm::ui {

namespace {

// The hand-overs between the threads go through Qt's event queue and semaphores, whose locks a
// thread sanitizer cannot see inside a Qt built without it: each one is told to it here.
#ifdef ZENOMUR_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
char handOver;
void handOut() { __tsan_release(&handOver); }
void takeOver() { __tsan_acquire(&handOver); }
#else
void handOut() {}
void takeOver() {}
#endif

// Runs call on home's thread, waits for it and returns what it returned. The call stores its
// result itself, before it hands over, so that the store is seen ordered before the read.
template <class Call>
auto onHome(QObject* home, Call call) {
    using R = std::invoke_result_t<Call>;
    if (QThread::currentThread() == home->thread())
        return call();
    std::conditional_t<std::is_void_v<R>, bool, R> result{};
    handOut();
    QMetaObject::invokeMethod(home, [&] {
        takeOver();
        if constexpr (std::is_void_v<R>) call(); else result = call();
        handOut();
    }, Qt::BlockingQueuedConnection);
    takeOver();
    if constexpr (!std::is_void_v<R>)
        return result;
}

// Queues call to home's thread and returns at once.
template <class Call>
void post(QObject* home, Call call) {
    handOut();
    QMetaObject::invokeMethod(home, [call = std::move(call)] { takeOver(); call(); }, Qt::QueuedConnection);
}

class GuiThreadPrompter : public Prompter {
public:
    GuiThreadPrompter(Prompter& target, QObject* home) : target_(target), h_(home) {}
    void information(const QString& s, const QString& c) override { onHome(h_, [&] { target_.information(s, c); }); }
    void warning(const QString& s, const QString& c) override { onHome(h_, [&] { target_.warning(s, c); }); }
    void critical(const QString& s, const QString& c) override { onHome(h_, [&] { target_.critical(s, c); }); }
    bool okCancel(const QString& s, const QString& c) override {
        return onHome(h_, [&] { return target_.okCancel(s, c); });
    }
    bool confirm(const QString& s, const QString& c) override {
        return onHome(h_, [&] { return target_.confirm(s, c); });
    }
    bool yesNo(const QString& s, const QString& c) override { return onHome(h_, [&] { return target_.yesNo(s, c); }); }
    bool confirmYesNo(const QString& s, const QString& c) override {
        return onHome(h_, [&] { return target_.confirmYesNo(s, c); });
    }
    Answer yesNoCancel(const QString& s, const QString& c) override {
        return onHome(h_, [&] { return target_.yesNoCancel(s, c); });
    }

private:
    Prompter& target_;
    QObject* h_;
};

class QueuedProgress : public ProgressSink {
public:
    QueuedProgress(ProgressSink& target, QObject* home) : t_(&target), h_(home) {}
    void setCaption(const QString& c) override { post(h_, [t = t_, c] { t->setCaption(c); }); }
    void setLabel(const QString& s, int meeting) override { post(h_, [t = t_, s, meeting] { t->setLabel(s, meeting); }); }
    void setBatchStep(int step, int steps, const QString& item) override {
        lastPercent_ = -1;  // the next item starts its own count
        post(h_, [t = t_, step, steps, item] { t->setBatchStep(step, steps, item); });
    }
    void setPercent(double percent) override {
        // The bar shows whole percents: only a change is worth a trip to the GUI thread.
        if (const int whole = static_cast<int>(std::lround(percent)); std::exchange(lastPercent_, whole) != whole)
            post(h_, [t = t_, percent] { t->setPercent(percent); });
    }

private:
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
    std::unique_ptr<QThread> thread(QThread::create([&] {
        takeOver();
        work(run);
        handOut();
    }));
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
