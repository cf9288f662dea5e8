#include "ui/desktop_start.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int exitCode = 0;
    const auto desktop = zm::ui::DesktopStart::start(QApplication::arguments(), exitCode);
    if (!desktop) {
        return exitCode;
    }
    return app.exec();
}
