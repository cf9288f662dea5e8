#include "ui/frmpatlog.h"

#include "ui/table_items.h"
#include "ui/uiutil.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zm::ui {

using namespace Qt::Literals::StringLiterals;

namespace {

const QStringList kVoteColumns = {u"№"_s, u"場所"_s,     u"Ｒ"_s,     u"券種"_s,     u"買い目"_s, u"ODDS"_s,
                                  u"購入金額"_s, u"判 定"_s,  u"配 当"_s,    u"払戻金額"_s, u"備　考   "_s};
enum VoteColumn { VNumber, VVenue, VRace, VType, VCombination, VOdds, VStake, VJudgement, VPayout, VReturn, VRemark };

QString dayHeading(const QString& day) {
    if (day.size() != 8) {
        return u"ＰＡＴ収支"_s;
    }
    return day.left(4) + u"年"_s + day.mid(4, 2) + u"月"_s + day.mid(6, 2) + u"日のＰＡＴ収支"_s;
}

}  // namespace

QStringList frmPatLog::exportFilters() {
    // "name (pattern)|pattern|..." pairs: the name carries its pattern; the files may come
    // from a platform that ignores case, so the lower-case spelling is offered as well.
    QStringList filters;
    const QStringList parts = zm::kExportFilter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].section(u'(', 0, 0).trimmed();
        const QString pattern = parts[i + 1];
        const QString lower = pattern.toLower();
        filters << name + u" ("_s + (lower == pattern ? pattern : pattern + u' ' + lower) + u')';
    }
    return filters;
}

QColor frmPatLog::judgementColor(zm::Judgement j) {
    switch (j) {
        case zm::Judgement::Hit:
            return QColor(0, 0, 0xFF);
        case zm::Judgement::Refund:
            return QColor(0x00, 0x80, 0x00);
        case zm::Judgement::Miss:
        case zm::Judgement::Unjudged:
            break;
    }
    return QColor(Qt::black);
}

frmPatLog::frmPatLog(AppContext& ctx, std::optional<zm::VoteLog> log, std::vector<zm::SeiRecord> results, Page page,
                     QWidget* parent)
    : QDialog(parent), ctx_(ctx), log_(std::move(log)) {
    setObjectName(u"frmPatLog"_s);
    setWindowTitle(u"ＰＡＴ収支・競争結果"_s);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(u"patTabs"_s);

    // The vote log with its totals.
    auto* logPage = new QWidget(tabs_);
    heading_ = new QLabel(dayHeading(log_ ? log_->day : QString()), logPage);
    heading_->setObjectName(u"heading"_s);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    votes_ = makeReadOnlyTable(logPage, u"voteLog"_s, kVoteColumns);
    auto* totals = new QGridLayout;
    totals->setHorizontalSpacing(16);
    QFont valueFont = font();
    valueFont.setBold(true);
    valueFont.setPointSize(valueFont.pointSize() + 2);
    const auto total = [&](int column, const QString& caption, const QString& name) {
        auto* c = new QLabel(caption, logPage);
        auto* v = new QLabel(logPage);
        v->setObjectName(name);
        v->setFont(valueFont);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        v->setMinimumWidth(120);
        v->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        totals->addWidget(c, 0, column * 2);
        totals->addWidget(v, 0, column * 2 + 1);
        return v;
    };
    investment_ = total(0, u"投資額合計"_s, u"lblInvestment"_s);
    returns_ = total(1, u"払戻金合計"_s, u"lblReturns"_s);
    balance_ = total(2, u"本日の収支"_s, u"lblBalance"_s);
    rate_ = total(3, u"回収率"_s, u"lblRate"_s);
    auto* logLayout = new QVBoxLayout(logPage);
    logLayout->addWidget(heading_);
    logLayout->addWidget(votes_, 1);
    logLayout->addLayout(totals);
    tabs_->addTab(logPage, u"投票ログ・収支"_s);

    results_ = makeReadOnlyTable(tabs_, u"resultsList"_s, zm::resultsColumns());
    tabs_->addTab(results_, u"競争結果一覧"_s);

    exported_ = new QLabel(this);
    exported_->setObjectName(u"lblExported"_s);
    export_ = new QPushButton(u"テキスト出力"_s, this);
    export_->setObjectName(u"Command1"_s);
    export_->setAutoDefault(false);
    export_->setEnabled(log_.has_value());
    close_ = new QPushButton(u"閉じる"_s, this);
    close_->setObjectName(u"Command2"_s);
    connect(export_, &QPushButton::clicked, this, &frmPatLog::Command1_Click);
    connect(close_, &QPushButton::clicked, this, &frmPatLog::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exported_, 1);
    buttons->addWidget(export_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    fillVotes();
    fillResults(results);
    tabs_->setCurrentIndex(page);
    resize(sizeHint());
}

QSize frmPatLog::sizeHint() const {
    // Every column of the vote log and most of the results list without scrolling.
    return {1100, 620};
}

void frmPatLog::fillVotes() {
    votes_->setSortingEnabled(false);
    votes_->setRowCount(0);
    if (!log_) {
        for (QLabel* l : {investment_, returns_, balance_, rate_}) {
            l->clear();
        }
        return;
    }
    const auto rows = static_cast<int>(log_->rows.size());
    votes_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const zm::VoteRow& v = log_->rows[static_cast<size_t>(r)];
        votes_->setItem(r, VNumber, numberItem(v.numberText, Qt::AlignCenter));
        votes_->setItem(r, VVenue, textItem(v.venue));
        votes_->setItem(r, VRace, numberItem(v.race, Qt::AlignCenter));
        votes_->setItem(r, VType, textItem(v.type));
        votes_->setItem(r, VCombination, textItem(v.combination));
        votes_->setItem(r, VOdds, numberItem(v.odds));
        votes_->setItem(r, VStake, numberItem(v.stakeText));
        QTableWidgetItem* judgement = textItem(v.judgementText);
        judgement->setForeground(judgementColor(v.judgement));
        if (v.judgement == zm::Judgement::Hit) {
            QFont f = judgement->font();
            f.setBold(true);
            judgement->setFont(f);
        }
        votes_->setItem(r, VJudgement, judgement);
        votes_->setItem(r, VPayout, numberItem(v.payoutText));
        votes_->setItem(r, VReturn, numberItem(v.returnText));
        votes_->setItem(r, VRemark, textItem(v.remark, Qt::AlignLeft | Qt::AlignVCenter));
    }
    votes_->resizeColumnsToContents();
    for (int c = 0; c < votes_->columnCount(); ++c) {
        votes_->setColumnWidth(c, std::max(votes_->columnWidth(c), 56) + 12);
    }
    votes_->setSortingEnabled(true);

    investment_->setText(log_->investmentText());
    returns_->setText(log_->returnsText());
    balance_->setText(log_->balanceText());
    rate_->setText(log_->rateText());
    const bool loss = log_->returns < log_->investment;
    balance_->setStyleSheet(loss ? u"color: #c00000;"_s : u"color: #0000ff;"_s);
}

void frmPatLog::fillResults(const std::vector<zm::SeiRecord>& results) {
    results_->setSortingEnabled(false);
    results_->setRowCount(static_cast<int>(results.size()));
    for (int r = 0; r < static_cast<int>(results.size()); ++r) {
        const QStringList cells = zm::resultsRow(results[static_cast<size_t>(r)]);
        for (int c = 0; c < cells.size(); ++c) {
            // Payouts right-aligned as money; the rest centred.
            const bool money = c >= 3 && zm::resultsColumns().value(c) == u"払戻";
            results_->setItem(r, c, money ? numberItem(cells[c]) : c == 1 ? numberItem(cells[c], Qt::AlignCenter)
                                                                          : textItem(cells[c]));
        }
    }
    results_->resizeColumnsToContents();
    for (int c = 0; c < results_->columnCount(); ++c) {
        results_->setColumnWidth(c, std::max(results_->columnWidth(c), 36) + 10);
    }
    results_->setSortingEnabled(true);
}

QString frmPatLog::chooseFile() {
    const QString caption = u"テキスト出力"_s;
    const QString folder = QDir(ctx_.settings.OutPutDir).exists() ? ctx_.settings.OutPutDir : ctx_.paths.AppPath;
    const QStringList filters = exportFilters();
    if (saveFile_) {
        return saveFile_(caption, folder, filters);
    }
    QFileDialog dialog(this, caption, folder);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // An existing file is added to, never replaced: no question about overwriting.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(u"TXT"_s);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

void frmPatLog::Command1_Click() {
    if (!log_) {
        return;
    }
    const QString file = chooseFile();
    if (file.isEmpty()) {
        return;
    }
    if (const Status st = zm::ExportPatView(*log_, file); !st) {
        ctx_.prompter.critical(st.message());
        return;
    }
    exported_->setText(u"出力しました："_s + QDir::toNativeSeparators(file));
}

void frmPatLog::Command2_Click() { close(); }

}  // namespace zm::ui
