#include "ui/uiutil.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

static void initUiResources() { Q_INIT_RESOURCE(zenomur); }

namespace zm::ui {

namespace {

// The file list with its date column in Japanese form.
class JapaneseDates : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() == kDateColumn) {
            if (const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel())) {
                const QDateTime modified = files->lastModified(mapToSource(index));
                return QLocale(QLocale::Japanese, QLocale::Japan).toString(modified, QStringLiteral("yyyy/MM/dd HH:mm"));
            }
        }
        return QSortFilterProxyModel::data(index, role);
    }

    static constexpr int kDateColumn = 3;
};

}  // namespace

QIcon ProgramIcon() {
    initUiResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 256}) {
        icon.addFile(QStringLiteral(":/icons/zenomur-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new JapaneseDates(&dialog));
    if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* header = tree->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int c = 1; c < header->count(); ++c) {
            header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
        }
    }
    dialog.resize(880, 520);
}

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

bool showFailure(Prompter& prompter, const Status& status) {
    if (status.ok())
        return true;
    showNotice(prompter, status.notice());
    return false;
}

}  // namespace zm::ui
