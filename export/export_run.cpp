#include "export/export_run.h"

#include <ctime>
#include <filesystem>
#include <set>
#include <unordered_map>

#include "app/control_ids.h"
#include "app/status_log.h"
#include "automation/excel_session.h"
#include "automation/workbook_file.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "export/class_ranking.h"
#include "export/contents_sheet.h"
#include "export/export_texts.h"
#include "export/rank_bands.h"
#include "export/score_bands.h"
#include "export/sheet_cells.h"
#include "export/sheet_plan.h"
#include "export/subject_bands.h"
#include "export/top_n.h"
#include "reports/rate_sheets.h"
#include "reports/rate_texts.h"

namespace varnex {

namespace tx = export_texts;

namespace {

void showError(Frontend& frontend, const std::string& text) {
    frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
}

// The first excellence line outside 1..99 of an examined subject, as its message; "" when none.
std::string excellenceLineProblem(const ScoreSettings& scores) {
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (scores.fullMark[i] == 0) continue;
        int line = scores.excellenceLine[i];
        if (line < 1 || line >= 100) return strprintf(tx::kExcellenceLineRangeFormat, kSubjects[i].name);
    }
    return {};
}

// The first class, schools in SchoolList order, without a teacher for any exam subject; its
// message, or "" when every class has one.
std::string missingTeacherProblem(const AppState& state) {
    const std::string& grade = state.imported.gradeName;
    std::vector<std::string> subjects = examSubjectNames(state);
    std::set<std::string, std::less<>> examined(subjects.begin(), subjects.end());
    std::set<std::pair<std::string, std::string>> taught;  // (school, class)
    const RowTable& teachers = state.teachers;
    for (int row = 0; row < teachers.rowCount(); ++row) {
        if (teachers.cellText(row, 1) == grade && examined.count(teachers.cellText(row, 3)) != 0 &&
            !teachers.cellText(row, 4).empty())
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
            return strprintf(tx::kMissingTeacherFormat, school.c_str(), grade.c_str(), klass.c_str(),
                             firstSubject.c_str());
        }
    }
    return {};
}

bool anyReportChosen(const ExportOptions& o) {
    return o.gradeRates || o.classRates || o.teacherRates || o.subjectBands || o.totalBands ||
           o.totalRankBands || o.topNEnabled || o.classRanking;
}

const char* familyOf(SheetKind kind) {
    switch (kind) {
        case SheetKind::TotalRankBands:
            return "rank bands";
        case SheetKind::TotalBands:
            return "total bands";
        case SheetKind::SubjectBands:
            return "subject bands";
        case SheetKind::TeacherRates:
            return "teacher rates";
        case SheetKind::ClassRates:
            return "class rates";
        case SheetKind::GradeRates:
            return "grade rates";
        case SheetKind::TopN:
            return "top N";
        case SheetKind::ClassRankingPerClass:
        case SheetKind::ClassRankingAll:
            return "class ranking";
        case SheetKind::Contents:
            break;
    }
    return "contents";
}

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

// Fills every planned sheet in production order. False when the teacher rates found no teacher
// row to report on (the run then ends without saving).
bool writeSheets(ExcelSession& session, const SheetPlan& plan, AppState& state, Frontend& frontend,
                 ExportOutcome* outcome) {
    auto logLine = [&](const std::string& line) { appendLog(state, frontend, line); };
    std::optional<ClassRankingListing> classListing;
    const int lastClass = static_cast<int>(state.imported.classList.size()) - 1;
    Stopwatch watch;
    for (const PlannedSheet& planned : plan.sheets) {
        // The one sheet of all classes logs each class while it is filled.
        if (planned.kind != SheetKind::ClassRankingAll) logLine(tx::kLogExport + planned.item);
        ExcelSheet& sheet = session.Sheet(planned.position);
        sheet.Activate();
        sheet.SetName(planned.tabName);
        switch (planned.kind) {
            case SheetKind::TotalRankBands:
                writeRankBands(sheet, state, planned.title);
                break;
            case SheetKind::TotalBands:
                writeScoreBands(sheet, state, planned.title);
                break;
            case SheetKind::SubjectBands:
                writeSubjectBands(sheet, state, planned.title);
                break;
            case SheetKind::TeacherRates:
                if (!writeTeacherRates(sheet, state, planned.title)) return false;
                break;
            case SheetKind::ClassRates:
                writeClassRates(sheet, state, planned.title);
                break;
            case SheetKind::GradeRates:
                writeGradeRates(sheet, state, planned.title);
                break;
            case SheetKind::TopN:
                writeTopN(sheet, state, planned.title);
                break;
            case SheetKind::ClassRankingPerClass:
                if (!classListing) classListing.emplace(state);
                writeClassSheet(sheet, state, *classListing, static_cast<size_t>(planned.classIndex),
                                planned.title);
                if (planned.classIndex == lastClass) classListing->moveListedRows(state.students);
                break;
            case SheetKind::ClassRankingAll:
                classListing.emplace(state);
                writeAllClassesSheet(sheet, state, *classListing, planned.title, logLine);
                classListing->moveListedRows(state.students);
                break;
            case SheetKind::Contents:
                writeContentsSheet(sheet, plan);
                break;
        }
        sheet.SetVisible(1);
        addTiming(outcome, familyOf(planned.kind), watch.lapMilliseconds());
    }
    return true;
}

}  // namespace

void exportRun(AppState& state, Frontend& frontend, ExportOutcome* outcome) {
    const ExportOptions& options = state.exportOptions;

    if (std::string problem = excellenceLineProblem(state.scores); !problem.empty()) {
        showError(frontend, problem);
        return;
    }
    const std::string examName = state.examNameText;
    if (examName.empty()) {
        showError(frontend, tx::kNoExamName);
        frontend.focusControl(ctl::ExamNameBox);
        return;
    }
    state.workbook.title = examName;  // the exam name and the workbook title share one store
    if (state.students.rowCount() == 0) {
        showError(frontend, tx::kNoStudentRows);
        return;
    }
    if (state.imported.schoolList.empty()) {
        showError(frontend, tx::kNoSchools);
        return;
    }
    if (!anyReportChosen(options)) {
        showError(frontend, tx::kNothingChosen);
        return;
    }
    if (options.topNEnabled && options.topN < 1) {
        showError(frontend, tx::kTopNNotPositive);
        frontend.focusControl(ctl::TopNCount);
        return;
    }
    if (options.teacherRates) {
        if (state.teachers.rowCount() == 0) {
            showError(frontend, tx::kNoTeacherRows);
            return;
        }
        if (std::string problem = missingTeacherProblem(state); !problem.empty()) {
            showError(frontend, problem);
            return;
        }
    }

    const std::string& grade = state.imported.gradeName;
    const std::string& sheetName = state.imported.sheetName;
    const SheetPlan plan = buildSheetPlan(state, examName);
    const std::string question =
        strprintf(tx::kConfirmFormat, examName.c_str(), grade.c_str(), plan.itemList.c_str());
    if (!frontend.askYesNo(question, common_texts::kCaptionConfirm)) return;

    frontend.enableControl(ctl::ImportStudents, false);
    ExcelSession session;
    if (!session.Start()) {
        showError(frontend, tx::kStartFailed);
        frontend.enableControl(ctl::ImportStudents, true);
        return;
    }
    // Whatever happens from here on, the caller may look at the workbook that was built.
    struct KeepWorkbook {
        ExcelSession& session;
        ExportOutcome* outcome;
        ~KeepWorkbook() {
            if (outcome != nullptr && session.hasWorkbook())
                outcome->workbook = std::move(session.workbook());
        }
    } keep{session, outcome};
    auto abort = [&](const std::string& text) {
        showError(frontend, text);
        frontend.enableControl(ctl::ImportStudents, true);
        session.End();
    };

    const int n = plan.sheetCount();
    SaveResult saved;
    try {
        session.SetUserControl(true);
        session.SetCaption(strprintf(tx::kCaptionFormat, examName.c_str(), sheetName.c_str()));
        session.AddWorkbook(OmittedArgument);
        session.Sheets();
        if (n >= 4) session.AddSheets(n - 3);
        if (outcome != nullptr) {
            outcome->sheetCount = n;
            outcome->addedSheets = plan.addedSheets();
        }
        frontend.setTitle(strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                                    examName.c_str(), sheetName.c_str(), tx::kExporting));

        if (!writeSheets(session, plan, state, frontend, outcome)) {
            abort(rate_texts::kNoTeacherRows);
            return;
        }

        // Saved before anything reports completion, so that a failed save is never announced as done.
        const std::string fileName = strprintf(tx::kFileNameFormat, examName.c_str(), grade.c_str());
        SaveTarget target;
        if (!state.outputPath.empty()) {
            target.exactPath = state.outputPath;
            target.overwrite = state.overwriteOutput;
        } else {
            target.folder = folderOf(state.workbook.path);
            target.baseName = fileName;  // saveWorkbook makes it a safe file name
        }
        Stopwatch watch;
        saved = saveWorkbook(session.workbook(), target);
        if (!saved.ok && target.exactPath.empty() && target.folder != documentsFolder()) {
            // The workbook's folder may be read-only (a shared or write-protected drive): the
            // result then goes to the documents folder rather than being lost.
            appendLog(state, frontend, saved.error);
            target.folder = documentsFolder();
            saved = saveWorkbook(session.workbook(), target);
        }
        addTiming(outcome, "save", watch.lapMilliseconds());
        if (!saved.ok) {
            abort(saved.error);
            return;
        }
        appendLog(state, frontend, tx::kLogSaved + saved.path);

        appendLog(state, frontend, strprintf(tx::kLogDoneFormat, examName.c_str(), grade.c_str()));
        frontend.setTitle(strprintf(common_texts::kSheetStateTitleFormat, common_texts::kProgramName,
                                    examName.c_str(), sheetName.c_str(), tx::kExported));
        std::string done;
        if (frontend.setClipboardText(fileName)) {
            done = strprintf(tx::kDoneFormat, fileName.c_str(), n, plan.itemList.c_str());
        } else {
            done = strprintf(tx::kDoneNoClipboardFormat, fileName.c_str());
        }
        frontend.showMessage(done, common_texts::kCaptionInfo, MessageIcon::Information);
    } catch (const std::exception& e) {
        abort(e.what());
        return;
    }

    frontend.enableControl(ctl::ImportStudents, true);
    state.students.clear();
    state.imported.classList.clear();
    state.imported.classCount = 0;
    state.imported.studentCount = 0;  // keeps the export disabled until the next student import
    session.SetVisible(true);
    session.SetUserControl(true);
    session.End();
    frontend.openDocument(saved.path);
    frontend.minimiseWindow();
    if (outcome != nullptr) {
        outcome->completed = true;
        outcome->savedPath = saved.path;
    }
}

}  // namespace varnex
