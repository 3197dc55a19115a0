#include "sheets/contents_sheet.h"

#include <string>

#include "sheets/sheet_texts.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

// A boxed cell without alignment; the contents sheet sets widths on its headers only.
void writeContentsCell(ExcelSheet& sheet, int column, int row, std::string_view value, int width = 0) {
    std::string address = CellName(column, row);
    ExcelRange range = sheet.Range(address, address);
    range.BorderAround();
    if (width > 0) range.SetColumnWidth(width);
    range.SetData(value);
}

}  // namespace

void writeContentsSheet(ExcelSheet& sheet, const SheetPlan& plan) {
    writeContentsCell(sheet, 0, 1, tx::kSheetNameHeader, 14);
    writeContentsCell(sheet, 1, 1, tx::kSheetTitleHeader, 70);
    int row = 1;
    for (const PlannedSheet* listed : plan.contentsOrder()) {
        ++row;
        writeContentsCell(sheet, 0, row, listed->tabName);
        writeContentsCell(sheet, 1, row, listed->title);
        // The tab name leads to its sheet.
        sheet.AddSheetLink(CellName(0, row), listed->tabName);
    }
}

}  // namespace varnex
