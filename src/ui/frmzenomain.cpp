#include "ui/frmzenomain.h"

#include "card/cardtext.h"
#include "card/predicted_odds.h"
#include "bets/bet_output.h"
#include "codes/codetables.h"
#include "ui/frmbetout.h"
#include "ui/frmodds.h"
#include "ui/live_odds.h"

#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

// The byte-aligned texts (race lists, header lines) need a font in which a full-width
// character is exactly two half-width ones wide.
QFont fixedJapaneseFont(int pointSize) {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setFamilies({u"IPAGothic"_s, u"MS Gothic"_s, u"Noto Sans Mono CJK JP"_s, u"VL Gothic"_s, f.family()});
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(pointSize);
    return f;
}

struct ButtonLayout {
    const char16_t* caption;
    const char16_t* tip;
    bool enabled;
};

// The nine command buttons, left to right. Commands whose windows come later stay disabled.
constexpr ButtonLayout kButtons[9] = {
    {u"保留ＢＥＴ出力", u"他の予想ソフトの予想から保留ＢＥＴを一括出力します", false},
    {u"テキスト出力", u"この開催日の詳細テキストファイルを出力します", false},
    {u"エディタ起動", u"出力したテキストファイルをエディタで開きます", false},
    {u"的中会投票", u"的中会への投票データを出力します", true},
    {u"オッズ画面", u"表示中のレースのオッズを表示します", true},
    {u"表示切替", u"「過去５走の能力指数」と「馬場別成績」の表示を切り替えます", true},
    {u"サクッとBET出力", u"サクッとBETの購入ファイルを出力します", true},
    {u"VoteRobo出力", u"VoteRoboの投票スケジュールを出力します", true},
    {u"戻る", u"開催日の一覧に戻ります（一覧では画面を閉じます）", true},
};

// The predicted-odds view of one race: win odds and quinella odds side by side.
class PredictedOddsDialog : public QDialog {
public:
    PredictedOddsDialog(const zm::PredictedOdds& odds, QWidget* parent) : QDialog(parent) {
        setObjectName(u"PredictedOddsView"_s);
        setWindowTitle(u"ＭＵＲ予想オッズ"_s);
        auto* layout = new QVBoxLayout(this);
        auto* caption = new QLabel(odds.caption, this);
        caption->setFont(fixedJapaneseFont(11));
        layout->addWidget(caption);
        auto* tables = new QHBoxLayout;
        tables->addWidget(makeTable(u"単勝"_s, u"馬番"_s, odds.win, 1), 1);
        tables->addWidget(makeTable(u"馬連"_s, u"組番"_s, odds.quinella, 8), 8);
        layout->addLayout(tables, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch(1);
        auto* close = new QPushButton(u"閉じる"_s, this);
        close->setObjectName(u"closeButton"_s);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
        buttons->addWidget(close);
        layout->addLayout(buttons);
        resize(1000, 600);
    }

private:
    // The lines in `columns` pairs of (label, odds) columns, filled top to bottom.
    QTableWidget* makeTable(const QString& title, const QString& labelHeading,
                            const std::vector<zm::PredictedOdds::Line>& lines, int columns) {
        const int rows = static_cast<int>((lines.size() + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns));
        auto* table = new QTableWidget(rows, columns * 2, this);
        table->setObjectName(title);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->verticalHeader()->hide();
        QStringList headings;
        for (int c = 0; c < columns; ++c) {
            headings << labelHeading << title;
        }
        table->setHorizontalHeaderLabels(headings);
        for (size_t k = 0; k < lines.size(); ++k) {
            const int row = static_cast<int>(k) % rows;
            const int col = static_cast<int>(k) / rows * 2;
            auto* label = new QTableWidgetItem(lines[k].label);
            label->setTextAlignment(Qt::AlignCenter);
            label->setBackground(QColor(0xEE, 0xEE, 0xF6));
            auto* value = new QTableWidgetItem(lines[k].odds);
            value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, col, label);
            table->setItem(row, col + 1, value);
        }
        table->resizeColumnsToContents();
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        return table;
    }
};

}  // namespace

frmZenoMain::frmZenoMain(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(u"frmZenoMain"_s);
    setWindowTitle(u"出馬表・ゼノゼノＭＵＲ予想"_s);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    stack_ = new QStackedWidget(this);
    auto* dayPage = new QWidget(stack_);
    auto* cardPage = new QWidget(stack_);
    buildDayView(dayPage);
    buildCardView(cardPage);
    stack_->addWidget(dayPage);
    stack_->addWidget(cardPage);
    layout->addWidget(stack_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    for (int i = 0; i < 9; ++i) {
        auto* b = new QPushButton(QString::fromUtf16(kButtons[i].caption), this);
        b->setObjectName(u"SSCommand2_"_s + QString::number(i));
        b->setToolTip(QString::fromUtf16(kButtons[i].tip));
        b->setEnabled(kButtons[i].enabled);
        b->setMinimumHeight(30);
        // Each button takes a ninth of the row, never less than its caption needs.
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 20);
        buttons->addWidget(b, 1);
        ssCommand2_[static_cast<size_t>(i)] = b;
    }
    connect(ssCommand2_[4], &QPushButton::clicked, this, &frmZenoMain::ShowOddsWindow);
    connect(ssCommand2_[0], &QPushButton::clicked, this, &frmZenoMain::BulkOut_Click);
    connect(ssCommand2_[1], &QPushButton::clicked, this, &frmZenoMain::DetailFile_Click);
    connect(ssCommand2_[2], &QPushButton::clicked, this, &frmZenoMain::TextFiles_Click);
    connect(ssCommand2_[5], &QPushButton::clicked, this, &frmZenoMain::advanceCardView);
    connect(ssCommand2_[8], &QPushButton::clicked, this, &frmZenoMain::backClicked);
    connect(ssCommand2_[6], &QPushButton::clicked, this, &frmZenoMain::purchaseFilesRequested);
    connect(ssCommand2_[3], &QPushButton::clicked, this, &frmZenoMain::tekichukaiRequested);
    connect(ssCommand2_[7], &QPushButton::clicked, this, &frmZenoMain::voteRoboRequested);
    layout->addLayout(buttons);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (inCardView()) {
            showDayView();
        }
    });

    setOddsColumnMode(true);
    showFrames();  // no day yet: the frames stay hidden
    showDayView();
    resize(1280, 640);
}

void frmZenoMain::buildDayView(QWidget* page) {
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* dayBox = new QGroupBox(u"予想済みの開催日"_s, page);
    auto* dayLayout = new QVBoxLayout(dayBox);
    dayList_ = new QListWidget(dayBox);
    dayList_->setObjectName(u"dayList"_s);
    dayList_->setToolTip(u"ダブルクリックでその日のレースを表示します"_s);
    dayLayout->addWidget(dayList_);
    auto* hint = new QLabel(u"ダブルクリックで\n読み込みます"_s, dayBox);
    hint->setStyleSheet(u"color: #555;"_s);
    dayLayout->addWidget(hint);
    dayBox->setFixedWidth(190);
    layout->addWidget(dayBox);

    connect(dayList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chosenDay_ = item->data(Qt::UserRole).toString(); });
    connect(dayList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        chosenDay_ = item->data(Qt::UserRole).toString();
        LoadDay(chosenDay_);
    });

    // Three venue frames in a two-by-two grid: 1 | 2 above, 3 below the first.
    auto* grid = new QGridLayout;
    grid->setSpacing(6);
    const QFont font = fixedJapaneseFont(10);
    const QFontMetrics fm(font);
    for (int k = 0; k < 3; ++k) {
        auto* box = new QGroupBox(page);
        box->setObjectName(u"frame"_s + QString::number(k + 1));
        box->setStyleSheet(u"QGroupBox { font-weight: bold; }"_s);
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setContentsMargins(4, 4, 4, 4);
        auto* list = new QListWidget(box);
        list->setObjectName(u"raceList"_s + QString::number(k + 1));
        list->setFont(font);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        list->setUniformItemSizes(true);
        for (int r = 0; r < 12; ++r) {
            list->addItem(QString());
        }
        const int rowHeight = fm.height() + 4;
        for (int r = 0; r < 12; ++r) {
            list->item(r)->setSizeHint(QSize(fm.horizontalAdvance(QString(76, u' ')) + 8, rowHeight));
        }
        // Twelve rows show whole at the usual size; a smaller window scrolls instead of
        // pushing the command buttons off the screen.
        list->setMinimumHeight(rowHeight * 6 + 2 * list->frameWidth());
        list->setMinimumWidth(fm.horizontalAdvance(QString(76, u' ')) / 2);
        boxLayout->addWidget(list);
        connect(list, &QListWidget::itemClicked, this, [this, k](QListWidgetItem* item) { onRaceRowClicked(k + 1, item); });
        // Enter on a row shows it as well, for work from the keyboard.
        connect(list, &QListWidget::itemActivated, this, [this, k](QListWidgetItem* item) {
            if (!inCardView()) {
                onRaceRowClicked(k + 1, item);
            }
        });
        frames_[static_cast<size_t>(k)] = box;
        raceLists_[static_cast<size_t>(k)] = list;
        grid->addWidget(box, k / 2, k % 2);
    }
    auto* help = new QLabel(page);
    help->setObjectName(u"dayViewHelp"_s);
    dayHelp_ = help;
    help->setAlignment(Qt::AlignCenter);
    help->setStyleSheet(u"color: #555;"_s);
    grid->addWidget(help, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid, 1);
}

void frmZenoMain::buildCardView(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    const QFont font = fixedJapaneseFont(11);

    auto makeLine = [&](const QString& name) {
        auto* l = new QLabel(page);
        l->setObjectName(name);
        l->setFont(font);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(l);
        return l;
    };
    raceLine_ = makeLine(u"raceLine"_s);
    titleLine_ = makeLine(u"titleLine"_s);
    QFont bold = font;
    bold.setBold(true);
    titleLine_->setFont(bold);
    courseLine_ = makeLine(u"courseLine"_s);
    conditionsLine_ = makeLine(u"conditionsLine"_s);

    auto* recommendRow = new QHBoxLayout;
    auto* recommendBox = new QVBoxLayout;
    recommendWin_ = new QLabel(page);
    recommendWin_->setObjectName(u"recommendWin"_s);
    recommendPairs_ = new QLabel(page);
    recommendPairs_->setObjectName(u"recommendPairs"_s);
    for (QLabel* l : {recommendWin_, recommendPairs_}) {
        l->setFont(font);
        l->setStyleSheet(u"color: #a00000;"_s);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        recommendBox->addWidget(l);
    }
    recommendRow->addLayout(recommendBox, 1);

    command1_ = new QPushButton(u"のＢＥＴ出力"_s, page);
    command1_->setObjectName(u"Command1"_s);
    command1_->setToolTip(u"表示中のレースの馬券を保留ＢＥＴに出力します"_s);
    connect(command1_, &QPushButton::clicked, this, &frmZenoMain::Command1_Click);
    command2_ = new QPushButton(u"予想ｵｯｽﾞ"_s, page);
    command2_->setObjectName(u"Command2"_s);
    command2_->setToolTip(u"競馬ブックの予想オッズを表示します"_s);
    connect(command2_, &QPushButton::clicked, this, &frmZenoMain::Command2_Click);
    placeOddsButton_ = new QPushButton(u"複ｵｯｽﾞ"_s, page);
    placeOddsButton_->setObjectName(u"cmdPlaceOdds"_s);
    placeOddsButton_->setToolTip(u"右端の列に複勝オッズを表示します"_s);
    placeOddsButton_->setCheckable(true);
    bodyWeightButton_ = new QPushButton(u"馬体重"_s, page);
    bodyWeightButton_->setObjectName(u"cmdBodyWeight"_s);
    bodyWeightButton_->setToolTip(u"右端の列に馬体重を表示します"_s);
    bodyWeightButton_->setCheckable(true);
    connect(placeOddsButton_, &QPushButton::clicked, this, [this] { setOddsColumnMode(true); });
    connect(bodyWeightButton_, &QPushButton::clicked, this, [this] { setOddsColumnMode(false); });
    evButton_ = new QPushButton(u"勝率・期待値"_s, page);
    evButton_->setObjectName(u"cmdEv"_s);
    evButton_->setToolTip(u"勝率のモデルによる各馬の勝率と期待値（勝率×単勝オッズ）の列を表示します"_s);
    evButton_->setCheckable(true);
    connect(evButton_, &QPushButton::clicked, this, &frmZenoMain::setEvColumnsShown);
    for (QPushButton* b : {command1_, command2_, placeOddsButton_, bodyWeightButton_, evButton_}) {
        b->setMinimumHeight(28);
        recommendRow->addWidget(b);
    }
    layout->addLayout(recommendRow);

    evNote_ = new QLabel(page);
    evNote_->setObjectName(u"evNote"_s);
    evNote_->setStyleSheet(u"color: #555;"_s);
    evNote_->hide();
    layout->addWidget(evNote_);
    grid_ = buildGrid(page);
    layout->addWidget(grid_, 1);
}

bool frmZenoMain::inCardView() const {
    return stack_->currentIndex() == 1;
}

void frmZenoMain::showDayView() {
    stack_->setCurrentIndex(0);
    for (QPushButton* b : {ssCommand2_[1], ssCommand2_[2], ssCommand2_[4], ssCommand2_[5]})
        b->setEnabled(false);
    // The bulk output works on the day: it is there as soon as a day is chosen.
    ssCommand2_[0]->setEnabled(!currentRaceDate_.isEmpty());
}

void frmZenoMain::ShowCardScreen() {
    showDayView();
    LoadDayList();
    if (!ctx_.ImportedDay.isEmpty()) {
        const QString day = ctx_.ImportedDay;
        ctx_.ImportedDay.clear();
        for (int i = 0; i < dayList_->count(); ++i) {
            if (dayList_->item(i)->data(Qt::UserRole).toString() == day) {
                dayList_->setCurrentRow(i);
            }
        }
        chosenDay_ = day;
        LoadDay(day);
    }
}

void frmZenoMain::LoadDayList() {
    dayList_->clear();
    const QStringList days = zm::LoadDayList(ctx_.paths.DataDir);
    if (!day_.day.isEmpty() && !days.contains(day_.day)) {
        // The shown day was deleted meanwhile: its races can no longer be opened.
        day_ = zm::DayCard{};
        showFrames();
    }
    for (const QString& d : days) {
        auto* item = new QListWidgetItem(zm::DayText(d), dayList_);
        item->setData(Qt::UserRole, d);
    }
    if (!days.isEmpty()) {
        dayList_->setCurrentRow(0);
        chosenDay_ = days.first();
        dayHelp_->setText(u"開催日をダブルクリックすると、最大３場の全レースが表示されます。\n"
                          u"レースをクリックすると出馬表と予想を表示します。"_s);
    } else {
        dayHelp_->setText(u"予想済みの開催日がありません。\n"
                          u"「解凍・予想」で出馬表ファイルを取り込むと、ここに表示されます。"_s);
    }
}

bool frmZenoMain::LoadDay(const QString& day) {
    zm::DayCard loaded;
    switch (zm::LoadDay(ctx_.paths.DataDir, day, loaded)) {
    case zm::DayLoad::Ok:
        break;
    case zm::DayLoad::FilesMissing:
        if (zm::IsDummyDay(ctx_.paths.DataDir, day)) {
            // Nothing to show but the date itself: the pending-bet commands work on it.
            day_ = zm::DayCard{};
            showFrames();
            dayHelp_->setText(zm::DayText(day) + u"はダミーの開催日です（予想済みのレースはありません）。\n"
                                                   u"保留ＢＥＴの操作はこの日付で行えます。"_s);
            currentRaceDate_ = day;
            showDayView();
            emit dayLoaded(day);
            return true;
        }
        ctx_.prompter.warning(zm::kDayFilesMissing);
        highlightShownDay();
        return false;
    case zm::DayLoad::Damaged:
        // The shown day stays; the damaged one is named, never shown from half its files.
        ctx_.prompter.critical(loaded.problem);
        highlightShownDay();
        return false;
    }
    day_ = loaded;
    showFrames();
    currentRaceDate_ = day;
    showDayView();
    emit dayLoaded(day);
    return true;
}

void frmZenoMain::highlightShownDay() {
    // The highlight goes back to the day whose races the frames show, none when none is shown.
    dayList_->setCurrentRow(-1);
    dayList_->clearSelection();
    for (int i = 0; i < dayList_->count(); ++i) {
        if (!currentRaceDate_.isEmpty() && dayList_->item(i)->data(Qt::UserRole).toString() == currentRaceDate_) {
            dayList_->setCurrentRow(i);
            chosenDay_ = currentRaceDate_;
        }
    }
}

void frmZenoMain::showFrames() {
    for (size_t k = 0; k < 3; ++k) {
        const zm::VenueFrame& f = day_.frames[k];
        frames_[k]->setTitle(f.caption);
        for (size_t r = 0; r < 12; ++r) {
            QListWidgetItem* item = raceLists_[k]->item(static_cast<int>(r));
            item->setText(f.rows[r].text);
            item->setFlags(f.rows[r].predictionRecord ? (Qt::ItemIsEnabled | Qt::ItemIsSelectable) : Qt::ItemIsEnabled);
        }
        raceLists_[k]->clearSelection();
        frames_[k]->setVisible(f.visible());
    }
    // The guidance is for an empty day view; a loaded day gets the whole room.
    dayHelp_->setVisible(day_.day.isEmpty());
}

void frmZenoMain::onRaceRowClicked(int frame, QListWidgetItem* item) {
    ShowRace(frame, raceLists_[static_cast<size_t>(frame - 1)]->row(item) + 1);
}

void frmZenoMain::ShowRace(int frame, int row) {
    const auto race = zm::LoadRace(ctx_.paths.DataDir, day_, frame, row);
    if (!race) {
        return;
    }
    race_ = *race;
    haveRace_ = true;
    // With PAT in use its files give the odds and body weights of the card.
    livePat_ = livePatFormat(ctx_);
    if (livePat_) {
        patRace_ = patRaceOf(ctx_, race_.day, race_.venueCode, race_.raceNo);
        fillLiveOdds(race_, ReadLiveOdds(ctx_, *livePat_, patRace_));
    }
    shownFrame_ = frame;
    shownRow_ = row;
    recommendations_ = race_.recommendations;
    raceLine_->setText(race_.raceLine);
    titleLine_->setText(race_.titleLine);
    courseLine_->setText(race_.courseLine);
    conditionsLine_->setText(race_.conditions);
    conditionsLine_->setVisible(!race_.conditions.isEmpty());
    recommendWin_->setText(race_.recommendWin);
    recommendPairs_->setText(race_.recommendPairs);
    raceTitle_ = VenueName(race_.venueCode) + QString::number(race_.raceNo) + u"Ｒ"_s;
    command1_->setText(raceTitle_ + u" のＢＥＴ出力"_s);
    fillGrid();
    stack_->setCurrentIndex(1);
    for (QPushButton* b : {ssCommand2_[0], ssCommand2_[1], ssCommand2_[2], ssCommand2_[4], ssCommand2_[5]})
        b->setEnabled(true);
}

void frmZenoMain::backClicked() {
    if (inCardView()) {
        showDayView();
    } else {
        hideScreen();
    }
}

void frmZenoMain::hideScreen() {
    emit screenHidden();
    // Closed, not hidden: the window (and its MDI sub-window) is deleted, so nothing can bring
    // back a stale card later.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->close();
    } else {
        close();
    }
}

void frmZenoMain::Command1_Click() {
    if (!haveRace_) {
        return;
    }
    auto* dialog = new frmBETout(ctx_, race_.day, race_.venueCode, race_.raceNo, raceTitle_,
                                 OpenBetOutForm(ctx_.settings, race_.recommendations), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->adjustSize();
    PlaceAtLowerRight(dialog, window());
    dialog->open();
}

void frmZenoMain::ShowOddsWindow() {
    if (!haveRace_) {
        return;
    }
    if (!livePat_) {
        Command2_Click();
        return;
    }
    auto* window = new frmOdds(ctx_, *livePat_, patRace_,
                               VenueName(race_.venueCode) + u" "_s + FullWidthDigits(QString::number(race_.raceNo)) +
                                   u"Ｒ"_s,
                               this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
}

void frmZenoMain::Command2_Click() {
    if (!haveRace_) {
        return;
    }
    zm::PredictedOdds odds;
    const auto result = zm::LoadPredictedOdds(ctx_.paths.DataDir, race_.day, race_.venueCode, race_.raceNo,
                                                race_.runnerCount, odds);
    if (result != zm::PredictedOddsLoad::Ok) {
        ctx_.prompter.information(zm::kNoPredictedOdds);
        return;
    }
    auto* dialog = new PredictedOddsDialog(odds, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace zm::ui
