#include "ui_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <QDir>
#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

namespace zm::test {

void ensureApplication() {
    if (QApplication::instance()) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "test_ui";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

void screenshot(QWidget* window, const QString& name) {
    const QString dir = QStringLiteral(ZENOMUR_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    if (!window->isVisible()) {
        window->show();
    }
    QApplication::processEvents();
    const bool saved = window->grab().save(dir + u'/' + name + QStringLiteral(".png"));
    EXPECT_TRUE(saved) << name.toStdString();
}

bool writeSampleData(const QString& home, const QStringList& extraArgs) {
    QProcess p;
    p.start(QStringLiteral(ZENOMUR_SAMPLE_BINARY), QStringList{QStringLiteral("--home"), home} + extraArgs);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

void click(QAbstractButton* button) {
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

namespace {
// Every test of the program runs with the application in place.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ensureApplication(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);
}  // namespace

}  // namespace zm::test
