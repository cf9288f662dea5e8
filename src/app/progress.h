#pragma once

// Progress of a long run (import, prediction, batch). The desktop program draws it as the
// progress window, the command line as a line on a terminal; the core only reports.

#include <QString>

namespace zm {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void setCaption(const QString& caption) { (void)caption; }
    // The line under the caption. meeting is 0 for a plain line, else the position (1, 2, 3, …)
    // of the meeting it names among those the run has named so far: a window tells the meetings
    // apart by that.
    virtual void setLabel(const QString& text, int meeting = 0) {
        (void)text;
        (void)meeting;
    }
    // 0..100; values above 100 are drawn as 100.
    virtual void setPercent(double percent) { (void)percent; }
    // One item of a batch begins: step 1..steps, the item's name. The percentages that follow
    // are of that item; a sink shows the step and may draw its bar over the whole batch. A step
    // of 0 ends the batch.
    virtual void setBatchStep(int step, int steps, const QString& item) {
        (void)step;
        (void)steps;
        (void)item;
    }
    // Called between steps so that a window can stay responsive.
    virtual void idle() {}
};

// A sink that shows nothing.
inline ProgressSink& nullProgress() {
    static ProgressSink sink;
    return sink;
}

}  // namespace zm
