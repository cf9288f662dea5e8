#include "ui/frmoutputfiles.h"

#include "card/detail_file.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {
const char16_t* const kCaptions[3] = {u"詳細ファイル", u"DUELテキスト (W)", u"MURテキスト"};
}  // namespace

frmOutputFiles::frmOutputFiles(const QString& outputDir, Prompter& prompter, QWidget* parent,
                               std::function<bool(const QString&)> opener)
    : QDialog(parent), dir_(outputDir), prompter_(prompter), opener_(std::move(opener)) {
    setObjectName(u"frmOutputFiles"_s);
    setWindowTitle(u"出力したテキストファイル"_s);
    if (!opener_)
        opener_ = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };

    auto* row = new QHBoxLayout;
    for (size_t k = 0; k < lists_.size(); ++k) {
        auto* box = new QGroupBox(QString::fromUtf16(kCaptions[k]), this);
        auto* boxLayout = new QVBoxLayout(box);
        lists_[k] = new QListWidget(box);
        lists_[k]->setObjectName(u"File"_s + QString::number(k + 1));
        boxLayout->addWidget(lists_[k]);
        row->addWidget(box);
        connect(lists_[k], &QListWidget::itemDoubleClicked, this, &frmOutputFiles::open);
        connect(lists_[k], &QListWidget::itemClicked, this, [this, k] {
            for (size_t j = 0; j < lists_.size(); ++j)
                if (j != k)
                    lists_[j]->clearSelection();
        });
    }
    open_ = new QPushButton(u"開く"_s, this);
    open_->setObjectName(u"Command1"_s);
    open_->setDefault(true);
    auto* close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"Command2"_s);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(open_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addLayout(buttons);
    connect(open_, &QPushButton::clicked, this, &frmOutputFiles::Command1_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    reload();
    resize(640, 320);
}

void frmOutputFiles::reload() {
    const zm::OutputTextFiles files = zm::ListOutputTextFiles(dir_);
    const std::array<const QStringList*, 3> names = {&files.detail, &files.duel, &files.mur};
    for (size_t k = 0; k < lists_.size(); ++k) {
        lists_[k]->clear();
        lists_[k]->addItems(*names[k]);
    }
}

void frmOutputFiles::Command1_Click() {
    for (QListWidget* l : lists_) {
        if (!l->selectedItems().isEmpty()) {
            open(l->selectedItems().first());
            return;
        }
    }
}

void frmOutputFiles::open(QListWidgetItem* item) {
    if (!item)
        return;
    const QString path = dir_ + item->text();
    if (!opener_(path))
        prompter_.warning(path + u" を開けませんでした。"_s, windowTitle());
}

}  // namespace zm::ui
