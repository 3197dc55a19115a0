#pragma once
// An AppState for the rate sheets built row by row, a workbook for a writer to fill, and the
// look-ups the tests make on the filled sheet.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "analysis/exam.h"
#include "app/app_state.h"
#include "workbook/excel_session.h"

namespace varnex::testing {

class RateFixture {
  public:
    /// The exam's subjects with their full marks (every other subject gets 0), excellence line 80
    /// for all, grade 高一, and ExamFullMarkTotal the sum of the full marks.
    RateFixture(std::vector<std::string> subjects, std::vector<int> fullMarks);

    AppState state;

    /// Appends to SchoolList.
    void school(const std::string& name);
    /// Appends "school class" to the ClassList.
    void classEntry(const std::string& school, const std::string& className);
    /// Appends a StudentTable row with one score text per exam subject (in exam order); the total
    /// text is the sum of the scores unless given.
    void student(const std::string& school, const std::string& className,
                 const std::vector<std::string>& scores, const std::string& total = {});
    /// Appends a TeacherTable row.
    void teacher(const std::string& school, const std::string& grade, const std::string& className,
                 const std::string& subject, const std::string& name);

    /// Starts a session with a new workbook, lets the writer fill sheet 1 from the exam of the
    /// state, recalculates the formulas and returns what the writer returned.
    template <typename Writer>
    auto run(Writer writer, const std::string& title = "期中考试 - 表（高一）") {
        start();
        const Exam exam(state);
        ExcelSheet first = session_->Sheet(1);
        if constexpr (std::is_void_v<
                          std::invoke_result_t<Writer, ExcelSheet&, const Exam&, const std::string&>>) {
            writer(first, exam, title);
            session_->workbook().recalculate();
        } else {
            auto result = writer(first, exam, title);
            session_->workbook().recalculate();
            return result;
        }
    }
    /// Lets the writer fill the next sheet of the workbook the last run started, recalculates the
    /// formulas, and turns the look-ups to that sheet.
    template <typename Writer>
    void runOnNextSheet(Writer writer, const std::string& title = "期中考试 - 表（高一）") {
        const Exam exam(state);
        ExcelSheet next = session_->Sheet(++sheetIndex_);
        writer(next, exam, title);
        session_->workbook().recalculate();
    }
    const SheetModel& sheet() { return *session_->workbook().sheet(sheetIndex_); }

    /// What the cell shows: text, a number (with one decimal under the "0.0" format), a formula's
    /// result or error code; "" for an empty or unwritten cell.
    std::string shown(std::string_view address);
    /// The formula of a formula cell, "" otherwise.
    std::string formula(std::string_view address);
    /// True when the cell has the "0.0" number format.
    bool rateFormatted(std::string_view address);
    /// True when exactly this range ("B4:B5") is merged.
    bool merged(std::string_view range);
    /// The cell (never null: an unwritten cell reads as a default Cell).
    const Cell& cell(std::string_view address);

  private:
    void start();
    std::unique_ptr<ExcelSession> session_ = std::make_unique<ExcelSession>();
    int sheetIndex_ = 1;  ///< the sheet the look-ups read
};

/// One cell of a filled sheet and what it should show.
struct Expected {
    const char* address;
    const char* shown;
};

/// Checks each cell's shown text, naming the address on a mismatch.
void expectCells(RateFixture& f, std::initializer_list<Expected> cells);

}  // namespace varnex::testing
