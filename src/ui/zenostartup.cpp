#include "ui/zenostartup.h"

#include "zenomur_version.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace zm::ui {

ZenoStartUP::ZenoStartUP(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("ZenoStartUP"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(440, 220);
}

void ZenoStartUP::showFor(int ms) {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        move(s->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    repaint();
    QTimer::singleShot(ms, this, &QWidget::close);
}

void ZenoStartUP::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(20, 60, 30));
    g.setColorAt(1, QColor(10, 30, 15));
    p.fillRect(rect(), g);
    p.setPen(QColor(230, 200, 90));
    p.drawRect(rect().adjusted(4, 4, -5, -5));

    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 2.6);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 40, width(), 70), Qt::AlignCenter, QStringLiteral("ゼノゼノＭＵＲ"));

    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 1.1);
    p.setFont(small);
    p.setPen(QColor(230, 200, 90));
    p.drawText(QRect(0, 112, width(), 30), Qt::AlignCenter, QStringLiteral("駿馬堂OnLine版"));
    p.setPen(QColor(200, 220, 200));
    p.drawText(QRect(0, 160, width(), 30), Qt::AlignCenter,
               QStringLiteral("起動中です…　Ver ") + QStringLiteral(ZENOMUR_VERSION));
}

void ZenoStartUP::mousePressEvent(QMouseEvent*) { close(); }

}  // namespace zm::ui
