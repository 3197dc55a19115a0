#pragma once
// The part of the exam a workbook shows: the whole exam, one school or one class. The figures are
// always those of the whole exam (a class's rate, a school's place among the schools, a student's
// place in the grade); the scope only chooses which of their rows and columns a sheet writes, so
// that a school's or a class's own workbook shows the very figures of the whole one.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/exam.h"

namespace varnex {

class SheetScope {
  public:
    enum class Kind { WholeExam, School, Class };

    /// The whole exam.
    SheetScope() = default;
    static SheetScope ofSchool(std::string school) { return {Kind::School, std::move(school), {}}; }
    static SheetScope ofClass(std::string school, std::string klass) {
        return {Kind::Class, std::move(school), std::move(klass)};
    }

    Kind kind() const { return kind_; }
    bool wholeExam() const { return kind_ == Kind::WholeExam; }
    const std::string& school() const { return school_; }
    const std::string& klass() const { return class_; }

    /// True when the rows of this school (its 学校 text) are shown.
    bool showsSchool(std::string_view school) const { return wholeExam() || school == school_; }
    /// True when the rows of this class (its 学校 and 班级 texts) are shown.
    bool showsClass(std::string_view school, std::string_view klass) const {
        return showsSchool(school) && (kind_ != Kind::Class || klass == class_);
    }
    /// True when the exam's student `student` is listed.
    bool showsStudent(const Exam& exam, int student) const {
        return wholeExam() ||
               showsClass(exam.students().cellText(student, 0), exam.students().cellText(student, 1));
    }

    /// The SchoolList entries whose rows or columns are shown: every entry for the whole exam,
    /// otherwise the first entry of the scope's school (none when the list does not name it).
    std::vector<size_t> shownSchools(const std::vector<std::string>& schoolList) const;
    /// The ClassList entries shown, in list order.
    std::vector<size_t> shownClasses(const ClassList& classList) const;
    /// True when a sheet of groups adds its row or column of the whole exam (全体, 合计): with two
    /// schools or more, and always in a part's own workbook, for comparison.
    bool showsWholeExam(size_t schoolCount) const { return !wholeExam() || schoolCount >= 2; }

    /// The elements of `rows` whose student (`studentOf(row)`, an index in the exam's students) is
    /// listed, in their order.
    template <typename Row, typename StudentOf>
    std::vector<Row> studentsShown(const Exam& exam, const std::vector<Row>& rows,
                                   StudentOf studentOf) const {
        if (wholeExam()) return rows;
        std::vector<Row> shown;
        for (const Row& row : rows) {
            if (showsStudent(exam, studentOf(row))) shown.push_back(row);
        }
        return shown;
    }

  private:
    SheetScope(Kind kind, std::string school, std::string klass)
        : kind_(kind), school_(std::move(school)), class_(std::move(klass)) {}

    Kind kind_ = Kind::WholeExam;
    std::string school_;
    std::string class_;
};

/// One figure of every group of a block as the whole sheet's formulas read it, the place RANK gives
/// each (1, 2, 2, 4 from the highest, or with `ascending` from the lowest; 0 without a value) and
/// their mean as AVERAGE takes it (the values in order, none when there is none): worked out once
/// for all the parts' workbooks.
struct RankedFigures {
    std::vector<std::optional<double>> values;
    std::vector<int> places;
    std::optional<double> mean;
};
RankedFigures rankedFigures(std::vector<std::optional<double>> values, bool ascending = false);

/// The place of entry `index` among `values` counted from the highest (1, 2, 2, 4), or with
/// `ascending` from the lowest, as a RANK formula over the same values counts it; entries without a
/// value take no place and are passed over. 0 when `index` has no value.
int placeAmong(const std::vector<std::optional<double>>& values, size_t index, bool ascending = false);

}  // namespace varnex
