#include "ui/qt_frontend.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "base/common_texts.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"
#include "ui/question_dialogs.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

template <typename F>
auto QtFrontend::onWindowThread(F f) -> decltype(f()) {
    using R = decltype(f());
    if (QThread::currentThread() == window_.thread()) return f();
    if constexpr (std::is_void_v<R>) {
        QMetaObject::invokeMethod(&window_, f, Qt::BlockingQueuedConnection);
    } else {
        R result{};
        QMetaObject::invokeMethod(
            &window_, [&] { result = f(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}

// Every box is a plain message box, or a scrolling one when its text is too tall for the screen.

void QtFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    return onWindowThread([&] {
        window_.settleProgress();
        if (standIn_ != nullptr) return standIn_->showMessage(text, caption, icon);
        // A plain box carries the program's name: the window's title can be too long for a caption.
        QString title =
            QString::fromStdString(caption.empty() ? std::string(common_texts::kProgramName) : caption);
        QMessageBox::Icon qtIcon = icon == MessageIcon::Error         ? QMessageBox::Critical
                                   : icon == MessageIcon::Information ? QMessageBox::Information
                                                                      : QMessageBox::NoIcon;
        showMessageBox(&window_, qtIcon, title, QString::fromStdString(text), QMessageBox::Ok);
    });
}

void QtFrontend::showWarning(const std::string& text, const std::string& caption) {
    return onWindowThread([&] {
        window_.settleProgress();
        if (standIn_ != nullptr) return standIn_->showMessage(text, caption, MessageIcon::None);
        showMessageBox(&window_, QMessageBox::Warning, QString::fromStdString(caption),
                       QString::fromStdString(text), QMessageBox::Ok);
    });
}

bool QtFrontend::askYesNo(const std::string& text, const std::string& caption) {
    return onWindowThread([&] {
        if (standIn_ != nullptr) return standIn_->askYesNo(text, caption);
        return showMessageBox(&window_, QMessageBox::Information, QString::fromStdString(caption),
                              QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::Yes, QMessageBox::No) == QMessageBox::Yes;
    });
}

void QtFrontend::logAppended(const std::string& line) {
    return onWindowThread([&] {
        window_.appendLogLine(QString::fromStdString(line));
        if (standIn_ != nullptr) standIn_->logAppended(line);
    });
}

void QtFrontend::setTitle(const std::string& title) {
    return onWindowThread([&] {
        window_.setWindowTitle(QString::fromStdString(title));
        if (standIn_ != nullptr) standIn_->setTitle(title);
    });
}

bool QtFrontend::setClipboardText(const std::string& text) {
    return onWindowThread([&] {
        if (standIn_ != nullptr) return standIn_->setClipboardText(text);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard == nullptr) return false;
        clipboard->setText(QString::fromStdString(text));
        return true;
    });
}

void QtFrontend::playNotification() {
    return onWindowThread([&] {
        if (standIn_ != nullptr) return standIn_->playNotification();
        QApplication::beep();
    });
}

void QtFrontend::focusField(Field field) {
    return onWindowThread([&] {
        window_.focusControl(controlOf(field));
        if (standIn_ != nullptr) standIn_->focusField(field);
    });
}

void QtFrontend::enableAction(Action action, bool enabled) {
    return onWindowThread([&] {
        window_.enableControl(controlOf(action), enabled);
        if (standIn_ != nullptr) standIn_->enableAction(action, enabled);
    });
}

void QtFrontend::minimiseWindow() {
    return onWindowThread([&] {
        window_.minimiseLater();
        if (standIn_ != nullptr) standIn_->minimiseWindow();
    });
}

std::optional<std::string> QtFrontend::askText(const std::string& prompt, const std::string& caption,
                                               const std::string& initial) {
    return onWindowThread([&]() -> std::optional<std::string> {
        if (standIn_ != nullptr) return standIn_->askText(prompt, caption, initial);
        QInputDialog dialog(&window_);
        dialog.setWindowTitle(QString::fromStdString(caption));
        dialog.setLabelText(QString::fromStdString(prompt));
        dialog.setTextValue(QString::fromStdString(initial));
        dialog.setOkButtonText(QString::fromUtf8(tx::kOkButton));
        dialog.setCancelButtonText(QString::fromUtf8(tx::kCancelButton));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.textValue().toStdString();
    });
}

std::optional<std::vector<double>> QtFrontend::askQuestionMarks(const std::string& subject,
                                                                const std::vector<std::string>& questions,
                                                                const std::vector<double>& proposed) {
    return onWindowThread([&]() -> std::optional<std::vector<double>> {
        if (standIn_ != nullptr) return standIn_->askQuestionMarks(subject, questions, proposed);
        QWidget* over = QApplication::activeModalWidget();
        QuestionMarksDialog dialog(subject, questions, proposed, *this, over != nullptr ? over : &window_);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.marks();
    });
}

void QtFrontend::openDocument(const std::string& path) {
    return onWindowThread([&] {
        window_.suspendAlwaysOnTop();  // the spreadsheet program comes to the front, above the window
        if (standIn_ != nullptr) return standIn_->openDocument(path);
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    });
}

void QtFrontend::showProgress(const std::string& step, int done, int total) {
    // Queued, not waited for: the work goes on while the window shows it.
    QMetaObject::invokeMethod(
        &window_,
        [window = &window_, text = QString::fromStdString(step), done, total] {
            window->showProgress(text, done, total);
        },
        Qt::QueuedConnection);
}

bool QtFrontend::opensDocuments() const {
    return standIn_ != nullptr ? standIn_->opensDocuments() : true;
}

}  // namespace varnex::ui
