#include "ui/frmprogres.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace zm::ui {

namespace {
QColor toColor(Rgb c) { return QColor(c.r, c.g, c.b); }
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

frmProgres::frmProgres(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmProgres"));
    setWindowTitle(QStringLiteral("ゼノゼノＭＵＲ　"));
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    setFixedSize(480, 100);
    // The run works on a thread of its own; while the window shows, the other windows take no
    // input but go on painting.
    setWindowModality(Qt::ApplicationModal);
}

void frmProgres::setCaption(const QString& caption) {
    setWindowTitle(caption);
}

void frmProgres::setLabel(const QString& text, Rgb color) {
    labelColor_ = toColor(color);
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, labelColor_);
    label_->setPalette(pal);
    label_->setText(text);
}

void frmProgres::setBarColor(Rgb color) {
    bar_->setBarColor(toColor(color));
}

void frmProgres::setPercent(double percent) { bar_->setPercent(percent); }

void frmProgres::reset() {
    setWindowTitle(QStringLiteral("ゼノゼノＭＵＲ　"));
    label_->clear();
    bar_->setPercent(0);
    bar_->setBarColor(QColor(0, 0, 255));
}

void frmProgres::showOverParent() {
    QWidget* frame = parentWidget() ? parentWidget()->window() : nullptr;
    if (frame) {
        const QRect g = frame->geometry();
        // Somewhat below the middle of the frame (about two inches), clear of the buttons.
        const int y = qMin(g.center().y() - height() / 2 + 187, g.bottom() - height() - 40);
        move(g.center().x() - width() / 2, qMax(g.top(), y));
    }
    show();
    raise();
}

}  // namespace zm::ui
