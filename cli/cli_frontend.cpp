#include "cli/cli_frontend.h"

#include <unistd.h>

#include "base/common_texts.h"
#include "base/text_util.h"
#include "cli/cli_texts.h"
#include "import/import_texts.h"

namespace varnex {

namespace tx = cli_texts;

CliFrontend::CliFrontend(bool answerYes, bool quiet, std::optional<bool> terminal)
    : answerYes_(answerYes), quiet_(quiet), terminal_(terminal.value_or(::isatty(STDERR_FILENO) == 1)) {}

CliFrontend::~CliFrontend() {
    clearProgress();
}

void CliFrontend::clearProgress() {
    if (!progressShown_) return;
    std::fputs("\r\033[K", stderr);  // back to the line's start, and the line erased
    std::fflush(stderr);
    progressShown_ = false;
}

void CliFrontend::showProgress(const std::string& step, int done, int total) {
    if (!terminal_ || quiet_) return;
    progressLine_ = total > 0 ? strprintf(tx::kProgressStepsFormat, step.c_str(), done, total) : step;
    std::fprintf(stderr, "\r\033[K%s", progressLine_.c_str());
    std::fflush(stderr);
    progressShown_ = true;
}

void CliFrontend::showMessage(const std::string& text, const std::string& caption, MessageIcon) {
    clearProgress();
    std::string shown = caption.empty() ? std::string(common_texts::kProgramName) : caption;
    std::fprintf(stderr, tx::kMessageLineFormat, shown.c_str(), text.c_str());
    lastMessage_ = text;
}

bool CliFrontend::askYesNo(const std::string& text, const std::string& caption) {
    clearProgress();
    std::fprintf(stderr, tx::kMessageLineFormat, caption.c_str(), text.c_str());
    if (answerYes_) {
        std::fputs(tx::kAnsweredYes, stderr);
        return true;
    }
    std::fputs(tx::kAnsweredNo, stderr);
    return false;
}

std::optional<std::string> CliFrontend::askText(const std::string& prompt, const std::string& caption,
                                                const std::string&) {
    // The texts the commands ask for: the class of a sheet without 班级 column, the name of the
    // school of a sheet without 学校 column.
    clearProgress();
    std::fprintf(stderr, tx::kMessageLineFormat, caption.c_str(), prompt.c_str());
    if (caption == import_texts::kAskClassCaption) {
        if (class_) {
            std::fprintf(stderr, tx::kAnsweredClassFormat, class_->c_str());
            return class_;
        }
        std::fputs(tx::kNoClassGiven, stderr);
        return std::nullopt;
    }
    if (school_) {
        std::fprintf(stderr, tx::kAnsweredSchoolFormat, school_->c_str());
        return school_;
    }
    std::fputs(tx::kNoSchoolGiven, stderr);
    return std::nullopt;
}

void CliFrontend::logAppended(const std::string& line) {
    if (quiet_) return;
    // A refusal goes to the log as it was shown: on standard error once is enough.
    if (!lastMessage_.empty() && line.ends_with(lastMessage_)) {
        lastMessage_.clear();
        return;
    }
    // A log line goes above the progress line, which stays until the next step.
    const bool progress = progressShown_;
    clearProgress();
    std::fprintf(stderr, "%s\n", line.c_str());
    if (progress) {
        std::fputs(progressLine_.c_str(), stderr);
        std::fflush(stderr);
        progressShown_ = true;
    }
}

std::string CliFrontend::extraSubjectHint(const std::string& name) const {
    return strprintf(cli_texts::kExtraSubjectHintFormat, name.c_str());
}

}  // namespace varnex
