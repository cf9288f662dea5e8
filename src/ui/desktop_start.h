#pragma once

// The desktop program from its start to its main window on the screen: everything main() does
// before it enters the event loop. Kept apart from main() so that the start-up benchmark runs
// the very same steps.

#include "app/startup.h"
#include "ui/mdizenomur.h"
#include "ui/message_prompter.h"

#include <QStringList>
#include <QTranslator>

#include <memory>

namespace zm::ui {

class DesktopStart {
public:
    // With the application object made (a QApplication): the program's name and icon, Qt's own texts in
    // Japanese, the command line (arguments as QCoreApplication::arguments() gives them), the
    // session (the lock on the program folder, its folders, the recovery of an unfinished day,
    // the settings, the purge of old pending bets), and the main window shown with the race-card
    // command focused, the splash beside it on a real screen. Nothing, with exitCode set, when
    // the program ends at once: a second instance (0), a start that failed after its message (1).
    static std::unique_ptr<DesktopStart> start(const QStringList& arguments, int& exitCode);

    DesktopStart(const DesktopStart&) = delete;
    DesktopStart& operator=(const DesktopStart&) = delete;
    ~DesktopStart();

    MDIZenoMUR& window() { return *window_; }
    AppContext& context() { return session_->context(); }

private:
    DesktopStart() = default;

    QTranslator translator_;
    MessageBoxPrompter prompter_;
    std::unique_ptr<AppSession> session_;
    std::unique_ptr<MDIZenoMUR> window_;  // last: it goes before the session it works on
};

}  // namespace zm::ui
