#pragma once

#include "app/context.h"

#include <QMainWindow>

class QMdiArea;
class QLabel;

namespace zm::ui {

// The frame in which every other window of the program opens.
class MDIZenoMUR : public QMainWindow {
    Q_OBJECT

public:
    explicit MDIZenoMUR(AppContext& ctx, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return mdi_; }

private:
    AppContext& ctx_;
    QMdiArea* mdi_ = nullptr;
    QLabel* editionPanel_ = nullptr;
    QLabel* signaturePanel_ = nullptr;
};

}  // namespace zm::ui
