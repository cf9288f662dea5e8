#include "ui/charts.h"

#include "app/safe_save.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSeries>
#include <QtCharts/QBarSet>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QHorizontalBarSeries>
#include <QtCharts/QLegend>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <cmath>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

const QColor kBarColor(0x3a, 0x6e, 0xb5);
const QColor kEvenColor(0xd0, 0x20, 0x20);
const QColor kGainColor(0x3a, 0x6e, 0xb5);
const QColor kLossColor(0xc8, 0x3c, 0x3c);
const QColor kChanceColor(0x9a, 0xb8, 0xde);

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

// A yen axis over low..high with a margin, whole yen with separators whatever the locale.
QValueAxis* yenAxis(QChart* chart, double low, double high, const QString& title) {
    auto* yen = new QValueAxis;
    smallLabels(yen);
    const double margin = std::max(1000.0, (high - low) * 0.05);
    yen->setRange(low - margin, high + margin);
    yen->applyNiceNumbers();
    yen->setTitleText(title);
    chart->setLocalizeNumbers(true);
    yen->setLabelFormat(u"%.0f"_s);
    chart->addAxis(yen, Qt::AlignLeft);
    return yen;
}

// The date axis of days (oldest first) and each day's position on it: noon of the day.
struct DayAxis {
    QDateTimeAxis* axis = nullptr;
    std::vector<qint64> xs;
    qint64 first = 0;
    qint64 last = 0;
};

DayAxis dayAxis(QChart* chart, const QStringList& days) {
    DayAxis d;
    for (const QString& day : days) {
        d.xs.push_back(QDateTime(dayDate(day), QTime(12, 0)).toMSecsSinceEpoch());
    }
    d.axis = new QDateTimeAxis;
    smallLabels(d.axis);
    chart->addAxis(d.axis, Qt::AlignBottom);
    // One day alone still gets a span to sit in; the ends keep half a day clear of the frame.
    const qint64 halfDay = 12LL * 3600 * 1000;
    d.first = d.xs.front() - (d.xs.size() == 1 ? 4 * halfDay : halfDay);
    d.last = d.xs.back() + (d.xs.size() == 1 ? 4 * halfDay : halfDay);
    d.axis->setRange(QDateTime::fromMSecsSinceEpoch(d.first), QDateTime::fromMSecsSinceEpoch(d.last));
    const bool oneYear = dayDate(days.constFirst()).year() == dayDate(days.constLast()).year();
    d.axis->setFormat(oneYear ? u"MM/dd"_s : u"yy/MM/dd"_s);
    d.axis->setTickCount(static_cast<int>(std::clamp<qsizetype>(days.size(), 2, 8)));
    d.axis->setTitleText(oneYear ? QString::number(dayDate(days.constFirst()).year()) + u"年"_s : u"日付"_s);
    return d;
}

// The dashed zero line across the days, drawn first and kept out of the legend.
void zeroLine(QChart* chart, const DayAxis& d, QValueAxis* yen) {
    auto* zero = new QLineSeries;
    zero->setObjectName(u"zeroLine"_s);
    QPen pen(QColor(0x90, 0x90, 0x90));
    pen.setStyle(Qt::DashLine);
    zero->setPen(pen);
    zero->append(static_cast<qreal>(d.first), 0);
    zero->append(static_cast<qreal>(d.last), 0);
    chart->addSeries(zero);
    zero->attachAxis(d.axis);
    zero->attachAxis(yen);
    for (QLegendMarker* marker : chart->legend()->markers(zero)) {
        marker->setVisible(false);
    }
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace

QDate dayDate(const QString& day) {
    return QDate::fromString(day, u"yyyyMMdd"_s);
}

QString slashedDay(const QString& day) {
    return day.size() == 8 ? day.left(4) + u'/' + day.mid(4, 2) + u'/' + day.mid(6, 2) : day;
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

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->legend()->setVisible(false);
}

void fillRateBars(QChart* chart, const std::vector<RateBar>& rows) {
    clearChart(chart);
    // A category axis runs upwards: the rows go in last first, so the chart reads top down.
    auto* set = new QBarSet(u"回収率"_s);
    set->setColor(kBarColor);
    set->setBorderColor(kBarColor.darker(130));
    set->setLabelColor(Qt::black);
    set->setLabelFont(chartFont());
    QStringList names;
    double highest = 0;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const double rate = std::round(it->rate * 10.0) / 10.0;
        names << it->name;
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
    attach(chart, bars, rates, categories);

    // 100%: where a row gets back what it staked. The line spans the plot on an axis of its own
    // that is not drawn.
    auto* even = new QLineSeries;
    even->setObjectName(u"evenLine"_s);
    even->setName(u"回収率100%"_s);
    even->append(100, 0);
    even->append(100, 1);
    QPen pen(kEvenColor);
    pen.setWidth(2);
    pen.setStyle(Qt::DashLine);
    even->setPen(pen);
    auto* span = new QValueAxis;
    span->setRange(0, 1);
    span->setVisible(false);
    chart->addAxis(span, Qt::AlignRight);
    attach(chart, even, rates, span);

    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

void fillBalanceLines(QChart* chart, const QStringList& days, const std::vector<BalanceLine>& lines) {
    clearChart(chart);
    if (days.isEmpty()) {
        return;
    }
    double low = 0;
    double high = 0;
    for (const BalanceLine& l : lines) {
        for (double b : l.balances) {
            low = std::min(low, b);
            high = std::max(high, b);
        }
    }
    const DayAxis dates = dayAxis(chart, days);
    QValueAxis* yen = yenAxis(chart, low, high, u"累積収支（円）"_s);
    zeroLine(chart, dates, yen);
    const bool points = days.size() <= 60;
    for (const BalanceLine& l : lines) {
        auto* line = new QLineSeries;
        line->setName(l.name);
        for (size_t d = 0; d < l.balances.size() && d < dates.xs.size(); ++d) {
            line->append(static_cast<qreal>(dates.xs[d]), l.balances[d]);
        }
        QPen pen(l.color);
        pen.setWidth(2);
        if (l.dashed) {
            pen.setStyle(Qt::DashLine);
        }
        line->setPen(pen);
        line->setColor(l.color);
        line->setPointsVisible(points);
        attach(chart, line, dates.axis, yen);
    }
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignRight);
}

void fillBalanceWithDrawdown(QChart* chart, const QStringList& days, const std::vector<std::vector<double>>& balances) {
    clearChart(chart);
    if (days.isEmpty() || balances.size() != size_t(days.size())) {
        return;
    }
    const DayAxis dates = dayAxis(chart, days);
    double low = 0;
    double high = 0;
    for (const std::vector<double>& day : balances) {
        for (double b : day) {
            low = std::min(low, b);
            high = std::max(high, b);
        }
    }
    QValueAxis* yen = yenAxis(chart, low, high, u"累積収支（円）"_s);
    zeroLine(chart, dates, yen);

    // The shade runs between the highest balance so far (above) and the balance (below); the
    // curve starts at 0 on the first day's morning.
    const qint64 day = 24LL * 3600 * 1000;
    auto* peak = new QLineSeries;
    auto* balance = new QLineSeries;
    peak->append(static_cast<qreal>(dates.xs.front() - day / 2), 0);
    balance->append(static_cast<qreal>(dates.xs.front() - day / 2), 0);
    double highest = 0;
    for (size_t d = 0; d < balances.size(); ++d) {
        const auto& bets = balances[d];
        for (size_t k = 0; k < bets.size(); ++k) {
            const qreal x = static_cast<qreal>(dates.xs[d] - day / 2 + day * qint64(k + 1) / qint64(bets.size() + 1));
            highest = std::max(highest, bets[k]);
            peak->append(x, highest);
            balance->append(x, bets[k]);
        }
    }
    auto* drawdown = new QAreaSeries(peak, balance);
    // The area series draws its two lines but does not own them.
    peak->setParent(drawdown);
    balance->setParent(drawdown);
    drawdown->setObjectName(u"drawdownArea"_s);
    drawdown->setName(u"ドローダウン"_s);
    drawdown->setColor(QColor(0xe0, 0x60, 0x60, 0x70));
    drawdown->setBorderColor(Qt::transparent);
    attach(chart, drawdown, dates.axis, yen);

    auto* line = new QLineSeries;
    line->setObjectName(u"balanceLine"_s);
    line->setName(u"累積収支"_s);
    line->append(balance->points());
    QPen pen(kGainColor);
    pen.setWidth(2);
    line->setPen(pen);
    line->setPointsVisible(line->count() <= 60);
    attach(chart, line, dates.axis, yen);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

void fillMonthlyBars(QChart* chart, const QStringList& months, const std::vector<double>& balances) {
    clearChart(chart);
    if (months.isEmpty()) {
        return;
    }
    // Gains and losses are two sets stacked: each month has a value in one of them only.
    auto* gains = new QBarSet(u"プラス"_s);
    auto* losses = new QBarSet(u"マイナス"_s);
    gains->setColor(kGainColor);
    losses->setColor(kLossColor);
    double low = 0;
    double high = 0;
    for (size_t m = 0; m < balances.size(); ++m) {
        *gains << std::max(0.0, balances[m]);
        *losses << std::min(0.0, balances[m]);
        low = std::min(low, balances[m]);
        high = std::max(high, balances[m]);
    }
    auto* bars = new QStackedBarSeries;
    bars->setObjectName(u"monthBars"_s);
    bars->append(gains);
    bars->append(losses);
    bars->setBarWidth(0.6);
    auto* categories = new QBarCategoryAxis;
    categories->append(months);
    smallLabels(categories);
    chart->addAxis(categories, Qt::AlignBottom);
    QValueAxis* yen = yenAxis(chart, low, high, u"収支（円）"_s);
    attach(chart, bars, categories, yen);
}

void fillReliabilityChart(QChart* chart, const std::array<zm::ReliabilityBand, 10>& bands) {
    clearChart(chart);
    size_t shown = 0;
    for (size_t b = 0; b < bands.size(); ++b) {
        if (bands[b].runners > 0) {
            shown = b + 1;
        }
    }
    if (shown == 0) {
        return;
    }
    auto* predicted = new QBarSet(u"予想勝率（平均）"_s);
    auto* observed = new QBarSet(u"実際の勝率"_s);
    predicted->setColor(kChanceColor);
    observed->setColor(kBarColor);
    QStringList names;
    double highest = 0;
    for (size_t b = 0; b < shown; ++b) {
        const zm::ReliabilityBand& band = bands[b];
        // Axis labels are rich text: a line break is <br>. A label wider than its band is not
        // drawn, so a season's tens of thousands of runners are counted in 万.
        const QString runners = band.runners < 10000 ? QString::number(band.runners)
                                                     : QString::number(band.runners / 10000.0, 'f', 1) + u'万';
        names << u"%1-%2%<br>%3頭"_s.arg(b * 10).arg(b * 10 + 10).arg(runners);
        *predicted << std::round(band.meanChance * 1000) / 10;
        *observed << std::round(band.observedRate() * 1000) / 10;
        highest = std::max({highest, band.meanChance * 100, band.observedRate() * 100});
    }
    auto* bars = new QBarSeries;
    bars->setObjectName(u"reliabilityBars"_s);
    bars->append(predicted);
    bars->append(observed);
    auto* categories = new QBarCategoryAxis;
    categories->append(names);
    categories->setTruncateLabels(false);
    smallLabels(categories);
    auto* rates = new QValueAxis;
    const double top = std::min(100.0, std::ceil(highest / 10 + 0.5) * 10);
    rates->setRange(0, top);
    rates->setTickType(QValueAxis::TicksDynamic);
    rates->setTickAnchor(0);
    rates->setTickInterval(top <= 30 ? 5 : top <= 60 ? 10 : 20);
    rates->setLabelFormat(u"%d%%"_s);
    rates->setTitleText(u"勝率"_s);
    smallLabels(rates);
    chart->addAxis(categories, Qt::AlignBottom);
    chart->addAxis(rates, Qt::AlignLeft);
    attach(chart, bars, categories, rates);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
}

Status saveChartImage(QChartView* view, const QString& path) {
    const QImage image = view->grab().toImage();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        return Status::failure(writeFailureMessage(path, u"画像を作れませんでした"_s));
    }
    return SafeSave::save(path, bytes);
}

}  // namespace zm::ui
