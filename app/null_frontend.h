#pragma once
// A frontend with nobody in front of it, for batch work: every question is answered Yes, a text
// question takes the text offered (and is cancelled when none is), the clipboard takes any text,
// and everything else is let go. Front ends that keep or print something override just that.

#include <string>

#include "app/frontend.h"

namespace varnex {

class NullFrontend : public Frontend {
  public:
    void showMessage(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return true; }
    void logAppended(const std::string&) override {}
    void setTitle(const std::string&) override {}
    bool setClipboardText(const std::string&) override { return true; }
    void playNotification() override {}
    void focusField(Field) override {}
    void enableAction(Action, bool) override {}
    void minimiseWindow() override {}
    void openDocument(const std::string&) override {}
    bool opensDocuments() const override { return false; }
    std::optional<std::string> askText(const std::string&, const std::string&,
                                       const std::string& initial) override {
        if (initial.empty()) return std::nullopt;
        return initial;
    }
};

}  // namespace varnex
