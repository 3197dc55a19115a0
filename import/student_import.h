#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"

namespace varnex {

/// What a student import took.
struct ImportOutcome {
    std::string sheetName;
    int studentCount = 0;
    int classCount = 0;
    int schoolCount = 0;
    std::vector<std::string> examSubjects;  ///< the subjects the sheet was examined in
};

/// Imports the selected worksheet's student scores into the StudentTable and reports through the
/// frontend; returns what it took, or the failure it showed (Cancelled when a question was
/// answered No or cancelled).
Result<ImportOutcome> importStudents(AppState& state, Frontend& frontend);

}  // namespace varnex
