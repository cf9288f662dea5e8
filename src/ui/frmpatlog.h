#pragma once

// PAT's betting log of a day with the judgement of each bet and the day's profit and loss, and
// the race results the judgement used, on two pages. The log's text export appends to a file
// the user names.

#include "app/context.h"
#include "pat/pat_log.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace zm::ui {

class frmPatLog : public QDialog {
    Q_OBJECT

public:
    enum Page { VoteLogPage = 0, ResultsPage = 1 };
    // Picks the file to write: caption, start folder, filters (Qt syntax). Empty when cancelled.
    using SaveFileFn = std::function<QString(const QString& caption, const QString& folder, const QStringList& filters)>;

    frmPatLog(AppContext& ctx, std::optional<zm::VoteLog> log, std::vector<zm::SeiRecord> results, Page page,
              QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* voteTable() const { return votes_; }
    QTableWidget* resultsTable() const { return results_; }
    QLabel* investmentLabel() const { return investment_; }
    QLabel* returnsLabel() const { return returns_; }
    QLabel* balanceLabel() const { return balance_; }
    QLabel* rateLabel() const { return rate_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* closeButton() const { return close_; }

    QSize sizeHint() const override;

    void setSaveFileFunction(SaveFileFn fn) { saveFile_ = std::move(fn); }

    // The save dialog's filters in Qt syntax: text files (*.TXT) first, then all files.
    static QStringList exportFilters();

    // The judgement column's colour for a judgement.
    static QColor judgementColor(zm::Judgement j);

public slots:
    void Command1_Click();  // テキスト出力
    void Command2_Click();  // 閉じる

private:
    void fillVotes();
    void fillResults(const std::vector<zm::SeiRecord>& results);
    QString chooseFile();

    AppContext& ctx_;
    std::optional<zm::VoteLog> log_;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* votes_ = nullptr;
    QTableWidget* results_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* investment_ = nullptr;
    QLabel* returns_ = nullptr;
    QLabel* balance_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* exported_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* close_ = nullptr;
    SaveFileFn saveFile_;
};

}  // namespace zm::ui
