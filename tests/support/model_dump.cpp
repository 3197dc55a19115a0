#include "tests/support/model_dump.h"

#include <cstdio>
#include <string_view>

#include "workbook/cell_name.h"

namespace varnex::testing {
namespace {

std::string number(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

// A text in double quotes with backslash, quote, newline, tab and other control characters
// escaped, so that every line of the dump is one fact.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char buffer[8];
                    std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
                    out += buffer;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
}

std::string address(const CellPos& pos) {
    return CellName(pos.column, pos.row + 1);
}

std::string range(const CellRange& r) {
    return address(r.first) + ":" + address(r.last);
}

std::string sheetRange(const SheetRange& r) {
    return quoted(r.sheet) + "!" + range(r.range);
}

std::string yesNo(bool b) {
    return b ? "yes" : "no";
}

std::string value(const Value& v) {
    switch (v.kind) {
        case Value::Kind::Empty:
            return "empty";
        case Value::Kind::Number:
            return "number " + number(v.number);
        case Value::Kind::Text:
            return "text " + quoted(v.text);
        case Value::Kind::Error:
            return "error " + quoted(v.text);
    }
    return "?";
}

std::string borders(uint8_t bits) {
    if (bits == 0) return "none";
    std::string out;
    if (bits & kBorderLeft) out += "L";
    if (bits & kBorderRight) out += "R";
    if (bits & kBorderTop) out += "T";
    if (bits & kBorderBottom) out += "B";
    return out;
}

std::string horizontal(HAlign align) {
    switch (align) {
        case HAlign::General:
            return "general";
        case HAlign::Left:
            return "left";
        case HAlign::Center:
            return "center";
    }
    return std::to_string(static_cast<int>(align));
}

void line(std::string& out, const std::string& text) {
    out += text;
    out += '\n';
}

void dumpPageSetup(std::string& out, const PageSetup& p) {
    line(out, "  page paper " + std::to_string(p.paperSize) + " landscape " + yesNo(p.landscape) + " fit " +
                  std::to_string(p.fitToPagesWide) + "x" + std::to_string(p.fitToPagesTall) + " titleRows " +
                  std::to_string(p.titleFirstRow) + "-" + std::to_string(p.titleLastRow) + " centerH " +
                  yesNo(p.centerHorizontally));
    line(out, "  page header " + quoted(p.centerHeader));
    line(out, "  page footer " + quoted(p.centerFooter));
    std::string breaks;
    for (int row : p.rowBreaks) breaks += " " + std::to_string(row);
    line(out, "  page rowBreaks" + (breaks.empty() ? std::string(" none") : breaks));
    line(out, "  page printArea " + (p.printArea ? range(*p.printArea) : std::string("none")));
}

void dumpChart(std::string& out, size_t index, const ChartModel& c) {
    line(out, "  chart " + std::to_string(index + 1) + " title " + quoted(c.title));
    line(out, "    axes category " + quoted(c.categoryAxisTitle) + " value " + quoted(c.valueAxisTitle));
    line(out, "    valueMin " + (c.valueMin ? number(*c.valueMin) : std::string("auto")) + " valueMax " +
                  (c.valueMax ? number(*c.valueMax) : std::string("auto")) + " reverse " +
                  yesNo(c.reverseCategories) + " legend " + yesNo(c.legend) + " labelRotation " +
                  std::to_string(c.categoryLabelRotation));
    line(out, "    anchor " + address(c.anchor) + " size " + std::to_string(c.widthPixels) + "x" +
                  std::to_string(c.heightPixels));
    for (const ChartSeries& s : c.series) {
        line(out, "    series " + quoted(s.name) + " values " + sheetRange(s.values) + " categories " +
                      (s.categories ? sheetRange(*s.categories) : std::string("none")) + " levelLine " +
                      yesNo(s.levelLine));
    }
}

std::string formatName(uint16_t index, const WorkbookModel& workbook) {
    if (index == 0) return "General";
    const auto& formats = workbook.numberFormats();
    if (index > formats.size()) return "#" + std::to_string(index) + "?";
    return quoted(formats[index - 1u]);
}

}  // namespace

std::string dumpSheet(const SheetModel& sheet, const WorkbookModel& workbook) {
    std::string out;
    line(out, "sheet " + quoted(sheet.name) + " visible " + yesNo(sheet.visible) +
                  (sheet.released() ? " RELEASED" : ""));
    for (const auto& [column, width] : sheet.columnWidths)
        line(out, "  width " + CellName(column, 1).substr(0, CellName(column, 1).size() - 1) + " " +
                      number(width));
    for (const CellRange& m : sheet.merges) line(out, "  merge " + range(m));
    dumpPageSetup(out, sheet.pageSetup);
    line(out, "  frozen rows " + std::to_string(sheet.frozenPanes.rows) + " columns " +
                  std::to_string(sheet.frozenPanes.columns));
    for (const SheetLink& l : sheet.links) line(out, "  link " + address(l.cell) + " -> " + quoted(l.sheet));
    for (size_t i = 0; i < sheet.charts.size(); ++i) dumpChart(out, i, sheet.charts[i]);
    for (const ConditionalFill& f : sheet.conditionalFills) {
        char fill[16];
        std::snprintf(fill, sizeof fill, "%06X", static_cast<unsigned>(f.fillRgb));
        line(out, "  conditional " + range(f.range) + " <= " + number(f.atMost) + " fill " + fill);
    }
    for (int row = 0; row < sheet.rowCount(); ++row) {
        for (int column = 0; column < sheet.columnCount(row); ++column) {
            const Cell* c = sheet.cell(row, column);
            if (c == nullptr) continue;
            const bool styled = c->borders != 0 || c->horizontalAlign != HAlign::General ||
                                c->verticalCenter || c->numberFormat != 0 || c->inMerge;
            if (c->kind == Cell::Kind::Empty && !styled) continue;
            std::string text = "  " + CellName(column, row + 1) + " ";
            switch (c->kind) {
                case Cell::Kind::Empty:
                    text += "empty";
                    break;
                case Cell::Kind::Number:
                    text += "number " + number(c->number());
                    break;
                case Cell::Kind::Text:
                    text += "text " + quoted(c->text());
                    break;
                case Cell::Kind::Formula:
                    text += "formula " + quoted(c->text()) + " = " + value(c->cached());
                    break;
            }
            text += " | fmt " + formatName(c->numberFormat, workbook) + " border " + borders(c->borders) +
                    " h " + horizontal(c->horizontalAlign) + " v " +
                    (c->verticalCenter ? "center" : "general") + (c->inMerge ? " inMerge" : "");
            line(out, text);
        }
    }
    return out;
}

std::string dumpWorkbook(const WorkbookModel& workbook) {
    std::string out;
    line(out, "workbook sheets " + std::to_string(workbook.sheetCount()) + " active " +
                  std::to_string(workbook.activeSheet()));
    const auto& formats = workbook.numberFormats();
    for (size_t i = 0; i < formats.size(); ++i)
        line(out, "numberFormat " + std::to_string(i + 1) + " " + quoted(formats[i]));
    for (int i = 1; i <= workbook.sheetCount(); ++i)
        line(out, "tab " + std::to_string(i) + " " + quoted(workbook.sheet(i)->name));
    for (int i = 1; i <= workbook.sheetCount(); ++i) out += dumpSheet(*workbook.sheet(i), workbook);
    return out;
}

}  // namespace varnex::testing
