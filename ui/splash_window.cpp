#include "ui/splash_window.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScreen>

#include "ui/ui_texts.h"
#include "ui/window_layout.h"

namespace varnex::ui {

namespace tx = ui_texts;

SplashWindow::SplashWindow(const DialogUnits& units, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(units.x(kSplashWidthDlu), units.y(kSplashHeightDlu));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SplashWindow::showNow() {
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    show();
    repaint();
    QCoreApplication::processEvents();
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 128, 0));
    painter.setPen(QColor(255, 255, 255));

    QFont title = font();
    title.setPixelSize(std::max(18, height() / 9));
    title.setBold(true);
    QFont greeting = font();
    greeting.setPixelSize(std::max(12, height() / 20));

    QRect upper = rect().adjusted(0, 0, 0, -height() / 2);
    QRect lower = rect().adjusted(0, height() / 2, 0, 0);
    painter.setFont(title);
    painter.drawText(upper.adjusted(0, 0, 0, -height() / 16), Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromUtf8(tx::kSplashWelcome));
    painter.setFont(greeting);
    painter.drawText(lower.adjusted(0, height() / 16, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                     QString::fromUtf8(tx::kSplashGreeting));
}

}  // namespace varnex::ui
