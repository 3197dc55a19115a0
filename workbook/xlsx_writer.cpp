#include "workbook/xlsx_writer.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/text_util.h"
#include "workbook/part_check.h"
#include "workbook/workbook_texts.h"

namespace varnex {

namespace tx = workbook_texts;

// ---------------------------------------------------------------- the workbook handle

XlsxWorkbook::XlsxWorkbook(const std::string& path, const std::string& tmpdir) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;  // chosen per sheet by writeWorkbook
    options.tmpdir = tmpdir.empty() ? nullptr : const_cast<char*>(tmpdir.c_str());  // copied by libxlsxwriter
    options.use_zip64 = LXW_FALSE;
    workbook_ = workbook_new_opt(path.c_str(), &options);
}

XlsxWorkbook::~XlsxWorkbook() {
    // Never closed: free it without writing a half-built file.
    if (workbook_ != nullptr) lxw_workbook_free(workbook_);
}

XlsxWorkbook::XlsxWorkbook(XlsxWorkbook&& other) noexcept
    : workbook_(std::exchange(other.workbook_, nullptr)) {}

XlsxWorkbook& XlsxWorkbook::operator=(XlsxWorkbook&& other) noexcept {
    if (this != &other) {
        if (workbook_ != nullptr) lxw_workbook_free(workbook_);
        workbook_ = std::exchange(other.workbook_, nullptr);
    }
    return *this;
}

lxw_error XlsxWorkbook::close() {
    // workbook_close() frees the workbook whatever the outcome.
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    if (workbook == nullptr) return LXW_ERROR_NULL_PARAMETER_IGNORED;
    return workbook_close(workbook);
}

// ---------------------------------------------------------------- formats

namespace {

/// One lxw_format per distinct combination of border edges, alignment and number format, made
/// when first needed and found again by a direct index.
class FormatTable {
  public:
    FormatTable(lxw_workbook* workbook, const std::vector<std::string>& numberFormats)
        : workbook_(workbook),
          numberFormats_(numberFormats),
          formats_(kStyles * (numberFormats.size() + 1)) {}

    /// The format of a cell, nullptr for the default format (or when libxlsxwriter is out of memory,
    /// reported by failed()).
    lxw_format* of(const Cell& cell) {
        size_t style = (cell.borders & 0x0Fu) | (alignIndex(cell.horizontalAlign) << 4) |
                       (cell.verticalCenter ? 1u << 6 : 0u);
        size_t numberFormat = cell.numberFormat <= numberFormats_.size() ? cell.numberFormat : 0;
        if (style == 0 && numberFormat == 0) return nullptr;
        lxw_format*& format = formats_[numberFormat * kStyles + style];
        if (format == nullptr) format = make(style, numberFormat);
        return format;
    }
    bool failed() const { return failed_; }

  private:
    static constexpr size_t kStyles = 128;  // 4 border bits, 2 alignment bits, 1 vertical bit

    /// The libxlsxwriter calls that draw one edge of the box.
    struct BorderSetters {
        uint8_t edge;
        void (*line)(lxw_format*, uint8_t);
        void (*colour)(lxw_format*, lxw_color_t);
    };
    static constexpr BorderSetters kBorderSetters[] = {
        {kBorderLeft, format_set_left, format_set_left_color},
        {kBorderRight, format_set_right, format_set_right_color},
        {kBorderTop, format_set_top, format_set_top_color},
        {kBorderBottom, format_set_bottom, format_set_bottom_color},
    };

    static size_t alignIndex(HAlign align) {
        switch (align) {
            case HAlign::General:
                return 0;
            case HAlign::Left:
                return 1;
            case HAlign::Center:
                return 2;
        }
        return 0;
    }

    lxw_format* make(size_t style, size_t numberFormat) {
        lxw_format* f = workbook_add_format(workbook_);
        if (f == nullptr) {
            failed_ = true;
            return nullptr;
        }
        // A thin continuous line in colour index 1 (black) on each boxed edge.
        for (const BorderSetters& edge : kBorderSetters) {
            if ((style & edge.edge) == 0) continue;
            edge.line(f, LXW_BORDER_THIN);
            edge.colour(f, LXW_COLOR_BLACK);
        }
        switch ((style >> 4) & 3u) {
            case 1:
                format_set_align(f, LXW_ALIGN_LEFT);
                break;
            case 2:
                format_set_align(f, LXW_ALIGN_CENTER);
                break;
            default:
                break;
        }
        if (style & (1u << 6)) format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
        if (numberFormat != 0) format_set_num_format(f, numberFormats_[numberFormat - 1].c_str());
        return f;
    }

    lxw_workbook* workbook_;
    const std::vector<std::string>& numberFormats_;
    std::vector<lxw_format*> formats_;
    bool failed_ = false;
};

// ---------------------------------------------------------------- cells

// The library's reasons that data can cause, in the user's language; the rest as the library
// words them.
const char* reasonOf(lxw_error code) {
    switch (code) {
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return tx::kTextTooLong;
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
            return tx::kBeyondSheetLimits;
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return tx::kOutOfMemory;
        default:
            return lxw_strerror(code);
    }
}

// The writer's failures that come from the file system carry a meaningful errno.
bool isFileError(lxw_error code) {
    switch (code) {
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
        case LXW_ERROR_READING_TMPFILE:
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return true;
        default:
            return false;
    }
}

// The reason for a failed library call: the file system's, or else where it happened (sheet and
// cell) with the library's description.
Error failure(lxw_error code, const std::string& where) {
    const int systemError = errno;
    if (isFileError(code) && systemError != 0) return fail(fileErrorReason(systemError));
    return fail(strprintf(tx::kSaveOtherFormat, (where + reasonOf(code)).c_str()));
}

std::string where(const SheetModel& sheet, int row, int column) {
    return strprintf(tx::kCellPlaceFormat, sheet.name.c_str(), CellName(column, row + 1).c_str());
}

lxw_error writeCell(lxw_worksheet* ws, int row, int column, const Cell& cell, lxw_format* format) {
    auto r = static_cast<lxw_row_t>(row);
    auto c = static_cast<lxw_col_t>(column);
    // Every text of the model is followed by a NUL: its data() is a C string.
    const char* text = cell.text().data();
    switch (cell.kind) {
        case Cell::Kind::Empty:
            return format != nullptr ? worksheet_write_blank(ws, r, c, format) : LXW_NO_ERROR;
        case Cell::Kind::Number:
            return worksheet_write_number(ws, r, c, cell.number(), format);
        case Cell::Kind::Text:
            return worksheet_write_string(ws, r, c, text, format);
        case Cell::Kind::Formula:
            switch (cell.cachedKind()) {
                case Value::Kind::Number:
                    if (std::isfinite(cell.cachedNumber())) {
                        return worksheet_write_formula_num(ws, r, c, text, format, cell.cachedNumber());
                    }
                    return worksheet_write_formula_str(ws, r, c, text, format, "#NUM!");
                case Value::Kind::Text:
                case Value::Kind::Error:
                    // 1.1.4 has no error-typed result: the error code is stored as the result text.
                    return worksheet_write_formula_str(ws, r, c, text, format, cell.cachedText().data());
                case Value::Kind::Empty:
                    // Not computed: an empty result makes every reader that can recalculate do so.
                    return worksheet_write_formula_str(ws, r, c, text, format, "");
            }
    }
    return LXW_NO_ERROR;
}

// ---------------------------------------------------------------- what a sheet carries besides cells

// How the sheet prints.
lxw_error writePageSetup(lxw_worksheet* ws, const PageSetup& setup) {
    if (setup == PageSetup{}) return LXW_NO_ERROR;
    if (setup.paperSize != 0) worksheet_set_paper(ws, static_cast<uint8_t>(setup.paperSize));
    if (setup.landscape)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    if (setup.fitToPagesWide != 0 || setup.fitToPagesTall != 0) {
        worksheet_fit_to_pages(ws, static_cast<uint16_t>(setup.fitToPagesWide),
                               static_cast<uint16_t>(setup.fitToPagesTall));
    }
    if (setup.titleFirstRow > 0 && setup.titleLastRow >= setup.titleFirstRow) {
        if (lxw_error e = worksheet_repeat_rows(ws, static_cast<lxw_row_t>(setup.titleFirstRow - 1),
                                                static_cast<lxw_row_t>(setup.titleLastRow - 1)))
            return e;
    }
    if (setup.centerHorizontally) worksheet_center_horizontally(ws);
    if (!setup.centerHeader.empty()) {
        if (lxw_error e = worksheet_set_header(ws, ("&C" + setup.centerHeader).c_str())) return e;
    }
    if (!setup.centerFooter.empty()) {
        if (lxw_error e = worksheet_set_footer(ws, ("&C" + setup.centerFooter).c_str())) return e;
    }
    if (!setup.rowBreaks.empty()) {
        std::vector<lxw_row_t> breaks;
        for (int row : setup.rowBreaks) {
            if (row > 1) breaks.push_back(static_cast<lxw_row_t>(row - 1));  // the break goes above the row
        }
        breaks.push_back(0);  // the end of the list
        if (lxw_error e = worksheet_set_h_pagebreaks(ws, breaks.data())) return e;
    }
    if (setup.printArea) {
        const CellRange& a = *setup.printArea;
        if (lxw_error e = worksheet_print_area(
                ws, static_cast<lxw_row_t>(a.first.row), static_cast<lxw_col_t>(a.first.column),
                static_cast<lxw_row_t>(a.last.row), static_cast<lxw_col_t>(a.last.column)))
            return e;
    }
    return LXW_NO_ERROR;
}

// A sheet name as a reference writes it: in quotes, a quote in it doubled.
std::string quotedSheetName(const std::string& name) {
    std::string quoted = "'";
    for (char ch : name) {
        quoted += ch;
        if (ch == '\'') quoted += '\'';
    }
    return quoted + "'";
}

// A cell that leads to another sheet: the link is written with the cell's own text and format, so
// that the cell stays exactly as it is (a cell that is not text is written again over the link's
// text).
lxw_error writeLinkCell(lxw_worksheet* ws, int row, int column, const Cell& cell, lxw_format* format,
                        const std::string& sheetName) {
    const std::string target = "internal:" + quotedSheetName(sheetName) + "!A1";
    const char* text = cell.kind == Cell::Kind::Text ? cell.text().data() : sheetName.c_str();
    if (lxw_error e = worksheet_write_url_opt(ws, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                              target.c_str(), format, text, nullptr))
        return e;
    return cell.kind == Cell::Kind::Text ? LXW_NO_ERROR : writeCell(ws, row, column, cell, format);
}

// A text that a chart shows as it is: one beginning with "=" would be read as a reference.
std::string chartText(const std::string& text) {
    return !text.empty() && text.front() == '=' ? " " + text : text;
}

void setSeriesRange(lxw_chart_series* series, const SheetRange& range,
                    void (*set)(lxw_chart_series*, const char*, lxw_row_t, lxw_col_t, lxw_row_t, lxw_col_t)) {
    set(series, range.sheet.c_str(), static_cast<lxw_row_t>(range.range.first.row),
        static_cast<lxw_col_t>(range.range.first.column), static_cast<lxw_row_t>(range.range.last.row),
        static_cast<lxw_col_t>(range.range.last.column));
}

// A column chart; a level-line series is a series of invisible columns whose straight trend line,
// drawn from edge to edge, is the line. Its columns leave the legend, its line stays there.
lxw_error writeChart(lxw_workbook* workbook, lxw_worksheet* ws, const ChartModel& model) {
    lxw_chart* chart = workbook_add_chart(workbook, LXW_CHART_COLUMN);
    if (chart == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    chart_title_set_name(chart, chartText(model.title).c_str());
    chart_axis_set_name(chart->x_axis, chartText(model.categoryAxisTitle).c_str());
    chart_axis_set_name(chart->y_axis, chartText(model.valueAxisTitle).c_str());
    std::vector<int16_t> hiddenFromLegend;
    for (size_t i = 0; i < model.series.size(); ++i) {
        const ChartSeries& s = model.series[i];
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        if (series == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
        if (s.categories) setSeriesRange(series, *s.categories, chart_series_set_categories);
        setSeriesRange(series, s.values, chart_series_set_values);
        // The values are read from their cells, never from a copy in the chart: libxlsxwriter could
        // copy only plain numbers (a formula's result would become 0), and the copy is the larger
        // part of a chart. The category labels keep theirs, which tells that they are texts.
        series->values->ignore_cache = LXW_TRUE;
        chart_series_set_name(series, chartText(s.name).c_str());
        if (!s.levelLine) continue;
        if (s.values.range.first == s.values.range.last) {
            // A line needs two points: a single value stands as a red column beside the others.
            lxw_chart_fill red{};
            red.color = LXW_COLOR_RED;
            chart_series_set_fill(series, &red);
            continue;
        }
        lxw_chart_fill noFill{};
        noFill.none = LXW_TRUE;
        lxw_chart_line noLine{};
        noLine.none = LXW_TRUE;
        chart_series_set_fill(series, &noFill);
        chart_series_set_line(series, &noLine);
        chart_series_set_trendline(series, LXW_CHART_TRENDLINE_TYPE_LINEAR, 0);
        chart_series_set_trendline_name(series, chartText(s.name).c_str());
        chart_series_set_trendline_forecast(series, 0.5, 0.5);  // from the plot's left edge to its right
        lxw_chart_line line{};
        line.color = LXW_COLOR_RED;
        line.width = 2;
        chart_series_set_trendline_line(series, &line);
        hiddenFromLegend.push_back(static_cast<int16_t>(i));
    }
    // The invisible columns of a level line share the place of the visible ones.
    if (!hiddenFromLegend.empty()) chart_set_series_overlap(chart, 100);
    if (model.valueMin) chart_axis_set_min(chart->y_axis, *model.valueMin);
    if (model.valueMax) chart_axis_set_max(chart->y_axis, *model.valueMax);
    if (model.categoryLabelRotation != 0) {
        lxw_chart_font font{};
        font.rotation = model.categoryLabelRotation;
        chart_axis_set_num_font(chart->x_axis, &font);
    }
    if (model.reverseCategories) {
        chart_axis_set_reverse(chart->x_axis);
        chart_axis_set_crossing_max(chart->x_axis);  // keeps the value axis on the left
    }
    if (!model.legend) {
        chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    } else {
        chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
        if (!hiddenFromLegend.empty()) {
            hiddenFromLegend.push_back(-1);  // the end of the list
            if (lxw_error e = chart_legend_delete_series(chart, hiddenFromLegend.data())) return e;
        }
    }
    lxw_chart_options options{};
    options.x_scale = model.widthPixels / 480.0;  // the size of a chart at scale 1
    options.y_scale = model.heightPixels / 288.0;
    return worksheet_insert_chart_opt(ws, static_cast<lxw_row_t>(model.anchor.row),
                                      static_cast<lxw_col_t>(model.anchor.column), chart, &options);
}

// A conditional fill: a format of its own (a fill only) and the rule on its range.
lxw_error writeConditionalFill(lxw_workbook* workbook, lxw_worksheet* ws, const ConditionalFill& fill) {
    lxw_format* format = workbook_add_format(workbook);
    if (format == nullptr) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    format_set_bg_color(format, static_cast<lxw_color_t>(fill.fillRgb));
    lxw_conditional_format rule{};
    rule.type = LXW_CONDITIONAL_TYPE_CELL;
    rule.criteria = LXW_CONDITIONAL_CRITERIA_LESS_THAN_OR_EQUAL_TO;
    rule.value = fill.atMost;
    rule.format = format;
    return worksheet_conditional_format_range(
        ws, static_cast<lxw_row_t>(fill.range.first.row), static_cast<lxw_col_t>(fill.range.first.column),
        static_cast<lxw_row_t>(fill.range.last.row), static_cast<lxw_col_t>(fill.range.last.column), &rule);
}

// Writes one sheet's widths, merged areas, cells, print setup, panes, conditional fills and charts.
// `releasable`, when given, is the same sheet: each row's cells are freed once written and the sheet's texts
// at the end.
Status writeSheet(lxw_workbook* workbook, lxw_worksheet* ws, const SheetModel& sheet, FormatTable& formats,
                  SheetModel* releasable) {
    for (const auto& [column, width] : sheet.columnWidths) {
        auto c = static_cast<lxw_col_t>(column);
        if (lxw_error e = worksheet_set_column(ws, c, c, width, nullptr)) {
            return failure(e, where(sheet, 0, column));
        }
    }
    // The areas first, without values or formats: every cell of an area is written below with its
    // own value and format (the top-left one carries the area's value; each keeps its own edges).
    // Recording an area writes no cell, so a streamed sheet may take them before its first row.
    for (const CellRange& m : sheet.merges) {
        lxw_error e = worksheet_merge_range(
            ws, static_cast<lxw_row_t>(m.first.row), static_cast<lxw_col_t>(m.first.column),
            static_cast<lxw_row_t>(m.last.row), static_cast<lxw_col_t>(m.last.column), "", nullptr);
        if (e) return failure(e, where(sheet, m.first.row, m.first.column));
    }
    std::map<std::pair<int, int>, const std::string*> linkAt;  // the sheet each linked cell leads to
    for (const SheetLink& link : sheet.links) linkAt[{link.cell.row, link.cell.column}] = &link.sheet;
    for (int row = 0; row < sheet.rowCount(); ++row) {
        const int columns = sheet.columnCount(row);
        for (int column = 0; column < columns; ++column) {
            const Cell& cell = *sheet.cell(row, column);
            lxw_format* format = formats.of(cell);
            if (formats.failed()) return failure(LXW_ERROR_MEMORY_MALLOC_FAILED, where(sheet, row, column));
            auto link = linkAt.empty() ? linkAt.end() : linkAt.find({row, column});
            lxw_error e = LXW_NO_ERROR;
            if (link == linkAt.end()) {
                e = writeCell(ws, row, column, cell, format);
            } else {
                e = writeLinkCell(ws, row, column, cell, format, *link->second);
                linkAt.erase(link);
            }
            if (e) return failure(e, where(sheet, row, column));
        }
        if (releasable != nullptr) releasable->releaseRow(row);
    }
    // A link on a cell never written shows the name of the sheet it leads to.
    for (const auto& [at, sheetName] : linkAt) {
        if (lxw_error e = writeLinkCell(ws, at.first, at.second, Cell{}, nullptr, *sheetName))
            return failure(e, where(sheet, at.first, at.second));
    }
    if (lxw_error e = writePageSetup(ws, sheet.pageSetup))
        return failure(e, strprintf(tx::kSheetPlaceFormat, sheet.name.c_str()));
    if (sheet.frozenPanes.rows > 0 || sheet.frozenPanes.columns > 0) {
        worksheet_freeze_panes(ws, static_cast<lxw_row_t>(sheet.frozenPanes.rows),
                               static_cast<lxw_col_t>(sheet.frozenPanes.columns));
    }
    for (const ConditionalFill& fill : sheet.conditionalFills) {
        if (lxw_error e = writeConditionalFill(workbook, ws, fill))
            return failure(e, where(sheet, fill.range.first.row, fill.range.first.column));
    }
    for (const ChartModel& chart : sheet.charts) {
        if (lxw_error e = writeChart(workbook, ws, chart))
            return failure(e, where(sheet, chart.anchor.row, chart.anchor.column));
    }
    if (releasable != nullptr) releasable->releaseCells();
    return {};
}

}  // namespace

std::string fileErrorReason(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return tx::kSaveNoPermission;
        case EROFS:
            return tx::kSaveReadOnly;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return tx::kSaveDiskFull;
        case ENAMETOOLONG:
            return tx::kSaveNameTooLong;
        case ENOENT:
        case ENOTDIR:
            return tx::kSaveNoFolder;
        case EEXIST:
            return tx::kSaveExists;
        case EISDIR:
            return tx::kSaveIsFolder;
        default:
            return strprintf(tx::kSaveOtherFormat, std::strerror(error));
    }
}

namespace {

// A sheet of at least this many cells goes to the file row by row as it is written (libxlsxwriter's
// constant-memory mode, its texts inline), instead of being held whole until the workbook closes:
// the sheets of one row per student otherwise hold the whole exam once more, at about a hundred
// bytes a cell, up to the end of the save.
constexpr size_t kStreamedCells = 20000;

// The sheets a chart reads from: libxlsxwriter fills a chart's cached values only from a sheet it
// still holds, and a viewer that does not recalculate shows those values.
std::set<std::string> sheetsChartsRead(const WorkbookModel& model) {
    std::set<std::string> read;
    for (int i = 1; i <= model.sheetCount(); ++i) {
        for (const ChartModel& chart : model.sheet(i)->charts) {
            for (const ChartSeries& series : chart.series) {
                read.insert(series.values.sheet);
                if (series.categories) read.insert(series.categories->sheet);
            }
        }
    }
    return read;
}

// Whether the sheet is streamed: it is large, and nothing is written to it out of row order (links
// on cells it does not hold are written after its rows) or read back from it (charts).
bool streamed(const SheetModel& sheet, const std::set<std::string>& chartSources) {
    if (!sheet.links.empty() || !sheet.charts.empty() || chartSources.count(sheet.name) != 0) return false;
    size_t cells = 0;
    for (int row = 0; row < sheet.rowCount() && cells < kStreamedCells; ++row)
        cells += static_cast<size_t>(sheet.columnCount(row));
    return cells >= kStreamedCells;
}

// Writes the workbook. `releasable`, when given, is the same model and no one reads it afterwards:
// its formulas are computed first (they may read other sheets) and each sheet's cells are freed as
// they go into the file, so that the model and the writer never both hold the whole workbook.
Status writeWorkbook(const WorkbookModel& model, WorkbookModel* releasable, const std::string& path,
                     const std::string& tmpdir) {
    errno = 0;
    XlsxWorkbook file(path, tmpdir);
    if (!file.isOpen()) return failure(LXW_ERROR_MEMORY_MALLOC_FAILED, {});
    FormatTable formats(file.get(), model.numberFormats());

    int firstVisible = 0;
    for (int i = 1; i <= model.sheetCount(); ++i) {
        if (model.sheet(i)->visible) {
            firstVisible = i;
            break;
        }
    }
    if (firstVisible == 0) firstVisible = 1;  // a workbook needs one visible sheet

    if (releasable != nullptr) releasable->recalculate();
    const std::set<std::string> chartSources = sheetsChartsRead(model);
    lxw_worksheet* active = nullptr;
    for (int i = 1; i <= model.sheetCount(); ++i) {
        const SheetModel& sheet = *model.sheet(i);
        // Read by workbook_add_worksheet for the sheet it adds.
        file.get()->options.constant_memory = streamed(sheet, chartSources) ? LXW_TRUE : LXW_FALSE;
        lxw_worksheet* ws = workbook_add_worksheet(file.get(), sheet.name.c_str());
        if (ws == nullptr) {
            lxw_error why = workbook_validate_sheet_name(file.get(), sheet.name.c_str());
            return failure(why != LXW_NO_ERROR ? why : LXW_ERROR_MEMORY_MALLOC_FAILED,
                           strprintf(tx::kSheetPlaceFormat, sheet.name.c_str()));
        }
        if (!sheet.visible && i != firstVisible) worksheet_hide(ws);
        if (i == firstVisible) active = ws;
        SheetModel* own = releasable != nullptr ? releasable->sheet(i) : nullptr;
        if (Status written = writeSheet(file.get(), ws, sheet, formats, own); !written) return written;
    }
    if (active != nullptr) {
        worksheet_activate(active);
        if (firstVisible != 1) worksheet_set_first_sheet(active);
    }

    errno = 0;
    PartCheck check(path);  // reads each part back while the file is written
    if (lxw_error e = file.close()) return failure(e, {});
    if (!check.finish()) return fail(tx::kSaveIncomplete);
    return {};
}

}  // namespace

Status writeXlsx(const WorkbookModel& model, const std::string& path, const std::string& tmpdir) {
    return writeWorkbook(model, nullptr, path, tmpdir);
}

Status writeXlsxReleasing(WorkbookModel& model, const std::string& path, const std::string& tmpdir) {
    return writeWorkbook(model, &model, path, tmpdir);
}

}  // namespace varnex
