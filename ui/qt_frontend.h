#pragma once
// The desktop's Frontend: message boxes, questions, clipboard and sound through Qt; window
// effects (log, title, focus, enabling, minimising) through the main window.

#include <QMetaObject>
#include <QThread>
#include <type_traits>

#include "app/frontend.h"
#include "ui/message_box.h"

namespace varnex::ui {

class MainWindow;

class QtFrontend : public Frontend {
  public:
    explicit QtFrontend(MainWindow& window) : window_(window) {}

    /// Tests hand in a frontend that takes the place of the dialogs: messages, questions,
    /// clipboard, sound and opened documents go there instead of to the desktop, and every
    /// window effect is reported to it as well as carried out. nullptr restores the dialogs.
    void setDialogStandIn(Frontend* standIn) { standIn_ = standIn; }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void logAppended(const std::string& line) override;
    void setTitle(const std::string& title) override;
    bool setClipboardText(const std::string& text) override;
    void playNotification() override;
    void focusField(Field field) override;
    void enableAction(Action action, bool enabled) override;
    void minimiseWindow() override;
    void openDocument(const std::string& path) override;
    bool opensDocuments() const override;
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override;
    /// A table of the questions with a full-mark box each, over the dialog that is open.
    std::optional<std::vector<double>> askQuestionMarks(const std::string& subject,
                                                        const std::vector<std::string>& questions,
                                                        const std::vector<double>& proposed) override;
    /// Shown in the window's status bar; never waited for.
    void showProgress(const std::string& step, int done, int total) override;

    /// A warning box of the window itself (the integer prompt); a stand-in sees a plain message.
    void showWarning(const std::string& text, const std::string& caption);

  private:
    /// Calls `f` on the window's thread and returns its result: at once there, otherwise the
    /// command's thread waits for it (the dialogs, the window and the clipboard belong to that thread).
    template <typename F>
    auto onWindowThread(F f) -> decltype(f());

    MainWindow& window_;
    Frontend* standIn_ = nullptr;
};

}  // namespace varnex::ui
