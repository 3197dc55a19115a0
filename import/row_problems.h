#pragma once
// The problems an import finds in the rows of a sheet, all of them, so that the user can put them
// right in one go: each with its sheet row, the row's key (a student's name, a class), the column
// and the value concerned and the problem in words. An import reads the whole sheet first and
// replaces nothing while a blocking problem is among them.

#include <string>
#include <vector>

namespace varnex {

/// One problem of one row.
struct RowProblem {
    int sheetRow = 0;      ///< 1-based row of the sheet
    std::string key;       ///< what names the row: the student's name, the class ("" when empty)
    std::string column;    ///< the column concerned ("" for the row as a whole)
    std::string value;     ///< the cell's text as written
    std::string message;   ///< the problem in words, e.g. "语文分数：152不能大于语文满分：150"
    bool blocking = true;  ///< false for what is reported but imported all the same
};

/// The problems found in one sheet, in the order they were found.
class RowProblems {
  public:
    void add(RowProblem problem) { problems_.push_back(std::move(problem)); }
    bool empty() const { return problems_.empty(); }
    bool anyBlocking() const;
    const std::vector<RowProblem>& all() const { return problems_; }
    /// Puts the problems in sheet order, those of one row in the order they were found.
    void sortByRow();
    /// One problem as a line: "第15行 张三：语文分数：152不能大于语文满分：150" ("第15行：…" without key).
    static std::string line(const RowProblem& problem);
    /// Every problem (only the blocking ones when `blockingOnly`), one line each, joined with "\n".
    std::string lines(bool blockingOnly) const;
    /// Why the sheet `sheetName` is not imported: the blocking problems, counted, then the notes
    /// that would not have kept it from being imported.
    std::string refusal(const std::string& sheetName) const;

  private:
    std::vector<RowProblem> problems_;
};

}  // namespace varnex
