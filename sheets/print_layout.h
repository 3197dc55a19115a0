#pragma once
// How the result sheets and the import templates read on screen and print: A4, one page wide,
// the heading rows on every page and frozen on screen, columns wide enough for their texts.

#include <string>
#include <string_view>
#include <vector>

#include "sheets/figure_places.h"
#include "workbook/excel_session.h"

namespace varnex {

/// What a sheet's writer knows of its own rows and columns.
struct ReportLayout {
    int headingRows = 3;    ///< the title and header rows at the top (1 … headingRows)
    int frozenColumns = 0;  ///< the name columns kept in view when the sheet scrolls sideways
    bool titleRow = true;   ///< row 1 is the sheet's title (the contents sheet has none)
    /// The rows come in blocks merged down column A (a subject's rows): each prints on one page.
    bool blocks = false;
};

/// Lays out a result sheet once its cells are written: the columns without a width get the width of
/// their longest text; it prints on A4, portrait when its width fits a portrait page at a readable
/// scale and landscape otherwise, shrunk to one page wide and centred, with the heading rows on
/// every page, the page number in the footer and, on a sheet without a title row, `title` in the
/// page header; on screen the heading rows and the name columns stay in view. A sheet of blocks
/// gets a page break before each block that would not end on the page it begins on.
void layOutReportSheet(ExcelSheet& sheet, const std::string& title, const ReportLayout& layout);

/// An import template sheet: portrait A4, one page wide, its header row (row 1) on every page.
void layOutTemplateSheet(ExcelSheet& sheet);

/// A text as a page header or footer prints it unchanged: "&" (which starts a code there) becomes
/// the full-width "＆", and a text longer than a header holds is cut with "…".
std::string pageHeaderText(std::string_view text);

/// True when a sheet `widthPoints` wide prints on a portrait A4 page at a readable scale.
bool fitsPortrait(double widthPoints);

/// The rows of the default height that an A4 page holds under `headingRows` repeated rows, for a
/// sheet `widthPoints` wide shrunk to one page wide.
int rowsPerPage(double widthPoints, bool landscape, int headingRows);

/// The rows (1-based) that begin a new page so that a block of rows shorter than a page never
/// spans two, and a longer one, and whatever follows it, begins a page of its own; the rows from
/// `firstRow` on fill pages of `pageRows` rows. `blocks` run down the sheet without overlapping.
std::vector<int> blockPageBreaks(const std::vector<RowSpan>& blocks, int firstRow, int pageRows);

}  // namespace varnex
