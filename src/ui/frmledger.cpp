#include "ui/frmledger.h"

#include "analysis/backtest_tables.h"
#include "analysis/ledger_days.h"
#include "app/safe_save.h"
#include "codes/sjis.h"
#include "ui/charts.h"
#include "ui/frmprogres.h"
#include "ui/table_items.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kMonthTitle = QStringLiteral("月別収支");
const QString kBalanceTitle = QStringLiteral("累積収支とドローダウン");

// The groupings in the order of the choice box.
const struct {
    const char16_t* caption;
    zm::LedgerGrouping grouping;
} kGroupings[] = {
    {u"日別", zm::LedgerGrouping::Day},       {u"月別", zm::LedgerGrouping::Month},
    {u"年別", zm::LedgerGrouping::Year},      {u"競馬場別", zm::LedgerGrouping::Venue},
    {u"券種別", zm::LedgerGrouping::Type},    {u"予想スタイル別", zm::LedgerGrouping::Style},
};

// The days the range starts on: those the ledger holds and those whose files it is made from,
// oldest first.
QStringList rangeDays(const AppPaths& paths) {
    QStringList days = zm::ledgerSourceDays(paths);
    if (QFileInfo::exists(zm::ledgerPath(paths))) {
        auto ledger = zm::Ledger::open(zm::ledgerPath(paths));
        if (const auto held = ledger ? ledger.value()->days() : Result<QStringList>(QStringList()); held) {
            days += *held;
            days.sort();
        }
    }
    return days;
}

}  // namespace

frmLedger::frmLedger(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(u"frmLedger"_s);
    setWindowTitle(u"収支管理"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    const QStringList days = rangeDays(ctx_.paths);
    const QDate newest = days.isEmpty() ? QDate::currentDate() : dayDate(days.constLast());
    const QDate oldest = days.isEmpty() ? newest : dayDate(days.constFirst());
    from_ = makeRangeField(this, u"txtFrom"_s, oldest, ctx_.prompter);
    to_ = makeRangeField(this, u"txtTo"_s, newest, ctx_.prompter);
    grouping_ = new QComboBox(this);
    grouping_->setObjectName(u"cboGrouping"_s);
    for (const auto& g : kGroupings) {
        grouping_->addItem(QString::fromUtf16(g.caption));
    }
    grouping_->setCurrentIndex(1);
    auto* groupingGroup = new QGroupBox(u"集計"_s, this);
    (new QHBoxLayout(groupingGroup))->addWidget(grouping_);

    show_ = makeButton(this, u"表 示"_s, u"Command1"_s);
    show_->setDefault(true);
    update_ = makeButton(this, u"台帳を更新"_s, u"Command6"_s);
    update_->setToolTip(u"期間の日の成績・投票履歴・保留ＢＥＴを台帳に取り込みます"_s);
    auto* choices = new QHBoxLayout;
    choices->addWidget(makeRangeGroup(this, from_, to_));
    choices->addWidget(groupingGroup);
    choices->addStretch(1);
    choices->addWidget(show_, 0, Qt::AlignBottom);
    choices->addWidget(update_, 0, Qt::AlignBottom);

    bar_ = new ProgressBarView(this);
    bar_->setObjectName(u"ProgressBar1"_s);
    bar_->setMinimumWidth(200);
    status_ = new QLabel(this);
    status_->setObjectName(u"lblStatus"_s);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(u"2026/12/05 を台帳に取り込んでいます…"_s) + 8);
    sjis_ = new QCheckBox(u"Shift-JIS"_s, this);
    sjis_->setObjectName(u"chkSjis"_s);
    sjis_->setChecked(true);  // the program's other files are Shift-JIS, as spreadsheets there expect
    csv_ = makeButton(this, u"CSV出力"_s, u"Command2"_s);
    image_ = makeButton(this, u"画像保存"_s, u"Command3"_s);
    close_ = makeButton(this, u"閉じる"_s, u"Command4"_s);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(buildResultArea(), 1);
    layout->addLayout(makeButtonRow(bar_, status_, {sjis_, csv_, image_}, close_));

    connect(show_, &QPushButton::clicked, this, &frmLedger::showLedger);
    connect(update_, &QPushButton::clicked, this, &frmLedger::updateDays);
    connect(csv_, &QPushButton::clicked, this, &frmLedger::exportCsv);
    connect(image_, &QPushButton::clicked, this, &frmLedger::saveChartImages);
    connect(close_, &QPushButton::clicked, this, &frmLedger::closeWindow);
    // Another grouping of the bets already read needs no second reading.
    connect(grouping_, &QComboBox::currentIndexChanged, this, [this] {
        if (report_ && !running_) {
            fillReport();
        }
    });

    clearReport();
    resize(sizeHint());
    // A ledger there is shown at once; without one the window says how to make it.
    if (QFileInfo::exists(zm::ledgerPath(ctx_.paths))) {
        showLedger();
    } else {
        status_->setText(u"台帳はまだありません。「台帳を更新」で作れます。"_s);
    }
}

// The table above, the two charts side by side below; the user moves the splitters.
QWidget* frmLedger::buildResultArea() {
    table_ = makeReadOnlyTable(this, u"ledgerTable"_s, zm::ledgerTable({}).header);
    monthView_ = makeChartView(u"chartMonth"_s, kMonthTitle, nullptr);
    balanceView_ = makeChartView(u"chartBalance"_s, kBalanceTitle, nullptr);
    auto* charts = new QSplitter(Qt::Horizontal);
    charts->addWidget(monthView_);
    charts->addWidget(balanceView_);
    charts->setChildrenCollapsible(false);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(u"splMain"_s);
    split->addWidget(table_);
    split->addWidget(charts);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 2);
    split->setSizes({220, 480});
    split->setChildrenCollapsible(false);

    return split;
}

QSize frmLedger::sizeHint() const {
    return {1100, 800};
}

zm::LedgerGrouping frmLedger::grouping() const {
    return kGroupings[std::clamp(grouping_->currentIndex(), 0, int(std::size(kGroupings)) - 1)].grouping;
}

QString frmLedger::fromDay() const {
    return from_->date().toString(u"yyyyMMdd"_s);
}

QString frmLedger::toDay() const {
    return to_->date().toString(u"yyyyMMdd"_s);
}

bool frmLedger::rangeChecked() {
    if (fromDay() > toDay()) {
        ctx_.prompter.information(u"期間の開始日が終了日より後になっています。"_s);
        from_->setFocus();
        return false;
    }
    return true;
}

void frmLedger::setLabel(const QString& text, int) {
    const bool day = text.size() == 8 && dayDate(text).isValid();
    status_->setText(day ? slashedDay(text) + u" を台帳に取り込んでいます…"_s : text);
    if (day) {
        emit dayShown(text);
    }
}

void frmLedger::setPercent(double percent) {
    bar_->setPercent(percent);
}

void frmLedger::setBusy(bool busy) {
    running_ = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, grouping_, show_, update_, close_, sjis_}) {
        w->setEnabled(!busy);
    }
    const bool haveReport = report_.has_value() && !busy;
    csv_->setEnabled(haveReport);
    image_->setEnabled(haveReport);
}

void frmLedger::showLedger() {
    if (running_ || !rangeChecked()) {
        return;
    }
    written_.clear();
    auto ledger = zm::Ledger::open(zm::ledgerPath(ctx_.paths));
    if (!showFailure(ctx_.prompter, ledger.status())) {
        clearReport();
        return;
    }
    auto bets = ledger.value()->bets(fromDay(), toDay());
    if (!showFailure(ctx_.prompter, bets.status())) {
        clearReport();
        return;
    }
    bets_ = std::move(bets.value());
    shownFrom_ = fromDay();
    shownTo_ = toDay();
    fillReport();
    status_->setText(bets_.empty() ? u"期間の台帳に馬券がありません。「台帳を更新」で取り込めます。"_s
                                   : u"%1件の馬券を集計しました"_s.arg(bets_.size()));
    setBusy(false);
}

void frmLedger::updateDays() {
    if (running_ || !rangeChecked()) {
        return;
    }
    const QString from = fromDay();
    const QString to = toDay();
    Result<zm::LedgerUpdate> update = Status::failure(QString());
    int dayCount = 0;
    setBusy(true);
    bar_->setPercent(0);
    {
        BusyCursor busy;
        // The ledger's connection belongs to the thread that opens it: the run opens its own.
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            auto ledger = zm::Ledger::open(zm::ledgerPath(run.paths));
            if (!ledger) {
                update = ledger.status();
                return;
            }
            const QStringList days = zm::ledgerSourceDays(run.paths, from, to);
            dayCount = int(days.size());
            update = zm::updateLedger(run, *ledger.value(), days, &run.progressSink());
        });
    }
    setBusy(false);
    status_->clear();
    if (!showFailure(ctx_.prompter, update.status())) {
        return;
    }
    if (!update->failures.isEmpty()) {
        showFailure(ctx_.prompter, Status::warning(update->failures.join(u'\n')));
    }
    showLedger();
    status_->setText(u"%1日を取り込みました（追加 %2、更新 %3、変更なし %4）"_s.arg(dayCount)
                         .arg(update->added)
                         .arg(update->replaced)
                         .arg(update->unchanged));
}

void frmLedger::clearReport() {
    report_.reset();
    bets_.clear();
    table_->setRowCount(0);
    clearChart(monthView_->chart());
    clearChart(balanceView_->chart());
    monthView_->chart()->setTitle(kMonthTitle);
    balanceView_->chart()->setTitle(kBalanceTitle);
    bar_->setPercent(0);
    setBusy(false);
}

void frmLedger::fillReport() {
    report_ = zm::ledgerReport(bets_, grouping());
    fillTable();
    fillCharts();
}

void frmLedger::fillTable() {
    const zm::Table table = zm::ledgerTable(*report_);
    table_->setSortingEnabled(false);
    table_->setRowCount(int(table.rows.size()));
    const qsizetype balanceColumn = table.header.indexOf(u"収支"_s);
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& cells = table.rows[r];
        const bool total = r == table.rows.size() - 1;
        const zm::LedgerFigures& f = total ? report_->total : report_->groups[size_t(r)];
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item = c == 0 ? textItem(cells[c]) : numberItem(cells[c]);
            if (c == balanceColumn && f.balance().value() < 0) {
                item->setForeground(QColor(0xc0, 0, 0));
            }
            if (total) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
}

// The charts follow the range whatever the grouping: a bar a month, a point a bet.
void frmLedger::fillCharts() {
    const QString period = u"（"_s + slashedDay(shownFrom_) + u"～"_s + slashedDay(shownTo_) + u"）"_s;
    monthView_->chart()->setTitle(kMonthTitle + period);
    balanceView_->chart()->setTitle(kBalanceTitle + period);
    QStringList months;
    std::vector<double> monthly;
    for (const zm::LedgerFigures& f : zm::ledgerReport(bets_, zm::LedgerGrouping::Month).groups) {
        months << f.key;
        monthly.push_back(double(f.balance().value()));
    }
    fillMonthlyBars(monthView_->chart(), months, monthly);
    QStringList days;
    std::vector<std::vector<double>> balances;
    for (const zm::LedgerDayBalances& d : zm::ledgerRunningBalance(bets_)) {
        days << d.day;
        auto& day = balances.emplace_back();
        for (const Amount& a : d.balances) {
            day.push_back(double(a.value()));
        }
    }
    fillBalanceWithDrawdown(balanceView_->chart(), days, balances);
}

void frmLedger::exportCsv() {
    if (running_ || !report_) {
        return;
    }
    const QString file = chooseSaveFile(this, ctx_, saveFile_, u"CSV出力"_s, u"収支.csv"_s,
                                        {u"CSVファイル (*.csv *.CSV)"_s, u"すべてのファイル (*)"_s});
    if (file.isEmpty()) {
        return;
    }
    const QString text = zm::csvText(zm::ledgerTable(*report_));
    if (!showFailure(ctx_.prompter, SafeSave::save(file, sjis_->isChecked() ? toSjis(text) : text.toUtf8()))) {
        return;
    }
    written_ = QStringList{file};
    showWritten(status_, u"出力しました："_s, written_);
}

void frmLedger::saveChartImages() {
    if (running_ || !report_) {
        return;
    }
    const QString file = chooseSaveFile(this, ctx_, saveFile_, u"画像保存"_s, u"収支.png"_s,
                                        {u"PNG画像 (*.png *.PNG)"_s, u"すべてのファイル (*)"_s});
    if (file.isEmpty()) {
        return;
    }
    written_.clear();
    const std::pair<QChartView*, QString> charts[] = {{monthView_, u"-month"_s}, {balanceView_, u"-balance"_s}};
    for (const auto& [view, suffix] : charts) {
        const QString path = zm::tablePath(file, suffix);
        if (!showFailure(ctx_.prompter, saveChartImage(view, path))) {
            return;
        }
        written_ << path;
    }
    showWritten(status_, u"保存しました："_s, written_);
}

void frmLedger::closeWindow() {
    close();
}

void frmLedger::closeEvent(QCloseEvent* event) {
    // An update cannot be stopped halfway: the window stays until it has ended.
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmLedger::reject() {
    if (!running_) {
        QDialog::reject();
    }
}

}  // namespace zm::ui
