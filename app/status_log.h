#pragma once

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Appends one line to the StatusLog, which the frontend keeps (the window's log box, standard
/// error): "%H:%M:%S text" with the time, the bare text without. The state is not written; it stays
/// in the signature that every step calls.
void appendLog(AppState& state, Frontend& frontend, const std::string& text, bool withTime = true);

}  // namespace varnex
