#pragma once
// The sortable store behind the student and teacher tables: every cell is text, the column set
// comes from one column layout, and a heading click sorts with a toggling direction.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnex {

/// The column layout of the StudentTable (15 columns).
extern const char* const kStudentTableColumns;
/// The column layout of the TeacherTable (5 columns).
extern const char* const kTeacherTableColumns;

struct RowTableColumn {
    std::string name;
    int width = 0;
};

/// Three-way comparison of two cell texts as the table's sort uses it: the kind (number,
/// day-month-year date, text) is chosen from `a` alone; text uses Chinese (pinyin) collation.
int compareCells(std::string_view a, std::string_view b);
/// The key by which compareCells orders texts: keys compared bytewise order their texts in
/// Chinese (pinyin) collation, or by code point where no collator can be had.
std::string textSortKey(std::string_view text);

class RowTable {
  public:
    /// The texts of one row by column, valid until the table changes.
    class RowView {
      public:
        std::string_view operator[](size_t column) const;
        size_t size() const { return columns_; }
        /// Copies of the texts.
        std::vector<std::string> texts() const;

      private:
        friend class RowTable;
        RowView(const char* packed, size_t columns) : packed_(packed), columns_(columns) {}
        const char* packed_;
        size_t columns_;
    };

    RowTable() = default;
    explicit RowTable(std::string_view layout) { setColumns(layout); }
    RowTable(const RowTable& other);
    RowTable& operator=(const RowTable& other);
    RowTable(RowTable&&) noexcept = default;
    RowTable& operator=(RowTable&&) noexcept = default;

    /// Appends one column per "name,width" pair of the ";"-separated column layout.
    bool setColumns(std::string_view layout);
    const std::vector<RowTableColumn>& columns() const { return columns_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }

    /// Appends a row; `cells` must hold exactly one text per column. Returns the new row's index,
    /// or -1 (and appends nothing) when the count is wrong.
    int appendRow(const std::vector<std::string>& cells);
    /// Removes a row; later rows move up by one. Out-of-range indexes are ignored.
    void deleteRow(int index);
    void clear();
    /// Takes the rows and the columns of `other` in place of its own (the sort column and direction
    /// stay while that column is there); `other` is left without rows.
    void replaceRows(RowTable&& other) {
        rows_ = std::move(other.rows_);
        other.rows_.clear();
        columns_ = other.columns_;
        if (sortColumn_ >= columnCount()) sortColumn_ = -1;
    }
    /// Appends a column to a table without rows; false (and nothing changes) when it has rows.
    bool addColumn(std::string name, int width) {
        if (!rows_.empty()) return false;
        columns_.push_back({std::move(name), width});
        return true;
    }

    /// The text of a cell; "" for indexes out of range. Valid until the table changes.
    std::string_view cellText(int row, int column) const;
    RowView row(int index) const { return {rows_[static_cast<size_t>(index)].packed.get(), columns_.size()}; }
    int rowCount() const { return static_cast<int>(rows_.size()); }

    /// Puts the rows in the given order: row i of the result is the former row order[i].
    /// `order` must be a permutation of 0..rowCount()-1; otherwise nothing changes.
    bool reorderRows(const std::vector<int>& order);

    /// Texts kept with a row but not shown (a student's 考号 and 学号); they move with the row.
    void setHiddenCells(int index, std::vector<std::string> cells);
    /// The row's hidden texts; empty when none were set.
    const std::vector<std::string>& hiddenCells(int index) const {
        return rows_[static_cast<size_t>(index)].hidden;
    }

    /// A number that names the row for as long as it lives, wherever sorts and reorders move it
    /// (a copy of the table keeps it): a view follows its selected rows by it. No other row of any
    /// table appended in this process has it.
    uint64_t rowId(int index) const { return rows_[static_cast<size_t>(index)].id; }

    /// Sorts all rows by the column (ascending uses compare(a, b), descending compare(b, a)).
    void sortBy(int column, bool ascending);
    /// A click on a column heading: descending only when the column is already sorted ascending.
    void headingClicked(int column);
    int sortColumn() const { return sortColumn_; }
    bool sortAscending() const { return sortAscending_; }

  private:
    /// A row in one allocation: the end of each column's text (uint32_t each), then the texts.
    /// Two hundred thousand students take a few dozen megabytes this way, not a hundred.
    struct Row {
        std::unique_ptr<char[]> packed;
        uint64_t id = 0;
        std::vector<std::string> hidden;
    };
    std::vector<RowTableColumn> columns_;
    std::vector<Row> rows_;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

}  // namespace varnex
