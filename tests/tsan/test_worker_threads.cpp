// The import, the prediction and a batch run on the worker thread under ThreadSanitizer, with
// the GUI thread's event loop busy meanwhile (progress, questions, timers), as the desktop
// program runs them. Built from the domain sources it needs, instrumented.

#include "app/context.h"
#include "app/paths.h"
#include "app/settings.h"
#include "day/day_pipeline.h"
#include "ui/worker_run.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace zm {
namespace {

// Says yes to everything and counts the questions; called on the GUI thread only.
class YesPrompter : public Prompter {
public:
    Answer ask(const Question& q) override {
        note(q.text);
        return Answer::Yes;
    }
    QStringList texts;
    bool offGuiThread = false;

private:
    void note(const QString& text) {
        texts << text;
        offGuiThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
    }
};

class RecordingSink : public ProgressSink {
public:
    void setCaption(const QString& c) override { note(c); }
    void setLabel(const QString& text, int) override { note(text); }
    void setPercent(double p) override { percent = p; }
    QStringList seen;
    double percent = -1;
    bool offGuiThread = false;

private:
    void note(const QString& text) {
        seen << text;
        offGuiThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
    }
};

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "test_worker_threads";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

TEST(WorkerThreads, ImportAndBatchOnTheWorkerWhileTheGuiThreadIsBusy) {
    app();
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QProcess sample;
    sample.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), {QStringLiteral("--home"), home, QStringLiteral("--days"), QStringLiteral("3")});
    ASSERT_TRUE(sample.waitForFinished(120000));
    ASSERT_EQ(sample.exitCode(), 0) << sample.readAllStandardError().toStdString();

    const AppPaths paths = AppPaths::forHome(home);
    CreateFolders(paths);
    SettingsStore store(dir.path() + QStringLiteral("/zenomur.ini"));
    YesPrompter prompter;
    AppContext ctx(paths, store, prompter);
    LoadSettings(ctx.settings, store, paths);

    // The GUI thread keeps working while the run goes on: a timer reads what progress arrived.
    RecordingSink sink;
    qsizetype lines = 0;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] { lines = sink.seen.size(); });
    timer.start();

    bool imported = false;
    bool asked = false;
    ui::RunOnWorker(ctx, &sink, [&](AppContext& run) {
        asked = run.prompter.okCancel(QStringLiteral("取り込みますか？"));
        imported = ExtractAndPredict(run, paths.MurDataDefault + QStringLiteral("H261205.LZH"), DaySteps::predictionOnly()).ok();
    });
    EXPECT_TRUE(asked);
    EXPECT_TRUE(imported) << prompter.texts.join(u'\n').toStdString();

    BatchResult batch;
    ui::RunOnWorker(ctx, &sink, [&](AppContext& run) {
        batch = BatchRun(run, DaySteps::predictionOnly(), [&](const Notice& m) { run.prompter.critical(m.text); });
    });
    timer.stop();

    EXPECT_EQ(batch.imported, 3) << prompter.texts.join(u'\n').toStdString();
    EXPECT_FALSE(prompter.offGuiThread);
    EXPECT_FALSE(sink.offGuiThread);
    EXPECT_FALSE(sink.seen.isEmpty());
    EXPECT_GE(sink.seen.size(), lines);
    EXPECT_FALSE(QDir(paths.DataDir).entryList({QStringLiteral("*.DAT")}, QDir::Files).isEmpty());
}

}  // namespace
}  // namespace zm
