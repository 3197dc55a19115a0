#include "analysis/rates.h"

#include <cmath>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace varnex {

namespace {

// Index of the first occurrence of each text.
template <typename Texts, typename TextOf>
std::unordered_map<std::string_view, size_t> firstIndexes(const Texts& texts, TextOf textOf) {
    std::unordered_map<std::string_view, size_t> index;  // views of `texts`
    for (size_t i = 0; i < texts.size(); ++i) index.emplace(textOf(texts[i]), i);
    return index;
}

// The counted columns of a sheet: every exam subject by its own rule, then the total by
// `totalRule`, judged against each student's own subjects when blank scores are left out.
// The total's 良好 and 低分 lines are the sums of the exam subjects' lines.
std::vector<RateColumn> rateColumns(const Exam& exam, bool zeroExcluded, RateRule totalRule) {
    const bool blankExcluded = exam.blankScoresExcluded();
    std::vector<RateColumn> columns;
    for (size_t i = 0; i < exam.subjects().size(); ++i)
        columns.push_back(
            {i, subjectRule(exam.scores(), exam.subjects()[i].name, zeroExcluded, blankExcluded)});
    std::vector<TotalShare> shares = totalShares(exam);
    setTotalGoodAndLowLines(totalRule, shares);
    columns.push_back(
        {exam.subjects().size(), totalRule, blankExcluded ? std::move(shares) : std::vector<TotalShare>{}});
    return columns;
}

std::vector<RateGroup> figuresOf(const RateTally& tally, size_t group) {
    std::vector<RateGroup> figures;
    for (size_t c = 0; c < tally.columnCount(); ++c) figures.push_back(tally.at(group, c));
    return figures;
}

}  // namespace

std::vector<SchoolRates> gradeRates(const Exam& exam) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    // One group per distinct school name.
    std::unordered_map<std::string_view, size_t> groupOfSchool;  // views of `schools`
    std::vector<size_t> groupOfEntry;
    for (const std::string& school : schools)
        groupOfEntry.push_back(groupOfSchool.emplace(school, groupOfSchool.size()).first->second);
    RateTally tally(
        groupOfSchool.size(),
        rateColumns(exam, false, gradeTotalRule(exam.scores(), exam.imported().examFullMarkTotal)));
    std::vector<int> studentCount(groupOfSchool.size(), 0);
    const RowTable& students = exam.students();
    for (int r = 0; r < students.rowCount(); ++r) {
        auto it = groupOfSchool.find(students.cellText(r, 0));
        if (it == groupOfSchool.end()) continue;
        ++studentCount[it->second];
        tally.addStudent(it->second, exam, r);
    }
    std::vector<SchoolRates> rates;
    for (size_t group : groupOfEntry) rates.push_back({studentCount[group], figuresOf(tally, group)});
    return rates;
}

std::vector<ClassRates> classRates(const Exam& exam) {
    const ClassList& classes = exam.imported().classList;
    const bool zeroExcluded = exam.options().ignoreZeroScores;
    std::unordered_map<std::string, size_t> groupOfClass;
    for (size_t j = 0; j < classes.size(); ++j) {
        auto [school, className] = classes.parts(j);
        groupOfClass.emplace(groupKey({school, className}), j);
    }
    RateTally tally(classes.size(),
                    rateColumns(exam, zeroExcluded, classTotalRule(exam.scores(), zeroExcluded)));
    const RowTable& students = exam.students();
    for (int r = 0; r < students.rowCount(); ++r) {
        const RowTable::RowView cells = students.row(r);
        auto it = groupOfClass.find(groupKey({cells[0], cells[1]}));
        if (it != groupOfClass.end()) tally.addStudent(it->second, exam, r);
    }

    // The subject teachers of the grade: the first teacher row for school, class and subject.
    std::unordered_map<std::string, std::string> teacherOf;
    const RowTable& teachers = exam.teachers();
    for (int r = 0; r < teachers.rowCount(); ++r) {
        const RowTable::RowView t = teachers.row(r);
        if (!exam.imported().ofImportedGrade(t[1])) continue;
        teacherOf.emplace(groupKey({t[0], t[2], t[3]}), t[4]);
    }
    std::vector<ClassRates> rates;
    for (size_t j = 0; j < classes.size(); ++j) {
        auto [school, className] = classes.parts(j);
        ClassRates& entry = rates.emplace_back();
        entry.figures = figuresOf(tally, j);
        for (const ExamSubject& subject : exam.subjects()) {
            auto it = teacherOf.find(groupKey({school, className, subject.name}));
            entry.teachers.push_back(it == teacherOf.end() ? std::string() : it->second);
        }
    }
    return rates;
}

namespace {

// A teacher row of the table being built: the teacher-table rows (classes) assigned to them.
struct TeacherFound {
    std::vector<int> assignmentRows;
    std::unordered_set<std::string> classes;  ///< the 班级 texts of assignmentRows
};

// The students of each (school, class) that one of the `rows` names, from one pass over the
// students, in the order of the student table.
class AssignedStudents {
  public:
    AssignedStudents(const Exam& exam, const std::vector<int>& rows)
        : groupOfAssignment_(static_cast<size_t>(exam.teachers().rowCount()), 0) {
        std::unordered_map<std::string, size_t> groupOfClass;
        for (int r : rows) {
            const RowTable::RowView t = exam.teachers().row(r);
            auto it = groupOfClass.emplace(groupKey({t[0], t[2]}), groupOfClass.size()).first;
            groupOfAssignment_[static_cast<size_t>(r)] = it->second;
        }
        studentsOfClass_.resize(groupOfClass.size());
        const RowTable& students = exam.students();
        for (int r = 0; r < students.rowCount(); ++r) {
            const RowTable::RowView cells = students.row(r);
            auto it = groupOfClass.find(groupKey({cells[0], cells[1]}));
            if (it != groupOfClass.end()) studentsOfClass_[it->second].push_back(r);
        }
    }
    /// The students of the class that teacher row `assignmentRow` names.
    const std::vector<int>& of(int assignmentRow) const {
        return studentsOfClass_[groupOfAssignment_[static_cast<size_t>(assignmentRow)]];
    }

  private:
    std::vector<size_t> groupOfAssignment_;
    std::vector<std::vector<int>> studentsOfClass_;
};

}  // namespace

TeacherRateTable teacherRates(const Exam& exam) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const auto subjectIndex =
        firstIndexes(subjects, [](const ExamSubject& s) -> std::string_view { return s.name; });
    const auto schoolIndex =
        firstIndexes(exam.imported().schoolList, [](const std::string& s) -> std::string_view { return s; });
    TeacherRateTable table;
    table.schoolCount = exam.imported().schoolList.size();
    table.lists.resize(subjects.size() * table.schoolCount);
    std::vector<std::vector<TeacherFound>> found(table.lists.size());
    std::unordered_map<std::string, size_t> entryOfKey;
    std::vector<int> assignmentRows;
    const RowTable& teachers = exam.teachers();
    for (int r = 0; r < teachers.rowCount(); ++r) {
        const RowTable::RowView t = teachers.row(r);
        if (!exam.imported().ofImportedGrade(t[1])) continue;
        auto subject = subjectIndex.find(t[3]);
        auto school = schoolIndex.find(t[0]);
        if (subject == subjectIndex.end() || school == schoolIndex.end()) continue;
        const size_t list = subject->second * table.schoolCount + school->second;
        auto [it, added] = entryOfKey.emplace(groupKey({t[3], t[0], t[4]}), table.lists[list].size());
        if (added) {
            table.lists[list].push_back({std::string(t[4]), {}, {}});
            found[list].emplace_back();
            ++table.teacherCount;
        }
        TeacherFound& entry = found[list][it->second];
        if (!entry.classes.insert(std::string(t[2])).second) continue;
        entry.assignmentRows.push_back(r);
        assignmentRows.push_back(r);
        table.lists[list][it->second].classes.emplace_back(t[2]);
    }

    // A teacher's figures add the students one by one, class after class, so that the score sum
    // is the very same double as when the classes are read one after the other.
    const AssignedStudents students(exam, assignmentRows);
    for (size_t list = 0; list < table.lists.size(); ++list) {
        const size_t subject = list / (table.schoolCount == 0 ? 1 : table.schoolCount);
        const RateRule rule = subjectRule(exam.scores(), subjects[subject].name,
                                          exam.options().ignoreZeroScores, exam.blankScoresExcluded());
        for (size_t e = 0; e < table.lists[list].size(); ++e) {
            RateGroup& figures = table.lists[list][e].figures;
            for (int r : found[list][e].assignmentRows) {
                for (int student : students.of(r))
                    figures.add(exam.score(student, subject), exam.scoreText(student, subject), rule);
            }
        }
    }
    return table;
}

std::vector<RateGroup> gradeReference(const Exam& exam) {
    RateTally tally(
        1, rateColumns(exam, false, gradeTotalRule(exam.scores(), exam.imported().examFullMarkTotal)));
    for (int r = 0; r < exam.studentCount(); ++r) tally.addStudent(0, exam, r);
    return figuresOf(tally, 0);
}

ClassReference classReference(const Exam& exam) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const bool zeroExcluded = exam.options().ignoreZeroScores;
    // One group per distinct school name, the exam last.
    std::unordered_map<std::string_view, size_t> groupOfSchool;  // views of `schools`
    std::vector<size_t> groupOfEntry;
    for (const std::string& school : schools)
        groupOfEntry.push_back(groupOfSchool.emplace(school, groupOfSchool.size()).first->second);
    const size_t examGroup = groupOfSchool.size();
    RateTally tally(examGroup + 1,
                    rateColumns(exam, zeroExcluded, classTotalRule(exam.scores(), zeroExcluded)));
    const RowTable& students = exam.students();
    for (int r = 0; r < students.rowCount(); ++r) {
        tally.addStudent(examGroup, exam, r);
        auto it = groupOfSchool.find(students.cellText(r, 0));
        if (it != groupOfSchool.end()) tally.addStudent(it->second, exam, r);
    }
    ClassReference reference;
    for (size_t group : groupOfEntry) reference.schools.push_back(figuresOf(tally, group));
    reference.exam = figuresOf(tally, examGroup);
    return reference;
}

std::optional<double> aboveAverageRate(const RateGroup& group, const RateGroup& reference) {
    if (group.satCount == 0 || reference.satCount == 0 || reference.scoreSumThousandths == 0)
        return std::nullopt;
    // (a / n - b / m) / (b / m) = (a m - b n) / (b n), in whole thousandths until the division.
    const WideSum a = group.scoreSumThousandths, b = reference.scoreSumThousandths;
    const WideSum n = group.satCount, m = reference.satCount;
    return static_cast<double>(static_cast<long double>(a * m - b * n) / static_cast<long double>(b * n) *
                               100);
}

std::optional<double> standardDeviation(const RateGroup& group) {
    if (group.satCount == 0) return std::nullopt;
    // n Σx² - (Σx)², exact in thousandths squared, over n²; never below 0.
    const WideSum n = group.satCount;
    const WideSum sum = group.scoreSumThousandths;
    const WideSum spread = n * group.squareSum - sum * sum;
    if (spread <= 0) return 0.0;
    const long double variance = static_cast<long double>(spread) / static_cast<long double>(n * n);
    return static_cast<double>(std::sqrt(variance) / 1000);
}

}  // namespace varnex
