#pragma once
// A command whose inner steps show their own failures returns that failure as its outcome: the
// trail passes every call on to the frontend it wraps and remembers the failure last shown.

#include <optional>
#include <string>

#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

class FailureTrail final : public Frontend {
  public:
    explicit FailureTrail(Frontend& frontend) : frontend_(frontend) {}

    /// The failure last shown: Cancelled with the question when the last one was a question
    /// answered No or cancelled, otherwise `kind` with the error (or plain) message last shown.
    Error failure(ErrorKind kind) const {
        if (declined_) return fail(ErrorKind::Cancelled, last_);
        return fail(kind, last_);
    }

    void showMessage(const std::string& text, const std::string& caption, MessageIcon icon) override {
        if (icon != MessageIcon::Information) remember(text, false);
        frontend_.showMessage(text, caption, icon);
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        const bool yes = frontend_.askYesNo(text, caption);
        if (!yes) remember(text, true);
        return yes;
    }
    std::optional<std::string> askText(const std::string& prompt, const std::string& caption,
                                       const std::string& initial) override {
        std::optional<std::string> answer = frontend_.askText(prompt, caption, initial);
        if (!answer) remember(prompt, true);
        return answer;
    }
    void logAppended(const std::string& line) override { frontend_.logAppended(line); }
    void setTitle(const std::string& title) override { frontend_.setTitle(title); }
    bool setClipboardText(const std::string& text) override { return frontend_.setClipboardText(text); }
    void playNotification() override { frontend_.playNotification(); }
    void focusField(Field field) override { frontend_.focusField(field); }
    void enableAction(Action action, bool enabled) override { frontend_.enableAction(action, enabled); }
    void minimiseWindow() override { frontend_.minimiseWindow(); }
    void openDocument(const std::string& path) override { frontend_.openDocument(path); }
    bool opensDocuments() const override { return frontend_.opensDocuments(); }
    std::string extraSubjectHint(const std::string& name) const override {
        return frontend_.extraSubjectHint(name);
    }
    void showProgress(const std::string& step, int done, int total) override {
        frontend_.showProgress(step, done, total);
    }

  private:
    void remember(const std::string& text, bool declined) {
        last_ = text;
        declined_ = declined;
    }

    Frontend& frontend_;
    std::string last_;
    bool declined_ = false;
};

}  // namespace varnex
