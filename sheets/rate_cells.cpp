#include "sheets/rate_cells.h"

#include <string>

#include "analysis/three_rates.h"
#include "automation/cell_name.h"
#include "base/text_util.h"
#include "sheets/rate_texts.h"

namespace varnex {

std::string subjectBlockLabel(std::string_view subject, int fullMark) {
    return strprintf("%s\n%s%d%s", std::string(subject).c_str(), rate_texts::kFullMarkOpen, fullMark,
                     rate_texts::kFullMarkClose);
}

void RateCells::band(int lastColumn, int row, std::string_view value) {
    ExcelRange range = sheet_.Range(CellName(0, row), CellName(lastColumn, row));
    range.SetHorizontalAlignment(kAlignCenter);
    range.Merge(1);
    range.SetData(value);
}

namespace {

// The sheet's own formulas go in as typed input; everything else is data and stays as written.
void putValue(ExcelRange& range, std::string_view value, bool formula) {
    if (formula)
        range.SetValue(value);
    else
        range.SetData(value);
}

}  // namespace

void RateCells::cell(int column, int row, std::string_view value, const RateCellStyle& style) {
    std::string address = CellName(column, row);
    ExcelRange range = sheet_.Range(address, address);
    range.BorderAround();
    range.SetHorizontalAlignment(style.horizontalAlign);
    if (style.columnWidth > 0) range.SetColumnWidth(style.columnWidth);
    if (style.rateFormat) range.SetNumberFormat(kRateNumberFormat);
    putValue(range, value, style.formula);
}

void RateCells::block(int column, int firstRow, int lastRow, std::string_view value) {
    mergedBlock(column, firstRow, lastRow, false).SetData(value);
}

void RateCells::formulaBlock(int column, int firstRow, int lastRow, std::string_view formula) {
    mergedBlock(column, firstRow, lastRow, true).SetValue(formula);
}

ExcelRange RateCells::mergedBlock(int column, int firstRow, int lastRow, bool rateFormat) {
    ExcelRange range = sheet_.Range(CellName(column, firstRow), CellName(column, lastRow));
    range.BorderAround();
    range.SetHorizontalAlignment(kAlignCenter);
    range.SetVerticalAlignment(kAlignVerticalCenter);
    range.Merge(0);
    if (rateFormat) range.SetNumberFormat(kRateNumberFormat);
    return range;
}

void writeSixteenColumnHead(RateCells& out, std::string_view title,
                            const std::array<const char*, 16>& headers) {
    using namespace rate_columns;
    out.band(kLast, 1, title);
    for (int column = 0; column <= kLast; ++column) {
        RateCellStyle style;
        if (column == kLabel) style.columnWidth = 9;
        if (column == kExcellentRank || column == kPassRank || column == kAverageRank) style.columnWidth = 11;
        out.cell(column, 3, headers[static_cast<size_t>(column)], style);
    }
}

std::string countText(int count) {
    return std::to_string(count);
}

std::string rateText(int count, int satCount) {
    if (satCount == 0) return std::string();
    return fixedText(count * 100.0 / satCount, 1);
}

std::string averageText(double scoreSum, int satCount) {
    if (satCount == 0) return std::string();
    return fixedText(scoreSum / satCount, 1);
}

std::string rankFormula(int column, int row, int firstRow, int lastRow) {
    std::string x = columnLetters(column);
    return strprintf("=RANK(%s%d,%s$%d:%s$%d)", x.c_str(), row, x.c_str(), firstRow, x.c_str(), lastRow);
}

std::string averageFormula(int column, int firstRow, int lastRow) {
    std::string x = columnLetters(column);
    return strprintf("=AVERAGE(%s$%d:%s$%d)", x.c_str(), firstRow, x.c_str(), lastRow);
}

std::string deviationFormula(int averageColumn, int row, int blockAverageColumn, int firstRow) {
    std::string m = columnLetters(averageColumn);
    std::string o = columnLetters(blockAverageColumn);
    return strprintf("=%s$%d-%s$%d", m.c_str(), row, o.c_str(), firstRow);
}

std::string rateFormula(int countColumn, int row, int satColumn) {
    std::string g = columnLetters(countColumn);
    std::string d = columnLetters(satColumn);
    return strprintf("=(%s$%d/%s$%d)*100", g.c_str(), row, d.c_str(), row);
}

}  // namespace varnex
