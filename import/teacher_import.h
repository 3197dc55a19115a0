#pragma once

#include "app/app_state.h"
#include "app/frontend.h"

namespace varnex {

/// Imports the selected worksheet's teacher assignments into the TeacherTable.
void importTeachers(AppState& state, Frontend& frontend);

}  // namespace varnex
