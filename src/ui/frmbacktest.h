#pragma once

// 予想スタイル別の成績: the back-test over a range of days, its per-style table and mark table,
// the recovery rate of each style as bars against the 100% line, the cumulative balance of each
// style over the days as lines, the win model's reliability over the same days, the CSV tables
// and a PNG of each chart. The model can be fitted again on the range. The runs work on a worker
// thread; the window paints their progress meanwhile.

#include "analysis/backtest.h"
#include "analysis/win_model.h"
#include "app/context.h"
#include "ui/report_window.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QChart;
class QChartView;
class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace zm::ui {

class ProgressBarView;

class frmBacktest : public QDialog, public ProgressSink {
    Q_OBJECT

public:
    // Picks the file to write: caption, proposed path, filters (Qt syntax). Empty when cancelled.
    using SaveFileFn = ui::SaveFileFn;

    explicit frmBacktest(AppContext& ctx, QWidget* parent = nullptr);

    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    QCheckBox* styleBox(int style) const { return styles_.at(static_cast<size_t>(style)); }
    QCheckBox* sjisBox() const { return sjis_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* csvButton() const { return csv_; }
    QPushButton* imageButton() const { return image_; }
    QPushButton* closeButton() const { return close_; }
    QTableWidget* styleTable() const { return styleTable_; }
    QTableWidget* markTable() const { return markTable_; }
    QChartView* rateChartView() const { return rateView_; }
    QChartView* balanceChartView() const { return balanceView_; }
    QChartView* reliabilityChartView() const { return reliabilityView_; }
    QPushButton* refitButton() const { return refit_; }
    QLabel* daysNote() const { return daysNote_; }
    QLabel* statusText() const { return status_; }
    ProgressBarView* bar() const { return bar_; }
    bool running() const { return running_; }
    // The report shown, none before a run.
    const std::optional<zm::BacktestReport>& report() const { return report_; }
    // The files the last export wrote.
    const QStringList& written() const { return written_; }

    QSize sizeHint() const override;

    void setSaveFileFunction(SaveFileFn fn) { saveFile_ = std::move(fn); }

    // The options of the fields: the range as yyyymmdd and the styles ticked.
    zm::BacktestOptions options() const;

    // ProgressSink: the day being read and the share of days done.
    void setLabel(const QString& text, int meeting) override;
    void setPercent(double percent) override;

public slots:
    void runBacktest();      // 実行
    void exportTables();     // CSV出力
    void saveChartImages();  // 画像保存
    void refitModel();       // 勝率モデルの推定
    void closeWindow();      // 閉じる

signals:
    // A day's progress was shown (tests follow the run by it).
    void dayShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    // The stored model's reliability bands over the range, or why there are none.
    struct Reliability {
        std::optional<std::array<zm::ReliabilityBand, 10>> bands;
        QString note;
    };
    static Reliability modelReliability(const AppPaths& paths, const QString& from, const QString& to);
    void showReliability();
    QWidget* buildResultArea();
    void setBusy(bool busy);
    void showReport();
    void clearReport();
    void fillStyleTable(const zm::BacktestReport& report);
    void fillMarkTable(const zm::BacktestReport& report);
    void fillRateChart(const zm::BacktestReport& report);
    void fillBalanceChart(const zm::BacktestReport& report);
    QString daysText(const zm::BacktestReport& report) const;
    QString chooseFile(const QString& caption, const QString& name, const QStringList& filters);

    AppContext& ctx_;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    std::array<QCheckBox*, zm::kStyleCount> styles_{};
    QCheckBox* sjis_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* csv_ = nullptr;
    QPushButton* image_ = nullptr;
    QPushButton* close_ = nullptr;
    QSplitter* tables_ = nullptr;
    QTableWidget* styleTable_ = nullptr;
    QTableWidget* markTable_ = nullptr;
    QChartView* rateView_ = nullptr;
    QChartView* balanceView_ = nullptr;
    QChartView* reliabilityView_ = nullptr;
    QPushButton* refit_ = nullptr;
    Reliability reliability_;
    QLabel* daysNote_ = nullptr;
    QLabel* status_ = nullptr;
    ProgressBarView* bar_ = nullptr;
    bool running_ = false;
    std::optional<zm::BacktestReport> report_;
    zm::BacktestOptions reportOptions_;  // the options the report was run with
    QStringList written_;
    SaveFileFn saveFile_;
};

}  // namespace zm::ui
