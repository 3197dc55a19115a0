#pragma once
// Steps that the student and the teacher import share: the file name and window titles they
// show, opening the worksheet and finding its header with the messages for a workbook or sheet
// that cannot be read, the school of a sheet without 学校 column, and the checks of a row.

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/frontend.h"
#include "import/sheet_header.h"
#include "import/sheet_query.h"

namespace varnex {

/// The window title "Varnex - <workbook title>：<imported sheet> - <stateText>".
std::string importTitle(const AppState& state, const char* stateText);

/// True when the worksheet box has an entry selected; otherwise shows why the import cannot start.
bool worksheetSelected(const AppState& state, Frontend& frontend);

/// Opens the workbook and the imported sheet and finds its header. On failure shows the message,
/// closes the query and returns nothing.
std::optional<SheetHeader> openImportSheet(SheetQuery& query, const AppState& state, Frontend& frontend,
                                           const HeaderRequest& request);

/// Shows `message`, why the imported sheet cannot be imported, and closes the query.
void refuseSheet(SheetQuery& query, Frontend& frontend, const std::string& message);

/// What the header of the imported sheet lacks, in one sentence that says where the header was
/// looked for: each entry of `missing` is a column ("班级") or a description of one ("至少一个学科
/// （语文、数学……）"), named in the order given.
std::string missingColumnsMessage(const AppState& state, const std::vector<std::string>& missing);

/// Selects `columns` below the header; on failure shows why and closes the query.
bool selectImportColumns(SheetQuery& query, const AppState& state, Frontend& frontend,
                         const std::vector<uint32_t>& columns, const SheetHeader& header);

/// The school of every row of a sheet without 学校 column: asks for it, offering the one given
/// last, asks again (saying why) while the name cannot be a school's, and keeps the answer as the
/// one given last. Nothing, after a line in the log, when the question was cancelled.
std::optional<std::string> askSchoolOfSheet(AppState& state, Frontend& frontend);

/// Ends an import that took nothing: the failure it showed goes to the log too (a question
/// answered No is no failure to log) and the window title returns to the opened sheet's.
void endRefusedImport(AppState& state, Frontend& frontend, const Error& failure);

/// Logs how the header was read when it is not simply the sheet's first row: its rows, the
/// columns read through another name and the school given for a sheet without 学校 column.
void logHeader(AppState& state, Frontend& frontend, const SheetHeader& header,
               const std::string& singleSchool);

/// The checks every imported row passes first: a school that is neither empty nor "合计", and a
/// non-empty `key` (the class of a teacher row, the name of a student row) from the column named
/// `keyColumn`.
Status checkSchoolAndKey(const std::string& school, const char* keyColumn, const std::string& key);

/// The class of a row as Varnex keeps it (see normaliseClassName), or why it has none: the
/// message names the file, the sheet, the row and the column. `written` is the cell's text.
Result<std::string> classOfRow(const AppState& state, const std::string& written, int sheetRow,
                               uint32_t column);

/// The classes of a teacher sheet's row (see classListOf), or why it has none or cannot be read:
/// the message names the file, the sheet, the row, the column and the text.
Result<std::vector<std::string>> classesOfRow(const AppState& state, const std::string& written, int sheetRow,
                                              uint32_t column);

/// Moves the query to its next row. False, after showing the stop message, when the reader cannot
/// deliver it.
bool moveToNextRow(SheetQuery& query, AppState& state, Frontend& frontend);

}  // namespace varnex
