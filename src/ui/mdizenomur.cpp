#include "ui/mdizenomur.h"

#include "app/safe_save.h"
#include "codes/numeric.h"
#include "import/race_model.h"
#include "import/work_folder.h"
#include "ui/frmabout.h"
#include "ui/frmdelfile.h"
#include "ui/frmopt1.h"
#include "ui/frmopttxt.h"
#include "ui/frmpatoption.h"
#include "ui/frmprogres.h"
#include "ui/frmyosouout.h"
#include "ui/frmzenomain.h"
#include "ui/uiutil.h"
#include "ui/worker_run.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

// The help page lives in the program's resources, built into a static library: they must be
// registered by hand.
static void initResources() { Q_INIT_RESOURCE(zenomur); }

namespace zm::ui {

namespace {

struct WebPage {
    const char16_t* key;
    const char16_t* address;
};
// Section "Web" of the settings store; the addresses are used while a key is empty.
const WebPage kWebPages[3] = {{u"ZenoHP", u"https://www.zenomur.example/"},
                              {u"MurHP", u"https://www.shunmedo.example/"},
                              {u"Web2HP", u"https://www.zenomur.example/web2/"}};

// Copies one file of the program's resources out to target (only when it differs).
bool copyResource(const QString& resource, const QString& target) {
    QFile source(resource);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray bytes = source.readAll();
    QFile existing(target);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) {
        return true;
    }
    existing.close();
    QDir().mkpath(QFileInfo(target).absolutePath());
    return SafeSave::save(target, bytes).ok();
}

// Copies the help page and its pictures out of the program's resources to the program folder,
// so that a browser can open it as a file.
bool writeHelpFile(const QString& target) {
    initResources();
    const QString folder = QFileInfo(target).absolutePath() + u'/';
    for (const QString& name : QDir(QStringLiteral(":/help")).entryList(QDir::Files)) {
        if (name != u"index.html" && !copyResource(QStringLiteral(":/help/") + name, folder + name)) {
            return false;
        }
    }
    return copyResource(QStringLiteral(":/help/index.html"), target);
}

}  // namespace

// --- command buttons ---------------------------------------------------------------------

void CommandButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        rightDown_ = true;
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void CommandButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const bool inside = rect().contains(event->position().toPoint());
        if (rightDown_ && inside && isEnabled()) {
            rightDown_ = false;
            emit rightClicked();
        }
        rightDown_ = false;
        event->accept();
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

void CommandButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    QPainter p(this);
    QPen pen(palette().color(QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawRect(rect().adjusted(5, 5, -6, -6));
}

CommandStrip::CommandStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CommandStrip"));
    static const char16_t* const captions[5] = {u"解凍･予想", u"出馬表・予想表示", u"既存ﾃﾞｰﾀの削除",
                                                u"翌日分添付データ切出し", u"終 了"};
    static const char16_t* const tips[5] = {
        u"MURデータを解凍し予想を行います", u"出馬表および予想を表示します", u"過去の予想済みファイルを削除します",
        u"翌日の重賞競走データが付加されている出馬表を日別に分割します", u"このプログラムを終了します"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new CommandButton(QString::fromUtf16(captions[i]), this);
        b->setObjectName(QStringLiteral("SSCommand1_%1").arg(i));
        b->setToolTip(QString::fromUtf16(tips[i]));
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        buttons_[static_cast<std::size_t>(i)] = b;
    }
    setFixedHeight(48);
}

QSize CommandStrip::sizeHint() const { return {800, 48}; }

int CommandStrip::buttonWidth(int stripWidth) { return ToInt16(stripWidth / 5.0); }

void CommandStrip::resizeEvent(QResizeEvent*) {
    const int w = buttonWidth(width());
    for (int i = 0; i < 5; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setGeometry(i * w, 0, w, height());
    }
}

// --- the frame ---------------------------------------------------------------------------

MDIZenoMUR::MDIZenoMUR(AppContext& ctx, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("MDIZenoMUR"));
    setWindowTitle(kAppTitle);

    auto* central = new QWidget(this);
    strip_ = new CommandStrip(central);
    mdi_ = new QMdiArea(central);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setBackground(QColor(0x5a, 0x6e, 0x7f));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip_);
    layout->addWidget(mdi_, 1);
    setCentralWidget(central);

    for (int i = 0; i < 5; ++i) {
        connect(strip_->button(i), &QPushButton::clicked, this, [this, i] { SSCommand1_Click(i); });
    }
    connect(strip_->button(0), &CommandButton::rightClicked, this, &MDIZenoMUR::SSCommand1_RightClick);

    buildMenus();

    editionPanel_ = new QLabel(QStringLiteral("ゼノゼノＭＵＲ_駿馬堂OnLine版"), this);
    editionPanel_->setObjectName(QStringLiteral("StatusBar1_1"));
    signaturePanel_ = new QLabel(QStringLiteral("競馬予想支援 ゼノゼノＭＵＲ"), this);
    signaturePanel_->setObjectName(QStringLiteral("StatusBar1_2"));
    statusBar()->addWidget(editionPanel_, 1);
    statusBar()->addPermanentWidget(signaturePanel_);

    progress_ = new frmProgres(this);
    progress_->hide();

    QSize size(1280, 720);
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(s->availableGeometry().size() - QSize(16, 40));
    }
    resize(size);
    strip_->button(1)->setFocus();
}

MDIZenoMUR::~MDIZenoMUR() {
    if (ctx_.progress == progress_) {
        ctx_.progress = nullptr;
    }
}

QAction* MDIZenoMUR::addItem(QMenu* menu, const QString& name, const QString& caption,
                             void (MDIZenoMUR::*handler)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, handler);
    return a;
}

QAction* MDIZenoMUR::addPlaceholder(QMenu* menu, const QString& name, const QString& caption) {
    // A command that is not available in this version: shown, never clickable.
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setEnabled(false);
    return a;
}

void MDIZenoMUR::buildMenus() {
    QMenuBar* bar = menuBar();
    buildFileMenu(bar);
    buildBetMenu(bar);
    buildOddsMenu(bar);
    buildPatMenu(bar);
    buildOptionMenu(bar);
    buildHelpMenu(bar);
}

void MDIZenoMUR::buildFileMenu(QMenuBar* bar) {
    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, QStringLiteral("mnuKaitou"), QStringLiteral("解凍・予想(&U)"), &MDIZenoMUR::mnuKaitou_Click);
    addItem(file, QStringLiteral("mnuHyouji"), QStringLiteral("出馬表と予想の表示(&V)"), &MDIZenoMUR::mnuHyouji_Click);
    addItem(file, QStringLiteral("mnuDataDel"), QStringLiteral("既存ﾃﾞｰﾀﾌｧｲﾙの削除(&D)"), &MDIZenoMUR::mnuDataDel_Click);
    file->addSeparator();
    addItem(file, QStringLiteral("mnuG1cut"), QStringLiteral("翌日分重賞競走の出馬表切出し(&B)"),
            &MDIZenoMUR::mnuG1cut_Click);
    file->addSeparator();
    addPlaceholder(file, QStringLiteral("mnuFhduel2Pat98"), QStringLiteral("FHduel_Mes17ログからPAT98データ作成"));
    addPlaceholder(file, QStringLiteral("mnuFhduel2Pat95"), QStringLiteral("FHduel_Mes17ログからPAT95データ作成"));
    file->addSeparator();
    addItem(file, QStringLiteral("mnuEnd"), QStringLiteral("終了(&X)"), &MDIZenoMUR::mnuEnd_Click);
}

void MDIZenoMUR::buildBetMenu(QMenuBar* bar) {
    QMenu* bet = bar->addMenu(QStringLiteral("保留ＢＥＴ操作(&B)"));
    bet->setObjectName(QStringLiteral("mnuBetOut"));
    addItem(bet, QStringLiteral("mnuBetFIleEdit"), QStringLiteral("保留BETファイルの閲覧・修正(&E)"),
            &MDIZenoMUR::mnuBetFIleEdit_Click);
    bet->addSeparator();
    addItem(bet, QStringLiteral("mnuBetTougou"), QStringLiteral("保留BETの重複買い目を統合(&T)"),
            &MDIZenoMUR::mnuBetTougou_Click);
    addItem(bet, QStringLiteral("mnuBetSakujo"), QStringLiteral("保留BETの重複買い目を削除(&D)"),
            &MDIZenoMUR::mnuBetSakujo_Click);
    addItem(bet, QStringLiteral("mnuBetSort"), QStringLiteral("保留BETのソート(&S)"), &MDIZenoMUR::mnuBetSort_Click);
    addItem(bet, QStringLiteral("mnuBetOddsTorikomi"), QStringLiteral("保留BETファイルへオッズの読み込み(&O)"),
            &MDIZenoMUR::mnuBetOddsTorikomi_Click);
    addItem(bet, QStringLiteral("mnuBetOddsHanniSakujo"), QStringLiteral("指定オッズ範囲の保留ＢＥＴを削除(&H)"),
            &MDIZenoMUR::mnuBetOddsHanniSakujo_Click);
    addItem(bet, QStringLiteral("mnuBetHyouji"), QStringLiteral("保留BETの金額・BET数表示(&V)"),
            &MDIZenoMUR::mnuBetHyouji_Click);
    bet->addSeparator();
    addItem(bet, QStringLiteral("mnuPatBetOut"), QStringLiteral("「サクッとべっと」形式で出力(&P)"),
            &MDIZenoMUR::mnuPatBetOut_Click);
    addItem(bet, QStringLiteral("mnuVoteRoboOut"), QStringLiteral("「VOTEROBO」形式で出力(&B)"),
            &MDIZenoMUR::mnuVoteRoboOut_Click);
    addItem(bet, QStringLiteral("mnuShoubakaiOut"), QStringLiteral("「的中会投票」形式で出力(&K)"),
            &MDIZenoMUR::mnuShoubakaiOut_Click);
    addItem(bet, QStringLiteral("mnuReadTekichukai"), QStringLiteral("的中会の投票を保留BETに変換"),
            &MDIZenoMUR::mnuReadTekichukai_Click);
    bet->addSeparator();
    addItem(bet, QStringLiteral("HidukeHoryuuBet"), QStringLiteral("日付を指定して保留ＢＥＴの操作"),
            &MDIZenoMUR::HidukeHoryuuBet_Click);
}

void MDIZenoMUR::buildOddsMenu(QMenuBar* bar) {
    QMenu* odds = bar->addMenu(QStringLiteral("予想オッズ(&Y)"));
    odds->setObjectName(QStringLiteral("mnuMurOdds"));
    QAction* conv0 = odds->addAction(QStringLiteral("解凍のみ（通常はこれでＯＫです）(&U)"));
    conv0->setObjectName(QStringLiteral("mnuConvMurOdds_0"));
    connect(conv0, &QAction::triggered, this, [this] { mnuConvMurOdds_Click(0); });
    odds->addSeparator();
    const char16_t* const convCaptions[3] = {u"解凍・ＰＡＴ９８形式に変換(&N)", u"解凍・ＰＡＴ９５形式に変換(&C)",
                                             u"解凍・ＰＡＴ31形式に変換(&W)"};
    for (int i = 2; i <= 4; ++i) {
        QAction* conv = odds->addAction(QString::fromUtf16(convCaptions[i - 2]));
        conv->setObjectName(QStringLiteral("mnuConvMurOdds_%1").arg(i));
        connect(conv, &QAction::triggered, this, [this, i] { mnuConvMurOdds_Click(i); });
    }
}

void MDIZenoMUR::buildPatMenu(QMenuBar* bar) {
    QMenu* pat = bar->addMenu(QStringLiteral("ＰＡＴ情報(&P)"));
    pat->setObjectName(QStringLiteral("mnuPat"));
    const char16_t* const patCaptions[4] = {u"BET金額・BET残数(&B)", u"オッズ表示(&O)", u"競争結果一覧(&S)",
                                            u"投票ログ参照(&L)"};
    for (int i = 0; i < 4; ++i) {
        QAction* item = pat->addAction(QString::fromUtf16(patCaptions[i]));
        item->setObjectName(QStringLiteral("mnuPatItem_%1").arg(i));
        connect(item, &QAction::triggered, this, [this, i] { mnuPatItem_Click(i); });
    }
    pat->addSeparator();
    addItem(pat, QStringLiteral("mnuBacktest"), QStringLiteral("予想スタイル別の成績"), &MDIZenoMUR::mnuBacktest_Click);
    addItem(pat, QStringLiteral("mnuLedger"), QStringLiteral("収支管理"), &MDIZenoMUR::mnuLedger_Click);
}

void MDIZenoMUR::buildOptionMenu(QMenuBar* bar) {
    QMenu* opt = bar->addMenu(QStringLiteral("オプション(&O)"));
    opt->setObjectName(QStringLiteral("mnuOpt"));
    addItem(opt, QStringLiteral("mnuOpt_Dir"), QStringLiteral("データフォルダの設定(&F)"), &MDIZenoMUR::mnuOpt_Dir_Click);
    addItem(opt, QStringLiteral("mnuOpt_Pat"), QStringLiteral("ＰＡＴの設定(&P)"), &MDIZenoMUR::mnuOpt_Pat_Click);
    addItem(opt, QStringLiteral("mnuYosouOut"), QStringLiteral("予想出力の設定(&Y)"), &MDIZenoMUR::mnuYosouOut_Click);
    addItem(opt, QStringLiteral("mnuTxtOut"), QStringLiteral("テキスト出力の設定(&T)"), &MDIZenoMUR::mnuTxtOut_Click);
    opt->addSeparator();
    QAction* uma = addItem(opt, QStringLiteral("mnuumaFhozon"), QStringLiteral("解凍競走馬ﾌｧｲﾙを残す"),
                           &MDIZenoMUR::mnuumaFhozon_Click);
    uma->setCheckable(true);
    uma->setChecked(ctx_.settings.umaF);
}

void MDIZenoMUR::buildHelpMenu(QMenuBar* bar) {
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("mnuAbout"));
    addItem(help, QStringLiteral("mnuHelp"), QStringLiteral("ヘルプ(&H)"), &MDIZenoMUR::mnuHelp_Click);
    addItem(help, QStringLiteral("mnuVer"), QStringLiteral("バージョン情報(&A)"), &MDIZenoMUR::mnuVer_Click);
    help->addSeparator();
    addItem(help, QStringLiteral("mnuGoHP"), QStringLiteral("ゼノゼノＭＵＲのホームページ(&Z)"),
            &MDIZenoMUR::mnuGoHP_Click);
    addItem(help, QStringLiteral("mnuGoMurHP"), QStringLiteral("駿馬堂OnLineのホームページ(&M)"),
            &MDIZenoMUR::mnuGoMurHP_Click);
    addItem(help, QStringLiteral("mnuGoWeb2HP"), QStringLiteral("作者のもう一つのホームページ(&W)"),
            &MDIZenoMUR::mnuGoWeb2HP_Click);
}

QAction* MDIZenoMUR::menuAction(const QString& name) const { return findChild<QAction*>(name); }

void MDIZenoMUR::setCommandsEnabled(bool enabled) {
    for (int i = 0; i < 5; ++i) {
        strip_->button(i)->setEnabled(enabled);
    }
    menuBar()->setEnabled(enabled);
}

void MDIZenoMUR::runLong(const std::function<void(AppContext&)>& work, bool showProgress) {
    running_ = true;
    setCommandsEnabled(false);
    progress_->reset();
    if (showProgress) {
        progress_->showOverParent();
    }
    {
        BusyCursor busy;
        RunOnWorker(ctx_, progress_, work);
    }
    progress_->hide();
    setCommandsEnabled(true);
    running_ = false;
    if (closeAfterRun_) {
        // The program was closed during the run: it ends now that the run has.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void MDIZenoMUR::showDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->adjustSize();
    PlaceOverParent(dialog);
    dialog->open();
}

QString MDIZenoMUR::openFile(const QString& caption, const QString& folder, const QStringList& filters,
                             int selected) {
    if (openFile_) {
        return openFile_(caption, folder, filters, selected);
    }
    QFileDialog dialog(this, caption, folder);
    PrepareFileDialog(dialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(selected));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

bool MDIZenoMUR::openUrl(const QUrl& url) { return openUrl_ ? openUrl_(url) : QDesktopServices::openUrl(url); }

// The service's files come from a platform that ignores case: each filter names the upper- and
// the lower-case spelling.
QStringList MDIZenoMUR::archiveFilters() {
    return {QStringLiteral("MUR出馬表圧縮ファイル (H*.LZH h*.lzh)"),
            QStringLiteral("翌日重賞Ｒ含むMUR出馬表圧縮ファイル (HZ*.LZH hz*.lzh)"),
            QStringLiteral("翌日分の分割ファイル (B*.LZH b*.lzh)"), QStringLiteral("すべての圧縮ファイル (*.LZH *.lzh)"),
            QStringLiteral("すべてのファイル (*)")};
}

QStringList MDIZenoMUR::oddsArchiveFilters() {
    return {QStringLiteral("MUR予想オッズ圧縮ファイル (J*.LZH j*.lzh)"), QStringLiteral("圧縮ファイル (*.LZH *.lzh)"),
            QStringLiteral("すべてのファイル (*)")};
}

QString MDIZenoMUR::KaitouDataSelect(int filter) {
    const QString folder = FolderExists(ctx_.settings.MurDataDir) ? ctx_.settings.MurDataDir : ctx_.paths.AppPath;
    return openFile(QStringLiteral("ＭＵＲデータの選択"), folder, archiveFilters(), qBound(1, filter, 5) - 1);
}

QString MDIZenoMUR::webPageAddress(SettingsStore& store, int entry) {
    const WebPage& page = kWebPages[qBound(0, entry, 2)];
    const QString stored = store.read(QStringLiteral("Web"), QString::fromUtf16(page.key)).trimmed();
    return stored.isEmpty() ? QString::fromUtf16(page.address) : stored;
}

// --- commands ----------------------------------------------------------------------------

void MDIZenoMUR::SSCommand1_Click(int index) {
    switch (index) {
        case 0:
            Kaitou_Yosou();
            break;
        case 1:
            mnuHyouji_Click();
            break;
        case 2:
            mnuDataDel_Click();
            break;
        case 3:
            mnuG1cut_Click();
            break;
        case 4:
            mnuEnd_Click();
            break;
        default:
            break;
    }
}

void MDIZenoMUR::SSCommand1_RightClick() {
    if (running_) {
        return;
    }
    ctx_.BatchRequested = ctx_.prompter.okCancel(QStringLiteral("一括処理を行いますか？"), kAppTitle);
}

void MDIZenoMUR::mnuKaitou_Click() { Kaitou_Yosou(); }

void MDIZenoMUR::mnuHyouji_Click() {
    ctx_.ImportedDay.clear();
    if (!card_ || !cardSub_) {
        // A closed card window is deleted with its sub-window: a new one each time.
        card_ = new frmZenoMain(ctx_);
        cardSub_ = mdi_->addSubWindow(card_);
        cardSub_->setAttribute(Qt::WA_DeleteOnClose);
        connect(card_, &frmZenoMain::dayLoaded, this, [this](const QString& day) {
            chosenDay_ = day;
            currentDay_ = day;
        });
        connect(card_, &frmZenoMain::purchaseFilesRequested, this, &MDIZenoMUR::mnuPatBetOut_Click);
        connect(card_, &frmZenoMain::tekichukaiRequested, this, &MDIZenoMUR::mnuShoubakaiOut_Click);
        connect(card_, &frmZenoMain::voteRoboRequested, this, &MDIZenoMUR::mnuVoteRoboOut_Click);
    }
    cardSub_->showMaximized();
    card_->show();
    card_->ShowCardScreen();
    mdi_->setActiveSubWindow(cardSub_);
}

void MDIZenoMUR::closeCardWindow() {
    if (cardSub_) {
        cardSub_->close();
    }
    card_ = nullptr;
    cardSub_ = nullptr;
}

void MDIZenoMUR::mnuDataDel_Click() {
    const bool cardWasOpen = card_ != nullptr;
    closeCardWindow();
    auto* dialog = new frmDelFile(ctx_, this);
    dialog->setCardClosed(cardWasOpen);
    showDialog(dialog);
}

void MDIZenoMUR::mnuEnd_Click() { close(); }

void MDIZenoMUR::mnuOpt_Dir_Click() {
    closeCardWindow();
    showDialog(new frmOpt1(ctx_, this));
}

void MDIZenoMUR::mnuOpt_Pat_Click() { showDialog(new frmPatOption(ctx_, this)); }

void MDIZenoMUR::mnuYosouOut_Click() { showDialog(new frmYosouOut(ctx_, this)); }

void MDIZenoMUR::mnuTxtOut_Click() { showDialog(new frmOptTxt(ctx_, this)); }

void MDIZenoMUR::mnuumaFhozon_Click() {
    QAction* a = menuAction(QStringLiteral("mnuumaFhozon"));
    ctx_.settings.umaF = a->isChecked();
    if (const Status stored = ctx_.store.SaveAppSetting(QStringLiteral("File"), QStringLiteral("umaF"),
                                                        boolText(ctx_.settings.umaF));
        !stored)
        ctx_.prompter.critical(stored.message());
}

void MDIZenoMUR::mnuHelp_Click() {
    const QString file = ctx_.paths.helpFile();
    if (!writeHelpFile(file) || !openUrl(QUrl::fromLocalFile(file))) {
        ctx_.prompter.warning(QStringLiteral("ヘルプファイル「%1」を開けません。").arg(file), kAppTitle);
    }
}

void MDIZenoMUR::mnuVer_Click() { showDialog(new frmAbout(ctx_, this)); }

void MDIZenoMUR::openWebPage(int entry) {
    const QString address = webPageAddress(ctx_.store, entry);
    const QUrl url(address);
    if (!url.isValid() || url.scheme().isEmpty() || !openUrl(url)) {
        ctx_.prompter.warning(QStringLiteral("ホームページ「%1」を開けません。").arg(address), kAppTitle);
    }
}

void MDIZenoMUR::mnuGoHP_Click() { openWebPage(0); }

void MDIZenoMUR::mnuGoMurHP_Click() { openWebPage(1); }

void MDIZenoMUR::mnuGoWeb2HP_Click() { openWebPage(2); }

void MDIZenoMUR::closeEvent(QCloseEvent* event) {
    if (running_) {
        // A run in progress finishes first (its files must not be cut off); then the program ends.
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (!shutDown_) {
        shutDown_ = true;
        emptyFolder(ctx_.paths.WorkDir);
        mdi_->closeAllSubWindows();
        progress_->close();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w != this && w->isVisible()) {
                w->close();
            }
        }
    }
    event->accept();
}

}  // namespace zm::ui
