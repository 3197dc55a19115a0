#pragma once
// The header row and data rows shared by the top-N and class-ranking sheets: 序号, (学校, 班级,)
// 姓名, one column per examined subject, 总分 and 名次.

#include <string>

#include "analysis/exam.h"
#include "analysis/student_order.h"
#include "workbook/excel_session.h"

namespace varnex {

/// The note of a ranking sheet naming the exam's 名次方式, "名次：并列占位（1,2,2,4）"; "" when
/// none was chosen.
std::string rankingRuleNote(const Exam& exam);

/// Row 1: the title; row 2: the rankingRuleNote, when there is one. Both span the sheet's columns.
void writeRankingHead(ExcelSheet& sheet, const Exam& exam, int lastColumn, const std::string& title);

/// The columns of a ranking sheet: with school and class (top N, all classes on one sheet) or
/// with the name only (one sheet per class).
class RankingColumns {
  public:
    RankingColumns(const Exam& exam, bool withSchoolAndClass);

    /// 0-based column of 名次, the sheet's last column.
    int lastColumn() const { return firstSubject_ + static_cast<int>(exam_.subjects().size()) + 1; }

    /// Row 3: every header boxed and centred, 序号 with width 5.
    void writeHeaders(ExcelSheet& sheet) const;
    /// One listed student in a sheet row: serial, (school, "（" class "）班",) name, the subject
    /// texts, the total text and the place, every cell boxed and centred.
    void writeRow(ExcelSheet& sheet, int sheetRow, const PlacedRow& placed, int serial) const;

  private:
    const Exam& exam_;
    bool withSchoolAndClass_;
    int firstSubject_;
};

}  // namespace varnex
