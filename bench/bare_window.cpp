// The floor for the desktop program's start-up: a Qt Widgets program and nothing else, showing
// one empty QMainWindow. It prints the moment of its window's first paint on the monotonic
// clock, as bench_ui's child of the program does, so that bench_ui sets the two side by side.
// With --text the window has one menu with a Japanese title: the least a program that shows
// any text pays on top, the font system's start (fontconfig's configuration, the font list and
// one Japanese font), which an empty window never asks for.

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>

#include <chrono>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget* window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_) {
            painted_ = true;
            std::printf("%lld\n", static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
            std::fflush(stdout);
            QCoreApplication::quit();
        }
        return false;
    }

private:
    QWidget* window_;
    bool painted_ = false;
};

// The offscreen platform says for every window it shows that it cannot pass on size hints;
// bench_ui's children are kept as quiet.
void quietOffscreen(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    QMainWindow window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--text"))) {
        window.menuBar()->addMenu(QStringLiteral("ファイル"));
    }
    FirstPaint paint(&window);
    app.installEventFilter(&paint);
    window.show();
    return app.exec();
}
