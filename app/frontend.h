#pragma once
// The one interface through which a command talks to a person. The Qt window implements it with
// real dialogs, the command-line front end prints, tests script it.

#include <optional>
#include <string>
#include <vector>

#include "app/app_texts.h"

namespace varnex {

/// The icon of a message box. None is the plain box (OK button, no icon).
enum class MessageIcon { None, Information, Error };

/// A value the person enters that a command can point at when it refuses it.
enum class Field {
    ExamName,      ///< the name of the exam (考试名称)
    TopNCount,     ///< N of the 总分前N名 report
    PreviousExam,  ///< the previous exam's workbook (上次考试)
};

/// A command the person starts, which another command makes possible or impossible.
enum class Action {
    ImportStudents,  ///< 导入成绩: needs an opened workbook; off while an export runs
    ImportTeachers,  ///< 导入任课: needs an opened workbook
    Export,          ///< 导出分析: needs imported students
};

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
    /// Puts the person at the value to correct (the keyboard focus in the window).
    virtual void focusField(Field field) = 0;
    /// Makes a command possible or impossible (its button and menu item in the window).
    virtual void enableAction(Action action, bool enabled) = 0;
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
    /// How the person has an extra column (`name`) counted, said after the import names the
    /// columns it did not analyse: the window's 其他学科 row by default.
    virtual std::string extraSubjectHint(const std::string& name) const {
        (void)name;
        return app_texts::kExtraSubjectHint;
    }
    /// The full marks of a subject's questions, asked of the person in a table of the questions with
    /// a box each, filled with `proposed` (the highest score each has): the marks entered, one per
    /// question, or nothing when the question was cancelled or cannot be asked.
    virtual std::optional<std::vector<double>> askQuestionMarks(const std::string& subject,
                                                                const std::vector<std::string>& questions,
                                                                const std::vector<double>& proposed) {
        (void)subject;
        (void)questions;
        (void)proposed;
        return std::nullopt;
    }
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
