#pragma once

// What the desktop tests share: one QApplication for the test program, screenshots of the
// windows, and the sample data written by zenomur-sample.

#include <QString>
#include <QStringList>
#include <ostream>

class QWidget;
class QAbstractButton;

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace zm::test {

// Creates the test program's QApplication once (offscreen when no platform is set).
void ensureApplication();

// Lays the window out and writes it as ZENOMUR_SCREENSHOT_DIR/name.png.
void screenshot(QWidget* window, const QString& name);

// Runs zenomur-sample into the home folder; true when it succeeded.
bool writeSampleData(const QString& home, const QStringList& extraArgs = {});

// A left click where a user would click: on the indicator of a check box or radio button,
// in the middle of any other button.
void click(QAbstractButton* button);

// Lets queued events (deferred deletes, timers due now) run.
void settle();

}  // namespace zm::test
