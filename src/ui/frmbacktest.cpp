#include "ui/frmbacktest.h"

#include "analysis/backtest_tables.h"
#include "app/day_list.h"
#include "app/safe_save.h"
#include "ui/frmprogres.h"
#include "ui/table_items.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QKeyEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QStyle>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

// One colour per style, so that a style keeps its colour whichever others are ticked.
const std::array<QColor, zm::kStyleCount> kStyleColors = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
    QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2), QColor(0x17, 0xbe, 0xcf), QColor(0xbc, 0xbd, 0x22), QColor(0x7f, 0x7f, 0x7f)};
const QColor kMyBetsColor(0x30, 0x30, 0x30);
const QColor kBarColor(0x3a, 0x6e, 0xb5);
const QColor kEvenColor(0xd0, 0x20, 0x20);

const QString kRateTitle = QStringLiteral("予想スタイル別の回収率");
const QString kBalanceTitle = QStringLiteral("累積収支の推移");

// The most days a note lists by date; the rest are counted.
constexpr int kListedDays = 8;

QString slashed(const QString& day) {
    return day.size() == 8 ? day.left(4) + u'/' + day.mid(4, 2) + u'/' + day.mid(6, 2) : day;
}

QDate dateOf(const QString& day) {
    return QDate::fromString(day, u"yyyyMMdd"_s);
}

QString dayList(const QStringList& days) {
    QStringList shown;
    for (qsizetype i = 0; i < days.size() && i < kListedDays; ++i) {
        shown << slashed(days[i]);
    }
    QString text = shown.join(u' ');
    if (days.size() > kListedDays) {
        text += u" ほか"_s + QString::number(days.size() - kListedDays) + u"日"_s;
    }
    return text;
}

// A round top for the rate axis with room for the bar labels; 100% is always on the axis.
std::pair<double, double> rateScale(double highest) {
    const double wanted = std::max(150.0, highest * 1.2);
    double step = 25;
    for (double s : {25.0, 50.0, 100.0, 200.0, 250.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0}) {
        step = s;
        if (wanted / s <= 8) {
            break;
        }
    }
    return {std::ceil(wanted / step) * step, step};
}

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

// Axis labels and legends a size smaller than the window's text, so that ten styles fit.
QFont chartFont() {
    QFont f = QApplication::font();
    f.setPointSizeF(std::max(7.0, f.pointSizeF() - 1));
    return f;
}

void smallLabels(QAbstractAxis* axis) {
    axis->setLabelsFont(chartFont());
    QFont title = chartFont();
    title.setBold(true);
    axis->setTitleFont(title);
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

QChartView* makeChartView(const QString& name, const QString& title, QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(title);
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 1);
    chart->setTitleFont(titleFont);
    chart->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    chart->setMargins(QMargins(4, 4, 4, 4));
    // A plain white picture, on the screen and in the saved image alike.
    chart->setBackgroundRoundness(0);
    chart->legend()->setVisible(false);
    chart->legend()->setFont(chartFont());
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setBackgroundBrush(Qt::white);
    view->setMinimumSize(360, 260);
    return view;
}

// A date field that refuses a digit which would make no date (a 30 typed into February's day
// gives no date, where the field itself would keep the 3 and drop the 0 without a word): the
// date the field had when it took the focus comes back and a message says what is valid.
class DateTypingGuard : public QObject {
public:
    DateTypingGuard(QDateEdit* field, Prompter& prompter) : QObject(field), field_(field), prompter_(prompter) {
        field->installEventFilter(this);
        start_ = field->date();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != field_) {
            return false;
        }
        if (event->type() == QEvent::FocusIn) {
            start_ = field_->date();
            return false;
        }
        if (event->type() != QEvent::KeyPress || busy_) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() != 1 || !key->text().at(0).isDigit()) {
            return false;
        }
        const QString before = field_->text();
        busy_ = true;
        QCoreApplication::sendEvent(field_, event);
        busy_ = false;
        if (field_->text() == before) {
            field_->setDate(start_);
            prompter_.warning(u"その日付はありません。"_s + u"\r\n期間は1991/01/01～2099/12/31の実在する日付で"_s +
                              u"入力してください。"_s);
            field_->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }

private:
    QDateEdit* field_;
    Prompter& prompter_;
    QDate start_;
    bool busy_ = false;
};

}  // namespace

frmBacktest::frmBacktest(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(u"frmBacktest"_s);
    setWindowTitle(u"予想スタイル別の成績"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    // The range: the predicted days there are, oldest to newest.
    const QStringList days = ListPredictedDays(ctx_.paths.DataDir);
    const QDate newest = days.isEmpty() ? QDate::currentDate() : dateOf(days.constFirst());
    const QDate oldest = days.isEmpty() ? newest : dateOf(days.constLast());
    auto dateField = [this](const QString& name, const QDate& date) {
        auto* field = new QDateEdit(date, this);
        field->setObjectName(name);
        field->setDisplayFormat(u"yyyy/MM/dd"_s);
        field->setCalendarPopup(true);
        field->setDateRange(QDate(1991, 1, 1), QDate(2099, 12, 31));
        return field;
    };
    from_ = dateField(u"txtFrom"_s, oldest);
    to_ = dateField(u"txtTo"_s, newest);
    new DateTypingGuard(from_, ctx_.prompter);
    new DateTypingGuard(to_, ctx_.prompter);
    execute_ = new QPushButton(u"実 行"_s, this);
    execute_->setObjectName(u"Command1"_s);
    execute_->setDefault(true);

    auto* rangeGroup = new QGroupBox(u"期間"_s, this);
    rangeGroup->setObjectName(u"fraRange"_s);
    auto* range = new QHBoxLayout(rangeGroup);
    range->addWidget(from_);
    range->addWidget(new QLabel(u"～"_s, rangeGroup));
    range->addWidget(to_);

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
    status_ = new QLabel(this);
    status_->setObjectName(u"lblStatus"_s);
    status_->setMinimumWidth(status_->fontMetrics().horizontalAdvance(u"2026/12/05 を集計しています…"_s) + 8);
    bar_->setMinimumWidth(240);

    sjis_ = new QCheckBox(u"Shift-JIS"_s, this);
    sjis_->setObjectName(u"chkSjis"_s);
    sjis_->setChecked(true);  // the program's other files are Shift-JIS, as spreadsheets there expect
    csv_ = new QPushButton(u"CSV出力"_s, this);
    csv_->setObjectName(u"Command2"_s);
    csv_->setAutoDefault(false);
    image_ = new QPushButton(u"画像保存"_s, this);
    image_->setObjectName(u"Command3"_s);
    image_->setAutoDefault(false);
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"Command4"_s);
    close_->setAutoDefault(false);
    // The progress of a run shares the row of the buttons, which are off while it runs.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bar_, 1);
    buttons->addWidget(status_, 1);
    buttons->addSpacing(16);
    buttons->addWidget(sjis_);
    buttons->addWidget(csv_);
    buttons->addWidget(image_);
    buttons->addSpacing(16);
    buttons->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    choices->addWidget(rangeGroup);
    choices->addWidget(styleGroup, 1);
    choices->addWidget(execute_, 0, Qt::AlignBottom);
    layout->addLayout(choices);
    layout->addWidget(buildResultArea(), 1);
    layout->addLayout(buttons);

    connect(execute_, &QPushButton::clicked, this, &frmBacktest::runBacktest);
    connect(csv_, &QPushButton::clicked, this, &frmBacktest::exportTables);
    connect(image_, &QPushButton::clicked, this, &frmBacktest::saveChartImages);
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
    auto* charts = new QSplitter(Qt::Horizontal);
    charts->setObjectName(u"splCharts"_s);
    charts->addWidget(rateView_);
    charts->addWidget(balanceView_);
    charts->setStretchFactor(0, 2);
    charts->setStretchFactor(1, 3);
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
    return {1180, 860};
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
    const bool day = text.size() == 8 && dateOf(text).isValid();
    status_->setText(day ? slashed(text) + u" を集計しています…"_s : text);
    if (day) {
        emit dayShown(text);
    }
}

void frmBacktest::setPercent(double percent) {
    bar_->setPercent(percent);
}

void frmBacktest::setBusy(bool busy) {
    running_ = busy;
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, execute_, close_, sjis_}) {
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
    {
        BusyCursor busy;
        RunOnWorker(ctx_, this, [&](AppContext& run) {
            report = zm::RunBacktest(run.paths, run.settings, o, run.progressSink());
        });
    }
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
    const QString period = u"（"_s + slashed(reportOptions_.from) + u"～"_s + slashed(reportOptions_.to) + u"）"_s;
    rateView_->chart()->setTitle(kRateTitle + period);
    balanceView_->chart()->setTitle(kBalanceTitle + period);
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
    QChart* chart = rateView_->chart();
    clearChart(chart);
    const auto figs = zm::reportedFigures(report);

    // A category axis runs upwards: the rows go in last first, so the chart reads top down like
    // the table.
    auto* set = new QBarSet(u"回収率"_s);
    set->setColor(kBarColor);
    set->setBorderColor(kBarColor.darker(130));
    set->setLabelColor(Qt::black);
    QStringList names;
    double highest = 0;
    for (auto it = figs.rbegin(); it != figs.rend(); ++it) {
        const double rate = std::round((*it)->total.recoveryRate() * 10.0) / 10.0;
        names << (*it)->name;
        *set << rate;
        highest = std::max(highest, rate);
    }
    auto* bars = new QHorizontalBarSeries;
    bars->setObjectName(u"rateBars"_s);
    bars->append(set);
    bars->setBarWidth(0.7);
    bars->setLabelsVisible(true);
    bars->setLabelsFormat(u"@value%"_s);
    bars->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    set->setLabelFont(chartFont());
    chart->addSeries(bars);

    const auto [top, step] = rateScale(highest);
    auto* rates = new QValueAxis;
    rates->setRange(0, top);
    rates->setTickType(QValueAxis::TicksDynamic);
    rates->setTickAnchor(0);
    rates->setTickInterval(step);
    rates->setLabelFormat(u"%d%%"_s);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    smallLabels(rates);
    smallLabels(categories);
    // A name is shown whole even where its row is lower than the label's frame.
    categories->setTruncateLabels(false);
    chart->addAxis(rates, Qt::AlignBottom);
    chart->addAxis(categories, Qt::AlignLeft);
    bars->attachAxis(rates);
    bars->attachAxis(categories);

    // 100%: where a style gets back what it staked. The line spans the plot on an axis of its
    // own that is not drawn.
    auto* even = new QLineSeries;
    even->setObjectName(u"evenLine"_s);
    even->setName(u"回収率100%"_s);
    even->append(100, 0);
    even->append(100, 1);
    QPen pen(kEvenColor);
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    even->setPen(pen);
    chart->addSeries(even);
    auto* span = new QValueAxis;
    span->setRange(0, 1);
    span->setVisible(false);
    chart->addAxis(span, Qt::AlignRight);
    even->attachAxis(rates);
    even->attachAxis(span);

    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

void frmBacktest::fillBalanceChart(const zm::BacktestReport& report) {
    QChart* chart = balanceView_->chart();
    clearChart(chart);
    const auto figs = zm::reportedFigures(report);
    const zm::BalanceCurves curves = zm::balanceCurves(report);
    if (curves.days.isEmpty()) {
        return;
    }
    std::vector<qint64> xs;
    for (const QString& day : curves.days) {
        xs.push_back(QDateTime(dateOf(day), QTime(12, 0)).toMSecsSinceEpoch());
    }
    const bool points = curves.days.size() <= 60;

    auto* dates = new QDateTimeAxis;
    auto* yen = new QValueAxis;
    smallLabels(dates);
    smallLabels(yen);
    chart->addAxis(dates, Qt::AlignBottom);
    chart->addAxis(yen, Qt::AlignLeft);

    // The zero line first, so that the styles are drawn over it; it has no legend entry.
    auto* zero = new QLineSeries;
    zero->setObjectName(u"zeroLine"_s);
    QPen zeroPen(QColor(0x90, 0x90, 0x90));
    zeroPen.setStyle(Qt::DashLine);
    zero->setPen(zeroPen);
    chart->addSeries(zero);
    zero->attachAxis(dates);
    zero->attachAxis(yen);

    double low = 0;
    double high = 0;
    for (size_t i = 0; i < figs.size(); ++i) {
        auto* line = new QLineSeries;
        line->setName(figs[i]->name);
        const std::vector<double>& balances = curves.balances[i];
        for (size_t d = 0; d < balances.size(); ++d) {
            line->append(static_cast<qreal>(xs[d]), balances[d]);
            low = std::min(low, balances[d]);
            high = std::max(high, balances[d]);
        }
        const int style = figs[i]->style;
        QPen pen(style == zm::kMyBets ? kMyBetsColor : kStyleColors[static_cast<size_t>(style)]);
        pen.setWidth(2);
        if (style == zm::kMyBets) {
            pen.setStyle(Qt::DashLine);
        }
        line->setPen(pen);
        line->setColor(pen.color());
        line->setPointsVisible(points);
        chart->addSeries(line);
        line->attachAxis(dates);
        line->attachAxis(yen);
    }

    // One day alone still gets a span to sit in; the ends keep half a day clear of the frame.
    const qint64 halfDay = 12LL * 3600 * 1000;
    const qint64 first = xs.front() - (xs.size() == 1 ? 4 * halfDay : halfDay);
    const qint64 last = xs.back() + (xs.size() == 1 ? 4 * halfDay : halfDay);
    zero->append(static_cast<qreal>(first), 0);
    zero->append(static_cast<qreal>(last), 0);
    dates->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(last));
    const bool oneYear = dateOf(curves.days.constFirst()).year() == dateOf(curves.days.constLast()).year();
    dates->setFormat(oneYear ? u"MM/dd"_s : u"yy/MM/dd"_s);
    dates->setTickCount(static_cast<int>(std::clamp<qsizetype>(curves.days.size(), 2, 8)));
    dates->setTitleText(oneYear ? QString::number(dateOf(curves.days.constFirst()).year()) + u"年"_s : u"日付"_s);

    const double margin = std::max(1000.0, (high - low) * 0.05);
    yen->setRange(low - margin, high + margin);
    yen->applyNiceNumbers();
    yen->setTitleText(u"累積収支（円）"_s);
    // Whole yen with thousands separators, whatever the system's locale.
    chart->setLocalizeNumbers(true);
    yen->setLabelFormat(u"%.0f"_s);

    QLegend* legend = chart->legend();
    legend->setVisible(true);
    legend->setAlignment(Qt::AlignRight);
    for (QLegendMarker* marker : legend->markers(zero)) {
        marker->setVisible(false);
    }
}

QString frmBacktest::daysText(const zm::BacktestReport& report) const {
    QStringList lines;
    QString tested = u"検証日数 "_s + QString::number(report.daysTested.size());
    if (!report.daysTested.isEmpty()) {
        tested += u"（"_s + slashed(report.daysTested.constFirst()) + u"～"_s + slashed(report.daysTested.constLast()) +
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
    return lines.join(u'\n');
}

QString frmBacktest::chooseFile(const QString& caption, const QString& name, const QStringList& filters) {
    const QString folder = QDir(ctx_.settings.OutPutDir).exists() ? ctx_.settings.OutPutDir : ctx_.paths.AppPath;
    const QString proposed = QDir(folder).filePath(name);
    if (saveFile_) {
        return saveFile_(caption, proposed, filters);
    }
    QFileDialog dialog(this, caption);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QFileInfo(name).suffix());
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
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
        ctx_.prompter.critical(status.message());
        return;
    }
    showWritten(u"出力しました："_s, written.isEmpty() ? QStringList{file} : written);
}

void frmBacktest::showWritten(const QString& what, const QStringList& paths) {
    // The names always show whole; the folder when there is room, and every full path in the tip.
    QStringList names;
    for (const QString& p : paths) {
        names << QFileInfo(p).fileName();
    }
    const QString shortText = what + names.join(u"、"_s);
    const QString folder = paths.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(paths.first()).absolutePath());
    const QString longText = shortText + u"（"_s + folder + u"）"_s;
    const int room = status_->contentsRect().width();
    status_->setText(status_->fontMetrics().horizontalAdvance(longText) <= room ? longText : shortText);
    QStringList tips;
    for (const QString& p : paths) {
        tips << QDir::toNativeSeparators(p);
    }
    status_->setToolTip(tips.join(u'\n'));
    status_->setMinimumWidth(std::min(status_->fontMetrics().horizontalAdvance(status_->text()) + 8, 640));
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
    } charts[] = {{rateView_, u"-recovery"_s}, {balanceView_, u"-balance"_s}};
    for (const auto& c : charts) {
        const QImage image = c.view->grab().toImage();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const QString path = zm::tablePath(file, c.suffix);
        if (image.isNull() || !image.save(&buffer, "PNG")) {
            ctx_.prompter.critical(writeFailureMessage(path, u"画像を作れませんでした"_s));
            return;
        }
        if (const Status s = SafeSave::save(path, bytes); !s) {
            ctx_.prompter.critical(s.message());
            return;
        }
        written_ << path;
    }
    showWritten(u"保存しました："_s, written_);
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
