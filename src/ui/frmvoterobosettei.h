#pragma once

#include "app/context.h"
#include "bets/voterobo.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace zm::ui {

// 「VoteRobo」の出力設定: the schedule's options, stored in section "VoteRoboSetting" by the
// output button, which then writes the day's schedule.
class frmVoteRoboSettei : public QDialog {
    Q_OBJECT

public:
    frmVoteRoboSettei(AppContext& ctx, const QString& day, QWidget* parent = nullptr);

    // The options as the dialog shows them now.
    VoteRoboOptions options() const;

    QCheckBox* groupCheck() const { return group_; }
    QRadioButton* groupSet(int i) const { return radio(groupSet_, i); }
    QComboBox* groupOut() const { return groupOut_; }
    QRadioButton* voteTime(int i) const { return radio(voteTime_, i); }
    QCheckBox* oddsCheck() const { return odds_; }
    QRadioButton* oddsTiming(int i) const { return radio(oddsTiming_, i); }
    QRadioButton* oddsKind(int i) const { return radio(oddsKind_, i); }
    QCheckBox* weightsCheck() const { return weights_; }
    QCheckBox* resultsCheck() const { return results_; }
    QRadioButton* resultsTiming(int i) const { return radio(resultsTiming_, i); }
    QPushButton* outputButton() const { return output_; }
    QPushButton* closeButton() const { return close_; }

public slots:
    void Output_Click();

private:
    static QRadioButton* radio(QButtonGroup* group, int i);
    QButtonGroup* radios(QGroupBox* box, const QStringList& captions, const QString& name, int checked);
    QCheckBox* checkBox(const QString& caption, const QString& name, bool checked);
    // The dialog's two columns: the grouping and voting time, the odds, weights and results.
    QVBoxLayout* groupColumn(const VoteRoboOptions& o);
    QVBoxLayout* oddsColumn(const VoteRoboOptions& o);
    void updateEnabled();

    AppContext& ctx_;
    QString day_;
    QString T_Time_;
    QCheckBox* group_ = nullptr;
    QButtonGroup* groupSet_ = nullptr;
    QComboBox* groupOut_ = nullptr;
    QButtonGroup* voteTime_ = nullptr;
    QCheckBox* odds_ = nullptr;
    QButtonGroup* oddsTiming_ = nullptr;
    QButtonGroup* oddsKind_ = nullptr;
    QCheckBox* weights_ = nullptr;
    QCheckBox* results_ = nullptr;
    QButtonGroup* resultsTiming_ = nullptr;
    QGroupBox* groupSetBox_ = nullptr;
    QGroupBox* groupOutBox_ = nullptr;
    QGroupBox* oddsTimingBox_ = nullptr;
    QGroupBox* oddsKindBox_ = nullptr;
    QGroupBox* resultsBox_ = nullptr;
    QPushButton* output_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace zm::ui
