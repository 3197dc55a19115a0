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
#include <tuple>
#include <unordered_map>

#include "analysis/exam.h"
#include "app/report_choices.h"
#include "app/status_log.h"
#include "base/common_texts.h"
#include "base/text_util.h"
#include "export/split_files.h"
#include "sheets/report_sheets.h"
#include "sheets/sheet_plan.h"
#include "sheets/sheet_texts.h"
#include "workbook/excel_session.h"
#include "workbook/workbook_file.h"

namespace varnex {

namespace tx = sheet_texts;

namespace {

void showError(Frontend& frontend, const std::string& text) {
    frontend.showMessage(text, common_texts::kCaptionError, MessageIcon::Error);
}

// Shows the error and returns it as the run's failure.
Error showFailure(Frontend& frontend, const Error& failure) {
    showError(frontend, failure.message);
    return failure;
}

// Every examined subject's excellence line lies in 1..99; the first one outside, as its message.
Status checkExcellenceLines(const ScoreSettings& scores) {
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        if (scores.fullMark[i] == 0) continue;
        int line = scores.excellenceLine[i];
        if (line < 1 || line >= 100)
            return fail(strprintf(tx::kExcellenceLineRangeFormat, kSubjects[i].name));
    }
    for (const ExtraSubject& subject : scores.extra) {
        if (subject.fullMark == 0) continue;
        if (subject.excellenceLine < 1 || subject.excellenceLine >= 100)
            return fail(strprintf(tx::kExcellenceLineRangeFormat, subject.name.c_str()));
    }
    return {};
}

// The classes with an examined subject that no teacher row of the grade teaches, schools in
// SchoolList order: one line a class, "一中（1）班：语文、数学" ("全部学科" when it has none).
std::string untaughtClasses(const Exam& exam) {
    const ImportResults& imported = exam.imported();
    const std::vector<std::string>& subjects = exam.subjectNames();
    std::set<std::tuple<std::string, std::string, std::string>, std::less<>>
        taught;  // school, class, subject
    const RowTable& teachers = exam.teachers();
    for (int row = 0; row < teachers.rowCount(); ++row) {
        const RowTable::RowView t = teachers.row(row);
        if (imported.ofImportedGrade(t[1]) && !t[4].empty())
            taught.emplace(std::string(t[0]), std::string(t[2]), std::string(t[3]));
    }
    std::unordered_map<std::string, std::vector<std::string>> classesOfSchool;
    const ClassList& classList = imported.classList;
    for (size_t i = 0; i < classList.size(); ++i) {
        auto [school, klass] = classList.parts(i);
        classesOfSchool[school].push_back(klass);
    }
    std::string lines;
    std::set<std::string> listed;
    for (const auto& school : imported.schoolList) {
        if (!listed.insert(school).second) continue;  // a school listed again has been gone through
        auto it = classesOfSchool.find(school);
        if (it == classesOfSchool.end()) continue;
        for (const auto& klass : it->second) {
            std::string missing;
            size_t count = 0;
            for (const std::string& subject : subjects) {
                if (taught.count({school, klass, subject}) != 0) continue;
                missing += (missing.empty() ? "" : tx::kSubjectSeparator) + subject;
                ++count;
            }
            if (count == 0) continue;
            if (count == subjects.size() && count > 1) missing = tx::kAllSubjects;
            lines += strprintf(tx::kUntaughtClassLineFormat, school.c_str(), klass.c_str(), missing.c_str());
        }
    }
    return lines;
}

// What the confirmation says about the teachers when the class or teacher rates are chosen: the
// teacher rates left out and the 任课教师 cells left empty for want of teachers of the grade, or
// the classes and subjects without a teacher.
std::string teacherNote(const Exam& exam, const AppState& state) {
    const ExportOptions& chosen = state.exportOptions;
    const bool classRates = exam.options().classRates;
    if (!classRates && !chosen.teacherRates) return {};
    if (exam.teachers().rowCount() == 0) {
        if (!exam.teachersLeftOut()) return {};
        return classRates ? tx::kNoTeachersNote : tx::kNoTeachersNoClassRatesNote;
    }
    const char* grade = exam.gradeName().c_str();
    if (!exam.hasTeachersOfExam()) {
        if (!exam.teachersLeftOut()) return strprintf(tx::kNoTeachersOfGradeClassRatesFormat, grade);
        return strprintf(classRates ? tx::kNoTeachersOfGradeFormat : tx::kNoTeachersOfGradeNoClassRatesFormat,
                         grade);
    }
    const std::string classes = untaughtClasses(exam);
    if (classes.empty()) return {};
    return strprintf(classRates ? tx::kUntaughtNoteFormat : tx::kUntaughtNoClassRatesFormat, classes.c_str());
}

// What the confirmation says about 按科类分别统计 when a report it splits is chosen: how many
// students have no track and are counted as a group of their own, or that no student has one, so
// that the whole grade is counted as before.
std::string trackNote(const Exam& exam) {
    const ExportOptions& o = exam.options();
    // Under 不公布名次 the listings have no places to count within a track.
    const bool counted = (!o.noRanks && (o.topNEnabled || o.classRanking || o.progress)) || o.gradeRates ||
                         o.classRates || o.teacherRates;
    if (!o.byTrack || !counted) return {};
    const std::vector<ExamTrack>& tracks = exam.tracks();
    if (tracks.empty()) return tx::kNoTracksNote;
    if (!tracks.back().name.empty()) return {};
    return strprintf(tx::kUntrackedNoteFormat, static_cast<int>(tracks.back().students.size()));
}

// What the confirmation says about students' places: under 不公布名次 the sheets it leaves out; for
// a grade of 义务教育 (一年级–九年级) whose export shows students' places, that routine exams there
// are not ranked, naming the check box.
std::string placesNote(const Exam& exam, const AppState& state) {
    const ExportOptions& chosen = state.exportOptions;
    const ExportOptions& run = exam.options();
    if (run.noRanks) {
        std::string leftOut;
        for (bool ExportOptions::*report : kPlaceReports) {
            if (!(chosen.*report)) continue;
            const std::string name = report == &ExportOptions::topNEnabled
                                         ? strprintf(tx::kTopNFormat, chosen.topN)
                                         : std::string(tx::kTotalRankBands);
            leftOut += (leftOut.empty() ? "" : tx::kSubjectSeparator) + name;
        }
        return leftOut.empty() ? std::string() : strprintf(tx::kPlaceReportsLeftOutFormat, leftOut.c_str());
    }
    const auto grade = std::find_if(kGradeNames.begin(), kGradeNames.end(),
                                    [&](const char* name) { return exam.gradeName() == name; });
    const bool compulsory = grade != kGradeNames.end() && grade - kGradeNames.begin() < kSeniorGradeIndex;
    const bool showsPlaces = run.topNEnabled || run.totalRankBands || run.classRanking || run.progress;
    return compulsory && showsPlaces ? std::string(tx::kCompulsoryRanksNote) : std::string();
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

// Fills every planned sheet in production order; the first sheet that cannot be written ends the
// run (the teacher rates without a teacher row, a band sheet longer than a worksheet).
Status writeSheets(ExcelSession& session, const SheetPlan& plan, Frontend& frontend, SheetWork& work,
                   ExportOutcome* outcome) {
    Stopwatch watch;
    int done = 0;
    for (const PlannedSheet& planned : plan.sheets) {
        frontend.showProgress(tx::kLogExport + planned.item, done++, plan.sheetCount() + 1);  // the save last
        // The one sheet of all classes logs each class while it is filled.
        if (planned.kind != SheetKind::ClassRankingAll) work.log(tx::kLogExport + planned.item);
        ExcelSheet sheet = session.Sheet(planned.position);
        sheet.Activate();
        sheet.SetName(planned.tabName);
        if (Status written = writePlannedSheet(sheet, planned, plan, work); !written) return written;
        layOutPlannedSheet(sheet, planned, work.exam());
        sheet.SetVisible(1);
        addTiming(outcome, sheetFamily(planned.kind), watch.lapMilliseconds());
    }
    return {};
}

// The result workbook's file name without ".xlsx": "<exam> - <grade>成绩分析".
std::string resultFileName(const AppState& state) {
    return strprintf(tx::kFileNameFormat, state.examNameText.c_str(), state.imported.gradeName.c_str());
}

// Validate: checks the settings and the imported data as the run counts them (the Exam).
// Shows the first problem (with the focus on the control that can fix it) and returns it.
Status exportCanStart(const Exam& exam, AppState& state, Frontend& frontend) {
    const ExportOptions& options = exam.options();
    if (Status lines = checkExcellenceLines(exam.scores()); !lines)
        return showFailure(frontend, lines.failure());
    if (state.examNameText.empty()) {
        showError(frontend, tx::kNoExamName);
        frontend.focusField(Field::ExamName);
        return fail(tx::kNoExamName);
    }
    state.workbook.title = state.examNameText;  // the exam name and the workbook title share one store
    if (exam.studentCount() == 0) return showFailure(frontend, fail(tx::kNoStudentRows));
    if (exam.imported().schoolList.empty()) return showFailure(frontend, fail(tx::kNoSchools));
    if (!anyReportChosen(options))
        return showFailure(frontend, fail(options.noRanks && anyReportChosen(state.exportOptions)
                                              ? tx::kOnlyPlaceReportsChosen
                                              : tx::kNothingChosen));
    if (options.topNEnabled && options.topN < 1) {
        showError(frontend, tx::kTopNNotPositive);
        frontend.focusField(Field::TopNCount);
        return fail(tx::kTopNNotPositive);
    }
    if (options.progress && exam.previous().students.rowCount() == 0) {
        showError(frontend, tx::kNoPreviousExam);
        frontend.focusField(Field::PreviousExam);
        return fail(tx::kNoPreviousExam);
    }
    if (options.scoreLines && exam.scores().lines.empty())
        return showFailure(frontend, fail(tx::kNoScoreLines));
    if (options.nearLine && options.nearScoreLines && exam.scores().lines.empty())
        return showFailure(frontend, fail(tx::kNoNearScoreLines));
    if ((options.questionAnalysis || options.questionDetail) && exam.questionSheets().empty())
        return showFailure(frontend, fail(tx::kNoQuestionSheets));
    if (options.teacherRates && !exam.hasTeachersOfExam()) {  // the one report chosen
        if (exam.teachers().rowCount() == 0) return showFailure(frontend, fail(tx::kNoTeacherRows));
        return showFailure(frontend, fail(strprintf(tx::kNoTeachersOfGradeOnlyFormat,
                                                    exam.gradeName().c_str(), exam.gradeName().c_str())));
    }
    return {};
}

// Confirm: asks whether to export the planned items of the exam and grade, saying what is left
// out or empty for want of teachers and what 不公布名次 leaves out (`notes`) and a 总分 of the sheet that
// differs from the sums. Cancelled, with the question, when the answer is No.
Status confirmExport(const AppState& state, Frontend& frontend, const SheetPlan& plan,
                     const std::string& notes) {
    std::string items = plan.itemList + notes;
    if (!state.imported.sheetTotalDifference.empty())
        items += strprintf(tx::kSheetTotalNoteFormat, state.imported.sheetTotalDifference.c_str());
    const std::string question = strprintf(tx::kConfirmFormat, state.examNameText.c_str(),
                                           state.imported.gradeName.c_str(), items.c_str());
    if (!frontend.askYesNo(question, common_texts::kCaptionConfirm))
        return fail(ErrorKind::Cancelled, question);
    return {};
}

// Fill: a new workbook with a sheet for every planned one, each filled in production order.
Status fillWorkbook(ExcelSession& session, const SheetPlan& plan, AppState& state, Frontend& frontend,
                    SheetWork& work, ExportOutcome* outcome) {
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
    return writeSheets(session, plan, frontend, work, outcome);
}

// Save: next to the opened workbook (or at the path asked for); into the documents folder when the
// workbook's folder refuses the file (not when the writing itself fails, as on a full disk: the
// documents folder is most often on the same disk). The path written.
Result<std::string> saveResultWorkbook(ExcelSession& session, AppState& state, Frontend& frontend,
                                       ExportOutcome* outcome, bool keepCells) {
    // saveWorkbook makes the base name a safe file name.
    SaveTarget target = saveTargetFor(state.outputPath, state.overwriteOutput, folderOf(state.workbook.path),
                                      resultFileName(state));
    // Nobody reads the cells after the save unless the caller asked for the workbook: they are
    // released as they are written, so that the model and the file writer never both hold them all.
    target.releaseCells = !keepCells;
    Stopwatch watch;
    Result<std::string> saved = saveWorkbook(session.workbook(), target);
    if (!saved && saved.errorKind() == ErrorKind::FolderRefused && target.exactPath.empty() &&
        target.folder != documentsFolder() && !session.workbook().cellsReleased()) {
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
                    const std::string& note, const ExportOutcome& outcome) {
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
    if (!outcome.splitFolder.empty()) {
        const std::string folder = fullPathOf(outcome.splitFolder);
        const char* split = splitFilesName(state.exportOptions.split);
        appendLog(state, frontend, strprintf(tx::kLogSplitFormat, split, outcome.splitFiles, folder.c_str()));
        done.pop_back();  // the item list's last line end
        done += strprintf(tx::kDoneSplitFormat, split, outcome.splitFiles, folder.c_str()) + "\n";
    }
    if (frontend.opensDocuments())
        done += tx::kDoneOpening;
    else
        done.pop_back();  // the last line end
    frontend.showMessage(done, common_texts::kCaptionInfo, MessageIcon::Information);
}

// Fill, save and announce. A broken invariant of the workbook model (an exception from the
// automation layer) ends the run with its message like any other failure.
// The exam is let go once the sheets are filled: its figures are in the workbook, and the save needs
// the memory.
Result<std::string> produceWorkbook(ExcelSession& session, const SheetPlan& plan, std::optional<Exam>& exam,
                                    AppState& state, Frontend& frontend, ExportOutcome* outcome,
                                    bool keepCells) {
    try {
        std::string pairingNote;
        // The schools' or classes' own workbooks are written after the whole one from the same
        // exam and figures: then both are kept until they are.
        const SplitFiles split = exam->options().split;
        std::optional<SheetWork> work(std::in_place, *exam,
                                      [&](const std::string& line) { appendLog(state, frontend, line); });
        if (Status filled = fillWorkbook(session, plan, state, frontend, *work, outcome); !filled)
            return filled.failure();
        if (work->pairingIfWritten()) pairingNote = work->pairingIfWritten()->note;
        if (split == SplitFiles::None) {
            work.reset();
            exam.reset();
        }
        // Saved before anything reports completion, so that a failed save is never announced as done.
        frontend.showProgress(tx::kProgressSaving, plan.sheetCount(), plan.sheetCount() + 1);
        Result<std::string> saved = saveResultWorkbook(session, state, frontend, outcome, keepCells);
        if (!saved) return saved;
        if (split != SplitFiles::None) {
            Stopwatch watch;
            Result<SplitOutcome> parts =
                writeSplitFiles(*work, split, *saved, [&](const std::string& file, int done, int total) {
                    frontend.showProgress(tx::kSplitProgress + file, done, total);
                });
            addTiming(outcome, "split", watch.lapMilliseconds());
            if (!parts) {
                return fail(parts.errorKind(), strprintf(tx::kSplitFailedFormat, parts.error().c_str(),
                                                         fullPathOf(*saved).c_str()));
            }
            if (outcome != nullptr) {
                outcome->splitFolder = parts->folder;
                outcome->splitFiles = parts->files;
            }
        }
        announceExport(state, frontend, plan, *saved, pairingNote,
                       outcome != nullptr ? *outcome : ExportOutcome());
        return saved;
    } catch (const std::exception& e) {
        return fail(ErrorKind::Internal, e.what());
    }
}

// Hands the finished workbook to the user and opens it. The imported scores stay: another export
// with other choices needs no new import.
void finishExport(AppState& state, Frontend& frontend, const std::string& savedPath, ExportOutcome& outcome) {
    frontend.enableAction(Action::ImportStudents, true);
    appendLog(state, frontend, tx::kLogExportAgain);
    frontend.openDocument(savedPath);
    frontend.minimiseWindow();
    outcome.savedPath = savedPath;
}

// Ends a run that saved nothing: the failure it showed goes to the log too (not a confirmation
// answered No) and the window title returns to the opened sheet's.
Error endRefusedExport(AppState& state, Frontend& frontend, Error failure) {
    if (failure.kind != ErrorKind::Cancelled && !failure.message.empty())
        appendLog(state, frontend, failure.message);
    frontend.setTitle(strprintf(common_texts::kSheetTitleFormat, common_texts::kProgramName,
                                state.workbook.title.c_str(), state.workbook.selectedSheetName().c_str()));
    return failure;
}

// Writes each line of `note` to the log.
void logLines(AppState& state, Frontend& frontend, const std::string& note) {
    for (size_t start = 0, end = 0; start < note.size(); start = end + 1) {
        end = std::min(note.find('\n', start), note.size());
        if (end > start) appendLog(state, frontend, note.substr(start, end - start));
    }
}

}  // namespace

Result<ExportOutcome> exportRun(AppState& state, Frontend& frontend, const ExportRequest& request) {
    // What the sheets count and list, read once; nothing a sheet does changes it, and the state it
    // was read from is not changed for the run.
    std::optional<Exam> exam(std::in_place, state);
    if (Status valid = exportCanStart(*exam, state, frontend); !valid)
        return endRefusedExport(state, frontend, valid.failure());
    const SheetPlan plan = buildSheetPlan(*exam);
    const std::string teachers = teacherNote(*exam, state);
    const std::string tracks = trackNote(*exam);
    if (Status confirmed = confirmExport(state, frontend, plan, teachers + tracks + placesNote(*exam, state));
        !confirmed)
        return endRefusedExport(state, frontend, confirmed.failure());
    logLines(state, frontend, teachers + tracks);
    if (const ScaledScores* scaled = exam->scaledScores()) {
        for (const std::string& note : scaled->notes) appendLog(state, frontend, note);
    }

    frontend.enableAction(Action::ImportStudents, false);
    ExcelSession session;
    // Whatever happens from here on, the caller may look at the workbook that was built.
    struct KeepWorkbook {
        ExcelSession& session;
        std::optional<WorkbookModel>* workbook;
        ~KeepWorkbook() {
            if (workbook != nullptr && session.hasWorkbook()) *workbook = std::move(session.workbook());
        }
    } keep{session, request.workbook};

    ExportOutcome outcome;
    Result<std::string> saved =
        produceWorkbook(session, plan, exam, state, frontend, &outcome, request.keepCells);
    if (!saved) {
        showError(frontend, saved.error());
        frontend.enableAction(Action::ImportStudents, true);
        return endRefusedExport(state, frontend, saved.failure());
    }
    finishExport(state, frontend, *saved, outcome);
    return outcome;
}

}  // namespace varnex
