#pragma once

// The charts of the report windows (予想スタイル別の成績, 収支管理): one look for all of them (a
// plain white picture, axis labels a size smaller than the window's text, Japanese dates and
// yen with separators) and the kinds of chart they draw. Each fill replaces what the chart
// showed.

#include "analysis/win_model.h"
#include "codes/status.h"

#include <QColor>
#include <QDate>
#include <QStringList>

#include <array>
#include <vector>

class QChart;
class QChartView;
class QWidget;

namespace zm::ui {

// "yyyymmdd" as a date, and as "yyyy/mm/dd" (anything else as it is).
QDate dayDate(const QString& day);
QString slashedDay(const QString& day);

// A chart view of the reports' look, empty, with its title.
QChartView* makeChartView(const QString& name, const QString& title, QWidget* parent);

// Takes every series and axis off the chart.
void clearChart(QChart* chart);

// Horizontal bars of recovery rates, the first row at the top, with the 100% line across.
struct RateBar {
    QString name;
    double rate = 0;  // percent
};
void fillRateBars(QChart* chart, const std::vector<RateBar>& rows);

// Cumulative balances over days ("yyyymmdd", oldest first): a line each, one value a day, over
// a dashed zero line; the legend on the right.
struct BalanceLine {
    QString name;
    QColor color;
    bool dashed = false;
    std::vector<double> balances;
};
void fillBalanceLines(QChart* chart, const QStringList& days, const std::vector<BalanceLine>& lines);

// One cumulative balance over the days with its drawdown (the fall from the highest balance so
// far, from 0 before the first) shaded between the two. Each day holds the balance after each of
// its bets, spread over the day's width, so that the deepest shade is the largest drawdown.
void fillBalanceWithDrawdown(QChart* chart, const QStringList& days, const std::vector<std::vector<double>>& balances);

// A bar a month ("yyyy-mm" or any label), gains and losses in their own colours.
void fillMonthlyBars(QChart* chart, const QStringList& months, const std::vector<double>& balances);

// The model's reliability: for each band of predicted chance up to the highest band with a
// runner, the mean predicted chance beside the observed win rate; each band's label carries its
// runners.
void fillReliabilityChart(QChart* chart, const std::array<zm::ReliabilityBand, 10>& bands);

// The view as a PNG file, written through the safe save.
Status saveChartImage(QChartView* view, const QString& path);

}  // namespace zm::ui
