#pragma once

#include "app/context.h"
#include "bets/bet_output.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zm::ui {

// The bet output of one race: up to 21 bets in four groups (3 win, 3 place, 5 bracket
// quinella, 10 quinella), each a check, an entry and a stake, and the four default stakes. The
// output button stores the defaults, appends the bets that pass their tests to the day's
// pending-bet file and closes the window.
class frmBETout : public QDialog {
    Q_OBJECT

public:
    // raceTitle is the race card's title of the race ("東京11Ｒ"); form is the dialog as it opens
    // (OpenBetOutForm).
    frmBETout(AppContext& ctx, const QString& day, const QString& venueCode, int raceNo, const QString& raceTitle,
              const BetOutForm& form, QWidget* parent = nullptr);

    // The boxes of row i of a group: tanCheck1 / tanText1 / tanText2 and so on.
    QCheckBox* check(BetGroup group, int i) const;
    QLineEdit* entry(BetGroup group, int i) const;
    QLineEdit* stake(BetGroup group, int i) const;
    QLineEdit* dfoKingaku(int k) const { return defaults_.at(static_cast<std::size_t>(k)); }
    QPushButton* outputButton() const { return output_; }
    QPushButton* closeButton() const { return close_; }

    // What the boxes hold now.
    BetOutForm form() const;

public slots:
    void SSCommand1_Click();

private:
    struct RowBoxes {
        QCheckBox* check = nullptr;
        QLineEdit* entry = nullptr;
        QLineEdit* stake = nullptr;
    };
    const RowBoxes& boxes(BetGroup group, int i) const;
    // One bet type's rows, and the default stakes, as the form holds them.
    QGroupBox* groupBox(int group, const BetOutForm& form);
    QGroupBox* defaultsBox(const BetOutForm& form);
    int entryWidth() const;
    int stakeWidth() const;

    AppContext& ctx_;
    QString day_;
    QString venueCode_;
    int raceNo_ = 0;
    std::array<std::vector<RowBoxes>, 4> rows_;
    std::array<QLineEdit*, 4> defaults_{};
    QPushButton* output_ = nullptr;
    QPushButton* close_ = nullptr;
};

// Moves a top-level window so that its lower right corner lies on the lower right corner of
// frame (the main window), kept on the screen.
void PlaceAtLowerRight(QWidget* window, const QWidget* frame);

}  // namespace zm::ui
