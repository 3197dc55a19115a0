#pragma once
// The About window: product name, version, what the program does and what it is built on.

#include <QDialog>

namespace varnex::ui {

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace varnex::ui
