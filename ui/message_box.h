#pragma once
// Message boxes that never reach beyond the screen: a plain message box for a text of ordinary
// height, and for a taller one a box whose text scrolls, with a button that copies the whole text.

#include <QDialog>
#include <QMessageBox>

class QDialogButtonBox;
class QPlainTextEdit;
class QPushButton;

namespace varnex::ui {

/// Gives the standard buttons of a message box their Chinese texts.
void setChineseButtonTexts(QMessageBox& box);

/// A message box whose text scrolls inside a box that fits the screen, with a 复制 button that
/// puts the whole text on the clipboard: for texts too tall for a plain message box (a long list
/// of sheets or of problems). exec() returns the standard button that closed it.
class ScrollingMessageBox : public QDialog {
    Q_OBJECT
  public:
    ScrollingMessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                        QMessageBox::StandardButtons buttons, QWidget* parent = nullptr);

    void setDefaultButton(QMessageBox::StandardButton which);
    /// The button that Escape and the close box stand for (by default the only button, if one).
    void setEscapeButton(QMessageBox::StandardButton which) { escape_ = which; }

    QAbstractButton* button(QMessageBox::StandardButton which) const;
    QPlainTextEdit* textView() const { return text_; }
    QPushButton* copyButton() const { return copy_; }

  public slots:
    void reject() override;

  private:
    QPlainTextEdit* text_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* copy_ = nullptr;
    QMessageBox::StandardButton escape_ = QMessageBox::NoButton;
};

/// True when a plain message box holding `text` in `font` would be taller than `available`.
bool tooTallForMessageBox(const QString& text, const QFont& font, const QRect& available);

/// Shows `text` in a plain message box, or in a ScrollingMessageBox when it is too tall for the
/// screen of `parent`; returns the standard button that closed it.
QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                           QMessageBox::StandardButton escapeButton = QMessageBox::NoButton);

}  // namespace varnex::ui
