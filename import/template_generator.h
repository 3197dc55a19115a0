#pragma once

#include "app/app_state.h"
#include "app/frontend.h"
#include "automation/excel_session.h"

namespace varnex {

/// Builds the import template workbook (twelve grade sheets and the teacher sheet), saves it and
/// opens it; reports every outcome through the frontend.
void generateTemplates(AppState& state, Frontend& frontend);

/// Writes the thirteen template sheets into the session's new workbook (after AddSheets(10)).
void writeTemplateSheets(ExcelSession& session);

}  // namespace varnex
