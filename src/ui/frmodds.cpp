#include "ui/frmodds.h"

#include "pat/pat_format.h"
#include "ui/table_items.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

// Body weights are written in full-width digits: they sort by the weight they name.
QTableWidgetItem* weightItem(const QString& text) {
    auto* item = numberItem(text.normalized(QString::NormalizationForm_KC));
    item->setText(text);
    return item;
}

void finishTable(QTableWidget* table) {
    table->resizeColumnsToContents();
    for (int c = 0; c < table->columnCount(); ++c) {
        table->setColumnWidth(c, std::max(table->columnWidth(c), 64) + 12);
    }
    table->setSortingEnabled(true);
}

}  // namespace

frmOdds::frmOdds(AppContext& ctx, const zm::PatFormat& format, const zm::PatRaceRef& race, const QString& title,
                 QWidget* parent)
    : QDialog(parent), ctx_(ctx), format_(format), race_(race) {
    setObjectName(u"frmOdds"_s);
    setWindowTitle(u"オッズ表示　"_s + title);

    auto* heading = new QLabel(title + u"　（"_s + format.title() + u"）"_s, this);
    heading->setObjectName(u"heading"_s);
    QFont bold = heading->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    heading->setFont(bold);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(u"oddsTabs"_s);
    horses_ = makeReadOnlyTable(tabs_, u"horseOdds"_s, {u"馬番"_s, u"単勝"_s, u"複勝"_s, u"馬体重"_s});
    brackets_ = makeReadOnlyTable(tabs_, u"bracketOdds"_s, {u"枠番"_s, u"枠連"_s});
    QStringList pairHeadings{u"馬番"_s, u"馬連"_s};
    if (format_.hasWideOdds()) {
        pairHeadings << u"ワイド下限"_s << u"ワイド上限"_s;
    }
    pairs_ = makeReadOnlyTable(tabs_, u"pairOdds"_s, pairHeadings);
    tabs_->addTab(horses_, u"単勝・複勝・馬体重"_s);
    tabs_->addTab(brackets_, u"枠連"_s);
    tabs_->addTab(pairs_, format_.hasWideOdds() ? u"馬連・ワイド"_s : u"馬連"_s);

    status_ = new QLabel(this);
    status_->setObjectName(u"status"_s);
    reload_ = new QPushButton(u"最新オッズ"_s, this);
    reload_->setObjectName(u"cmdReload"_s);
    reload_->setToolTip(u"ＰＡＴのファイルを読み直します"_s);
    reload_->setAutoDefault(false);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"cmdClose"_s);
    connect(reload_, &QPushButton::clicked, this, &frmOdds::Reload);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(reload_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    resize(sizeHint());
    Reload();
}

QSize frmOdds::sizeHint() const { return {560, 640}; }

void frmOdds::Reload() {
    fill(ReadLiveOdds(ctx_, format_, race_));
}

void frmOdds::fill(const LiveOdds& odds) {
    const QColor scratchedColor(0x99, 0x99, 0x99);
    for (QTableWidget* t : {horses_, brackets_, pairs_}) {
        t->setSortingEnabled(false);
        t->setRowCount(0);
    }

    for (int h = 1; h <= 18; ++h) {
        const auto i = static_cast<size_t>(h - 1);
        const QString& win = odds.winPlace.win[i];
        const QString& place = odds.winPlace.place[i];
        const QString& weight = odds.weights.weights[i];
        const bool noPlace = place.trimmed().isEmpty() || place.trimmed() == u"-";
        if (win.trimmed().isEmpty() && noPlace && weight.isEmpty()) {
            continue;  // an entry the race does not use
        }
        const int r = horses_->rowCount();
        horses_->insertRow(r);
        horses_->setItem(r, 0, numberItem(QString::number(h), Qt::AlignCenter));
        horses_->setItem(r, 1, numberItem(win));
        horses_->setItem(r, 2, numberItem(place, Qt::AlignCenter));
        horses_->setItem(r, 3, weightItem(weight));
        if (place == u"ﾄﾘｹｼ" || weight == u"取り消し") {
            for (int c = 0; c < horses_->columnCount(); ++c) {
                horses_->item(r, c)->setForeground(scratchedColor);
            }
        }
    }

    for (const zm::BracketOddsRow& b : odds.winPlace.brackets) {
        if (b.pair.trimmed().isEmpty()) {
            continue;
        }
        const int r = brackets_->rowCount();
        brackets_->insertRow(r);
        brackets_->setItem(r, 0, textItem(b.pair));
        brackets_->setItem(r, 1, numberItem(b.odds));
    }

    for (const zm::PairOddsRow& p : odds.pairs.pairs) {
        if (p.pair.trimmed().isEmpty()) {
            continue;
        }
        const int r = pairs_->rowCount();
        pairs_->insertRow(r);
        pairs_->setItem(r, 0, textItem(p.pair));
        pairs_->setItem(r, 1, numberItem(p.quinella));
        if (format_.hasWideOdds()) {
            pairs_->setItem(r, 2, numberItem(p.wideLow));
            pairs_->setItem(r, 3, numberItem(p.wideHigh));
        }
    }

    for (QTableWidget* t : {horses_, brackets_, pairs_}) {
        finishTable(t);
    }
    QStringList missing;
    if (!odds.winPlace.found) {
        missing << u"単勝・複勝・枠連"_s;
    }
    if (!odds.pairs.found) {
        missing << u"馬連"_s;
    }
    if (!odds.weights.found) {
        missing << u"馬体重"_s;
    }
    status_->setText(missing.isEmpty() ? QString() : missing.join(u'・') + u"のファイルがありません。"_s);
}

}  // namespace zm::ui
