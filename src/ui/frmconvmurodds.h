#pragma once

// The conversion of a day's predicted odds into PAT odds files: the day named in the heading,
// the output folder with its picker, execute and close, the progress of the races and the
// status line. The run works on a worker thread; the dialog paints its progress meanwhile.

#include "app/context.h"
#include "pat/odds_convert.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zm::ui {

class ProgressBarView;

class frmConvMurOdds : public QDialog, public ProgressSink {
    Q_OBJECT

public:
    // dayFilePath: the predicted-odds day file; format the generation written.
    frmConvMurOdds(AppContext& ctx, const QString& dayFilePath, const zm::PatFormat& format,
                   QWidget* parent = nullptr);

    QLabel* heading() const { return heading_; }
    QLineEdit* folderText() const { return folder_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* closeButton() const { return close_; }
    ProgressBarView* bar() const { return bar_; }
    QLabel* statusText() const { return status_; }
    QLabel* raceStatus() const { return race_; }
    bool running() const { return running_; }
    // The files written by the last run.
    const QStringList& written() const { return written_; }

    // ProgressSink: the race's status line and the share of records done.
    void setLabel(const QString& text, int meeting) override;
    void setPercent(double percent) override;

public slots:
    void Command1_Click();  // execute
    void Command2_Click();  // close
    void Browse_Click();

signals:
    // A race's status line was shown (tests follow the run by it).
    void raceShown(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    AppContext& ctx_;
    const zm::PatFormat& format_;
    QString dayFile_;
    QLabel* heading_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* execute_ = nullptr;
    QPushButton* close_ = nullptr;
    ProgressBarView* bar_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* race_ = nullptr;
    bool running_ = false;
    QStringList written_;
};

}  // namespace zm::ui
