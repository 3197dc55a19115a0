#pragma once
// The one interface through which a command talks to a person. The Qt window implements it with
// real dialogs, the command-line front end prints, tests script it.

#include <optional>
#include <string>

#include "app/control_ids.h"

namespace varnex {

/// The icon of a message box. None is the plain box (OK button, no icon).
enum class MessageIcon { None, Information, Error };

class Frontend {
  public:
    virtual ~Frontend() = default;

    /// Shows a message box and waits until it is closed.
    virtual void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    /// Asks a Yes/No question (information icon); true only for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    /// A line was appended to the StatusLog (the text without its line end).
    virtual void logAppended(const std::string& line) = 0;
    /// Sets the main window's title.
    virtual void setTitle(const std::string& title) = 0;
    /// Replaces the clipboard's contents with plain text; false when the clipboard is unavailable.
    virtual bool setClipboardText(const std::string& text) = 0;
    /// Plays the notification sound without waiting for it.
    virtual void playNotification() = 0;
    /// Gives the keyboard focus to a control.
    virtual void focusControl(ControlId control) = 0;
    /// Enables or disables a control.
    virtual void enableControl(ControlId control, bool enabled) = 0;
    /// Asks for the main window to be minimised once the command returns.
    virtual void minimiseWindow() = 0;
    /// Opens a produced file with the desktop's application for it.
    virtual void openDocument(const std::string& path) = 0;
    /// True when openDocument shows the file to the person (the desktop does; a batch run does not),
    /// so that a message may promise it.
    virtual bool opensDocuments() const = 0;
    /// Asks for one line of text, offering `initial`: the text entered, or nothing when the
    /// question was cancelled.
    virtual std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                               const std::string& initial) = 0;
    /// Long work has reached a step, such as "导出：班级各科三率": `done` of `total` steps are
    /// finished (a `total` of 0 when the amount is not known). Shown beside the work, never waited
    /// for; a front end that shows no progress lets it go.
    virtual void showProgress(const std::string& step, int done, int total) {
        (void)step;
        (void)done;
        (void)total;
    }
};

}  // namespace varnex
