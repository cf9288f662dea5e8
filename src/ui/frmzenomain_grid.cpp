// The race card's grid: its runners' cells, the views that show some of its columns, the odds
// column's two modes and the win model's chance and expected-value columns.

#include "analysis/race_ev.h"
#include "codes/codetables.h"
#include "ui/frmzenomain.h"
#include "ui/live_odds.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

QColor toColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Light text on the dark bracket colours, dark text on the light ones.
QColor wakuTextColor(int waku) {
    return (waku == 2 || waku == 3 || waku == 4) ? QColor(Qt::white) : QColor(Qt::black);
}

Qt::Alignment cellAlignment(int c) {
    if (c == zm::ColName || c == zm::ColJockey || c == zm::ColTrainer)
        return Qt::AlignLeft | Qt::AlignVCenter;
    const bool figure = c == zm::ColIndex || (c >= zm::ColPastFigure1 && c < zm::ColPastFigure1 + 5) ||
                        c == zm::ColWinOdds || c >= zm::ColPastOdds1;
    return figure ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter;
}

QTableWidgetItem* cardItem(const zm::CardRow& row, const QString& text, int c) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(cellAlignment(c));
    if (c == zm::ColWaku) {
        item->setBackground(toColor(WakuColor(static_cast<std::int16_t>(row.waku))));
        item->setForeground(wakuTextColor(row.waku));
    } else if (c == zm::ColMark) {
        item->setForeground(QColor(0xC0, 0, 0));
    } else if (c == zm::ColIndex) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
    if (isScratched(row) && c != zm::ColWaku) {
        item->setForeground(QColor(0x99, 0x99, 0x99));
    }
    return item;
}

}  // namespace

QTableWidget* frmZenoMain::buildGrid(QWidget* page) {
    auto* grid = new QTableWidget(0, kGridColumns, page);
    grid->setObjectName(u"cardGrid"_s);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->setAlternatingRowColors(true);
    QFont gridFont = grid->font();
    gridFont.setPointSize(10);
    grid->setFont(gridFont);
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 6);
    grid->horizontalHeader()->setHighlightSections(false);
    // The chance and the expected value stand beside the win odds they are weighed with.
    QHeaderView* header = grid->horizontalHeader();
    header->moveSection(header->visualIndex(kColChance), zm::ColWinOdds + 1);
    header->moveSection(header->visualIndex(kColEv), zm::ColWinOdds + 2);
    grid->setColumnHidden(kColChance, true);
    grid->setColumnHidden(kColEv, true);
    grid->viewport()->installEventFilter(this);
    return grid;
}

QStringList frmZenoMain::gridHeadings() const {
    return zm::gridHeadings(placeOddsMode_) << zm::kChanceHeading << zm::kEvHeading;
}

void frmZenoMain::fillGrid() {
    grid_->clearContents();
    grid_->setRowCount(static_cast<int>(race_.rows.size()));
    grid_->setHorizontalHeaderLabels(gridHeadings());
    for (int r = 0; r < static_cast<int>(race_.rows.size()); ++r) {
        const zm::CardRow& row = race_.rows[static_cast<size_t>(r)];
        const QStringList cells = zm::gridCells(row, placeOddsMode_);
        for (int c = 0; c < cells.size(); ++c) {
            grid_->setItem(r, c, cardItem(row, cells[c], c));
        }
    }
    fillEvColumns();
    // Widths are measured with every column shown: a hidden column would keep a stale width
    // for the view that shows it next.
    for (int c = 0; c < kGridColumns; ++c) {
        grid_->setColumnHidden(c, false);
    }
    grid_->resizeColumnsToContents();
    for (int c = 0; c < kGridColumns; ++c) {
        grid_->setColumnWidth(c, std::max(grid_->columnWidth(c), 28) + 6);
    }
    grid_->setColumnWidth(zm::ColName, std::max(grid_->columnWidth(zm::ColName), 150));
    grid_->setColumnWidth(zm::ColOddsColumn, std::max(grid_->columnWidth(zm::ColOddsColumn), 84));
    for (int c = 0; c < kGridColumns; ++c) {
        baseWidths_[static_cast<size_t>(c)] = grid_->columnWidth(c);
    }
    applyCardView();
}

// The chance and the expected value of each runner while their columns are shown; without a
// usable model the columns stay empty and the line above the grid says why.
void frmZenoMain::fillEvColumns() {
    if (!evShown_) {
        evNote_->hide();
        return;
    }
    const zm::CardModel& model = models_.current(ctx_.paths);
    evNote_->setText(model.problem.isEmpty() ? QString() : zm::kChanceHeading + u"・"_s + zm::kEvHeading + u": "_s + model.problem);
    evNote_->setVisible(!model.model);
    if (!model.model) {
        return;
    }
    const std::vector<zm::RunnerEv> ev =
        zm::raceEv(*model.model, race_, zm::dayPredictedWinOdds(ctx_.paths.DataDir, race_.day, race_.venueCode, race_.raceNo));
    for (int r = 0; r < static_cast<int>(ev.size()); ++r) {
        const zm::RunnerEv& runner = ev[static_cast<size_t>(r)];
        const zm::CardRow& row = race_.rows[static_cast<size_t>(r)];
        for (const auto& [c, text] : {std::pair{kColChance, zm::chanceText(runner)}, std::pair{kColEv, zm::evText(runner)}}) {
            QTableWidgetItem* item = cardItem(row, text, c);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (runner.marked()) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
                item->setForeground(QColor(0xB0, 0x30, 0x00));
                item->setBackground(QColor(0xFF, 0xF0, 0xC8));
            }
            grid_->setItem(r, c, item);
        }
    }
}

void frmZenoMain::applyCardView() {
    const auto shown = zm::visibleColumns(static_cast<zm::CardViewState>(cardView_));
    for (int c = 0; c < zm::ColumnCount; ++c) {
        grid_->setColumnHidden(c, !shown[static_cast<size_t>(c)]);
    }
    grid_->setColumnHidden(kColChance, !evShown_);
    grid_->setColumnHidden(kColEv, !evShown_);
    spreadGridColumns();
}

void frmZenoMain::spreadGridColumns() {
    if (!haveRace_) {
        return;
    }
    // Room left of the measured widths goes to the name (three shares) and to each figure
    // column right of the index (one share each); a narrow window scrolls instead.
    int used = 0;
    int shares = 0;
    const auto grows = [](int c) {
        return c == zm::ColName ? 3 : (c >= zm::ColPastFigure1 && c < zm::ColumnCount) ? 1 : 0;
    };
    for (int c = 0; c < kGridColumns; ++c) {
        if (!grid_->isColumnHidden(c)) {
            used += baseWidths_[static_cast<size_t>(c)];
            shares += grows(c);
        }
    }
    const int room = grid_->viewport()->width() - used - 2;
    const int share = room > 0 && shares > 0 ? room / shares : 0;
    for (int c = 0; c < kGridColumns; ++c) {
        grid_->setColumnWidth(c, baseWidths_[static_cast<size_t>(c)] + share * grows(c));
    }
}

bool frmZenoMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) {
        spreadGridColumns();
    }
    return QWidget::eventFilter(watched, event);
}

void frmZenoMain::advanceCardView() {
    cardView_ = static_cast<int>(zm::nextCardView(static_cast<zm::CardViewState>(cardView_)));
    applyCardView();
}

void frmZenoMain::setOddsColumnMode(bool placeOdds) {
    placeOddsMode_ = placeOdds;
    placeOddsButton_->setChecked(placeOdds);
    bodyWeightButton_->setChecked(!placeOdds);
    if (haveRace_) {
        fillGrid();
    } else {
        grid_->setHorizontalHeaderLabels(gridHeadings());
    }
}

void frmZenoMain::setEvColumnsShown(bool shown) {
    evShown_ = shown;
    evButton_->setChecked(shown);
    if (haveRace_) {
        fillGrid();
    } else {
        applyCardView();
    }
}

}  // namespace zm::ui
