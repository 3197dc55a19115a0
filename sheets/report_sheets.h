#pragma once
// The report sheets a run can write, one row of a table each: what the sheet is called in the
// timings, its heading rows and name columns, and how it is written from the exam. A new report
// is its analysis, its sheet file, its row here and its row in the report-choice table
// (app/report_choices.h).

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "analysis/exam.h"
#include "analysis/levels.h"
#include "analysis/listings.h"
#include "analysis/progress.h"
#include "analysis/questions.h"
#include "base/result.h"
#include "sheets/figure_places.h"
#include "sheets/sheet_plan.h"
#include "sheets/sheet_scope.h"
#include "workbook/excel_session.h"

namespace varnex {

/// What the sheets of one run work out once and share: the listings of the ranking sheets, taken
/// when the first of them is written, the pairing with the previous exam, worked out by the first
/// progress sheet (and kept for the completion note), the figure tables of the group sheets, and
/// where the sheets the charts read put their figures. All of it is computed from the exam, which
/// nothing changes, over the whole exam: the workbooks of single schools or classes (`scopedTo`)
/// share it and only choose their rows.
class SheetWork {
  public:
    /// `logLine` receives the log lines a sheet writes while it is filled.
    SheetWork(const Exam& exam, std::function<void(const std::string&)> logLine)
        : exam_(exam), logLine_(std::move(logLine)), shared_(std::make_shared<Shared>()) {}

    /// The work of one part's own workbook: the same exam and figures, the rows of `scope`, no
    /// log lines of its sheets and figure places of its own.
    SheetWork scopedTo(SheetScope scope) const;

    const Exam& exam() const { return exam_; }
    const SheetScope& scope() const { return scope_; }
    void log(const std::string& line) const {
        if (logLine_) logLine_(line);
    }
    const StudentListings& listings();
    const ProgressPairing& pairing();
    /// Every student's 等级, worked out by the first sheet that shows them.
    const ExamLevels& levels();
    /// The levels the listings show instead of places: under 不公布名次, else none.
    const ExamLevels* levelsInsteadOfPlaces() { return exam_.options().noRanks ? &levels() : nullptr; }
    /// The figures of the i-th question-score sheet, worked out (and its pairing logged) the first
    /// time a sheet asks.
    const QuestionAnalysis& questions(size_t i);
    /// The pairing when a progress sheet was written.
    const std::optional<ProgressPairing>& pairingIfWritten() const { return shared_->pairing; }
    /// A figure table of the whole exam, worked out by `compute` the first time `key` is asked for
    /// and shared by every workbook of the run from then on.
    template <typename T, typename Compute>
    const T& figures(const std::string& key, Compute compute) {
        std::shared_ptr<const void>& slot = shared_->figures[key];
        if (!slot) slot = std::make_shared<const T>(compute());
        return *static_cast<const T*>(slot.get());
    }
    FigurePlaces figurePlaces;

  private:
    struct Shared {
        std::optional<StudentListings> listings;
        std::optional<ProgressPairing> pairing;
        std::optional<ExamLevels> levels;
        std::map<size_t, QuestionAnalysis> questions;
        std::map<std::string, std::shared_ptr<const void>, std::less<>> figures;
    };

    const Exam& exam_;
    std::function<void(const std::string&)> logLine_;
    std::shared_ptr<Shared> shared_;
    SheetScope scope_;
};

/// Writes a planned sheet into the sheet taken for it (already activated and named).
Status writePlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan& plan,
                         SheetWork& work);

/// Lays a written sheet out for reading and printing, from the heading rows and name columns of its
/// kind; the chart sheet lays out its charts itself, and the contents sheet, which has no title
/// row, prints in its page header the title it would have.
void layOutPlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const Exam& exam);

/// The family a sheet's time is reported under ("rank bands", "class ranking", …).
const char* sheetFamily(SheetKind kind);

/// True when a sheet of this kind can show a part of the exam (SheetScope); the others are left
/// out of a school's or a class's own workbook.
bool followsScope(SheetKind kind);

/// How many rows at the top of a sheet of this kind are its title and headers, how many columns at
/// its left name the row (the school, class and name of a ranking sheet), and whether its rows
/// come in blocks merged down column A, each kept on one printed page.
struct SheetHeading {
    int rows;
    int nameColumns;
    bool blocks = false;
};
SheetHeading sheetHeading(SheetKind kind);

}  // namespace varnex
