#pragma once
// One pass over one worksheet, selecting columns by their header text or by their place: the
// rows below the header, in sheet order (empty rows inside the used range included). Every cell
// comes as text: "" for empty, "85" for whole numbers, the shortest round-trip text for other
// numbers, formula cells as their stored result.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"

namespace varnex {

class SheetRowStream;
struct SheetRow;

class SheetQuery {
  public:
    /// The rows openSheet reads ahead: the header is looked for among them.
    static constexpr size_t kLeadingRows = 20;

    SheetQuery();
    ~SheetQuery();
    SheetQuery(const SheetQuery&) = delete;
    SheetQuery& operator=(const SheetQuery&) = delete;

    /// Opens the workbook. A failure's message names the problem; callers show it after
    /// "无法打开工作簿：".
    Status open(const std::string& path);

    /// Selects the named columns of a worksheet whose header is the first row of its used range.
    /// A failure's message (no such sheet, a named column missing from the header row, an
    /// unreadable sheet) names the sheet or the missing columns; callers show it as it is or
    /// after "无法读取工作表“…”：".
    Status select(const std::string& sheetName, const std::vector<std::string>& columns);

    /// Opens a worksheet and reads its first rows that hold a value (at most kLeadingRows), for
    /// the caller to find the header in. Fails like select() for a missing or unreadable sheet.
    Status openSheet(const std::string& sheetName);
    /// The rows openSheet read ahead, in sheet order.
    const std::vector<SheetRow>& leadingRows() const;
    /// Selects sheet columns by their 0-based place; the rows below sheet row `lastHeaderRow`
    /// are the data.
    Status selectColumns(const std::vector<uint32_t>& columns, uint32_t lastHeaderRow);

    /// True when there is no current row (set at once when the sheet has no data row).
    bool atEnd() const;
    /// The text of the i-th selected column in the current row.
    const std::string& field(size_t i) const;
    /// Moves to the next row; fails when the rest of the sheet cannot be read.
    Status next();
    /// The 1-based sheet row of the current row (for messages).
    int sheetRow() const;

    void close();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace varnex
