#pragma once
// Shared set-up of the import command tests: an AppState that has opened a committed fixture
// workbook and selected one of its sheets, and the rows of a table as plain vectors.

#include <string>
#include <vector>

#include "app/app_state.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"

namespace varnex::testing {

/// A state whose workbook is the fixture `file` (title: its name without extension) with
/// `sheet` selected in the worksheet box.
inline AppState stateWithSheet(const std::string& file, const std::string& sheet) {
    AppState state;
    state.workbook.path = fixture(file);
    state.workbook.title = file.substr(0, file.rfind('.'));
    state.workbook.sheetNames = {"其他", sheet};
    state.workbook.selectedSheet = 1;
    return state;
}

/// Every row of the table, each as its cell texts.
inline std::vector<std::vector<std::string>> rowsOf(const RowTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < table.rowCount(); ++i) rows.push_back(table.row(i).texts());
    return rows;
}

/// The calls recorded by the frontend with the time stamps taken off the log lines.
inline std::vector<std::string> callsWithoutTime(const std::vector<std::string>& calls) {
    std::vector<std::string> out;
    for (const auto& call : calls) {
        out.push_back(call.rfind("log:", 0) == 0 ? "log:" + withoutTime(call.substr(4)) : call);
    }
    return out;
}

}  // namespace varnex::testing
