#pragma once
// Small examinations built straight into an AppState, as the student and teacher imports would
// leave them, and helpers to read the cells of the workbook an export built.

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "export/export_run.h"
#include "tests/support/scripted_frontend.h"
#include "tests/support/temp_dir.h"
#include "workbook/workbook_model.h"

namespace varnex::testing {

/// What the last export left: what it produced when it completed, or its failure.
struct ExamRun : ExportOutcome {
    bool completed = false;
    std::optional<Error> failure;
    /// The workbook built, also by a run that stopped after building it.
    std::optional<WorkbookModel> workbook;
};

class Exam {
  public:
    /// Grade 七年级, worksheet 成绩, exam name 期中考试, no report chosen yet; the result goes to
    /// 结果.xlsx in a temporary folder.
    Exam();

    /// Examines exactly these subjects with these full marks (all others get 0).
    Exam& subjects(std::initializer_list<std::pair<const char*, int>> fullMarks);
    /// Appends a student; `scores` follow the examined subjects in order, missing ones stay empty.
    Exam& student(const std::string& school, const std::string& klass, const std::string& name,
                  const std::string& total, std::vector<std::string> scores = {});
    /// Sets ClassList, SchoolList and the counts from the rows, as the import does.
    Exam& imported();
    /// One teacher row per class and examined subject.
    Exam& teachers();
    /// Turns every report option off, then sets the ones named by the callback.
    template <typename F>
    Exam& only(F&& set) {
        state.exportOptions = ExportOptions{};
        ExportOptions& o = state.exportOptions;
        o.gradeRates = o.classRates = o.teacherRates = o.subjectBands = o.totalBands = o.totalRankBands =
            o.topNEnabled = o.classRanking = false;
        set(o);
        return *this;
    }

    /// Runs the export, answering Yes to the confirmation.
    const ExamRun& run();
    /// The sheet with that tab name in the last run's workbook (fails the test when missing).
    const SheetModel& sheet(const std::string& name) const;

    AppState state;
    ScriptedFrontend frontend;
    TempDir dir;
    ExamRun outcome;
    bool keepCells = true;  ///< false: the run releases the cells as it writes them, as the commands do
};

/// What a cell shows: its text, a number in its shortest form, a formula as written; "" for none.
std::string shown(const SheetModel& sheet, const std::string& address);
/// True when the cell has a box on all four edges and is centred.
bool boxedAndCentred(const SheetModel& sheet, const std::string& address);
/// True when the range is merged in the sheet.
bool merged(const SheetModel& sheet, const std::string& first, const std::string& last);
/// The senior-high exam of 语文 数学 英语 (150) and 物理 化学 生物 历史 地理 政治 (100), lines at 80 %,
/// imported with a teacher for every class and subject. The electives left blank or marked "/",
/// "-", "缺考" were not sat. Own 总分 full marks: 甲 乙 丙 750, 戊 600 (no 英语); 丁 has no score at
/// all.
void electivesExam(Exam& exam);

/// The tab names of a workbook, from the left.
std::vector<std::string> tabNames(const WorkbookModel& workbook);
/// The log lines without their time stamps.
std::vector<std::string> logTexts(const ScriptedFrontend& frontend);
/// The StudentTable's names (column 2) from the top.
std::vector<std::string> namesInTable(const AppState& state);

}  // namespace varnex::testing
