#include "ui/frmprogres.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace zm::ui {

namespace {

QColor meetingColor(int meeting) {
    switch (meeting) {
    case 0:
        return QColor(0, 0, 0);
    case 1:
        return QColor(255, 0, 0);
    case 2:
        return QColor(255, 0, 255);
    default:
        return QColor(0, 255, 0);
    }
}

}  // namespace

ProgressBarView::ProgressBarView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picProgress"));
    setMinimumHeight(24);
}

void ProgressBarView::setPercent(double percent) {
    const int p = qBound(0, static_cast<int>(percent + 0.5), 100);
    if (p != percent_) {
        percent_ = p;
        update();
    }
}

void ProgressBarView::setBarColor(const QColor& color) {
    color_ = color;
    update();
}

QString ProgressBarView::percentText() const { return QString::number(percent_) + u'%'; }

void ProgressBarView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.fillRect(r, Qt::white);
    const int filled = r.width() * percent_ / 100;
    p.fillRect(QRect(r.left(), r.top(), filled, r.height()), color_);
    p.setPen(Qt::darkGray);
    p.drawRect(r);
    // The percent stays readable over both parts of the bar.
    const QString text = percentText();
    p.setClipRect(QRect(r.left(), r.top(), filled, r.height()));
    p.setPen(color_.lightness() < 140 ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
    p.setClipRect(QRect(r.left() + filled, r.top(), r.width() - filled + 1, r.height()));
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}

frmProgres::frmProgres(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("frmProgres"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("lblCaption"));
    caption_->setAutoFillBackground(true);
    caption_->setContentsMargins(6, 2, 6, 2);
    QPalette captionPalette = caption_->palette();
    captionPalette.setColor(QPalette::Window, QColor(0, 0, 128));
    captionPalette.setColor(QPalette::WindowText, Qt::white);
    caption_->setPalette(captionPalette);
    QFont captionFont = caption_->font();
    captionFont.setBold(true);
    caption_->setFont(captionFont);
    setCaption(QStringLiteral("ゼノゼノＭＵＲ　"));
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("lblProgress"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumHeight(34);
    label_->setAutoFillBackground(true);
    QFont f = label_->font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    f.setBold(true);
    label_->setFont(f);
    // The venue colours (red, magenta, green) read well on a dark ground.
    QPalette pal = label_->palette();
    pal.setColor(QPalette::Window, QColor(16, 16, 48));
    label_->setPalette(pal);
    bar_ = new ProgressBarView(this);
    batch_ = new QLabel(this);
    batch_->setObjectName(QStringLiteral("lblBatch"));
    batch_->setAlignment(Qt::AlignCenter);
    batch_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 8);
    layout->addWidget(caption_);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 4, 8, 0);
    body->addWidget(batch_);
    body->addWidget(label_);
    body->addWidget(bar_);
    layout->addLayout(body);
    fitHeight();
    // The run works on a thread of its own; while the window shows, the main window's buttons
    // and menus are disabled by the run, and every window goes on painting.
}

void frmProgres::setCaption(const QString& caption) {
    setWindowTitle(caption);
    caption_->setText(caption);
}

void frmProgres::setLabel(const QString& text, int meeting) {
    labelColor_ = meetingColor(meeting);
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, labelColor_);
    label_->setPalette(pal);
    label_->setText(text);
}

void frmProgres::setPercent(double percent) {
    if (steps_ > 0) {
        // The bar covers the whole batch: the items done and the share of the current one.
        percent = (step_ - 1 + qBound(0.0, percent, 100.0) / 100.0) * 100.0 / steps_;
    }
    bar_->setPercent(percent);
}

QString frmProgres::batchText(int step, int steps, const QString& item) {
    QString day;
    // "hb" + yymmdd + ".lzh" names the day it holds.
    static const QRegularExpression dated(QStringLiteral("^hb(\\d\\d)(\\d\\d)(\\d\\d)\\.lzh$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = dated.match(item); m.hasMatch()) {
        const int yy = m.captured(1).toInt();
        day = QString::number(yy >= 91 ? 1900 + yy : 2000 + yy) + u'/' + m.captured(2) + u'/' + m.captured(3);
    }
    QString text = QStringLiteral("一括処理 ") + QString::number(step) + u'/' + QString::number(steps) +
                   QStringLiteral("：");
    return day.isEmpty() ? text + item : text + day + QStringLiteral("（") + item + QStringLiteral("）");
}

void frmProgres::setBatchStep(int step, int steps, const QString& item) {
    step_ = steps > 0 ? qBound(1, step, steps) : 0;
    steps_ = qMax(0, steps);
    batch_->setVisible(steps_ > 0);
    batch_->setText(steps_ > 0 ? batchText(step_, steps_, item) : QString());
    if (steps_ > 0) {
        // The last day's caption and label go with it: the new day names itself once read.
        setCaption(QStringLiteral("ゼノゼノＭＵＲ　"));
        label_->clear();
        setPercent(0);
    }
    fitHeight();
    if (steps_ > 0) {
        emit batchStepShown(step_, steps_);
    }
}

void frmProgres::fitHeight() {
    // The batch line takes a line of its own above the day's label.
    setFixedSize(480, 126 + (steps_ > 0 ? batch_->sizeHint().height() + 6 : 0));
}

void frmProgres::reset() {
    step_ = 0;
    steps_ = 0;
    batch_->clear();
    batch_->hide();
    fitHeight();
    setCaption(QStringLiteral("ゼノゼノＭＵＲ　"));
    label_->clear();
    bar_->setPercent(0);
    bar_->setBarColor(QColor(0, 0, 255));
}

void frmProgres::showOverParent() {
    if (const QWidget* frame = parentWidget()) {
        const QRect g = frame->rect();
        // Somewhat below the middle of the frame (about two inches), clear of the buttons.
        const int y = qMin(g.center().y() - height() / 2 + 187, g.bottom() - height() - 40);
        move(qMax(0, g.center().x() - width() / 2), qMax(0, y));
    }
    show();
    raise();
}

}  // namespace zm::ui
