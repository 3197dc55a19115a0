#include "analysis/exam.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <set>

#include "analysis/line_reach.h"
#include "app/report_choices.h"
#include "app/score_lines.h"
#include "base/rounding.h"
#include "base/text_util.h"

namespace varnex {

bool anyReportChosen(const ExportOptions& o, bool ExportOptions::*except) {
    auto chosen = [&](const ReportChoice& report) { return report.chosen != except && o.*report.chosen; };
    return std::any_of(std::begin(kReportChoices), std::end(kReportChoices), chosen);
}

namespace {

// The extra subjects of `scores` with a full mark that the table has a column of (`extraColumns`,
// `columnCount` its columns) are examined: appended to `examSubjects` in the order of their
// columns, their full marks added to `fullMarkTotal`. Every other extra subject gets a full mark
// of 0. Returns the StudentTable columns of those examined.
std::vector<int> examineExtraSubjects(ScoreSettings& scores, const std::vector<std::string>& extraColumns,
                                      int columnCount, std::vector<std::string>& examSubjects,
                                      int& fullMarkTotal) {
    std::vector<int> columns;
    std::vector<std::string> examined;
    for (size_t k = 0; k < extraColumns.size(); ++k) {
        const int column = kFirstExtraColumn + static_cast<int>(k);
        const std::string& name = extraColumns[k];
        const ExtraSubject* subject = scores.findExtra(name);
        if (subject == nullptr || subject->fullMark <= 0 || column >= columnCount ||
            std::find(examined.begin(), examined.end(), name) != examined.end())
            continue;
        examined.push_back(name);
        columns.push_back(column);
        fullMarkTotal = static_cast<int>(std::min<long long>(
            static_cast<long long>(fullMarkTotal) + subject->fullMark, std::numeric_limits<int>::max()));
    }
    for (ExtraSubject& subject : scores.extra) {
        if (std::find(examined.begin(), examined.end(), subject.name) == examined.end()) subject.fullMark = 0;
    }
    examSubjects.insert(examSubjects.end(), examined.begin(), examined.end());
    return columns;
}

// A copy of the table whose 总分 adds the scores of the extra columns to the subjects' (summed and
// written as the import writes it).
RowTable withExtraTotals(const RowTable& from, const std::vector<int>& extraColumns) {
    RowTable table;
    for (const RowTableColumn& column : from.columns()) table.addColumn(column.name, column.width);
    for (int row = 0; row < from.rowCount(); ++row) {
        std::vector<std::string> cells = from.row(row).texts();
        long long total = 0;  // thousandths, so that the sum is exact before it is rounded
        for (const Subject& subject : kSubjects)
            total += toThousandths(cAtof(cells[static_cast<size_t>(subject.column)]));
        for (int column : extraColumns) total += toThousandths(cAtof(cells[static_cast<size_t>(column)]));
        cells[kTotalColumn] = removeTrailingDotZero(roundedText(fromThousandths(total), 1));
        const int index = table.appendRow(cells);
        if (!from.hiddenCells(row).empty()) table.setHiddenCells(index, from.hiddenCells(row));
    }
    return table;
}

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

// A table of the same columns without rows.
RowTable emptyLike(const RowTable& table) {
    RowTable empty;
    for (const RowTableColumn& column : table.columns()) empty.addColumn(column.name, column.width);
    return empty;
}

// A school's class as one key: "一中 1" + "2" and "一中" + "1 2" stay apart.
std::string classKey(std::string_view school, std::string_view klass) {
    std::string key = std::to_string(school.size()) + ':';
    key += school;
    key += klass;
    return key;
}

}  // namespace

Exam::Exam(const AppState& state)
    : examName_(state.examNameText),
      scores_(state.scores),
      options_(state.exportOptions),
      imported_(state.imported),
      students_(&state.students),
      teachers_(&state.teachers),
      previous_(&state.previous),
      questionSheets_(&state.questionSheets) {
    if (options_.noRanks) {
        for (bool ExportOptions::*report : kPlaceReports) options_.*report = false;
    }
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
    const std::vector<int> extraColumns =
        examineExtraSubjects(scores_, imported_.extraColumns, state.students.columnCount(),
                             imported_.examSubjects, imported_.examFullMarkTotal);
    for (size_t k = 0; k < extraColumns.size(); ++k) {
        const std::string& name =
            imported_.examSubjects[imported_.examSubjects.size() - extraColumns.size() + k];
        subjects_.push_back(
            {name, extraColumns[k], scores_.extraFullMark(name), scores_.extraExcellenceLine(name)});
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

    // 计算赋分 in a senior grade: the scaled scores of the elective subjects from their raw ones;
    // with 按赋分统计 they are the scores the run counts, their totals formed anew.
    const auto grade = std::find(kGradeNames.begin(), kGradeNames.end(), imported_.gradeName);
    const bool scaledUsed = scores_.computeScaled && grade != kGradeNames.end() &&
                            grade - kGradeNames.begin() >= kSeniorGradeIndex;
    if (scaledUsed) {
        scaled_ = computeScaledScores(*students_, subjects_, imported_.scaledSubjects,
                                      scores_.scaleRule.value_or(defaultScaleRule()));
    }
    if (scaledUsed && state.importOptions.scaledScores && !scaled_->subjects.empty()) {
        RowTable counted = withExtraTotals(withScaledScores(*students_, *scaled_, subjects_), extraColumns);
        students_ = &counted_.emplace(std::move(counted));
    } else if (!extraColumns.empty()) {
        RowTable counted = withExtraTotals(*students_, extraColumns);
        students_ = &counted_.emplace(std::move(counted));
    }
    countPreviousInExtraSubjects(state);

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
    splitIntoTracks();
}

void Exam::splitIntoTracks() {
    if (!options_.byTrack) return;
    const RowTable& students = *students_;
    // Groups: the kTracks, then the students without a track.
    constexpr size_t kUntracked = std::size(kTracks);
    std::vector<std::vector<int>> groups(kUntracked + 1);
    std::vector<unsigned char> groupOf(static_cast<size_t>(students.rowCount()));
    for (int row = 0; row < students.rowCount(); ++row) {
        const std::string_view track = studentTrack(*this, row);
        size_t group = 0;
        while (group < kUntracked && track != kTracks[group]) ++group;
        groups[group].push_back(row);
        groupOf[static_cast<size_t>(row)] = static_cast<unsigned char>(group);
    }
    if (groups[kUntracked].size() == static_cast<size_t>(students.rowCount())) return;
    std::vector<unsigned char> indexOfGroup(groups.size());
    for (size_t group = 0; group < groups.size(); ++group) {
        if (groups[group].empty()) continue;
        indexOfGroup[group] = static_cast<unsigned char>(tracks_.size());
        ExamTrack& track = tracks_.emplace_back();
        track.name = group < kUntracked ? kTracks[group] : "";
        track.students = std::move(groups[group]);
        track.exam.reset(new Exam(*this, track.students));
    }
    trackOfStudent_.resize(groupOf.size());
    for (size_t s = 0; s < groupOf.size(); ++s) trackOfStudent_[s] = indexOfGroup[groupOf[s]];
}

Exam::Exam(const Exam& whole, const std::vector<int>& students)
    : examName_(whole.examName_),
      scores_(whole.scores_),
      options_(whole.options_),
      imported_(whole.imported_),
      teachersLeftOut_(whole.teachersLeftOut_),
      previous_(whole.previous_),
      questionSheets_(whole.questionSheets_) {
    const RowTable& all = whole.students();
    // The subjects some student of the track has a score in.
    std::vector<size_t> kept;
    for (size_t i = 0; i < whole.subjects_.size(); ++i) {
        if (std::any_of(students.begin(), students.end(), [&](int s) { return whole.score(s, i).sat; }))
            kept.push_back(i);
    }
    imported_.examSubjects.clear();
    for (size_t i : kept) {
        subjects_.push_back(whole.subjects_[i]);
        imported_.examSubjects.push_back(whole.subjects_[i].name);
    }

    RowTable& counted = counted_.emplace(emptyLike(all));
    imported_.classList.clear();
    std::vector<std::string> schools;
    std::set<std::string> classes;  // classKey of each class of the track
    std::map<int, int> studentsOfFullMark;
    for (int row : students) {
        const int index = counted.appendRow(all.row(row).texts());
        if (!all.hiddenCells(row).empty()) counted.setHiddenCells(index, all.hiddenCells(row));
        const std::string school(all.cellText(row, 0));
        classes.insert(classKey(school, all.cellText(row, 1)));
        if (std::find(schools.begin(), schools.end(), school) == schools.end()) schools.push_back(school);
        int fullMark = 0;
        for (size_t i : kept) {
            if (whole.score(row, i).sat) fullMark += std::max(whole.subjects_[i].fullMark, 0);
        }
        ++studentsOfFullMark[fullMark];
    }
    students_ = &counted;
    // The classes and schools of the track, in the whole exam's order.
    for (size_t i = 0; i < whole.imported_.classList.size(); ++i) {
        auto [school, klass] = whole.imported_.classList.parts(i);
        if (classes.count(classKey(school, klass)) != 0) imported_.classList.add(school, klass);
    }
    std::erase_if(imported_.schoolList, [&](const std::string& school) {
        return std::find(schools.begin(), schools.end(), school) == schools.end();
    });
    imported_.classCount = static_cast<int>(imported_.classList.size());
    imported_.studentCount = static_cast<int>(students.size());
    if (options_.blankScoresExcluded) {
        int most = 0;
        for (const auto& [fullMark, count] : studentsOfFullMark) {
            if (count >= most) {
                most = count;
                imported_.examFullMarkTotal = fullMark;
            }
        }
    }

    // The teacher rows of the track's classes.
    RowTable& teachers = teachersCounted_.emplace(emptyLike(whole.teachers()));
    for (int row = 0; row < whole.teachers().rowCount(); ++row) {
        const RowTable::RowView t = whole.teachers().row(row);
        if (classes.count(classKey(t[0], t[2])) != 0) teachers.appendRow(t.texts());
    }
    teachers_ = &teachers;
    imported_.teacherCount = teachers.rowCount();
    teachersOfExam_ = anyTeacherOfExam(teachers, imported_, subjects_);

    stride_ = subjects_.size() + 1;
    values_.resize(students.size() * stride_);
    sat_.resize(values_.size());
    for (size_t k = 0; k < students.size(); ++k) {
        for (size_t j = 0; j < stride_; ++j) {
            const ExamScore score =
                whole.score(students[k], j < kept.size() ? kept[j] : whole.subjects_.size());
            values_[k * stride_ + j] = score.value;
            sat_[k * stride_ + j] = score.sat;
        }
    }
}

void Exam::countPreviousInExtraSubjects(const AppState& state) {
    const PreviousExam& previous = state.previous;
    ScoreSettings scores = previous.scores;
    scores.extra = state.scores.extra;
    std::vector<std::string> examSubjects = previous.examSubjects;
    int fullMarkTotal = 0;
    const std::vector<int> columns = examineExtraSubjects(
        scores, previous.extraColumns, previous.students.columnCount(), examSubjects, fullMarkTotal);
    if (columns.empty()) return;
    PreviousExam& counted = previousCounted_.emplace();
    counted.workbook = previous.workbook;
    counted.sheetName = previous.sheetName;
    counted.students = withExtraTotals(previous.students, columns);
    counted.examSubjects = std::move(examSubjects);
    counted.scores = std::move(scores);
    counted.extraColumns = previous.extraColumns;
    counted.idColumns = previous.idColumns;
    previous_ = &counted;
}

std::string_view Exam::scoreText(int student, size_t subject) const {
    return students_->cellText(student,
                               subject < subjects_.size() ? subjects_[subject].column : kTotalColumn);
}

}  // namespace varnex
