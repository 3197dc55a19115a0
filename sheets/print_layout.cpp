#include "sheets/print_layout.h"

#include <algorithm>
#include <cmath>

#include "base/utf8.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace {

// The printable width of A4 (8.27 × 11.69 inches) between the default margins of 0.7 inches at
// the sides, and its printable height between those of 0.75 inches at the top and the bottom.
constexpr double kPortraitWidthPoints = (8.27 - 1.4) * 72;
constexpr double kLandscapeWidthPoints = (11.69 - 1.4) * 72;
constexpr double kPortraitHeightPoints = (11.69 - 1.5) * 72;
constexpr double kLandscapeHeightPoints = (8.27 - 1.5) * 72;
// The default row height.
constexpr double kRowPoints = 15;
// A sheet shrunk to less than this to fit a portrait page (its 11-point text to about 8 points) is
// hard to read: it prints landscape.
constexpr double kReadableScale = 0.75;
// The characters a header or footer holds, less the code that centres it.
constexpr size_t kHeaderCharacters = 255 - 2;

PageSetup a4OnePageWide() {
    PageSetup setup;
    setup.paperSize = PageSetup::kPaperA4;
    setup.fitToPagesWide = 1;
    setup.fitToPagesTall = 0;
    return setup;
}

}  // namespace

bool fitsPortrait(double widthPoints) {
    return widthPoints * kReadableScale <= kPortraitWidthPoints;
}

int rowsPerPage(double widthPoints, bool landscape, int headingRows) {
    const double pageWidth = landscape ? kLandscapeWidthPoints : kPortraitWidthPoints;
    const double pageHeight = landscape ? kLandscapeHeightPoints : kPortraitHeightPoints;
    // Shrunk to one page wide, in whole percent as the applications scale.
    const double scale = widthPoints > pageWidth ? std::floor(100 * pageWidth / widthPoints) / 100 : 1.0;
    const int rows = static_cast<int>(std::floor(pageHeight / (kRowPoints * scale))) - headingRows;
    return std::max(rows, 1);
}

std::vector<int> blockPageBreaks(const std::vector<RowSpan>& blocks, int firstRow, int pageRows) {
    std::vector<int> breaks;
    int row = firstRow;  // the first row not yet placed
    int used = 0;        // the rows on the page being filled
    bool pageAfter = false;
    for (const RowSpan& block : blocks) {
        if (block.first < row) continue;
        if (pageAfter) {
            breaks.push_back(row);
            used = 0;
            pageAfter = false;
        }
        // The rows before the block, outside any block, fill pages as they come.
        used += block.first - row;
        if (used > pageRows) used = (used - 1) % pageRows + 1;
        const int length = block.last - block.first + 1;
        if (used + length > pageRows && used > 0) {
            breaks.push_back(block.first);
            used = 0;
        }
        used += length;
        if (used > pageRows) pageAfter = true;
        row = block.last + 1;
    }
    return breaks;
}

std::string pageHeaderText(std::string_view text) {
    std::string out;
    size_t characters = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = nextUtf8Char(text, i).length;
        if (characters + 1 == kHeaderCharacters && i + length < text.size()) {
            out += "…";
            break;
        }
        if (text[i] == '&')
            out += "＆";
        else
            out.append(text.substr(i, length));
        ++characters;
        i += length;
    }
    return out;
}

void layOutReportSheet(ExcelSheet& sheet, const std::string& title, const ReportLayout& layout) {
    sheet.AutoFitColumns();
    PageSetup setup = a4OnePageWide();
    setup.landscape = !fitsPortrait(sheet.UsedWidthPoints());
    setup.titleFirstRow = 1;
    setup.titleLastRow = layout.headingRows;
    setup.centerHorizontally = true;
    // A title row prints at the top of every page already.
    if (!layout.titleRow) setup.centerHeader = pageHeaderText(title);
    setup.centerFooter = sheet_texts::kPageNumberFooter;
    if (layout.blocks) {
        std::vector<RowSpan> blocks;
        for (const CellRange& area : sheet.MergedAreas()) {
            if (area.first.column == 0 && area.last.column == 0 && area.first.row >= layout.headingRows)
                blocks.push_back({area.first.row + 1, area.last.row + 1});
        }
        std::sort(blocks.begin(), blocks.end(),
                  [](const RowSpan& a, const RowSpan& b) { return a.first < b.first; });
        setup.rowBreaks =
            blockPageBreaks(blocks, layout.headingRows + 1,
                            rowsPerPage(sheet.UsedWidthPoints(), setup.landscape, layout.headingRows));
    }
    sheet.SetPageSetup(setup);
    sheet.FreezePanes(CellName(layout.frozenColumns, layout.headingRows + 1));
}

void layOutTemplateSheet(ExcelSheet& sheet) {
    PageSetup setup = a4OnePageWide();
    setup.titleFirstRow = 1;
    setup.titleLastRow = 1;
    sheet.SetPageSetup(setup);
}

}  // namespace varnex
