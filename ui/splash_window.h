#pragma once
// The start-up splash: a borderless green window with a white welcome text, shown while the main
// window initialises.

#include <QWidget>

#include "ui/dialog_units.h"

namespace varnex::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SplashWindow(const DialogUnits& units, QWidget* parent = nullptr);
    /// Shows the splash centred on the screen and paints it at once.
    void showNow();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace varnex::ui
