#pragma once
// 班级总分排名: the students of every class ranked by total, either one sheet per class or all
// classes one after another on one sheet.

#include <functional>
#include <string>
#include <vector>

#include "analysis/student_order.h"
#include "app/app_state.h"
#include "automation/excel_session.h"

namespace varnex {

/// The class listings of one run, taken from the StudentTable's order when the class-ranking
/// sheets begin.
class ClassRankingListing {
  public:
    explicit ClassRankingListing(const AppState& state);
    /// The listed rows of a ClassList entry, in listing order.
    const std::vector<PlacedRow>& rowsOf(size_t classIndex) const { return listings_[classIndex]; }
    /// Leaves the StudentTable as the listing leaves it: unlisted rows on top, then every class's
    /// rows in ClassList order and listing order.
    void moveListedRows(RowTable& students) const;

  private:
    std::vector<std::vector<PlacedRow>> listings_;
};

/// Fills the sheet of one class (already taken, activated and named): 序号, 姓名, subjects, 总分,
/// 名次.
void writeClassSheet(ExcelSheet& sheet, const AppState& state, const ClassRankingListing& listing,
                     size_t classIndex, const std::string& title);

/// Fills the one sheet of all classes (already taken, activated and named), class by class in
/// ClassList order; `logLine` receives each class's "导出：" line before its rows are written.
void writeAllClassesSheet(ExcelSheet& sheet, const AppState& state, const ClassRankingListing& listing,
                          const std::string& title, const std::function<void(const std::string&)>& logLine);

}  // namespace varnex
