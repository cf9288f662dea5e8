// The race card's output buttons: the bulk bet output, the detail file and the list of the
// output folder's text files.

#include "card/detail_file.h"
#include "ui/frmbetikkatuout.h"
#include "ui/frmoutputfiles.h"
#include "ui/frmzenomain.h"
#include "ui/uiutil.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>

namespace zm::ui {

void frmZenoMain::BulkOut_Click() {
    if (currentRaceDate_.isEmpty())
        return;
    frmBetIkkatuOut dialog(ctx_, currentRaceDate_, this);
    dialog.exec();
}

void frmZenoMain::DetailFile_Click() {
    if (currentRaceDate_.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status written = zm::WriteDetailFile(ctx_, currentRaceDate_);
    QApplication::restoreOverrideCursor();
    if (showFailure(ctx_.prompter, written)) {
        ctx_.prompter.information(QStringLiteral("詳細テキストファイルを出力しました。\r\n") +
                                  QDir::toNativeSeparators(zm::detailFilePath(ctx_.settings, currentRaceDate_)));
    }
    ssCommand2_[8]->setFocus();
}

void frmZenoMain::TextFiles_Click() {
    frmOutputFiles dialog(ctx_.settings.OutPutDir, ctx_.prompter, this);
    dialog.exec();
}

}  // namespace zm::ui
