#pragma once

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// The export: validates, confirms, writes every chosen sheet and the contents sheet, saves the
/// result workbook and reports through the frontend.
void exportRun(AppState& state, Frontend& frontend);

}  // namespace varnex
