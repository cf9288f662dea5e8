#include "app/startup.h"
#include "ui/mdizenomur.h"
#include "ui/message_prompter.h"
#include "ui/uiutil.h"
#include "ui/zenostartup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zenomur"));
    QApplication::setWindowIcon(zm::ui::ProgramIcon());

    // The program speaks Japanese whatever the system locale: Qt's own dialogs and buttons too.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ゼノゼノＭＵＲ"));
    parser.addHelpOption();
    QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("The program folder."), QStringLiteral("DIR"));
    QCommandLineOption configOption(QStringLiteral("config"), QStringLiteral("The settings file."),
                                    QStringLiteral("FILE"));
    parser.addOption(homeOption);
    parser.addOption(configOption);
    parser.process(app);

    zm::ui::MessageBoxPrompter prompter;
    zm::StartOptions options{parser.value(homeOption), parser.value(configOption)};
    zm::AppSession::Status status{};
    QString message;
    auto session = zm::AppSession::StartUp(options, prompter, status, message);
    if (!session) {
        // A second instance ends at once and silently; any other failure says why.
        if (status == zm::AppSession::Status::Failed) {
            prompter.critical(message, zm::kAppTitle);
        }
        return status == zm::AppSession::Status::AlreadyRunning ? 0 : 1;
    }

    zm::ui::MDIZenoMUR window(session->context());
    prompter.setParent(&window);
    window.show();
    window.SSCommand1(1)->setFocus(Qt::TabFocusReason);  // the race-card command is the usual next step
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        // The splash closes by itself; the program does not wait for it.
        (new zm::ui::ZenoStartUP)->showFor(1800);
    }
    return app.exec();
}
