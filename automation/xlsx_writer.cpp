#include "automation/xlsx_writer.h"

#include <zip.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "automation/automation_texts.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = automation_texts;

// ---------------------------------------------------------------- the workbook handle

XlsxWorkbook::XlsxWorkbook(const std::string& path, const std::string& tmpdir) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;  // merged areas need the whole sheet in memory
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

    static size_t alignIndex(int8_t code) {
        if (code == kAlignLeft) return 1;
        if (code == kAlignCenter) return 2;
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

// Writes one sheet's widths, merged areas and cells. `releasable`, when given, is the same sheet:
// each row's cells are freed once written and the sheet's texts at the end.
Status writeSheet(lxw_worksheet* ws, const SheetModel& sheet, FormatTable& formats, SheetModel* releasable) {
    for (const auto& [column, width] : sheet.columnWidths) {
        auto c = static_cast<lxw_col_t>(column);
        if (lxw_error e = worksheet_set_column(ws, c, c, width, nullptr)) {
            return failure(e, where(sheet, 0, column));
        }
    }
    // The areas first, without values or formats: every cell of an area is written below with its
    // own value and format (the top-left one carries the area's value; each keeps its own edges).
    for (const CellRange& m : sheet.merges) {
        lxw_error e = worksheet_merge_range(
            ws, static_cast<lxw_row_t>(m.first.row), static_cast<lxw_col_t>(m.first.column),
            static_cast<lxw_row_t>(m.last.row), static_cast<lxw_col_t>(m.last.column), "", nullptr);
        if (e) return failure(e, where(sheet, m.first.row, m.first.column));
    }
    for (int row = 0; row < sheet.rowCount(); ++row) {
        const int columns = sheet.columnCount(row);
        for (int column = 0; column < columns; ++column) {
            const Cell& cell = *sheet.cell(row, column);
            lxw_format* format = formats.of(cell);
            if (formats.failed()) return failure(LXW_ERROR_MEMORY_MALLOC_FAILED, where(sheet, row, column));
            if (lxw_error e = writeCell(ws, row, column, cell, format))
                return failure(e, where(sheet, row, column));
        }
        if (releasable != nullptr) releasable->releaseRow(row);
    }
    if (releasable != nullptr) releasable->releaseCells();
    return {};
}

// True when every part of a written file is complete. libxlsxwriter assembles each part in a
// temporary file without checking those writes, so a full disk can leave a part cut short inside a
// file whose writing reported success. Each part is read back: libzip checks its checksum, and an
// XML part must end by closing the element it opened.
bool everyPartComplete(const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr) return false;
    std::string bad;
    std::vector<char> buffer(1 << 16);
    const zip_int64_t parts = zip_get_num_entries(archive, 0);
    if (parts <= 0) bad = "[Content_Types].xml";
    for (zip_int64_t i = 0; i < parts && bad.empty(); ++i) {
        const char* name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
        zip_file_t* part = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (name == nullptr || part == nullptr) {
            bad = name != nullptr ? name : "?";
            if (part != nullptr) zip_fclose(part);
            break;
        }
        std::string head;  // enough of the start to hold the root element's tag
        std::string tail;  // the last bytes
        bool readError = false;
        for (;;) {
            zip_int64_t n = zip_fread(part, buffer.data(), buffer.size());
            if (n < 0) readError = true;
            if (n <= 0) break;
            const auto size = static_cast<size_t>(n);
            if (head.size() < 2048) head.append(buffer.data(), std::min(size, 2048 - head.size()));
            tail.append(buffer.data() + (size > 256 ? size - 256 : 0), std::min<size_t>(size, 256));
            if (tail.size() > 256) tail.erase(0, tail.size() - 256);
        }
        zip_fclose(part);
        const std::string partName = name;
        const bool xml = partName.ends_with(".xml") || partName.ends_with(".rels");
        if (readError) {
            bad = partName;
        } else if (xml) {
            while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r' || tail.back() == ' '))
                tail.pop_back();
            size_t open = head.find('<', head.rfind("?>") == std::string::npos ? 0 : head.rfind("?>"));
            size_t nameEnd = head.find_first_of(" />", open + 1);
            std::string root = open == std::string::npos || nameEnd == std::string::npos
                                   ? std::string()
                                   : head.substr(open + 1, nameEnd - open - 1);
            if (root.empty() || !tail.ends_with("</" + root + ">")) bad = partName;
        }
    }
    zip_close(archive);
    return bad.empty();
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

// Writes the workbook. `releasable`, when given, is the same model and no one reads it afterwards:
// each sheet's formulas are computed just before it is written and its cells are freed as they go
// into the file, so that the model and the writer never both hold the whole workbook.
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

    lxw_worksheet* active = nullptr;
    for (int i = 1; i <= model.sheetCount(); ++i) {
        const SheetModel& sheet = *model.sheet(i);
        lxw_worksheet* ws = workbook_add_worksheet(file.get(), sheet.name.c_str());
        if (ws == nullptr) {
            lxw_error why = workbook_validate_sheet_name(file.get(), sheet.name.c_str());
            return failure(why != LXW_NO_ERROR ? why : LXW_ERROR_MEMORY_MALLOC_FAILED,
                           strprintf(tx::kSheetPlaceFormat, sheet.name.c_str()));
        }
        if (!sheet.visible && i != firstVisible) worksheet_hide(ws);
        if (i == firstVisible) active = ws;
        SheetModel* own = releasable != nullptr ? releasable->sheet(i) : nullptr;
        if (own != nullptr) own->recalculate();
        if (Status written = writeSheet(ws, sheet, formats, own); !written) return written;
    }
    if (active != nullptr) {
        worksheet_activate(active);
        if (firstVisible != 1) worksheet_set_first_sheet(active);
    }

    errno = 0;
    if (lxw_error e = file.close()) return failure(e, {});
    if (!everyPartComplete(path)) return fail(tx::kSaveIncomplete);
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
