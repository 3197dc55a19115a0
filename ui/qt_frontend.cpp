#include "ui/qt_frontend.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "base/common_texts.h"
#include "ui/main_window.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

// Every box is a plain message box, or a scrolling one when its text is too tall for the screen.

void QtFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    if (standIn_ != nullptr) return standIn_->showMessage(text, caption, icon);
    // A plain box carries the program's name: the window's title can be too long for a caption.
    QString title =
        QString::fromStdString(caption.empty() ? std::string(common_texts::kProgramName) : caption);
    QMessageBox::Icon qtIcon = icon == MessageIcon::Error         ? QMessageBox::Critical
                               : icon == MessageIcon::Information ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon;
    showMessageBox(&window_, qtIcon, title, QString::fromStdString(text), QMessageBox::Ok);
}

void QtFrontend::showWarning(const std::string& text, const std::string& caption) {
    if (standIn_ != nullptr) return standIn_->showMessage(text, caption, MessageIcon::None);
    showMessageBox(&window_, QMessageBox::Warning, QString::fromStdString(caption),
                   QString::fromStdString(text), QMessageBox::Ok);
}

bool QtFrontend::askYesNo(const std::string& text, const std::string& caption) {
    if (standIn_ != nullptr) return standIn_->askYesNo(text, caption);
    return showMessageBox(&window_, QMessageBox::Information, QString::fromStdString(caption),
                          QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                          QMessageBox::No) == QMessageBox::Yes;
}

void QtFrontend::logAppended(const std::string& line) {
    window_.appendLogLine(QString::fromStdString(line));
    if (standIn_ != nullptr) standIn_->logAppended(line);
}

void QtFrontend::setTitle(const std::string& title) {
    window_.setWindowTitle(QString::fromStdString(title));
    if (standIn_ != nullptr) standIn_->setTitle(title);
}

bool QtFrontend::setClipboardText(const std::string& text) {
    if (standIn_ != nullptr) return standIn_->setClipboardText(text);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) return false;
    clipboard->setText(QString::fromStdString(text));
    return true;
}

void QtFrontend::playNotification() {
    if (standIn_ != nullptr) return standIn_->playNotification();
    QApplication::beep();
}

void QtFrontend::focusControl(ControlId control) {
    window_.focusControl(control);
    if (standIn_ != nullptr) standIn_->focusControl(control);
}

void QtFrontend::enableControl(ControlId control, bool enabled) {
    window_.enableControl(control, enabled);
    if (standIn_ != nullptr) standIn_->enableControl(control, enabled);
}

void QtFrontend::minimiseWindow() {
    window_.minimiseLater();
    if (standIn_ != nullptr) standIn_->minimiseWindow();
}

std::optional<std::string> QtFrontend::askText(const std::string& prompt, const std::string& caption,
                                               const std::string& initial) {
    if (standIn_ != nullptr) return standIn_->askText(prompt, caption, initial);
    QInputDialog dialog(&window_);
    dialog.setWindowTitle(QString::fromStdString(caption));
    dialog.setLabelText(QString::fromStdString(prompt));
    dialog.setTextValue(QString::fromStdString(initial));
    dialog.setOkButtonText(QString::fromUtf8(tx::kOkButton));
    dialog.setCancelButtonText(QString::fromUtf8(tx::kCancelButton));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

void QtFrontend::openDocument(const std::string& path) {
    if (standIn_ != nullptr) return standIn_->openDocument(path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtFrontend::opensDocuments() const {
    return standIn_ != nullptr ? standIn_->opensDocuments() : true;
}

}  // namespace varnex::ui
