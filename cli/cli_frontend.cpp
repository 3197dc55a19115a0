#include "cli/cli_frontend.h"

namespace varnex {

void CliFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    // Plain boxes report a missing component; every error box is a failure.
    if (icon != MessageIcon::Information) failed_ = true;
    std::string shown = caption.empty() ? std::string("Varnex") : caption;
    std::fprintf(stderr, "[%s] %s\n", shown.c_str(), text.c_str());
}

bool CliFrontend::askYesNo(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
    if (answerYes_) {
        std::fprintf(stderr, "  -> 是 (--yes)\n");
        return true;
    }
    std::fprintf(stderr, "  -> 否（未指定 --yes / answered No without --yes）\n");
    failed_ = true;
    return false;
}

void CliFrontend::logAppended(const std::string& line) {
    if (!quiet_) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace varnex
