#pragma once

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Builds the import template workbook (twelve grade sheets and the teacher sheet).
void generateTemplates(AppState& state, Frontend& frontend);

}  // namespace varnex
