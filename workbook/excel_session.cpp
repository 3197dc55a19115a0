#include "workbook/excel_session.h"

#include <charconv>

#include "base/text_util.h"
#include "base/utf8.h"
#include "workbook/workbook_texts.h"

namespace varnex {

namespace tx = workbook_texts;

namespace {

// A position for a message: its A1 address, or the raw numbers when it has none.
std::string cellNameOrPosition(CellPos pos) {
    if (pos.row < 0 || pos.column < 0) return strprintf("(%d, %d)", pos.row, pos.column);
    return CellName(pos.column, pos.row + 1);
}

// The reason the spreadsheet would refuse `name` for the sheet at `position`, or nullptr.
const char* sheetNameProblem(const WorkbookModel& workbook, int position, std::string_view name) {
    if (name.empty()) return tx::kSheetNameEmpty;
    // The spreadsheet counts a sheet name's characters in UTF-16 units.
    if (utf16Length(name) > 31) return tx::kSheetNameTooLong;
    if (name.find_first_of(":\\/?*[]") != std::string_view::npos) return tx::kSheetNameBadCharacter;
    if (name.front() == '\'' || name.back() == '\'') return tx::kSheetNameApostrophe;
    if (equalsIgnoringAsciiCase(name, "History")) return tx::kSheetNameReserved;
    for (int i = 1; i <= workbook.sheetCount(); ++i) {
        if (i != position && equalsIgnoringAsciiCase(workbook.sheet(i)->name, name))
            return tx::kSheetNameTaken;
    }
    return nullptr;
}

}  // namespace

bool parsePlainNumber(std::string_view text, double& value) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    std::string_view t = text.substr(b, e - b);
    if (t.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (t[0] == '+' || t[0] == '-') {
        negative = t[0] == '-';
        ++i;
    }
    size_t digits = 0, fraction = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++fraction;
    }
    if (i != t.size() || digits + fraction == 0) return false;
    std::string_view body = t.substr(negative || t[0] == '+' ? 1 : 0);
    double d = 0;
    auto res = readDouble(body.data(), body.data() + body.size(), d);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size()) return false;
    value = negative && d != 0 ? -d : d;  // "-0" is the number 0
    return true;
}

// ---------------------------------------------------------------- range

template <typename Apply>
void ExcelRange::forValueCells(Apply apply) {
    if (range_.first == range_.last || sheet_->isMergedArea(range_)) {
        apply(sheet_->touch(range_.first.row, range_.first.column));
        return;
    }
    for (int r = range_.first.row; r <= range_.last.row; ++r) {
        for (int c = range_.first.column; c <= range_.last.column; ++c) apply(sheet_->touch(r, c));
    }
}

void ExcelRange::SetValue(std::string_view text) {
    put(text, true);
}

void ExcelRange::SetData(std::string_view text) {
    put(text, false);
}

void ExcelRange::SetNumber(double number) {
    forValueCells([&](Cell& c) { sheet_->setNumber(c, number); });
}

void ExcelRange::put(std::string_view text, bool formulas) {
    // The text is read once; each cell of the range takes the same value.
    double d = 0;
    if (text.empty()) {
        forValueCells([&](Cell& c) { sheet_->setEmpty(c); });
    } else if (formulas && text[0] == '=') {
        forValueCells([&](Cell& c) { sheet_->setText(c, Cell::Kind::Formula, text); });
    } else if (parsePlainNumber(text, d)) {
        SetNumber(d);
    } else {
        forValueCells([&](Cell& c) { sheet_->setText(c, Cell::Kind::Text, text); });
    }
}

void ExcelRange::SetHorizontalAlignment(HAlign align) {
    for (int r = range_.first.row; r <= range_.last.row; ++r) {
        for (int c = range_.first.column; c <= range_.last.column; ++c)
            sheet_->touch(r, c).horizontalAlign = align;
    }
}

void ExcelRange::SetVerticalAlignment(VAlign align) {
    for (int r = range_.first.row; r <= range_.last.row; ++r) {
        for (int c = range_.first.column; c <= range_.last.column; ++c)
            sheet_->touch(r, c).verticalCenter = align == VAlign::Center;
    }
}

void ExcelRange::Merge(int across) {
    if (range_.first == range_.last) return;
    if (across != 0 && range_.first.row != range_.last.row) {
        for (int r = range_.first.row; r <= range_.last.row; ++r) {
            sheet_->addMerge({{r, range_.first.column}, {r, range_.last.column}});
        }
        return;
    }
    sheet_->addMerge(range_);
}

void ExcelRange::SetColumnWidth(int width) {
    for (int c = range_.first.column; c <= range_.last.column; ++c) sheet_->columnWidths[c] = width;
}

void ExcelRange::SetNumberFormat(std::string_view format) {
    uint16_t index = workbook_->numberFormatIndex(format);
    for (int r = range_.first.row; r <= range_.last.row; ++r) {
        for (int c = range_.first.column; c <= range_.last.column; ++c)
            sheet_->touch(r, c).numberFormat = index;
    }
}

void ExcelRange::BorderAround() {
    if (range_.first == range_.last) {
        sheet_->touch(range_.first.row, range_.first.column).borders |=
            kBorderLeft | kBorderRight | kBorderTop | kBorderBottom;
        return;
    }
    for (int c = range_.first.column; c <= range_.last.column; ++c) {
        sheet_->touch(range_.first.row, c).borders |= kBorderTop;
        sheet_->touch(range_.last.row, c).borders |= kBorderBottom;
    }
    for (int r = range_.first.row; r <= range_.last.row; ++r) {
        sheet_->touch(r, range_.first.column).borders |= kBorderLeft;
        sheet_->touch(r, range_.last.column).borders |= kBorderRight;
    }
}

// ---------------------------------------------------------------- sheet

void ExcelSheet::Activate() {
    session_->workbook().activate(position_);
}

void ExcelSheet::SetName(std::string_view name) {
    WorkbookModel& workbook = session_->workbook();
    SheetModel* s = workbook.sheet(position_);
    if (s == nullptr) throw AutomationError(tx::kNoSuchSheet);
    if (const char* problem = sheetNameProblem(workbook, position_, name)) {
        throw AutomationError(strprintf(tx::kBadSheetNameFormat, std::string(name).c_str(), problem));
    }
    s->name = std::string(name);
}

std::string ExcelSheet::GetName() const {
    const SheetModel* s = session_->workbook().sheet(position_);
    return s != nullptr ? s->name : std::string();
}

void ExcelSheet::SetVisible(int visible) {
    WorkbookModel& workbook = session_->workbook();
    SheetModel* s = workbook.sheet(position_);
    if (s == nullptr) throw AutomationError(tx::kNoSuchSheet);
    if (visible == 0 && s->visible) {
        int shown = 0;
        for (int i = 1; i <= workbook.sheetCount(); ++i) shown += workbook.sheet(i)->visible ? 1 : 0;
        if (shown == 1) throw AutomationError(tx::kLastVisibleSheet);
    }
    s->visible = visible != 0;
}

ExcelRange ExcelSheet::Range(std::string_view first, std::string_view last) {
    auto a = parseCellName(first);
    auto b = first == last ? a : parseCellName(last);
    if (!a || !b) {
        throw AutomationError(
            strprintf(tx::kInvalidRangeFormat, std::string(first).c_str(), std::string(last).c_str()));
    }
    return Range(*a, *b);
}

ExcelRange ExcelSheet::Range(int row, int column) {
    return Range(CellPos{row, column}, CellPos{row, column});
}

ExcelRange ExcelSheet::Range(CellPos first, CellPos last) {
    WorkbookModel& workbook = session_->workbook();
    SheetModel* s = workbook.sheet(position_);
    if (s == nullptr || first.row < 0 || first.column < 0 || last.row < 0 || last.column < 0) {
        throw AutomationError(strprintf(tx::kInvalidRangeFormat, cellNameOrPosition(first).c_str(),
                                        cellNameOrPosition(last).c_str()));
    }
    return ExcelRange(workbook, *s,
                      {{std::min(first.row, last.row), std::min(first.column, last.column)},
                       {std::max(first.row, last.row), std::max(first.column, last.column)}});
}

namespace {

SheetModel& sheetAt(ExcelSession& session, int position) {
    SheetModel* s = session.workbook().sheet(position);
    if (s == nullptr) throw AutomationError(tx::kNoSuchSheet);
    return *s;
}

CellPos cellAt(std::string_view address) {
    auto pos = parseCellName(address);
    if (!pos) {
        throw AutomationError(
            strprintf(tx::kInvalidRangeFormat, std::string(address).c_str(), std::string(address).c_str()));
    }
    return *pos;
}

void requireSheetNamed(const WorkbookModel& workbook, const std::string& name) {
    if (workbook.sheetNamed(name) == nullptr)
        throw AutomationError(strprintf(tx::kNoSheetNamedFormat, name.c_str()));
}

}  // namespace

void ExcelSheet::SetPageSetup(const PageSetup& setup) {
    sheetAt(*session_, position_).pageSetup = setup;
}

void ExcelSheet::FreezePanes(std::string_view topLeftScrollingCell) {
    const CellPos pos = cellAt(topLeftScrollingCell);
    sheetAt(*session_, position_).frozenPanes = {pos.row, pos.column};
}

void ExcelSheet::AddSheetLink(std::string_view cell, std::string_view sheetName) {
    SheetModel& s = sheetAt(*session_, position_);
    requireSheetNamed(session_->workbook(), std::string(sheetName));
    s.links.push_back({cellAt(cell), std::string(sheetName)});
}

void ExcelSheet::AddConditionalFill(const CellRange& range, double atMost, uint32_t fillRgb) {
    sheetAt(*session_, position_).conditionalFills.push_back({range, atMost, fillRgb});
}

void ExcelSheet::AddChart(ChartModel chart) {
    SheetModel& s = sheetAt(*session_, position_);
    for (const ChartSeries& series : chart.series) {
        requireSheetNamed(session_->workbook(), series.values.sheet);
        if (series.categories) requireSheetNamed(session_->workbook(), series.categories->sheet);
    }
    s.charts.push_back(std::move(chart));
}

void ExcelSheet::AutoFitColumns() {
    SheetModel& s = sheetAt(*session_, position_);
    s.fitColumnWidths(0, s.usedColumnCount() - 1);
}

double ExcelSheet::UsedWidthPoints() const {
    return sheetAt(*session_, position_).usedWidthPoints();
}

const std::vector<CellRange>& ExcelSheet::MergedAreas() const {
    return sheetAt(*session_, position_).merges;
}

// ---------------------------------------------------------------- session

void ExcelSession::AddWorkbook(OmittedArgumentType) {
    workbook_ = WorkbookModel();
    hasWorkbook_ = true;
}

void ExcelSession::AddSheets(int count) {
    workbook().addSheetsBeforeActive(count);
}

ExcelSheet ExcelSession::Sheet(int index) {
    if (workbook().sheet(index) == nullptr)
        throw AutomationError(strprintf(tx::kNoSuchSheetIndexFormat, index));
    return ExcelSheet(*this, index);
}

WorkbookModel& ExcelSession::workbook() {
    if (!hasWorkbook_) throw AutomationError(tx::kNoWorkbook);
    return workbook_;
}

}  // namespace varnex
