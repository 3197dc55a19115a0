#pragma once

#include <string>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

/// What a teacher import took.
struct TeacherImportOutcome {
    std::string sheetName;
    int teacherCount = 0;  ///< rows of the TeacherTable
};

/// Imports the selected worksheet's teacher assignments into the TeacherTable and reports through
/// the frontend; returns what it took, or the failure it showed (Cancelled when the confirmation
/// was answered No).
Result<TeacherImportOutcome> importTeachers(AppState& state, Frontend& frontend);

/// Empties the TeacherTable and forgets where it came from, with a line in the log; the exports
/// that follow have no teachers until the next teacher import.
Status clearTeachers(AppState& state, Frontend& frontend);

}  // namespace varnex
