#pragma once
// The main window for the keyboard: a frame drawn around the control that has the focus, in every
// style (the offscreen and Fusion styles draw next to none), and the option frames scrolled to the
// control that receives the focus.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace varnex::ui {

class WindowControls;

/// The frame around the focused control: a ring on the control's parent, just outside the control.
class FocusRing : public QWidget {
  public:
    explicit FocusRing(QWidget* parent = nullptr);
    /// Its colour.
    static QColor colour();
    /// How far the ring lies outside the control, in pixels.
    static constexpr int kMargin = 3;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class KeyboardFocus : public QObject {
  public:
    /// Follows the focus among the widgets of `window`.
    KeyboardFocus(QWidget* window, const WindowControls& controls);
    ~KeyboardFocus() override;

    /// The ring (hidden while no control of the window has the focus).
    FocusRing* ring() const { return ring_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void focusChanged(QWidget* now);
    void place();

    QWidget* window_;
    const WindowControls& controls_;
    QPointer<FocusRing> ring_;
    QPointer<QWidget> target_;
};

}  // namespace varnex::ui
