#pragma once

#include <QWidget>

namespace zm::ui {

// The splash shown briefly at start.
class ZenoStartUP : public QWidget {
    Q_OBJECT

public:
    explicit ZenoStartUP(QWidget* parent = nullptr);

    // Shows the splash and closes it by itself after ms milliseconds; never blocks.
    void showFor(int ms);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace zm::ui
