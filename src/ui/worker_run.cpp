#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <cmath>

namespace zm::ui {

void GuiThreadPrompter::onHomeThread(const std::function<void()>& f) {
    if (QThread::currentThread() == home_->thread()) {
        f();
    } else {
        QMetaObject::invokeMethod(home_, f, Qt::BlockingQueuedConnection);
    }
}

void GuiThreadPrompter::information(const QString& text, const QString& title) {
    onHomeThread([&] { target_.information(text, title); });
}

void GuiThreadPrompter::warning(const QString& text, const QString& title) {
    onHomeThread([&] { target_.warning(text, title); });
}

void GuiThreadPrompter::critical(const QString& text, const QString& title) {
    onHomeThread([&] { target_.critical(text, title); });
}

bool GuiThreadPrompter::okCancel(const QString& text, const QString& title) {
    bool ok = false;
    onHomeThread([&] { ok = target_.okCancel(text, title); });
    return ok;
}

bool GuiThreadPrompter::confirm(const QString& text, const QString& title) {
    bool ok = false;
    onHomeThread([&] { ok = target_.confirm(text, title); });
    return ok;
}

bool GuiThreadPrompter::yesNo(const QString& text, const QString& title) {
    bool yes = false;
    onHomeThread([&] { yes = target_.yesNo(text, title); });
    return yes;
}

bool GuiThreadPrompter::confirmYesNo(const QString& text, const QString& title) {
    bool yes = false;
    onHomeThread([&] { yes = target_.confirmYesNo(text, title); });
    return yes;
}

Answer GuiThreadPrompter::yesNoCancel(const QString& text, const QString& title) {
    Answer a = Answer::Cancel;
    onHomeThread([&] { a = target_.yesNoCancel(text, title); });
    return a;
}

void QueuedProgress::queue(std::function<void()> f) {
    if (QThread::currentThread() == home_->thread()) {
        f();
    } else {
        QMetaObject::invokeMethod(home_, std::move(f), Qt::QueuedConnection);
    }
}

void QueuedProgress::setCaption(const QString& caption) {
    queue([t = &target_, caption] { t->setCaption(caption); });
}

void QueuedProgress::setLabel(const QString& text, Rgb color) {
    queue([t = &target_, text, color] { t->setLabel(text, color); });
}

void QueuedProgress::setBarColor(Rgb color) {
    queue([t = &target_, color] { t->setBarColor(color); });
}

void QueuedProgress::setPercent(double percent) {
    // The bar shows whole percents: only a change is worth a trip to the GUI thread.
    const int whole = static_cast<int>(std::lround(percent));
    if (whole == lastPercent_) {
        return;
    }
    lastPercent_ = whole;
    queue([t = &target_, percent] { t->setPercent(percent); });
}

void RunOnWorker(AppContext& ctx, ProgressSink* progress, const std::function<void(AppContext&)>& work) {
    QObject home;  // lives in this thread: the queued calls of the run land here
    GuiThreadPrompter prompter(ctx.prompter, &home);
    QueuedProgress queued(progress ? *progress : nullProgress(), &home);

    AppContext run(ctx.paths, ctx.store, prompter);
    run.settings = ctx.settings;
    run.BatchRequested = ctx.BatchRequested;
    run.ImportedDay = ctx.ImportedDay;
    run.progress = &queued;

    QThread* thread = QThread::create([&] { work(run); });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    if (!thread->isFinished()) {
        loop.exec();
    }
    thread->wait();
    delete thread;
    // Reports still queued are delivered before the context they describe is given back.
    QCoreApplication::sendPostedEvents(&home);

    ctx.ImportedDay = run.ImportedDay;
}

}  // namespace zm::ui
