#include "ui/uiutil.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <map>

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

namespace {

// The program's icon, one picture a size, each decoded the first time that size is asked for.
// A plain QIcon decodes every file as it is added (the 256-pixel picture the most): a sixth of
// the start-up's work before the main window is painted, for pictures the offscreen platform
// never asks for and a window manager asks for only once the window is mapped.
class ProgramIconEngine : public QIconEngine {
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const int side = bestSide(std::min(size.width(), size.height()));
        QPixmap& picture = decoded_[side];
        if (picture.isNull()) {
            picture.load(fileOf(side));
        }
        if (mode != QIcon::Normal || state != QIcon::Off) {
            return QIcon(picture).pixmap(size, mode, state);
        }
        // Scaled down to the size asked for, never up.
        const QSize fit = picture.size().boundedTo(size);
        return picture.size() == fit ? picture : picture.scaled(fit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int wanted = std::min(size.width(), size.height());
        const int side = std::min(bestSide(wanted), wanted);
        return {side, side};
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kSides) {
            sizes.append(QSize(side, side));
        }
        return sizes;
    }

    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }
    QString key() const override { return QStringLiteral("zenomur-program-icon"); }

private:
    static constexpr int kSides[] = {16, 32, 48, 64, 256};

    // The smallest picture at least as large as wanted (the largest when none is).
    static int bestSide(int wanted) {
        for (int side : kSides) {
            if (side >= wanted) {
                return side;
            }
        }
        return kSides[std::size(kSides) - 1];
    }

    static QString fileOf(int side) { return QStringLiteral(":/icons/zenomur-%1.png").arg(side); }

    std::map<int, QPixmap> decoded_;
};

}  // namespace

QIcon ProgramIcon() {
    initUiResources();
    return QIcon(new ProgramIconEngine);
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
