#include "app/status_log.h"

#include "base/text_util.h"

namespace varnex {

void appendLog(AppState&, Frontend& frontend, const std::string& text, bool withTime) {
    std::string line =
        withTime ? strprintf("%s %s", formatTime(localNow(), "%H:%M:%S").c_str(), text.c_str()) : text;
    frontend.logAppended(line);
}

}  // namespace varnex
