#include "cli/cli_frontend.h"

#include "base/common_texts.h"
#include "cli/cli_texts.h"

namespace varnex {

namespace tx = cli_texts;

void CliFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    // Plain boxes report a missing component; every error box is a failure.
    if (icon != MessageIcon::Information) failed_ = true;
    std::string shown = caption.empty() ? std::string(common_texts::kProgramName) : caption;
    std::fprintf(stderr, tx::kMessageLineFormat, shown.c_str(), text.c_str());
}

bool CliFrontend::askYesNo(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, tx::kMessageLineFormat, caption.c_str(), text.c_str());
    if (answerYes_) {
        std::fputs(tx::kAnsweredYes, stderr);
        return true;
    }
    std::fputs(tx::kAnsweredNo, stderr);
    failed_ = true;
    return false;
}

std::optional<std::string> CliFrontend::askText(const std::string& prompt, const std::string& caption,
                                                const std::string&) {
    // The one text the commands ask for is the name of the school of a sheet without 学校 column.
    std::fprintf(stderr, tx::kMessageLineFormat, caption.c_str(), prompt.c_str());
    if (school_) {
        std::fprintf(stderr, tx::kAnsweredSchoolFormat, school_->c_str());
        return school_;
    }
    std::fputs(tx::kNoSchoolGiven, stderr);
    failed_ = true;
    return std::nullopt;
}

void CliFrontend::logAppended(const std::string& line) {
    if (!quiet_) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace varnex
