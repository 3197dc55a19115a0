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

/// True when the worksheet box has an entry selected; otherwise shows why the import cannot start.
bool worksheetSelected(const AppState& state, Frontend& frontend);

/// Opens the workbook and selects `columns` of the imported sheet. On failure shows the message
/// (the select message names `columns`, the header texts the sheet needs), sets the failure title,
/// closes the query and returns false.
bool openImportQuery(SheetQuery& query, const AppState& state, Frontend& frontend,
                     const std::vector<std::string>& columns);

/// The checks every imported row passes first: a school that is neither empty nor "合计", and a
/// non-empty `key` (the class of a teacher row, the name of a student row) from the column named
/// `keyColumn`. `count` is the number of rows imported so far, which the messages give.
Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key, int count);

/// Logs the message that stops an import at a row and shows it.
void reportRowProblem(AppState& state, Frontend& frontend, const std::string& problem);

/// Moves the query to its next row. False, after logging and showing the stop message, when the
/// reader cannot deliver it.
bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend);

}  // namespace varnex
