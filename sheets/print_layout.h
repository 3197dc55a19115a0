#pragma once
// How the result sheets and the import templates read on screen and print: A4, one page wide,
// the heading rows on every page and frozen on screen, columns wide enough for their texts.

#include <string>
#include <string_view>

#include "workbook/excel_session.h"

namespace varnex {

/// What a sheet's writer knows of its own rows and columns.
struct ReportLayout {
    int headingRows = 3;    ///< the title and header rows at the top (1 … headingRows)
    int frozenColumns = 0;  ///< the name columns kept in view when the sheet scrolls sideways
};

/// Lays out a result sheet once its cells are written: the columns without a width get the width of
/// their longest text; it prints on A4, portrait when its width fits a portrait page at a readable
/// scale and landscape otherwise, shrunk to one page wide and centred, with the heading rows on
/// every page, `title` in the page header and the page number in the footer; on screen the heading
/// rows and the name columns stay in view.
void layOutReportSheet(ExcelSheet& sheet, const std::string& title, const ReportLayout& layout);

/// An import template sheet: portrait A4, one page wide, its header row (row 1) on every page.
void layOutTemplateSheet(ExcelSheet& sheet);

/// A text as a page header or footer prints it unchanged: "&" (which starts a code there) becomes
/// the full-width "＆", and a text longer than a header holds is cut with "…".
std::string pageHeaderText(std::string_view text);

/// True when a sheet `widthPoints` wide prints on a portrait A4 page at a readable scale.
bool fitsPortrait(double widthPoints);

}  // namespace varnex
