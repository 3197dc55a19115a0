#pragma once

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "base/result.h"
#include "workbook/excel_session.h"

namespace varnex {

/// What generating the templates produced.
struct TemplateOutcome {
    std::string savedPath;  ///< the template workbook written
};

/// Builds the import template workbook (twelve grade sheets and the teacher sheet), saves it and
/// opens it; reports every outcome through the frontend and returns it.
Result<TemplateOutcome> generateTemplates(AppState& state, Frontend& frontend);

/// The same with a given list of installed reader descriptions (tests reach the message of a
/// machine without a reader through it).
Result<TemplateOutcome> generateTemplates(AppState& state, Frontend& frontend,
                                          const std::vector<std::string>& installedReaders);

/// Writes the thirteen template sheets into the session's new workbook (after AddSheets(10)).
void writeTemplateSheets(ExcelSession& session);

}  // namespace varnex
