#pragma once
// Steps that the student and the teacher import share: the file name and window titles they
// show, and opening the worksheet with the messages for a workbook or sheet that cannot be read.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "import/sheet_query.h"

namespace varnex {

/// The window title "Varnex - <workbook title>：<imported sheet> - <stateText>".
std::string importTitle(const AppState& state, const char* stateText);

/// Opens the workbook and selects `columns` of the imported sheet. On failure shows the message
/// (the select message lists `furtherColumns` after 学校，班级，姓名), sets the failure title,
/// closes the query and returns false.
bool openImportQuery(SheetQuery& query, const AppState& state, Frontend& frontend,
                     const std::vector<std::string>& columns, const std::vector<std::string>& furtherColumns);

/// Shows the stop message of a row the reader could not deliver and logs it.
void reportUnreadableRow(AppState& state, Frontend& frontend, const std::string& readerError);

}  // namespace varnex
