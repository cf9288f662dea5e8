#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QThread>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
#define ZENOMUR_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZENOMUR_TSAN 1
#endif
#endif

#ifdef ZENOMUR_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace zm::ui {

namespace {

// The hand-overs between the run's thread and the GUI thread go through Qt's event queue and
// thread wait, whose locks a thread sanitizer cannot see inside a Qt built without it; each
// hand-over is told to it here (nothing in other builds).
#ifdef ZENOMUR_TSAN
char handOver;
#endif
inline void handOut() {
#ifdef ZENOMUR_TSAN
    __tsan_release(&handOver);
#endif
}
inline void takeOver() {
#ifdef ZENOMUR_TSAN
    __tsan_acquire(&handOver);
#endif
}

}  // namespace

// A call on its way to the GUI thread. Posted events are deleted on the thread that handled
// them, so the call is made, and destroyed, only there.
class CallEvent : public QEvent {
public:
    explicit CallEvent(std::function<void()> call) : QEvent(type()), call(std::move(call)) {}
    static QEvent::Type type() {
        static const auto registered = static_cast<QEvent::Type>(QEvent::registerEventType());
        return registered;
    }
    std::function<void()> call;
};

void CallTarget::post(std::function<void()> call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    handOut();
    QCoreApplication::postEvent(this, new CallEvent(std::move(call)));
}

void CallTarget::run(const std::function<void()>& call) {
    if (QThread::currentThread() == thread()) {
        call();
        return;
    }
    std::mutex mutex;
    std::condition_variable returned;
    std::atomic<bool> done = false;  // what the call wrote is visible once this is seen set
    post([&] {
        call();
        handOut();
        const std::lock_guard lock(mutex);
        done.store(true, std::memory_order_release);
        returned.notify_one();
    });
    std::unique_lock lock(mutex);
    returned.wait(lock, [&] { return done.load(std::memory_order_acquire); });
    takeOver();
}

bool CallTarget::event(QEvent* e) {
    if (e->type() != CallEvent::type())
        return QObject::event(e);
    takeOver();
    static_cast<CallEvent*>(e)->call();
    return true;
}

void GuiThreadPrompter::information(const QString& text, const QString& title) {
    home_->run([&] { target_.information(text, title); });
}

void GuiThreadPrompter::warning(const QString& text, const QString& title) {
    home_->run([&] { target_.warning(text, title); });
}

void GuiThreadPrompter::critical(const QString& text, const QString& title) {
    home_->run([&] { target_.critical(text, title); });
}

bool GuiThreadPrompter::okCancel(const QString& text, const QString& title) {
    bool ok = false;
    home_->run([&] { ok = target_.okCancel(text, title); });
    return ok;
}

bool GuiThreadPrompter::confirm(const QString& text, const QString& title) {
    bool ok = false;
    home_->run([&] { ok = target_.confirm(text, title); });
    return ok;
}

bool GuiThreadPrompter::yesNo(const QString& text, const QString& title) {
    bool yes = false;
    home_->run([&] { yes = target_.yesNo(text, title); });
    return yes;
}

bool GuiThreadPrompter::confirmYesNo(const QString& text, const QString& title) {
    bool yes = false;
    home_->run([&] { yes = target_.confirmYesNo(text, title); });
    return yes;
}

Answer GuiThreadPrompter::yesNoCancel(const QString& text, const QString& title) {
    Answer a = Answer::Cancel;
    home_->run([&] { a = target_.yesNoCancel(text, title); });
    return a;
}

void QueuedProgress::setCaption(const QString& caption) {
    home_->post([t = &target_, caption] { t->setCaption(caption); });
}

void QueuedProgress::setLabel(const QString& text, int meeting) {
    home_->post([t = &target_, text, meeting] { t->setLabel(text, meeting); });
}

void QueuedProgress::setBatchStep(int step, int steps, const QString& item) {
    lastPercent_ = -1;  // the next item starts its own count
    home_->post([t = &target_, step, steps, item] { t->setBatchStep(step, steps, item); });
}

void QueuedProgress::setPercent(double percent) {
    // The bar shows whole percents: only a change is worth a trip to the GUI thread.
    const int whole = static_cast<int>(std::lround(percent));
    if (whole == lastPercent_) {
        return;
    }
    lastPercent_ = whole;
    home_->post([t = &target_, percent] { t->setPercent(percent); });
}

void RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work) {
    CallTarget home;  // lives in this thread: the calls of the run land here
    GuiThreadPrompter prompter(ctx.prompter, &home);
    QueuedProgress queued(progress ? *progress : nullProgress(), &home);

    AppContext run(ctx.paths, ctx.store, prompter);
    run.settings = ctx.settings;
    run.BatchRequested = ctx.BatchRequested;
    run.ImportedDay = ctx.ImportedDay;
    run.progress = &queued;

    handOut();
    QThread* thread = QThread::create([&] {
        takeOver();
        work(run);
        handOut();
    });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    if (!thread->isFinished()) {
        loop.exec();
    }
    thread->wait();
    takeOver();
    delete thread;
    // Reports still queued are delivered before the context they describe is given back.
    QCoreApplication::sendPostedEvents(&home);

    ctx.ImportedDay = run.ImportedDay;
}

}  // namespace zm::ui
