// The help page describes every command of the menus and shows the pictures it names.

#include "support/test_home.h"
#include "ui/mdizenomur.h"
#include "ui_support.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

namespace zm::test {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(HelpPage, EveryMenuItemHasItsSectionAndEveryPictureIsThere) {
    ensureApplication();
    TestHome home;
    ui::MDIZenoMUR window(home.ctx());
    QList<QUrl> opened;
    window.setUrlOpener([&](const QUrl& url) {
        opened << url;
        return true;
    });
    window.menuAction(u"mnuHelp"_s)->trigger();
    ASSERT_EQ(opened.size(), 1);
    const QString page = opened[0].toLocalFile();
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());

    int items = 0;
    for (QAction* top : window.menuBar()->actions()) {
        for (QAction* item : top->menu()->actions()) {
            if (item->isSeparator()) {
                continue;
            }
            ++items;
            EXPECT_TRUE(html.contains(u"id=\""_s + item->objectName() + u'"'))
                << "no help section for " << item->objectName().toStdString() << " "
                << item->text().toStdString();
        }
    }
    EXPECT_GT(items, 30);
    // Nothing that works is called unusable.
    EXPECT_FALSE(html.contains(u"まだ使用できません"_s));
    // The pictures the page shows are written beside it.
    const QRegularExpression img(u"<img src=\"([^\"]+)\""_s);
    int pictures = 0;
    for (auto it = img.globalMatch(html); it.hasNext(); ++pictures) {
        const QString name = it.next().captured(1);
        EXPECT_GT(QFileInfo(QFileInfo(page).absolutePath() + u'/' + name).size(), 10000) << name.toStdString();
    }
    EXPECT_EQ(pictures, 2);
}

}  // namespace
}  // namespace zm::test
