// The main window's menu items of the 的中会 post and the VoteRobo schedule.

#include "export/tekichukai.h"
#include "ui/frmtekichukai.h"
#include "ui/frmvoterobosettei.h"
#include "ui/mdizenomur.h"

#include <QFileInfo>

namespace zm::ui {

namespace {
const QString kNeedsCardDay = QStringLiteral("出馬表画面から実行してください。");
}  // namespace

void MDIZenoMUR::mnuVoteRoboOut_Click() {
    if (chosenDay_.isEmpty()) {
        ctx_.prompter.information(kNeedsCardDay);
        return;
    }
    showDialog(new frmVoteRoboSettei(ctx_, chosenDay_, this));
}

void MDIZenoMUR::mnuShoubakaiOut_Click() {
    if (chosenDay_.isEmpty()) {
        ctx_.prompter.information(kNeedsCardDay);
        return;
    }
    // Without a pending-bet file there is nothing to post, as on the command line.
    if (!QFileInfo::exists(PendingBetPath(ctx_.paths, chosenDay_))) {
        ctx_.prompter.information(kNoPurchaseFile, kTekichukaiOutTitle);
        return;
    }
    auto* dialog = new frmTekichukai(ctx_, chosenDay_, this);
    showDialog(dialog);
    dialog->Form_Load();
}

void MDIZenoMUR::mnuReadTekichukai_Click() {
    if (chosenDay_.isEmpty()) {
        ctx_.prompter.information(kTekichukaiNoDay);
        return;
    }
    showDialog(new frmReadTekichukai(ctx_, chosenDay_, this));
}

}  // namespace zm::ui
