#include "ui/frmbacktest.h"

#include "analysis/backtest_tables.h"
#include "analysis/model_days.h"
#include "app/day_list.h"
#include "ui/charts.h"
#include "ui/frmprogres.h"
#include "ui/report_window.h"
#include "ui/table_items.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include <algorithm>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

// One colour per style, so that a style keeps its colour whichever others are ticked.
const std::array<QColor, zm::kStyleCount> kStyleColors = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
    QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf), QColor(0xbc, 0xbd, 0x22), QColor(0x7f, 0x7f, 0x7f)};
const QColor kMyBetsColor(0x30, 0x30, 0x30);
const QString kRateTitle = QStringLiteral("予想スタイル別の回収率");
const QString kBalanceTitle = QStringLiteral("累積収支の推移");
const QString kReliabilityTitle = QStringLiteral("勝率モデルの信頼性");

// The most days a note lists by date; the rest are counted.
constexpr int kListedDays = 8;

QString dayList(const QStringList& days) {
    QStringList shown;
    for (qsizetype i = 0; i < days.size() && i < kListedDays; ++i) {
        shown << slashedDay(days[i]);
    }
    QString text = shown.join(u' ');
    if (days.size() > kListedDays) {
        text += u" ほか"_s + QString::number(days.size() - kListedDays) + u"日"_s;
    }
    return text;
}

void fitColumns(QTableWidget* table) {
    table->resizeColumnsToContents();
    for (int c = 0; c < table->columnCount(); ++c) {
        table->setColumnWidth(c, std::max(table->columnWidth(c), 48) + 12);
    }
}

// A table as high as its heading and the given number of rows.
void showRows(QTableWidget* table, int rows) {
    const int height = table->horizontalHeader()->sizeHint().height() +
                       rows * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth() + 2;
    table->setMinimumHeight(height);
}

}  // namespace

frmBacktest::frmBacktest(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(u"frmBacktest"_s);
    setWindowTitle(u"予想スタイル別の成績"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    // The range: the predicted days there are, oldest to newest.
    const QStringList days = ListPredictedDays(ctx_.paths.DataDir);
    const QDate newest = days.isEmpty() ? QDate::currentDate() : dayDate(days.constFirst());
    const QDate oldest = days.isEmpty() ? newest : dayDate(days.constLast());
    from_ = makeRangeField(this, u"txtFrom"_s, oldest, ctx_.prompter);
    to_ = makeRangeField(this, u"txtTo"_s, newest, ctx_.prompter);
    execute_ = new QPushButton(u"実 行"_s, this);
    execute_->setObjectName(u"Command1"_s);
    execute_->setDefault(true);

    auto* styleGroup = new QGroupBox(u"予想スタイル"_s, this);
    styleGroup->setObjectName(u"fraStyle"_s);
    auto* styleGrid = new QGridLayout(styleGroup);
    styleGrid->setHorizontalSpacing(18);
    for (int s = 0; s < zm::kStyleCount; ++s) {
        auto* box = new QCheckBox(zm::styleFiguresName(s), styleGroup);
        box->setObjectName(u"chkStyle_%1"_s.arg(s));
        box->setChecked(true);
        styles_[static_cast<size_t>(s)] = box;
        styleGrid->addWidget(box, s / 5, s % 5);
    }
    styleGrid->setColumnStretch(5, 1);

    bar_ = new ProgressBarView(this);
    bar_->setObjectName(u"ProgressBar1"_s);
    bar_->setMinimumWidth(240);
    status_ = new QLabel(this);
    status_->setObjectName(u"lblStatus"_s);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(u"2026/12/05 を集計しています…"_s) + 8);
    sjis_ = new QCheckBox(u"Shift-JIS"_s, this);
    sjis_->setObjectName(u"chkSjis"_s);
    sjis_->setChecked(true);  // the program's other files are Shift-JIS, as spreadsheets there expect
    csv_ = makeButton(this, u"CSV出力"_s, u"Command2"_s);
    image_ = makeButton(this, u"画像保存"_s, u"Command3"_s);
    refit_ = makeButton(this, u"勝率モデルの推定"_s, u"Command5"_s);
    refit_->setToolTip(u"期間の予想と成績から勝率のモデルを推定し直します"_s);
    close_ = makeButton(this, u"閉じる"_s, u"Command4"_s);

    auto* layout = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(makeRangeGroup(this, from_, to_));
    choices->addWidget(styleGroup, 1);
    choices->addWidget(execute_, 0, Qt::AlignBottom);
    layout->addLayout(choices);
    layout->addWidget(buildResultArea(), 1);
    layout->addLayout(makeButtonRow(bar_, status_, {sjis_, csv_, image_, refit_}, close_));

    connect(execute_, &QPushButton::clicked, this, &frmBacktest::runBacktest);
    connect(csv_, &QPushButton::clicked, this, &frmBacktest::exportTables);
    connect(image_, &QPushButton::clicked, this, &frmBacktest::saveChartImages);
    connect(refit_, &QPushButton::clicked, this, &frmBacktest::refitModel);
    connect(close_, &QPushButton::clicked, this, &frmBacktest::closeWindow);

    clearReport();
    resize(sizeHint());
}

// The two tables side by side above, the two charts side by side below; the user moves the
// splitters.
QWidget* frmBacktest::buildResultArea() {
    auto* styleFrame = new QGroupBox(u"スタイル別の成績"_s);
    styleTable_ = makeReadOnlyTable(styleFrame, u"styleTable"_s, zm::styleSummaryTable({}).header);
    (new QVBoxLayout(styleFrame))->addWidget(styleTable_);
    auto* markFrame = new QGroupBox(u"印別の成績（◎○▲△×）"_s);
    markTable_ = makeReadOnlyTable(markFrame, u"markTable"_s, zm::markSummaryTable({}).header);
    (new QVBoxLayout(markFrame))->addWidget(markTable_);
    // Every style and the pending bets without scrolling.
    showRows(styleTable_, zm::kStyleCount + 1);
    showRows(markTable_, 5);
    fitColumns(styleTable_);
    fitColumns(markTable_);
    // Every column of both tables shows before the first run as after it.
    for (QTableWidget* t : {styleTable_, markTable_}) {
        t->setMinimumWidth(t->horizontalHeader()->length() + 2 * t->frameWidth() +
                           t->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    }
    tables_ = new QSplitter(Qt::Horizontal);
    tables_->setObjectName(u"splTables"_s);
    tables_->addWidget(styleFrame);
    tables_->addWidget(markFrame);
    tables_->setChildrenCollapsible(false);

    rateView_ = makeChartView(u"chartRate"_s, kRateTitle, nullptr);
    balanceView_ = makeChartView(u"chartBalance"_s, kBalanceTitle, nullptr);
    reliabilityView_ = makeChartView(u"chartReliability"_s, kReliabilityTitle, nullptr);
    reliabilityView_->setMinimumWidth(280);
    auto* charts = new QSplitter(Qt::Horizontal);
    charts->setObjectName(u"splCharts"_s);
    charts->addWidget(rateView_);
    charts->addWidget(balanceView_);
    charts->addWidget(reliabilityView_);
    charts->setStretchFactor(0, 5);
    charts->setStretchFactor(1, 6);
    charts->setStretchFactor(2, 4);
    charts->setChildrenCollapsible(false);

    auto* upper = new QWidget;
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->addWidget(tables_, 1);
    daysNote_ = new QLabel(upper);
    daysNote_->setObjectName(u"lblDays"_s);
    daysNote_->setWordWrap(true);
    daysNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    upperLayout->addWidget(daysNote_);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setObjectName(u"splMain"_s);
    split->addWidget(upper);
    split->addWidget(charts);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setChildrenCollapsible(false);
    return split;
}

QSize frmBacktest::sizeHint() const {
    // Every column of the table and both charts with their legends.
    return {1280, 860};
}

zm::BacktestOptions frmBacktest::options() const {
    zm::BacktestOptions o;
    o.from = from_->date().toString(u"yyyyMMdd"_s);
    o.to = to_->date().toString(u"yyyyMMdd"_s);
    for (int s = 0; s < zm::kStyleCount; ++s) {
        if (styles_[static_cast<size_t>(s)]->isChecked()) {
            o.styles.push_back(s);
        }
    }
    return o;
}

void frmBacktest::setLabel(const QString& text, int) {
    // The run names the day it reads; the export says what it does in its own words.
    const bool day = text.size() == 8 && dayDate(text).isValid();
    status_->setText(day ? slashedDay(text) + u" を集計しています…"_s : text);
    if (day) {
        emit dayShown(text);
    }
}

void frmBacktest::setPercent(double percent) {
    bar_->setPercent(percent);
}

void frmBacktest::setBusy(bool busy) {
    running_ = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, execute_, close_, sjis_, refit_}) {
        w->setEnabled(!busy);
    }
    for (QCheckBox* box : styles_) {
        box->setEnabled(!busy);
    }
    const bool haveReport = report_.has_value() && !busy;
    csv_->setEnabled(haveReport);
    image_->setEnabled(haveReport);
}

void frmBacktest::runBacktest() {
    if (running_) {
        return;
    }
    zm::BacktestOptions o = options();
    if (o.from > o.to) {
        ctx_.prompter.information(u"期間の開始日が終了日より後になっています。"_s);
        from_->setFocus();
        return;
    }
    if (o.styles.empty()) {
        ctx_.prompter.information(u"予想スタイルを一つ以上選んでください。"_s);
        styles_.front()->setFocus();
        return;
    }
    report_.reset();
    written_.clear();
    setBusy(true);
    bar_->setPercent(0);
    zm::BacktestReport report;
    Reliability checked;
    {
        BusyCursor busy;
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            report = zm::RunBacktest(run.paths, run.settings, o, run.progressSink());
            checked = modelReliability(run.paths, o.from, o.to);
        });
    }
    reliability_ = std::move(checked);
    status_->clear();
    if (report.daysTested.isEmpty() && report.daysWithoutPrediction.isEmpty()) {
        clearReport();
        daysNote_->setText(daysText(report));
        setBusy(false);
        ctx_.prompter.information(u"指定した期間には、予想と成績のそろった日がありません。"_s);
        from_->setFocus();
        return;
    }
    report_ = std::move(report);
    reportOptions_ = o;
    showReport();
    setBusy(false);
    execute_->setFocus();
}

void frmBacktest::clearReport() {
    styleTable_->setRowCount(0);
    markTable_->setRowCount(0);
    clearChart(rateView_->chart());
    clearChart(balanceView_->chart());
    reliability_ = {};
    showReliability();
    rateView_->chart()->setTitle(kRateTitle);
    balanceView_->chart()->setTitle(kBalanceTitle);
    rateView_->chart()->legend()->setVisible(false);
    balanceView_->chart()->legend()->setVisible(false);
    daysNote_->clear();
    bar_->setPercent(0);
    csv_->setEnabled(false);
    image_->setEnabled(false);
}

void frmBacktest::showReport() {
    const zm::BacktestReport& r = *report_;
    fillStyleTable(r);
    fillMarkTable(r);
    fillRateChart(r);
    fillBalanceChart(r);
    // The saved images carry the range they show.
    const QString period = u"（"_s + slashedDay(reportOptions_.from) + u"～"_s + slashedDay(reportOptions_.to) + u"）"_s;
    rateView_->chart()->setTitle(kRateTitle + period);
    balanceView_->chart()->setTitle(kBalanceTitle + period);
    showReliability();
    daysNote_->setText(daysText(r));
    // Each table as wide as its columns, as far as the window allows.
    const auto wanted = [](QTableWidget* table) {
        const int frame = table->parentWidget()->width() - table->width();
        return table->horizontalHeader()->length() + 2 * table->frameWidth() + frame;
    };
    tables_->setSizes({wanted(styleTable_), wanted(markTable_)});
}

void frmBacktest::fillStyleTable(const zm::BacktestReport& report) {
    const zm::Table table = zm::styleSummaryTable(report);
    const auto figs = zm::reportedFigures(report);
    styleTable_->setSortingEnabled(false);
    styleTable_->setRowCount(static_cast<int>(table.rows.size()));
    enum { Name = 0, Balance = 7, Rate = 8 };
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& cells = table.rows[r];
        const zm::Tally& t = figs[static_cast<size_t>(r)]->total;
        for (int c = 0; c < cells.size(); ++c) {
            QTableWidgetItem* item =
                c == Name ? textItem(cells[c], Qt::AlignLeft | Qt::AlignVCenter) : numberItem(cells[c]);
            if (c == Balance && t.balance() < 0) {
                item->setForeground(QColor(0xc0, 0, 0));
            }
            if (c == Rate && t.stake > 0 && t.recoveryRate() >= 100) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
                item->setForeground(QColor(0, 0, 0xff));
            }
            styleTable_->setItem(r, c, item);
        }
    }
    fitColumns(styleTable_);
    styleTable_->setSortingEnabled(true);
}

void frmBacktest::fillMarkTable(const zm::BacktestReport& report) {
    const zm::Table table = zm::markSummaryTable(report);
    markTable_->setSortingEnabled(false);
    markTable_->setRowCount(static_cast<int>(table.rows.size()));
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& cells = table.rows[r];
        for (int c = 0; c < cells.size(); ++c) {
            markTable_->setItem(r, c, c == 0 ? textItem(cells[c]) : numberItem(cells[c]));
        }
    }
    fitColumns(markTable_);
    markTable_->setSortingEnabled(true);
}

void frmBacktest::fillRateChart(const zm::BacktestReport& report) {
    std::vector<RateBar> rows;
    for (const zm::StyleFigures* f : zm::reportedFigures(report)) {
        rows.push_back({f->name, f->total.recoveryRate()});
    }
    fillRateBars(rateView_->chart(), rows);
}

void frmBacktest::fillBalanceChart(const zm::BacktestReport& report) {
    const auto figs = zm::reportedFigures(report);
    zm::BalanceCurves curves = zm::balanceCurves(report);
    std::vector<BalanceLine> lines;
    for (size_t i = 0; i < figs.size(); ++i) {
        const int style = figs[i]->style;
        const bool mine = style == zm::kMyBets;
        lines.push_back({figs[i]->name, mine ? kMyBetsColor : kStyleColors[static_cast<size_t>(style)], mine,
                         std::move(curves.balances[i])});
    }
    fillBalanceLines(balanceView_->chart(), curves.days, lines);
}

QString frmBacktest::daysText(const zm::BacktestReport& report) const {
    QStringList lines;
    QString tested = u"検証日数 "_s + QString::number(report.daysTested.size());
    if (!report.daysTested.isEmpty()) {
        tested += u"（"_s + slashedDay(report.daysTested.constFirst()) + u"～"_s + slashedDay(report.daysTested.constLast()) +
                  u"）"_s;
    }
    lines << tested;
    const struct {
        const char16_t* caption;
        const QStringList& days;
    } leftOut[] = {
        {u"成績なしで除外", report.daysWithoutResults},
        {u"成績のみで予想なし（保留ＢＥＴのみ判定）", report.daysWithoutPrediction},
        {u"予想オッズなし（Odds絞り込みを除外）", report.daysWithoutOdds},
    };
    for (const auto& l : leftOut) {
        if (!l.days.isEmpty()) {
            lines << QString::fromUtf16(l.caption) + u' ' + QString::number(l.days.size()) + u"日："_s +
                         dayList(l.days);
        }
    }
    if (!reliability_.note.isEmpty()) {
        lines << u"勝率モデル："_s + reliability_.note;
    }
    return lines.join(u'\n');
}

QString frmBacktest::chooseFile(const QString& caption, const QString& name, const QStringList& filters) {
    return chooseSaveFile(this, ctx_, saveFile_, caption, name, filters);
}

void frmBacktest::exportTables() {
    if (running_ || !report_) {
        return;
    }
    const QString file = chooseFile(u"CSV出力"_s, u"予想スタイル別の成績.csv"_s,
                                    {u"CSVファイル (*.csv *.CSV)"_s, u"すべてのファイル (*)"_s});
    if (file.isEmpty()) {
        return;
    }
    // The bet list is kept only for an export: the run is made once more with it, on the worker.
    zm::BacktestOptions o = reportOptions_;
    o.keepBets = true;
    const bool sjis = sjis_->isChecked();
    Status status;
    QStringList written;
    setBusy(true);
    bar_->setPercent(0);
    {
        BusyCursor busy;
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            const zm::BacktestReport full = zm::RunBacktest(run.paths, run.settings, o, run.progressSink());
            run.progressSink().setLabel(u"CSVファイルを書き出しています…"_s);
            status = zm::WriteBacktestCsv(full, file, sjis, &written, run.paths.DataDir);
        });
    }
    setBusy(false);
    written_ = written;
    if (!status) {
        status_->clear();
        showFailure(ctx_.prompter, status);
        return;
    }
    showWritten(status_, u"出力しました："_s, written.isEmpty() ? QStringList{file} : written);
}

void frmBacktest::saveChartImages() {
    if (running_ || !report_) {
        return;
    }
    const QString file = chooseFile(u"画像保存"_s, u"予想スタイル別の成績.png"_s,
                                    {u"PNG画像 (*.png *.PNG)"_s, u"すべてのファイル (*)"_s});
    if (file.isEmpty()) {
        return;
    }
    written_.clear();
    const struct {
        QChartView* view;
        QString suffix;
    } charts[] = {{rateView_, u"-recovery"_s}, {balanceView_, u"-balance"_s}, {reliabilityView_, u"-reliability"_s}};
    for (const auto& c : charts) {
        if (c.view->chart()->series().isEmpty()) {
            continue;  // no model: nothing to picture
        }
        const QString path = zm::tablePath(file, c.suffix);
        if (const Status saved = saveChartImage(c.view, path); !saved) {
            showFailure(ctx_.prompter, saved);
            return;
        }
        written_ << path;
    }
    showWritten(status_, u"保存しました："_s, written_);
}

frmBacktest::Reliability frmBacktest::modelReliability(const AppPaths& paths, const QString& from, const QString& to) {
    const QString path = zm::modelPath(paths);
    if (!QFileInfo::exists(path)) {
        return {std::nullopt, u"まだありません（「勝率モデルの推定」で作れます）"_s};
    }
    const Result<zm::StoredModel> stored = zm::loadModel(path);
    if (!stored) {
        return {std::nullopt, stored.message()};
    }
    const zm::ModelDays data = zm::modelDays(paths, from, to);
    int learned = 0;
    for (const QString& day : data.days) {
        learned += stored->days.contains(day) ? 1 : 0;
    }
    QString note = u"%1～%2 の %3日で推定、この期間の %4日・%5レースで検証（うち推定に使った日 %6日）"_s
                       .arg(slashedDay(stored->from), slashedDay(stored->to))
                       .arg(stored->days.size())
                       .arg(data.days.size())
                       .arg(data.races.size())
                       .arg(learned);
    if (data.races.empty()) {
        return {std::nullopt, note};
    }
    return {zm::reliability(stored->model, data.races), note};
}

void frmBacktest::showReliability() {
    QChart* chart = reliabilityView_->chart();
    if (!reliability_.bands) {
        clearChart(chart);
        chart->setTitle(kReliabilityTitle);
        return;
    }
    fillReliabilityChart(chart, *reliability_.bands);
    const zm::BacktestOptions o = options();
    // The range on a line of its own: the chart is the narrowest of the three.
    chart->setTitle(kReliabilityTitle + u"<br>（"_s + slashedDay(o.from) + u"～"_s + slashedDay(o.to) + u"）"_s);
}

void frmBacktest::refitModel() {
    if (running_) {
        return;
    }
    const zm::BacktestOptions o = options();
    if (o.from > o.to) {
        ctx_.prompter.information(u"期間の開始日が終了日より後になっています。"_s);
        from_->setFocus();
        return;
    }
    setBusy(true);
    bar_->setPercent(0);
    Result<zm::StoredModel> fitted = Status::failure(QString());
    Status saved;
    Reliability checked;
    {
        BusyCursor busy;
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            run.progressSink().setLabel(u"勝率モデルを推定しています…"_s);
            fitted = zm::fitModel(run.paths, o.from, o.to);
            if (fitted) {
                saved = zm::saveModel(zm::modelPath(run.paths), *fitted);
                checked = modelReliability(run.paths, o.from, o.to);
            }
        });
    }
    setBusy(false);
    status_->clear();
    // Too few days fit nothing: the chart shows no model rather than the old one.
    if (!showFailure(ctx_.prompter, fitted.status()) || !showFailure(ctx_.prompter, saved)) {
        reliability_ = {};
        showReliability();
        return;
    }
    reliability_ = std::move(checked);
    showReliability();
    daysNote_->setText(report_ ? daysText(*report_) : u"勝率モデル："_s + reliability_.note);
    status_->setText(u"勝率モデルを %1日、%2レースで推定しました"_s.arg(fitted->days.size()).arg(fitted->model.races));
}

void frmBacktest::closeWindow() {
    close();
}

void frmBacktest::closeEvent(QCloseEvent* event) {
    // A run cannot be stopped halfway: the window stays until it has ended.
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmBacktest::reject() {
    if (!running_) {
        QDialog::reject();
    }
}

}  // namespace zm::ui
