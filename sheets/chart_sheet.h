#pragma once
// 统计图表: charts of the figures on the other result sheets, two to a printed page, each school's
// on pages of their own: per subject and for the total, the school's classes' averages with the
// block average of every class as a line (from 班级各科三率); the subjects' excellence and pass
// rates (from 年级各科三率) and the totals in the bands that hold any total of the exam (from
// 总分分数段). A chart whose report is not exported is left out, and the sheet says so. After
// them, when 等级分布 is exported, the total's share of each level for every school (with one
// school, every class) and the whole exam.

#include <string>

#include "analysis/exam.h"
#include "sheets/figure_places.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// Fills the chart sheet it is handed (already taken, activated and named), after the sheets it
/// reads from have been written: `places` holds where they put their figures, and nothing for a
/// sheet not exported. Lays out its own printing: the charts on A4, two to a page, whole
/// whatever the width of the viewer's font. Of a part of the exam, the charts of its school, from
/// the sheets of its own workbook.
void writeChartSheet(ExcelSheet& sheet, const Exam& exam, const FigurePlaces& places,
                     const std::string& title, const SheetScope& scope = SheetScope());

}  // namespace varnex
