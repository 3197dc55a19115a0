#include "export/sheet_cells.h"

namespace varnex {

void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width) {
    std::string address = CellName(column, row);
    ExcelRange& range = sheet.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    if (width > 0) range.SetColumnWidth(width);
    range.SetValue(value);
}

void writeTitleRow(ExcelSheet& sheet, int lastColumn, std::string_view title) {
    ExcelRange& range = sheet.Range("A1", CellName(lastColumn, 1));
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetValue(title);
}

std::vector<std::string> examSubjectNames(const AppState& state) {
    std::vector<std::string> names;
    for (const auto& name : state.imported.examSubjects) {
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

}  // namespace varnex
