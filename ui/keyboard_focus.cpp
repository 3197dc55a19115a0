#include "ui/keyboard_focus.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QScrollArea>

#include "ui/window_controls.h"

namespace varnex::ui {

FocusRing::FocusRing(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

QColor FocusRing::colour() {
    return QColor(255, 140, 0);
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
}

KeyboardFocus::KeyboardFocus(QWidget* window, const WindowControls& controls)
    : QObject(window), window_(window), controls_(controls), ring_(new FocusRing(window)) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusChanged(now); });
}

KeyboardFocus::~KeyboardFocus() {
    if (target_) target_->removeEventFilter(this);
}

void KeyboardFocus::focusChanged(QWidget* now) {
    if (target_) target_->removeEventFilter(this);
    target_ = nullptr;
    if (now == nullptr || now->window() != window_) {  // the focus is in a dialog or elsewhere
        if (ring_) ring_->hide();
        return;
    }
    // The edit field of an editable combo box: the ring goes round the whole box.
    QWidget* target = now;
    if (auto* combo = qobject_cast<QComboBox*>(now->parentWidget());
        combo != nullptr && combo->lineEdit() == now)
        target = combo;
    target_ = target;
    target->installEventFilter(this);
    for (QScrollArea* scroller : controls_.scrollingFrames) {
        if (scroller != nullptr && scroller->widget() != nullptr && scroller->widget()->isAncestorOf(target))
            scroller->ensureWidgetVisible(target, FocusRing::kMargin + 2, FocusRing::kMargin + 2);
    }
    place();
}

void KeyboardFocus::place() {
    if (!target_ || target_->parentWidget() == nullptr) return;
    QWidget* parent = target_->parentWidget();
    if (!ring_) ring_ = new FocusRing(parent);  // the widget it was on has gone, and the ring with it
    if (ring_->parentWidget() != parent) ring_->setParent(parent);
    const int m = FocusRing::kMargin;
    ring_->setGeometry(target_->geometry().adjusted(-m, -m, m, m).intersected(parent->rect()));
    ring_->setVisible(target_->isVisible());
    ring_->raise();
    ring_->update();
}

bool KeyboardFocus::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_) {
        switch (event->type()) {
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Show:
            case QEvent::Hide:
                place();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace varnex::ui
