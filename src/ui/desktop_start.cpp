#include "ui/desktop_start.h"

#include "ui/uiutil.h"
#include "ui/zenostartup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>

namespace zm::ui {

std::unique_ptr<DesktopStart> DesktopStart::start(const QStringList& arguments, int& exitCode) {
    std::unique_ptr<DesktopStart> desktop(new DesktopStart);
    QApplication::setApplicationName(QStringLiteral("zenomur"));
    QApplication::setWindowIcon(ProgramIcon());

    // The program speaks Japanese whatever the system locale: Qt's own dialogs and buttons too.
    if (desktop->translator_.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&desktop->translator_);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ゼノゼノＭＵＲ"));
    parser.addHelpOption();
    QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("The program folder."), QStringLiteral("DIR"));
    QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("The settings file."),
                                    QStringLiteral("FILE"));
    parser.addOption(homeOption);
    parser.addOption(configOption);
    parser.process(arguments);

    const StartOptions options{parser.value(homeOption), parser.value(configOption)};
    AppSession::Status status{};
    QString message;
    desktop->session_ = AppSession::StartUp(options, desktop->prompter_, status, message);
    if (!desktop->session_) {
        // A second instance ends at once and silently; any other failure says why.
        if (status == AppSession::Status::Failed) {
            desktop->prompter_.critical(message, kAppTitle);
        }
        exitCode = status == AppSession::Status::AlreadyRunning ? 0 : 1;
        return nullptr;
    }
    showFailure(desktop->prompter_, desktop->session_->settingsLoad());
    showFailure(desktop->prompter_, desktop->session_->recovery());

    desktop->window_ = std::make_unique<MDIZenoMUR>(desktop->session_->context());
    desktop->prompter_.setParent(desktop->window_.get());
    desktop->window_->show();
    desktop->window_->SSCommand1(1)->setFocus(Qt::TabFocusReason);  // the race card is the usual next step
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        // The splash closes by itself; the program does not wait for it.
        (new ZenoStartUP)->showFor(1800);
    }
    exitCode = 0;
    return desktop;
}

DesktopStart::~DesktopStart() = default;

}  // namespace zm::ui
