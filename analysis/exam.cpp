#include "analysis/exam.h"

#include <algorithm>
#include <iterator>
#include <map>

#include "app/report_choices.h"
#include "base/text_util.h"

namespace varnex {

bool anyReportChosen(const ExportOptions& o, bool ExportOptions::*except) {
    return std::any_of(std::begin(kReportChoices), std::end(kReportChoices), [&](const ReportChoice& report) {
        return report.chosen != except && o.*report.chosen;
    });
}

namespace {

// True when a row of `teachers` teaches one of `subjects` in a class of the imported grade and of
// one of its schools.
bool anyTeacherOfExam(const RowTable& teachers, const ImportResults& imported,
                      const std::vector<ExamSubject>& subjects) {
    for (int row = 0; row < teachers.rowCount(); ++row) {
        const RowTable::RowView t = teachers.row(row);
        if (!imported.ofImportedGrade(t[1]) || t[4].empty()) continue;
        if (std::none_of(subjects.begin(), subjects.end(),
                         [&](const ExamSubject& s) { return s.name == t[3]; }))
            continue;
        if (std::find(imported.schoolList.begin(), imported.schoolList.end(), t[0]) !=
            imported.schoolList.end())
            return true;
    }
    return false;
}

}  // namespace

Exam::Exam(const AppState& state)
    : examName_(state.examNameText),
      scores_(state.scores),
      options_(state.exportOptions),
      imported_(state.imported),
      students_(&state.students),
      teachers_(&state.teachers),
      previous_(&state.previous) {
    for (const std::string& subject : imported_.subjectsNotInSheet) {
        if (int i = subjectIndex(subject); i >= 0) scores_.fullMark[static_cast<size_t>(i)] = 0;
    }
    for (const std::string& name : imported_.examSubjects) {
        const int i = subjectIndex(name);
        if (i < 0) continue;
        subjects_.push_back({name, kSubjects[static_cast<size_t>(i)].column,
                             scores_.fullMark[static_cast<size_t>(i)],
                             scores_.excellenceLine[static_cast<size_t>(i)]});
    }
    // Without a teacher of the exam (the grade, a school and a subject of it) the teacher rates are
    // left out of a run that has other reports to write; the class rates then keep their 任课教师
    // cells empty.
    teachersOfExam_ = anyTeacherOfExam(state.teachers, imported_, subjects_);
    teachersLeftOut_ =
        options_.teacherRates && !teachersOfExam_ && anyReportChosen(options_, &ExportOptions::teacherRates);
    if (teachersLeftOut_) options_.teacherRates = false;

    if (options_.blankScoresExcluded) {
        // A student without a score in any exam subject counts nowhere; the 总分 full mark that
        // headers and bands show is the one most students sat for (the higher one of a tie).
        const RowTable& all = state.students;
        std::vector<int> kept;
        std::map<int, int> studentsOfFullMark;
        for (int row = 0; row < all.rowCount(); ++row) {
            int fullMark = 0;
            bool scored = false;
            for (const ExamSubject& subject : subjects_) {
                if (!startsWithNumber(all.cellText(row, subject.column))) continue;
                scored = true;
                fullMark += subject.fullMark > 0 ? subject.fullMark : 0;
            }
            if (!scored) continue;
            kept.push_back(row);
            ++studentsOfFullMark[fullMark];
        }
        if (static_cast<int>(kept.size()) != all.rowCount()) {
            RowTable& counted = counted_.emplace(all);
            counted.clear();
            for (int row : kept) {
                const int index = counted.appendRow(all.row(row).texts());
                // The 考号 and 学号 go with the row: the progress report pairs students by them.
                if (!all.hiddenCells(row).empty()) counted.setHiddenCells(index, all.hiddenCells(row));
            }
            students_ = &counted;
        }
        int most = 0;
        for (const auto& [fullMark, count] : studentsOfFullMark) {
            if (count >= most) {
                most = count;
                imported_.examFullMarkTotal = fullMark;
            }
        }
    }

    stride_ = subjects_.size() + 1;
    const RowTable& students = *students_;
    values_.resize(static_cast<size_t>(students.rowCount()) * stride_);
    sat_.resize(values_.size());
    for (int row = 0; row < students.rowCount(); ++row) {
        const RowTable::RowView cells = students.row(row);
        const size_t first = static_cast<size_t>(row) * stride_;
        for (size_t i = 0; i < stride_; ++i) {
            const std::string_view text =
                cells[static_cast<size_t>(i < subjects_.size() ? subjects_[i].column : kTotalColumn)];
            values_[first + i] = cAtof(text);
            sat_[first + i] = startsWithNumber(text);
        }
    }
}

std::string_view Exam::scoreText(int student, size_t subject) const {
    return students_->cellText(student,
                               subject < subjects_.size() ? subjects_[subject].column : kTotalColumn);
}

}  // namespace varnex
