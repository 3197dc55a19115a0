#pragma once
// The command-line face of the Frontend: messages and log lines go to standard error with their
// captions, questions are answered Yes only with --yes; the commands' outcomes (their exit status,
// the files they produced) are the caller's.

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/null_frontend.h"

namespace varnex {

class CliFrontend : public NullFrontend {
  public:
    /// A progress line is shown only when standard error is a terminal (`terminal`, by default
    /// asked of the system): written into a file or a pipe, every line stays a whole message.
    explicit CliFrontend(bool answerYes, bool quiet = false, std::optional<bool> terminal = std::nullopt);
    ~CliFrontend() override;
    CliFrontend(const CliFrontend&) = delete;
    CliFrontend& operator=(const CliFrontend&) = delete;
    /// The answer to the question for a school's name (--school); without one that question fails.
    void answerSchoolWith(std::string school) { school_ = std::move(school); }
    /// The answer to the question for the class of a sheet without 班级 column (--class); without
    /// one that question fails.
    void answerClassWith(std::string klass) { class_ = std::move(klass); }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void logAppended(const std::string& line) override;
    /// A terminal has no clipboard: nothing is put there, and no message claims it.
    bool setClipboardText(const std::string&) override { return false; }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override;
    /// The option that has an extra column counted: "用 --full-mark 名称=分值 统计。".
    std::string extraSubjectHint(const std::string& name) const override;
    /// One line on a terminal, rewritten at each step and cleared before any other output.
    void showProgress(const std::string& step, int done, int total) override;
    /// Clears the progress line, when one is shown, so that the next output starts a clean line.
    void clearProgress();

  private:
    bool answerYes_;
    bool quiet_;
    bool terminal_;
    bool progressShown_ = false;
    std::string progressLine_;  ///< the step last shown
    std::optional<std::string> school_;
    std::string lastMessage_;  ///< the message shown last, until the log repeats it
    std::optional<std::string> class_;
};

}  // namespace varnex
