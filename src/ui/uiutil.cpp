#include "ui/uiutil.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zm::ui {

BusyCursor::BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

BusyCursor::~BusyCursor() { QApplication::restoreOverrideCursor(); }

QString FolderFieldText(const QString& text) {
    QString t = text.trimmed();
    if (t.size() > 1 && (t.endsWith(u'/') || t.endsWith(u'\\'))) {
        t.chop(1);
    }
    return t;
}

QString FieldFromFolder(const QString& folder) { return FolderFieldText(folder); }

std::optional<QString> CheckFolderField(Prompter& prompter, const QString& text, const QString& emptyMessage) {
    const QString t = FolderFieldText(text);
    if (t.isEmpty()) {
        prompter.warning(emptyMessage, kAppTitle);
        return std::nullopt;
    }
    if (!FolderExists(t)) {
        prompter.warning(QStringLiteral("フォルダ名「") + t + QStringLiteral("」は存在しません！"), kAppTitle);
        return std::nullopt;
    }
    return withTrailingSlash(t);
}

void PlaceOverParent(QWidget* window) {
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QRect area = parent ? parent->frameGeometry() : QRect();
    QScreen* screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
    if (!area.isValid()) {
        area = avail;
    }
    QRect g(QPoint(0, 0), window->size());
    g.moveCenter(area.center());
    g.moveLeft(qBound(avail.left(), g.left(), qMax(avail.left(), avail.right() - g.width())));
    g.moveTop(qBound(avail.top(), g.top(), qMax(avail.top(), avail.bottom() - g.height())));
    window->move(g.topLeft());
}

}  // namespace zm::ui
