#pragma once
// The sheets of one export run: which are produced, in which order, at which tab position, with
// which tab name, title and item text.

#include <string>
#include <vector>

#include "analysis/exam.h"
#include "sheets/sheet_scope.h"

namespace varnex {

/// What a planned sheet holds, in production order.
enum class SheetKind {
    TotalRankBands,
    TotalBands,
    SubjectBands,
    LevelDistribution,  ///< 等级分布
    StandardScores,     ///< 学生标准分
    ScaledScores,       ///< 赋分
    ScoreLines,         ///< 上线分析
    TeacherRates,
    ClassRates,
    GradeRates,
    TopN,
    ClassRankingPerClass,  ///< one sheet per ClassList entry
    ClassRankingAll,       ///< all classes on one sheet
    NearLine,              ///< 临界生
    ClassProgress,         ///< 班级进退步
    StudentProgress,       ///< 学生进退步
    QuestionAnalysis,      ///< 小题分析 of one question-score sheet
    QuestionDetail,        ///< 小题明细 of one question-score sheet
    Charts,                ///< charts of the other sheets' figures
    Contents,
};

/// One sheet of the run.
struct PlannedSheet {
    SheetKind kind;
    std::string tabName;
    std::string title;       ///< the merged first row; empty for the contents sheet
    std::string item;        ///< its line in the item list and, after "导出：", in the log
    int classIndex = -1;     ///< the ClassList entry of a per-class sheet
    int position = 0;        ///< 1-based tab position
    int questionSheet = -1;  ///< the question-score sheet of a 小题分析 or 小题明细 sheet
    int track = -1;          ///< the exam's track (Exam::tracks) of a rate sheet of one track
};

/// The sheets of one run in production order; the contents sheet comes last, at position 1.
struct SheetPlan {
    std::vector<PlannedSheet> sheets;
    /// The text listing the produced sheets, each line ending with "\n".
    std::string itemList;

    /// n: the number of sheets the run needs.
    int sheetCount() const { return static_cast<int>(sheets.size()); }
    /// The sheets to add to a new three-sheet workbook.
    int addedSheets() const { return sheetCount() >= 4 ? sheetCount() - 3 : 0; }
    /// The sheets the contents sheet lists, in the order of their tabs.
    std::vector<const PlannedSheet*> contentsOrder() const;
};

/// Plans the sheets for the exam's name and report choices; for a part of the exam, those that can
/// show it (followsScope) and the sheets of its own classes. With the exam's tracks (按科类分别统计)
/// each rate sheet is planned once per track ("年级各科三率-物理类"), the teacher rates of a track
/// only when a teacher row names one of its classes, and for a part only the tracks it has a class
/// of.
SheetPlan buildSheetPlan(const Exam& exam, const SheetScope& scope = SheetScope());

/// True when the run produces a sheet of this kind.
bool plans(const SheetPlan& plan, SheetKind kind);

/// The title of a report sheet: E " - " item "（" G "）".
std::string sheetTitle(const std::string& examName, const std::string& item, const std::string& gradeName);

}  // namespace varnex
