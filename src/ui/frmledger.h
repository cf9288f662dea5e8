#pragma once

// 収支管理: the season ledger over a range of days, grouped by day, month, year, course, bet type
// or prediction style: the table of figures, the balance of each month as bars and the
// cumulative balance as a line with its drawdown shaded; the table as CSV (the command line's
// report CSV) and the charts as PNG. Bringing the ledger up to date from the range's files works
// on a worker thread with its progress shown.

#include "analysis/ledger.h"
#include "analysis/ledger_report.h"
#include "app/context.h"
#include "ui/report_window.h"

#include <QDialog>
#include <optional>
#include <vector>

class QChartView;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zm::ui {

class ProgressBarView;

class frmLedger : public QDialog, public ProgressSink {
    Q_OBJECT

public:
    using SaveFileFn = ui::SaveFileFn;

    explicit frmLedger(AppContext& ctx, QWidget* parent = nullptr);

    QDateEdit* fromDate() const { return from_; }
    QDateEdit* toDate() const { return to_; }
    QComboBox* groupingBox() const { return grouping_; }
    QPushButton* showButton() const { return show_; }
    QPushButton* updateButton() const { return update_; }
    QCheckBox* sjisBox() const { return sjis_; }
    QPushButton* csvButton() const { return csv_; }
    QPushButton* imageButton() const { return image_; }
    QPushButton* closeButton() const { return close_; }
    QTableWidget* table() const { return table_; }
    QChartView* monthChartView() const { return monthView_; }
    QChartView* balanceChartView() const { return balanceView_; }
    QLabel* statusText() const { return status_; }
    ProgressBarView* bar() const { return bar_; }
    bool running() const { return running_; }
    // The report shown, none before the ledger was read.
    const std::optional<zm::LedgerReport>& report() const { return report_; }
    // The files the last export wrote.
    const QStringList& written() const { return written_; }

    QSize sizeHint() const override;
    void setSaveFileFunction(SaveFileFn fn) { saveFile_ = std::move(fn); }

    // The grouping chosen.
    zm::LedgerGrouping grouping() const;

    // ProgressSink: the day being brought up to date and the share of days done.
    void setLabel(const QString& text, int meeting) override;
    void setPercent(double percent) override;

public slots:
    void showLedger();       // 表示: reads the range from the ledger
    void updateDays();       // 台帳を更新: the range's days from their files, then shown
    void exportCsv();        // CSV出力
    void saveChartImages();  // 画像保存
    void closeWindow();      // 閉じる

signals:
    // A day of an update was shown (tests follow the run by it).
    void dayShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QWidget* buildResultArea();
    QString fromDay() const;
    QString toDay() const;
    bool rangeChecked();
    void setBusy(bool busy);
    void fillReport();
    void fillTable();
    void fillCharts();
    void clearReport();

    AppContext& ctx_;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QComboBox* grouping_ = nullptr;
    QPushButton* show_ = nullptr;
    QPushButton* update_ = nullptr;
    QCheckBox* sjis_ = nullptr;
    QPushButton* csv_ = nullptr;
    QPushButton* image_ = nullptr;
    QPushButton* close_ = nullptr;
    QTableWidget* table_ = nullptr;
    QChartView* monthView_ = nullptr;
    QChartView* balanceView_ = nullptr;
    QLabel* status_ = nullptr;
    ProgressBarView* bar_ = nullptr;
    bool running_ = false;
    std::vector<zm::Ledger::DatedBet> bets_;  // the bets of the range last read
    QString shownFrom_;                       // that range
    QString shownTo_;
    std::optional<zm::LedgerReport> report_;
    QStringList written_;
    SaveFileFn saveFile_;
};

}  // namespace zm::ui
