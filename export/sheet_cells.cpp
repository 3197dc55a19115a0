#include "export/sheet_cells.h"

#include <cstdio>

#include "base/text_util.h"
#include "export/export_texts.h"

namespace varnex {

void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width) {
    std::string address = CellName(column, row);
    ExcelRange& range = sheet.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    if (width > 0) range.SetColumnWidth(width);
    range.SetData(value);
}

namespace {

// A row merged across from column A to the last column, centred, holding `text`.
void writeMergedRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view text) {
    ExcelRange& range = sheet.Range(CellName(0, row), CellName(lastColumn, row));
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetData(text);
}

}  // namespace

void writeTitleRow(ExcelSheet& sheet, int lastColumn, std::string_view title) {
    writeMergedRow(sheet, lastColumn, 1, title);
}

void writeNoteRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view note) {
    writeMergedRow(sheet, lastColumn, row, note);
}

void writeSpanningHeader(ExcelSheet& sheet, int firstColumn, int lastColumn, int row, std::string_view text) {
    ExcelRange& range = sheet.Range(CellName(firstColumn, row), CellName(lastColumn, row));
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetData(text);
}

void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools) {
    const int schoolCount = static_cast<int>(schools.size());
    for (int i = 0; i < schoolCount; ++i) {
        writeBoxedCell(
            sheet, firstColumn + i, 3,
            strprintf(export_texts::kCumulativeHeaderFormat, schools[static_cast<size_t>(i)].c_str()), 11);
    }
    if (schoolCount >= 2)
        writeBoxedCell(sheet, firstColumn + schoolCount, 3, export_texts::kAllSchoolsCumulativeHeader, 11);
}

std::string countCellText(int inBand, int cumulative) {
    char text[32];
    int n = std::snprintf(text, sizeof text, export_texts::kCountFormat, inBand, cumulative);
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::string> examSubjectNames(const AppState& state) {
    std::vector<std::string> names;
    for (const auto& name : state.imported.examSubjects) {
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

}  // namespace varnex
