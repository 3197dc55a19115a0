#pragma once

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Appends one line to the StatusLog: "%H:%M:%S text" with the time, the bare text without.
void appendLog(AppState& state, Frontend& frontend, const std::string& text, bool withTime = true);

}  // namespace varnex
