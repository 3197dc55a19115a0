#include "export/export_run.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "analysis/exam.h"
#include "analysis/three_rates.h"
#include "app/control_ids.h"
#include "app/report_choices.h"
#include "app/status_log.h"
#include "automation/excel_session.h"
#include "automation/workbook_file.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "sheets/chart_sheet.h"
#include "sheets/class_ranking.h"
#include "sheets/contents_sheet.h"
#include "sheets/near_line.h"
#include "sheets/print_layout.h"
#include "sheets/progress_sheets.h"
#include "sheets/rank_bands.h"
#include "sheets/rate_sheets.h"
#include "sheets/score_bands.h"
#include "sheets/sheet_cells.h"
#include "sheets/sheet_plan.h"
#include "sheets/sheet_texts.h"
#include "sheets/subject_bands.h"
#include "sheets/top_n.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

void showError(Frontend& frontend, const std::string& text) {
    frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
}

// Every examined subject's excellence line lies in 1..99; the first one outside, as its message.
Status checkExcellenceLines(const ScoreSettings& scores) {
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (scores.fullMark[i] == 0) continue;
        int line = scores.excellenceLine[i];
        if (line < 1 || line >= 100)
            return fail(strprintf(tx::kExcellenceLineRangeFormat, kSubjects[i].name));
    }
    return {};
}

// Every class, schools in SchoolList order, has a teacher for some exam subject; the first class
// without one, as its message.
Status checkEveryClassTaught(const AppState& state) {
    const std::string& grade = state.imported.gradeName;
    std::vector<std::string> subjects = examSubjectNames(state);
    std::set<std::string, std::less<>> examined(subjects.begin(), subjects.end());
    std::set<std::pair<std::string, std::string>> taught;  // (school, class)
    const RowTable& teachers = state.teachers;
    for (int row = 0; row < teachers.rowCount(); ++row) {
        if (state.imported.ofImportedGrade(teachers.cellText(row, 1)) &&
            examined.count(teachers.cellText(row, 3)) != 0 && !teachers.cellText(row, 4).empty())
            taught.emplace(teachers.cellText(row, 0), teachers.cellText(row, 2));
    }
    std::unordered_map<std::string, std::vector<std::string>> classesOfSchool;
    const ClassList& classList = state.imported.classList;
    for (size_t i = 0; i < classList.size(); ++i) {
        auto [school, klass] = classList.parts(i);
        classesOfSchool[school].push_back(klass);
    }
    std::set<std::string> checked;
    for (const auto& school : state.imported.schoolList) {
        if (!checked.insert(school).second) continue;  // a school listed again has passed already
        auto it = classesOfSchool.find(school);
        if (it == classesOfSchool.end()) continue;
        for (const auto& klass : it->second) {
            if (taught.count({school, klass}) != 0) continue;
            const std::string firstSubject = subjects.empty() ? std::string() : subjects.front();
            return fail(strprintf(tx::kMissingTeacherFormat, school.c_str(), grade.c_str(), klass.c_str(),
                                  firstSubject.c_str()));
        }
    }
    return {};
}

// Without a teacher sheet the teacher rates are left out of a run that has other reports to
// write; the class rates then keep their 任课教师 cells empty.
bool teachersLeftOut(const AppState& state) {
    return state.exportOptions.teacherRates && state.teachers.rowCount() == 0 &&
           anyReportChosen(state.exportOptions, &ExportOptions::teacherRates);
}

// What one run changes in the state for its length only: the teacher rates are not chosen when
// the teachers are left out, and the subjects the score sheet did not have are not examined, as if
// their full marks were 0 (the totals' full mark and excellence score leave them out). Everything
// is given back when the run ends, however it ends.
//
// With blank scores left out, a student without a score in any exam subject counts nowhere: the
// run works on the StudentTable without them, and the 总分 full mark that headers and bands show is
// the one most students sat for. The table comes back whole unless the run completed (which
// empties it).
class RunAdjustments {
  public:
    explicit RunAdjustments(AppState& state)
        : state_(state),
          options_(state.exportOptions),
          fullMarks_(state.scores.fullMark),
          fullMarkTotal_(state.imported.examFullMarkTotal) {
        if (teachersLeftOut(state)) state.exportOptions.teacherRates = false;
        for (const std::string& subject : state.imported.subjectsNotInSheet) {
            if (int i = subjectIndex(subject); i >= 0) state.scores.fullMark[static_cast<size_t>(i)] = 0;
        }
        if (state.exportOptions.blankScoresExcluded) leaveOutStudentsWithoutScores();
    }
    ~RunAdjustments() {
        state_.exportOptions = options_;
        state_.scores.fullMark = fullMarks_;
        state_.imported.examFullMarkTotal = fullMarkTotal_;
        if (allStudents_ && state_.imported.studentCount != 0) state_.students = std::move(*allStudents_);
    }
    RunAdjustments(const RunAdjustments&) = delete;
    RunAdjustments& operator=(const RunAdjustments&) = delete;

  private:
    void leaveOutStudentsWithoutScores() {
        const std::vector<TotalShare> shares = totalShares(state_.scores, state_.imported.examSubjects);
        allStudents_ = state_.students;
        RowTable& students = state_.students;
        std::vector<int> kept;
        std::map<int, int> studentsOfFullMark;  // a student's own 总分 full mark: how many have it
        for (int row = 0; row < students.rowCount(); ++row) {
            int fullMark = 0;
            bool scored = false;
            for (const TotalShare& share : shares) {
                if (!startsWithNumber(students.cellText(row, share.studentColumn))) continue;
                scored = true;
                fullMark += share.fullMark;
            }
            if (!scored) continue;
            kept.push_back(row);
            ++studentsOfFullMark[fullMark];
        }
        if (static_cast<int>(kept.size()) != students.rowCount()) {
            RowTable scored = students;
            scored.clear();
            for (int row : kept) {
                const int index = scored.appendRow(students.row(row).texts());
                // The 考号 and 学号 go with the row: the progress report pairs students by them.
                if (!students.hiddenCells(row).empty())
                    scored.setHiddenCells(index, students.hiddenCells(row));
            }
            students = std::move(scored);
        }
        int most = 0;  // the full mark most students sat for; the higher one of a tie
        for (const auto& [fullMark, count] : studentsOfFullMark) {
            if (count >= most) {
                most = count;
                state_.imported.examFullMarkTotal = fullMark;
            }
        }
    }

    AppState& state_;
    ExportOptions options_;
    std::array<int, kSubjectCount> fullMarks_;
    int fullMarkTotal_;
    std::optional<RowTable> allStudents_;  ///< the whole StudentTable while students are left out
};

std::string folderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

// Processor time of this process, so that the figures hold on a busy machine too.
class Stopwatch {
  public:
    double lapMilliseconds() {
        std::clock_t now = std::clock();
        double ms = 1000.0 * static_cast<double>(now - last_) / CLOCKS_PER_SEC;
        last_ = now;
        return ms;
    }

  private:
    std::clock_t last_ = std::clock();
};

void addTiming(ExportOutcome* outcome, const std::string& family, double ms) {
    if (outcome == nullptr) return;
    if (!outcome->timings.empty() && outcome->timings.back().first == family) {
        outcome->timings.back().second += ms;
    } else {
        outcome->timings.emplace_back(family, ms);
    }
}

// What the sheets of one run work out once and share: the class listing, taken when the
// class-ranking sheets begin, and the pairing with the previous exam, worked out by the first
// progress sheet (and kept for the completion note).
struct RunWork {
    std::optional<ClassRankingListing> classListing;
    std::optional<ProgressData> progress;
};

// Writes one planned sheet into the sheet taken for it. The class listing leaves the StudentTable
// in its order when the class-ranking sheets end.
Status writePlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const SheetPlan& plan,
                         const Exam& exam, AppState& state, RunWork& work,
                         const std::function<void(const std::string&)>& logLine) {
    (void)exam;  // the sheets take their figures from it as they move over to it
    std::optional<ClassRankingListing>& classListing = work.classListing;
    switch (planned.kind) {
        case SheetKind::TotalRankBands:
            writeRankBands(sheet, state, planned.title);
            return {};
        case SheetKind::TotalBands:
            return writeScoreBands(sheet, state, planned.title);
        case SheetKind::SubjectBands:
            return writeSubjectBands(sheet, state, planned.title);
        case SheetKind::TeacherRates:
            return writeTeacherRates(sheet, state, planned.title);
        case SheetKind::ClassRates:
            writeClassRates(sheet, state, planned.title);
            return {};
        case SheetKind::GradeRates:
            writeGradeRates(sheet, state, planned.title);
            return {};
        case SheetKind::TopN:
            writeTopN(sheet, state, planned.title);
            return {};
        case SheetKind::ClassRankingPerClass: {
            if (!classListing) classListing.emplace(state);
            writeClassSheet(sheet, state, *classListing, static_cast<size_t>(planned.classIndex),
                            planned.title);
            const int lastClass = static_cast<int>(state.imported.classList.size()) - 1;
            if (planned.classIndex == lastClass) classListing->moveListedRows(state.students);
            return {};
        }
        case SheetKind::ClassRankingAll:
            classListing.emplace(state);
            writeAllClassesSheet(sheet, state, *classListing, planned.title, logLine);
            classListing->moveListedRows(state.students);
            return {};
        case SheetKind::NearLine:
            return writeNearLine(sheet, state, planned.title);
        case SheetKind::ClassProgress:
            if (!work.progress) work.progress = computeProgress(state);
            writeClassProgress(sheet, state, *work.progress, planned.title);
            return {};
        case SheetKind::StudentProgress:
            if (!work.progress) work.progress = computeProgress(state);
            return writeStudentProgress(sheet, state, *work.progress, planned.title);
        case SheetKind::Charts:
            writeChartSheet(sheet, state, plan, planned.title);
            return {};
        case SheetKind::Contents:
            writeContentsSheet(sheet, plan);
            return {};
    }
    return {};
}

// Lays a written sheet out for reading and printing, from the heading rows and name columns of its
// kind; the chart sheet lays out its charts itself, and the contents sheet, which has no title row,
// prints in its page header the title it would have.
void layOutPlannedSheet(ExcelSheet& sheet, const PlannedSheet& planned, const AppState& state) {
    if (!state.exportOptions.printLayout || planned.kind == SheetKind::Charts) return;
    const SheetHeading heading = sheetHeading(planned.kind);
    const std::string title = planned.kind == SheetKind::Contents
                                  ? sheetTitle(state.examNameText, planned.tabName, state.imported.gradeName)
                                  : planned.title;
    layOutReportSheet(sheet, title, {heading.rows, heading.nameColumns});
}

// Fills every planned sheet in production order; the first sheet that cannot be written ends the
// run (the teacher rates without a teacher row, a band sheet longer than a worksheet).
Status writeSheets(ExcelSession& session, const SheetPlan& plan, const Exam& exam, AppState& state,
                   Frontend& frontend, RunWork& work, ExportOutcome* outcome) {
    auto logLine = [&](const std::string& line) { appendLog(state, frontend, line); };
    Stopwatch watch;
    int done = 0;
    for (const PlannedSheet& planned : plan.sheets) {
        frontend.showProgress(tx::kLogExport + planned.item, done++, plan.sheetCount() + 1);  // the save last
        // The one sheet of all classes logs each class while it is filled.
        if (planned.kind != SheetKind::ClassRankingAll) logLine(tx::kLogExport + planned.item);
        ExcelSheet sheet = session.Sheet(planned.position);
        sheet.Activate();
        sheet.SetName(planned.tabName);
        if (Status written = writePlannedSheet(sheet, planned, plan, exam, state, work, logLine); !written)
            return written;
        layOutPlannedSheet(sheet, planned, state);
        sheet.SetVisible(1);
        addTiming(outcome, sheetFamily(planned.kind), watch.lapMilliseconds());
    }
    return {};
}

// The result workbook's file name without ".xlsx": "<exam> - <grade>成绩分析".
std::string resultFileName(const AppState& state) {
    return strprintf(tx::kFileNameFormat, state.examNameText.c_str(), state.imported.gradeName.c_str());
}

// Validate: checks the settings and the imported data as adjusted for the run (RunAdjustments).
// Shows the first problem (with the focus on the control that can fix it) and returns false.
bool exportCanStart(AppState& state, Frontend& frontend) {
    const ExportOptions& options = state.exportOptions;
    if (Status lines = checkExcellenceLines(state.scores); !lines) {
        showError(frontend, lines.error());
        return false;
    }
    if (state.examNameText.empty()) {
        showError(frontend, tx::kNoExamName);
        frontend.focusControl(ctl::ExamNameBox);
        return false;
    }
    state.workbook.title = state.examNameText;  // the exam name and the workbook title share one store
    if (state.students.rowCount() == 0) {
        showError(frontend, tx::kNoStudentRows);
        return false;
    }
    if (state.imported.schoolList.empty()) {
        showError(frontend, tx::kNoSchools);
        return false;
    }
    if (!anyReportChosen(options)) {
        showError(frontend, tx::kNothingChosen);
        return false;
    }
    if (options.topNEnabled && options.topN < 1) {
        showError(frontend, tx::kTopNNotPositive);
        frontend.focusControl(ctl::TopNCount);
        return false;
    }
    if (options.progress && state.previous.students.rowCount() == 0) {
        showError(frontend, tx::kNoPreviousExam);
        frontend.focusControl(ctl::PreviousFile);
        return false;
    }
    if (options.teacherRates) {  // still chosen: not left out for want of teachers
        if (state.teachers.rowCount() == 0) {
            showError(frontend, tx::kNoTeacherRows);
            return false;
        }
        if (Status taught = checkEveryClassTaught(state); !taught) {
            showError(frontend, taught.error());
            return false;
        }
    }
    return true;
}

// Confirm: asks whether to export the planned items of the exam and grade, saying what is left
// out for want of a teacher sheet.
bool confirmExport(const AppState& state, Frontend& frontend, const SheetPlan& plan, bool withoutTeachers) {
    std::string items = plan.itemList;
    if (withoutTeachers)
        items += state.exportOptions.classRates ? tx::kNoTeachersNote : tx::kNoTeachersNoClassRatesNote;
    const std::string question = strprintf(tx::kConfirmFormat, state.examNameText.c_str(),
                                           state.imported.gradeName.c_str(), items.c_str());
    return frontend.askYesNo(question, common_texts::kCaptionConfirm);
}

// Fill: a new workbook with a sheet for every planned one, each filled in production order.
Status fillWorkbook(ExcelSession& session, const SheetPlan& plan, const Exam& exam, AppState& state,
                    Frontend& frontend, RunWork& work, ExportOutcome* outcome) {
    const std::string& examName = state.examNameText;
    const std::string& sheetName = state.imported.sheetName;
    const int n = plan.sheetCount();
    session.AddWorkbook(OmittedArgument);
    if (n >= 4) session.AddSheets(n - 3);
    if (outcome != nullptr) {
        outcome->sheetCount = n;
        outcome->addedSheets = plan.addedSheets();
    }
    frontend.setTitle(strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                                examName.c_str(), sheetName.c_str(), tx::kExporting));
    return writeSheets(session, plan, exam, state, frontend, work, outcome);
}

// Save: next to the opened workbook (or at the path asked for); into the documents folder when the
// workbook's folder cannot take it. The path written.
Result<std::string> saveResultWorkbook(ExcelSession& session, AppState& state, Frontend& frontend,
                                       ExportOutcome* outcome) {
    // saveWorkbook makes the base name a safe file name.
    SaveTarget target = saveTargetFor(state.outputPath, state.overwriteOutput, folderOf(state.workbook.path),
                                      resultFileName(state));
    // Nobody reads the cells after the save unless the caller asked for the workbook: they are
    // released as they are written, so that the model and the file writer never both hold them all.
    target.releaseCells = outcome == nullptr || !outcome->keepCells;
    Stopwatch watch;
    Result<std::string> saved = saveWorkbook(session.workbook(), target);
    if (!saved && target.exactPath.empty() && target.folder != documentsFolder() &&
        !session.workbook().cellsReleased()) {
        // The workbook's folder may be read-only (a shared or write-protected drive): the
        // result then goes to the documents folder rather than being lost.
        appendLog(state, frontend, saved.error());
        target.folder = documentsFolder();
        saved = saveWorkbook(session.workbook(), target);
    }
    addTiming(outcome, "save", watch.lapMilliseconds());
    return saved;
}

// Announce: logs the saved file and the completion, shows it in the title and tells the user
// where the file was saved, with that path put on the clipboard; after the progress reports, who
// was paired with the previous exam and who could not be (`note`, also logged).
void announceExport(AppState& state, Frontend& frontend, const SheetPlan& plan, const std::string& savedPath,
                    const std::string& note) {
    const std::string& examName = state.examNameText;
    const std::string& grade = state.imported.gradeName;
    appendLog(state, frontend, tx::kLogSaved + savedPath);
    appendLog(state, frontend, strprintf(tx::kLogDoneFormat, examName.c_str(), grade.c_str()));
    frontend.setTitle(strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                                examName.c_str(), state.imported.sheetName.c_str(), tx::kExported));
    const std::string shownPath = fullPathOf(savedPath);
    std::string done = strprintf(tx::kDoneFormat, shownPath.c_str());
    if (frontend.setClipboardText(shownPath)) done += tx::kDonePathCopied;
    done += strprintf(tx::kDoneSheetsFormat, plan.sheetCount(), plan.itemList.c_str());
    if (!note.empty()) {
        done.pop_back();  // the item list's last line end
        done += note + "\n";
        for (size_t start = 0, end = 0; start < note.size(); start = end + 1) {
            end = std::min(note.find('\n', start), note.size());
            if (end > start) appendLog(state, frontend, note.substr(start, end - start));
        }
    }
    if (frontend.opensDocuments())
        done += tx::kDoneOpening;
    else
        done.pop_back();  // the last line end
    frontend.showMessage(done, common_texts::kCaptionInfo, MessageIcon::Information);
}

// Fill, save and announce. A broken invariant of the workbook model (an exception from the
// automation layer) ends the run with its message like any other failure.
Result<std::string> produceWorkbook(ExcelSession& session, const SheetPlan& plan, const Exam& exam,
                                    AppState& state, Frontend& frontend, ExportOutcome* outcome) {
    try {
        RunWork work;
        if (Status filled = fillWorkbook(session, plan, exam, state, frontend, work, outcome); !filled)
            return fail(filled.error());
        // Saved before anything reports completion, so that a failed save is never announced as done.
        frontend.showProgress(tx::kProgressSaving, plan.sheetCount(), plan.sheetCount() + 1);
        Result<std::string> saved = saveResultWorkbook(session, state, frontend, outcome);
        if (saved) announceExport(state, frontend, plan, *saved, work.progress ? work.progress->note : "");
        return saved;
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}

// Hands the finished workbook to the user: the import of new scores is needed before the next
// export, and the file is opened.
void finishExport(AppState& state, Frontend& frontend, const std::string& savedPath, ExportOutcome* outcome) {
    frontend.enableControl(ctl::ImportStudents, true);
    state.students.clear();
    state.imported.classList.clear();
    state.imported.classCount = 0;
    state.imported.studentCount = 0;  // keeps the export disabled until the next student import
    frontend.openDocument(savedPath);
    frontend.minimiseWindow();
    if (outcome != nullptr) {
        outcome->completed = true;
        outcome->savedPath = savedPath;
    }
}

}  // namespace

void exportRun(AppState& state, Frontend& frontend, ExportOutcome* outcome) {
    const bool withoutTeachers = teachersLeftOut(state);
    RunAdjustments adjusted(state);
    if (!exportCanStart(state, frontend)) return;
    const SheetPlan plan = buildSheetPlan(state, state.examNameText);
    if (!confirmExport(state, frontend, plan, withoutTeachers)) return;

    frontend.enableControl(ctl::ImportStudents, false);
    ExcelSession session;
    // Whatever happens from here on, the caller may look at the workbook that was built.
    struct KeepWorkbook {
        ExcelSession& session;
        ExportOutcome* outcome;
        ~KeepWorkbook() {
            if (outcome != nullptr && session.hasWorkbook())
                outcome->workbook = std::move(session.workbook());
        }
    } keep{session, outcome};

    // What the sheets count and list, read once; nothing a sheet does changes it.
    const Exam exam(state);
    Result<std::string> saved = produceWorkbook(session, plan, exam, state, frontend, outcome);
    if (!saved) {
        showError(frontend, saved.error());
        frontend.enableControl(ctl::ImportStudents, true);
        return;
    }
    finishExport(state, frontend, *saved, outcome);
}

}  // namespace varnex
