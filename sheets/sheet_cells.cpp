#include "sheets/sheet_cells.h"

#include <charconv>

#include "base/text_util.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace {

// The sheet's own formulas go in as typed input; everything else is data and stays as written.
void putValue(ExcelRange& range, std::string_view value, bool formula) {
    if (formula)
        range.SetValue(value);
    else
        range.SetData(value);
}

// The bordered block merged down the rows of one column, centred both ways, ready for its value.
ExcelRange mergedBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, bool rateFormat) {
    ExcelRange range = sheet.Range(CellName(column, firstRow), CellName(column, lastRow));
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.SetVerticalAlignment(kAlignVerticalCenter);
    range.Merge(0);
    if (rateFormat) range.SetNumberFormat(kRateNumberFormat);
    return range;
}

}  // namespace

void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, const CellStyle& style) {
    const std::string address = CellName(column, row);
    ExcelRange range = sheet.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(style.horizontalAlign);
    if (style.columnWidth > 0) range.SetColumnWidth(style.columnWidth);
    if (style.rateFormat) range.SetNumberFormat(kRateNumberFormat);
    putValue(range, value, style.formula);
}

void writeBoxedCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width) {
    writeBoxedCell(sheet, column, row, value, CellStyle{.columnWidth = width});
}

void writeBoxedNumber(ExcelSheet& sheet, int column, int row, long long value) {
    const std::string address = CellName(column, row);
    ExcelRange range = sheet.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.SetNumber(static_cast<double>(value));
}

void writeBoxedNumber(ExcelSheet& sheet, int column, int row, std::optional<long long> value) {
    if (value)
        writeBoxedNumber(sheet, column, row, *value);
    else
        writeBoxedCell(sheet, column, row, "");
}

void writeMergedRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view text) {
    ExcelRange range = sheet.Range(CellName(0, row), CellName(lastColumn, row));
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetData(text);
}

void writeMergedBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::string_view value) {
    mergedBlock(sheet, column, firstRow, lastRow, false).SetData(value);
}

void writeFormulaBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::string_view formula) {
    mergedBlock(sheet, column, firstRow, lastRow, true).SetValue(formula);
}

void writeNumberBlock(ExcelSheet& sheet, int column, int firstRow, int lastRow, std::optional<double> value) {
    ExcelRange range = mergedBlock(sheet, column, firstRow, lastRow, true);
    if (value)
        range.SetNumber(*value);
    else
        range.SetData("");
}

void writeBoxedRate(ExcelSheet& sheet, int column, int row, std::optional<double> value) {
    const std::string address = CellName(column, row);
    ExcelRange range = sheet.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.SetNumberFormat(kRateNumberFormat);
    if (value)
        range.SetNumber(*value);
    else
        range.SetData("");
}

void writeTitleRow(ExcelSheet& sheet, int lastColumn, std::string_view title) {
    writeMergedRow(sheet, lastColumn, 1, title);
}

void writeNoteRow(ExcelSheet& sheet, int lastColumn, int row, std::string_view note) {
    writeMergedRow(sheet, lastColumn, row, note);
}

void writeSpanningHeader(ExcelSheet& sheet, int firstColumn, int lastColumn, int row, std::string_view text) {
    ExcelRange range = sheet.Range(CellName(firstColumn, row), CellName(lastColumn, row));
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetData(text);
}

void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools) {
    writeCumulativeHeaders(sheet, firstColumn, schools, schools.size() >= 2);
}

void writeCumulativeHeaders(ExcelSheet& sheet, int firstColumn, const std::vector<std::string>& schools,
                            bool withAll) {
    const int schoolCount = static_cast<int>(schools.size());
    for (int i = 0; i < schoolCount; ++i) {
        writeBoxedCell(
            sheet, firstColumn + i, 3,
            strprintf(sheet_texts::kCumulativeHeaderFormat, schools[static_cast<size_t>(i)].c_str()), 11);
    }
    if (withAll)
        writeBoxedCell(sheet, firstColumn + schoolCount, 3, sheet_texts::kAllSchoolsCumulativeHeader, 11);
}

std::string countCellText(int inBand, int cumulative) {
    // sheet_texts::kCountFormat ("%3d/%-3d") without printf: this runs for every band cell.
    char a[16], b[16];
    const size_t na = static_cast<size_t>(std::to_chars(a, a + sizeof a, inBand).ptr - a);
    const size_t nb = static_cast<size_t>(std::to_chars(b, b + sizeof b, cumulative).ptr - b);
    std::string text;
    text.reserve(8);
    if (na < 3) text.append(3 - na, ' ');
    text.append(a, na).append(1, '/').append(b, nb);
    if (nb < 3) text.append(3 - nb, ' ');
    return text;
}

std::vector<std::string> examSubjectNames(const AppState& state) {
    std::vector<std::string> names;
    for (const auto& name : state.imported.examSubjects) {
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

}  // namespace varnex
