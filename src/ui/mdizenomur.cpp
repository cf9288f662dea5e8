#include "ui/mdizenomur.h"

#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>

namespace zm::ui {

MDIZenoMUR::MDIZenoMUR(AppContext& ctx, QWidget* parent) : QMainWindow(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("MDIZenoMUR"));
    setWindowTitle(kAppTitle);
    mdi_ = new QMdiArea(this);
    setCentralWidget(mdi_);

    editionPanel_ = new QLabel(QStringLiteral("ゼノゼノＭＵＲ_駿馬堂OnLine版"), this);
    signaturePanel_ = new QLabel(QStringLiteral("競馬予想支援 ゼノゼノＭＵＲ"), this);
    statusBar()->addWidget(editionPanel_, 1);
    statusBar()->addPermanentWidget(signaturePanel_);
    resize(1024, 700);
}

}  // namespace zm::ui
