#pragma once

#include "app/progress.h"

#include <QColor>
#include <QFrame>
#include <QWidget>

class QLabel;

namespace zm::ui {

// The bar of the progress window: a filled bar of the percentage with the percent centred.
class ProgressBarView : public QWidget {
    Q_OBJECT

public:
    explicit ProgressBarView(QWidget* parent = nullptr);

    void setPercent(double percent);
    void setBarColor(const QColor& color);
    int percent() const { return percent_; }
    QColor barColor() const { return color_; }
    // "##0%" of the bar.
    QString percentText() const;

    QSize sizeHint() const override { return {360, 26}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
    QColor color_ = QColor(0, 0, 255);
};

// The progress window of long runs: caption, a label in the venue's colour and the bar. It opens
// inside the main window's frame, as every window of the program does, as a framed panel with
// its own caption strip. The run reports from its worker thread through queued calls; the
// window paints in the GUI thread's event loop like any other.
class frmProgres : public QFrame, public ProgressSink {
    Q_OBJECT

public:
    explicit frmProgres(QWidget* parent = nullptr);

    void setCaption(const QString& caption) override;
    // The label in the colour of its meeting: red, magenta, then green; black for a plain one.
    void setLabel(const QString& text, int meeting) override;
    void setPercent(double percent) override;
    void setBatchStep(int step, int steps, const QString& item) override;

    // The batch line: "一括処理 3/24：2026/12/05（hb261205.lzh）".
    static QString batchText(int step, int steps, const QString& item);

    QLabel* label() const { return label_; }
    QLabel* batchLabel() const { return batch_; }
    QLabel* captionLabel() const { return caption_; }
    ProgressBarView* bar() const { return bar_; }
    QColor labelColor() const { return labelColor_; }

signals:
    // A batch item began (its line and the bar are already shown).
    void batchStepShown(int step, int steps);

public:
    // Shows the window below the middle of its parent, above the parent's other children.
    void showOverParent();
    // Back to an empty label and bar for the next run.
    void reset();

private:
    QLabel* caption_ = nullptr;
    QLabel* label_ = nullptr;
    ProgressBarView* bar_ = nullptr;
    QLabel* batch_ = nullptr;
    QColor labelColor_;
    int step_ = 0;
    int steps_ = 0;
    void fitHeight();
};

}  // namespace zm::ui
