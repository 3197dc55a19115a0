#pragma once

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Imports the selected worksheet's student scores into the StudentTable.
void importStudents(AppState& state, Frontend& frontend);

}  // namespace varnex
