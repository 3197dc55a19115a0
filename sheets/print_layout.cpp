#include "sheets/print_layout.h"

#include "base/utf8.h"
#include "sheets/sheet_texts.h"

namespace varnex {

namespace {

// The printable width of A4 (8.27 × 11.69 inches) between the default margins of 0.7 inches.
constexpr double kPortraitWidthPoints = (8.27 - 1.4) * 72;
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
    setup.centerHeader = pageHeaderText(title);
    setup.centerFooter = sheet_texts::kPageNumberFooter;
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
