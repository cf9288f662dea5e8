#pragma once

// Progress of a long run (import, prediction, batch). The desktop program draws it as the
// progress window, the command line as a line on a terminal; the core only reports.

#include "codes/codetables.h"

#include <QString>

namespace zm {

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    virtual void setCaption(const QString& caption) { (void)caption; }
    virtual void setLabel(const QString& text, Rgb color) {
        (void)text;
        (void)color;
    }
    virtual void setBarColor(Rgb color) { (void)color; }
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
