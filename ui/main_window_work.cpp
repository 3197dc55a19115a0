// The window's commands run on a thread of their own, so that the window goes on painting and
// shows the progress of long work; whatever they ask of the person is done on the window's thread.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <exception>
#include <thread>

#include "ui/main_window.h"
#include "ui/row_table_model.h"
#include "ui/ui_texts.h"

namespace varnex::ui {

namespace tx = ui_texts;

namespace {
/// How long a finished progress bar shows full before the message that ends the work.
constexpr int kFullProgressMs = 150;
}  // namespace

void MainWindow::runOffThread(const std::function<void()>& command) {
    beginWork();
    bool finished = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            command();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [&finished] { finished = true; }, Qt::QueuedConnection);
    });
    // The window's events go on meanwhile (painting, the command's dialogs); a loop of its own
    // would end early when the application is told to quit, this one ends with the command only.
    while (!finished) QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    worker.join();
    endWork();
    if (failure) {
        busy_ = false;
        std::rethrow_exception(failure);
    }
}

void MainWindow::beginWork() {
    busy_ = true;
    working_ = true;
    enableAfterWork_.clear();
    focusAfterWork_.reset();
    focusBeforeWork_ = focusWidget();  // taken before the disabled controls let the focus go
    studentModel_->suspend();
    teacherModel_->suspend();
    // Every control that changes data or starts a command; the log and the status bar stay.
    disabledForWork_.clear();
    for (QWidget* widget : centralWidget()->findChildren<QWidget*>()) {
        const bool input = qobject_cast<QAbstractButton*>(widget) != nullptr ||
                           qobject_cast<QLineEdit*>(widget) != nullptr ||
                           qobject_cast<QComboBox*>(widget) != nullptr ||
                           qobject_cast<QAbstractSpinBox*>(widget) != nullptr ||
                           qobject_cast<QAbstractItemView*>(widget) != nullptr;
        if (input && widget->isEnabled()) {
            widget->setEnabled(false);
            disabledForWork_.emplace_back(widget);
        }
    }
    if (menuBar() != nullptr) menuBar()->setEnabled(false);
    progressText_->clear();
    workClock_.start();
    progressDelay_.start();
}

void MainWindow::endWork() {
    progressDelay_.stop();
    progressBar_->hide();
    progressText_->hide();
    working_ = false;
    for (const QPointer<QWidget>& widget : disabledForWork_) {
        if (widget) widget->setEnabled(true);
    }
    disabledForWork_.clear();
    if (menuBar() != nullptr) menuBar()->setEnabled(true);
    for (const auto& [id, enabled] : enableAfterWork_) enableControl(id, enabled);
    enableAfterWork_.clear();
    studentModel_->resume();
    teacherModel_->resume();
    fitColumns(controls_.students, studentModel_);
    fitColumns(controls_.teachers, teacherModel_);
    // The control the command chose, else the one that started it (its dialogs have closed).
    if (focusAfterWork_)
        focusControl(*focusAfterWork_);
    else if (focusBeforeWork_ && focusBeforeWork_->isEnabled() && focusBeforeWork_->isVisible())
        focusBeforeWork_->setFocus(Qt::OtherFocusReason);
    focusAfterWork_.reset();
    focusBeforeWork_ = nullptr;
}

void MainWindow::revealProgress() {
    if (!working_) return;
    if (progressText_->text().isEmpty()) {
        progressText_->setText(QString::fromUtf8(tx::kWorking));
        progressBar_->setRange(0, 0);  // moving to and fro: how much is left is not known yet
    }
    progressText_->show();
    progressBar_->show();
}

void MainWindow::settleProgress() {
    if (!working_) return;
    progressDelay_.stop();
    if (progressBar_->isVisible()) {
        // Full for a moment, so that the end of the work is seen, then gone.
        if (progressBar_->maximum() <= 0) progressBar_->setRange(0, 1);
        progressBar_->setValue(progressBar_->maximum());
        progressBar_->repaint();
        QElapsedTimer shown;
        shown.start();
        while (shown.elapsed() < kFullProgressMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    progressBar_->hide();
    progressText_->hide();
}

void MainWindow::showProgress(const QString& step, int done, int total) {
    if (!working_) return;
    progressText_->setText(step);
    if (total > 0) {
        progressBar_->setRange(0, total);
        progressBar_->setValue(done);
    } else {
        progressBar_->setRange(0, 0);
    }
    if (workClock_.elapsed() >= progressDelay_.interval()) revealProgress();
}

}  // namespace varnex::ui
