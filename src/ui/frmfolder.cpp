#include "ui/frmfolder.h"

#include "ui/uiutil.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace zm::ui {

namespace {

// File systems that are no place for data.
bool pseudoFileSystem(const QByteArray& type) {
    static const QList<QByteArray> pseudo = {"proc",   "sysfs",   "devtmpfs", "devpts", "cgroup", "cgroup2",
                                             "mqueue", "debugfs", "tracefs",  "securityfs", "pstore",
                                             "bpf",    "configfs", "fusectl", "hugetlbfs", "autofs",
                                             "binfmt_misc", "nsfs", "overlay", "squashfs", "efivarfs"};
    return pseudo.contains(type);
}

// The root of the listed drive that holds the folder (the longest matching root).
int driveIndexOf(const QStringList& roots, const QString& folder) {
    int best = 0;
    qsizetype bestLength = -1;
    const QString f = withTrailingSlash(folder);
    for (int i = 0; i < roots.size(); ++i) {
        const QString r = withTrailingSlash(roots[i]);
        if (f.startsWith(r) && r.size() > bestLength) {
            best = i;
            bestLength = r.size();
        }
    }
    return best;
}

}  // namespace

QStringList frmFOLDER::driveRoots() {
    QStringList roots;
    for (const QFileInfo& d : QDir::drives()) {
        roots << d.absoluteFilePath();
    }
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (!v.isValid() || pseudoFileSystem(v.fileSystemType()) || root.startsWith(QStringLiteral("/proc")) ||
            root.startsWith(QStringLiteral("/sys")) || root.startsWith(QStringLiteral("/dev")) ||
            root.startsWith(QStringLiteral("/run"))) {
            continue;
        }
        if (!roots.contains(root)) {
            roots << root;
        }
    }
    return roots;
}

frmFOLDER::frmFOLDER(AppContext& ctx, QLineEdit* target, const QString& startFolder, QWidget* parent)
    : QDialog(parent), ctx_(ctx), target_(target) {
    setObjectName(QStringLiteral("frmFOLDER"));
    setWindowTitle(QStringLiteral("フォルダの参照"));

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("Drive1"));
    drives_->addItems(driveRoots());

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setReadOnly(true);
    model_->setRootPath(QString());

    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("Dir1"));
    tree_->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) {
        tree_->hideColumn(c);
    }
    tree_->header()->hide();
    tree_->setSortingEnabled(true);
    tree_->sortByColumn(0, Qt::AscendingOrder);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);

    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("Command1"));
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel_->setObjectName(QStringLiteral("Command2"));
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(new QLabel(QStringLiteral("ドライブ:"), this));
    driveRow->addWidget(drives_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(driveRow);
    layout->addWidget(tree_, 1);
    layout->addWidget(new QLabel(QStringLiteral("選択されたフォルダ:"), this));
    layout->addWidget(text_);
    layout->addLayout(buttons);
    resize(460, 480);

    QString start = FolderFieldText(startFolder);
    if (start.isEmpty() || !FolderExists(start)) {
        start = FolderFieldText(ctx_.paths.AppPath);
    }
    const QStringList roots = driveRoots();
    currentDrive_ = driveIndexOf(roots, start);
    drives_->setCurrentIndex(currentDrive_);
    tree_->setRootIndex(model_->index(drives_->currentText()));
    showFolder(start);

    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { treeSelectionChanged(); });
    connect(drives_, &QComboBox::currentIndexChanged, this, &frmFOLDER::Drive1_Change);
    connect(text_, &QLineEdit::returnPressed, this, &frmFOLDER::Command1_Click);
    connect(ok_, &QPushButton::clicked, this, &frmFOLDER::Command1_Click);
    connect(cancel_, &QPushButton::clicked, this, &frmFOLDER::Command2_Click);
}

void frmFOLDER::showFolder(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (index.isValid()) {
        tree_->setCurrentIndex(index);
        tree_->scrollTo(index);
        tree_->expand(index);
    }
    text_->setText(QDir::toNativeSeparators(folder));
}

void frmFOLDER::treeSelectionChanged() {
    const QModelIndex index = tree_->currentIndex();
    if (index.isValid()) {
        text_->setText(model_->filePath(index));
    }
}

void frmFOLDER::Drive1_Change(int index) {
    const QString root = drives_->itemText(index);
    QDir dir(root);
    // Probe the drive: a root that cannot be listed is not ready.
    if (!dir.exists() || !QFileInfo(root).isReadable()) {
        ctx_.prompter.warning(QStringLiteral("ドライブ「%1」を読み取れません。").arg(root), kAppTitle);
        const QSignalBlocker block(drives_);
        drives_->setCurrentIndex(currentDrive_);
        return;
    }
    currentDrive_ = index;
    tree_->setRootIndex(model_->index(root));
    showFolder(root);
}

void frmFOLDER::Command1_Click() {
    QString t = text_->text().trimmed();
    if (t.isEmpty()) {
        ctx_.prompter.warning(QStringLiteral("フォルダ名が記載されていません。やり直してください。"), kAppTitle);
        retryField();
        return;
    }
    t = FolderFieldText(t);
    if (!FolderExists(t)) {
        ctx_.prompter.warning(QStringLiteral("記載したフォルダは存在しません！ 設定し直してください。"), kAppTitle);
        retryField();
        return;
    }
    if (target_) {
        target_->setText(t);
    }
    accept();
}

void frmFOLDER::Command2_Click() { reject(); }

void frmFOLDER::retryField() {
    activateWindow();
    text_->setFocus(Qt::OtherFocusReason);
    text_->selectAll();
}

}  // namespace zm::ui
