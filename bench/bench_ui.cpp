// The desktop program offscreen: its start to the first paint of its main window, and the race
// card of an imported full sample day (three venues x 12 races) opened from the main window to
// its first paint.
//
// BM_ProcessStartToFirstPaint starts the program's start-up in a new process, as a user starts
// the program: from the moment the process is started to the first paint of its main window
// (the child reports the moment on the monotonic clock both share), beside a bare Qt program's
// start to the first paint of one empty QMainWindow in the same run. BM_StartToFirstPaint runs
// the same start-up again and again within one process: the program's own work without the
// loading of the process and of Qt. Both run DesktopStart::start, which is what main() runs.

#include "analysis/model_days.h"
#include "analysis/race_ev.h"
#include "app/context.h"
#include "app/paths.h"
#include "app/safe_save.h"
#include "app/settings.h"
#include "day/day_pipeline.h"
#include "quiet_prompter.h"
#include "sample/sample.h"
#include "ui/desktop_start.h"
#include "ui/frmzenomain.h"
#include "ui/mdizenomur.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {

using zm::ui::DesktopStart;
using zm::ui::frmZenoMain;
using zm::ui::MDIZenoMUR;

const char kChildFlag[] = "--first-paint-child";

// Watches for the first paint event of a wanted widget from its construction on. wait() runs
// the event loop until then: the painting pass that paint belongs to is over on return.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<bool(QWidget*)> wanted) : wanted_(std::move(wanted)) {
        QCoreApplication::instance()->installEventFilter(this);
        timeout_.setSingleShot(true);
        connect(&timeout_, &QTimer::timeout, &loop_, &QEventLoop::quit);
    }
    ~FirstPaint() override { QCoreApplication::instance()->removeEventFilter(this); }

    // False when no such paint came within ten seconds.
    bool wait() {
        if (!painted_) {
            timeout_.start(10000);
            loop_.exec();
            timeout_.stop();
        }
        return painted_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            wanted_(static_cast<QWidget*>(watched))) {
            painted_ = true;
            loop_.quit();
        }
        return false;
    }

private:
    std::function<bool(QWidget*)> wanted_;
    QEventLoop loop_;
    QTimer timeout_;
    bool painted_ = false;
};

bool inMainWindow(QWidget* w) {
    return qobject_cast<MDIZenoMUR*>(w->window()) != nullptr;
}

// A program folder with the sample written into it and its full day imported and predicted,
// and the arguments that start the program on it.
struct ImportedHome {
    ImportedHome() {
        home = dir.path() + QStringLiteral("/home");
        config = dir.path() + QStringLiteral("/zenomur.ini");
        zm::sample::SampleOptions options;
        options.home = home;
        options.days = 0;
        QStringList written;
        QString message;
        zm::sample::writeSample(options, written, message);
        const zm::AppPaths paths = zm::AppPaths::forHome(home);
        zm::CreateFolders(paths);
        zm::SettingsStore store(config);
        zm::bench::QuietPrompter prompter{false};
        zm::AppContext ctx(paths, store, prompter);
        zm::LoadSettings(ctx.settings, store, paths);
        const QString archive =
            paths.MurDataDefault + u'H' + zm::sample::yymmdd(zm::sample::defaultDate()) + QStringLiteral(".LZH");
        const zm::DayOutcome outcome = zm::ExtractAndPredict(ctx, archive, zm::DaySteps::predictionOnly());
        imported = outcome.ok();
        day = outcome.date;
    }
    QStringList arguments() const {
        return {QStringLiteral("zenomur"), QStringLiteral("--home"), home, QStringLiteral("--config"), config};
    }

    QTemporaryDir dir;
    QString home;
    QString config;
    QString day;
    bool imported = false;
};

void dropDeleted() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Starts a child that prints the moment of its main window's first paint on the monotonic
// clock, and gives the time from its start to that moment; nothing when it did not say.
std::optional<std::chrono::nanoseconds> startToFirstPaint(const QString& program, const QStringList& arguments) {
    QProcess child;
    child.setProgram(program);
    child.setArguments(arguments);
    const auto started = std::chrono::steady_clock::now();
    child.start();
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return std::nullopt;
    bool ok = false;
    const qint64 painted = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    const std::chrono::nanoseconds spent{painted - started.time_since_epoch().count()};
    if (!ok || spent.count() <= 0)
        return std::nullopt;
    return spent;
}

// The program's start-up in a new process, timed; beside each one, untimed by the benchmark,
// the bare Qt program's (bench_bare_window: one empty QMainWindow) under the same platform
// plugin and load. "bare_ms" is the bare program's mean, "x_bare_qt" the ratio of the sums;
// "bare_text_ms" and "x_bare_text" the same for the bare program with one Japanese menu title,
// the floor of any window that shows text.
void BM_ProcessStartToFirstPaint(benchmark::State& st) {
    ImportedHome h;
    QStringList arguments = h.arguments();
    arguments[0] = QString::fromLatin1(kChildFlag);
    const QString bare = QStringLiteral(ZENOMUR_BARE_WINDOW_BINARY);
    std::chrono::nanoseconds programSum{};
    std::chrono::nanoseconds bareSum{};
    std::chrono::nanoseconds textSum{};
    for (auto _ : st) {
        const auto floor = startToFirstPaint(bare, {});
        const auto textFloor = startToFirstPaint(bare, {QStringLiteral("--text")});
        const auto spent = startToFirstPaint(QCoreApplication::applicationFilePath(), arguments);
        if (!floor || !textFloor || !spent) {
            st.SkipWithError(spent ? "the bare Qt program did not paint" : "the program did not paint its main window");
            break;
        }
        bareSum += *floor;
        textSum += *textFloor;
        programSum += *spent;
        st.SetIterationTime(std::chrono::duration<double>(*spent).count());
    }
    if (st.iterations() > 0 && bareSum.count() > 0) {
        st.counters["bare_ms"] = std::chrono::duration<double, std::milli>(bareSum).count() / double(st.iterations());
        st.counters["x_bare_qt"] = double(programSum.count()) / double(bareSum.count());
        st.counters["bare_text_ms"] = std::chrono::duration<double, std::milli>(textSum).count() / double(st.iterations());
        st.counters["x_bare_text"] = double(programSum.count()) / double(textSum.count());
    }
}
BENCHMARK(BM_ProcessStartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_StartToFirstPaint(benchmark::State& st) {
    ImportedHome h;
    const QStringList arguments = h.arguments();
    for (auto _ : st) {
        FirstPaint paint(inMainWindow);
        QElapsedTimer timer;
        timer.start();
        int exitCode = 0;
        std::unique_ptr<DesktopStart> desktop = DesktopStart::start(arguments, exitCode);
        if (!desktop || !paint.wait()) {
            st.SkipWithError("the main window was not painted");
            break;
        }
        st.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        desktop.reset();
        dropDeleted();
    }
}
BENCHMARK(BM_StartToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The program started on the imported day, its main window painted.
struct StartedProgram {
    StartedProgram() {
        FirstPaint paint(inMainWindow);
        int exitCode = 0;
        desktop = DesktopStart::start(home.arguments(), exitCode);
        ok = home.imported && desktop && paint.wait();
    }
    ImportedHome home;
    std::unique_ptr<DesktopStart> desktop;
    bool ok = false;
};

// The race-card command of the main window (a new card window in its MDI area with the list of
// days), the imported day chosen in it (its venue frames), to the card window's first paint;
// the window is closed again untimed.
void BM_OpenRaceCardOfFullDay(benchmark::State& st) {
    StartedProgram program;
    if (!program.ok) {
        st.SkipWithError("the program did not start on an imported day");
        return;
    }
    MDIZenoMUR& window = program.desktop->window();
    for (auto _ : st) {
        FirstPaint paint([&window](QWidget* w) {
            frmZenoMain* card = window.cardWindow();
            return card && (w == card || card->isAncestorOf(w));
        });
        QElapsedTimer timer;
        timer.start();
        window.SSCommand1(1)->click();
        frmZenoMain* card = window.cardWindow();
        if (!card || !card->LoadDay(program.home.day) || !paint.wait()) {
            st.SkipWithError("the race card was not painted");
            break;
        }
        st.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        window.cardSubWindow()->close();
        dropDeleted();
    }
}
BENCHMARK(BM_OpenRaceCardOfFullDay)->UseManualTime()->Unit(benchmark::kMillisecond);

// A stored win model of twenty days for the imported day's card, and the day's predicted odds
// beside it (the sample's odds file made for the day's races).
bool withWinModel(const ImportedHome& home) {
    const zm::AppPaths paths = zm::AppPaths::forHome(home.home);
    zm::StoredModel stored;
    stored.model.beta = {1.2, -0.5, 0.4, 0.2, 0.1, 0, 0};
    for (int d = 1; d <= 20; ++d)
        stored.days << QStringLiteral("202601%1").arg(d, 2, 10, QChar(u'0'));
    stored.from = stored.days.first();
    stored.to = stored.days.last();
    QFile races(paths.DataDir + QStringLiteral("MUR") + home.day + QStringLiteral("_1.DEN"));
    if (!races.open(QIODevice::ReadOnly))
        return false;
    const QByteArray odds = zm::sample::makeOddsFile(races.readAll(), 1);
    return zm::saveModel(zm::modelPath(paths), stored).ok() &&
           zm::SafeSave::save(paths.DataDir + QStringLiteral("MURODDS") + home.day + QStringLiteral(".DAT"), odds).ok();
}

// One race of the open day shown on the card (the card view: header, grid, recommendations),
// to its first paint; back to the day view untimed.
void showRaceOnTheCard(benchmark::State& st, bool withChances) {
    StartedProgram program;
    if (!program.ok) {
        st.SkipWithError("the program did not start on an imported day");
        return;
    }
    if (withChances && !withWinModel(program.home)) {
        st.SkipWithError("the win model was not written");
        return;
    }
    MDIZenoMUR& window = program.desktop->window();
    window.SSCommand1(1)->click();
    frmZenoMain* card = window.cardWindow();
    if (!card || !card->LoadDay(program.home.day)) {
        st.SkipWithError("the day did not load");
        return;
    }
    card->setEvColumnsShown(withChances);
    FirstPaint(([card](QWidget* w) { return w == card || card->isAncestorOf(w); })).wait();
    for (auto _ : st) {
        FirstPaint paint([card](QWidget* w) { return w == card || card->isAncestorOf(w); });
        QElapsedTimer timer;
        timer.start();
        card->ShowRace(1, 11);
        if (!card->haveRace() || !paint.wait()) {
            st.SkipWithError("the race was not painted");
            break;
        }
        st.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        card->showDayView();
        FirstPaint(([card](QWidget* w) { return w == card || card->isAncestorOf(w); })).wait();
    }
}
void BM_ShowRaceOnTheCard(benchmark::State& st) { showRaceOnTheCard(st, false); }
BENCHMARK(BM_ShowRaceOnTheCard)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same with the win model's chance and expected-value columns shown (the model read once,
// the day's predicted odds read for each race): what the columns cost is the difference.
void BM_ShowRaceWithChanceColumns(benchmark::State& st) { showRaceOnTheCard(st, true); }
BENCHMARK(BM_ShowRaceWithChanceColumns)->UseManualTime()->Unit(benchmark::kMillisecond);

// The columns' own work for one race, without the grid: the model's file looked at, the day's
// predicted odds read and the runners weighed (what the grid adds on top is sixteen items).
void BM_WeighRaceRunners(benchmark::State& st) {
    ImportedHome home;
    zm::DayCard day;
    if (!home.imported || !withWinModel(home) ||
        zm::LoadDay(zm::AppPaths::forHome(home.home).DataDir, home.day, day) != zm::DayLoad::Ok) {
        st.SkipWithError("the imported day did not load");
        return;
    }
    const zm::AppPaths paths = zm::AppPaths::forHome(home.home);
    const auto race = zm::LoadRace(paths.DataDir, day, 1, 11);
    zm::CardModelCache models;
    if (!race || !models.current(paths).model) {
        st.SkipWithError("no race or no model");
        return;
    }
    for (auto _ : st) {
        const zm::CardModel& model = models.current(paths);
        benchmark::DoNotOptimize(
            zm::raceEv(*model.model, *race, zm::dayPredictedWinOdds(paths.DataDir, race->day, race->venueCode, race->raceNo)));
    }
}
BENCHMARK(BM_WeighRaceRunners)->Unit(benchmark::kMicrosecond);

// The child of BM_ProcessStartToFirstPaint: the program's start with the arguments after the
// flag; prints the moment of the first paint of the main window on the monotonic clock.
int firstPaintChild(int argc, char** argv) {
    std::vector<char*> args{argv[0]};
    for (int i = 2; i < argc; ++i)
        args.push_back(argv[i]);
    int n = static_cast<int>(args.size());
    QApplication app(n, args.data());
    FirstPaint paint(inMainWindow);
    int exitCode = 0;
    const std::unique_ptr<DesktopStart> desktop = DesktopStart::start(QApplication::arguments(), exitCode);
    if (!desktop || !paint.wait())
        return 2;
    std::printf("%lld\n", static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::fflush(stdout);
    return 0;
}

// The offscreen platform says for every window it shows that it cannot pass on size hints.
QtMessageHandler previousHandler = nullptr;
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless told otherwise, for the parent and its children alike.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietOffscreen);
    if (argc > 1 && std::strcmp(argv[1], kChildFlag) == 0)
        return firstPaintChild(argc, argv);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
