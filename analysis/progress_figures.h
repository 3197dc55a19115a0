#pragma once
// The figures of the progress sheets: each paired student's places in both exams, and each class's
// average, excellence rate and pass rate in both exams with their places among the classes.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "analysis/progress.h"

namespace varnex {

/// A student of this exam paired with one of the previous exam.
struct StudentProgress {
    int student = 0;        ///< index in the exam's students
    int previous = 0;       ///< row of the previous exam's students
    int place = 0;          ///< place in the grade this time; 0 when not ranked
    int previousPlace = 0;  ///< place in the grade last time; 0 when not ranked
    /// previousPlace − place (a move up is positive), when ranked in both exams.
    std::optional<int> change;
};

/// The paired students by school (SchoolList order), class (ClassList order), track (the exam's
/// tracks, when it has them) and change, the largest move up first; students not ranked in one of the exams
/// after the others of their class, then the exam's order.
std::vector<StudentProgress> studentProgress(const Exam& exam, const ProgressPairing& pairing);

/// A paired student's 总分 level in both exams (不公布名次 shows them instead of places).
struct StudentLevelProgress {
    int student = 0;            ///< index in the exam's students
    int previous = 0;           ///< row of the previous exam's students
    int level = -1;             ///< level this time (0 the best); -1 without a total
    int previousLevel = -1;     ///< level last time; -1 without a total
    std::optional<int> change;  ///< previousLevel − level (a move up is positive), when both are there
};

/// The paired students by school (SchoolList order), class (ClassList order) and change of level,
/// the largest move up first; students without a level in one of the exams after the others of
/// their class, then the exam's order. `levels` and `previousLevels` the 总分 levels of the
/// exam's students and of the previous exam's rows.
std::vector<StudentLevelProgress> studentLevelProgress(const Exam& exam, const ProgressPairing& pairing,
                                                       const std::vector<int>& levels,
                                                       const std::vector<int>& previousLevels);

/// The figures of a class, in this order.
enum class ClassFigure { Average, ExcellentRate, PassRate };
inline constexpr size_t kClassFigureCount = 3;

/// One figure of one class in one column, this time and last time.
struct ProgressFigure {
    /// The figure rounded to one decimal (half away from zero), as written; nothing when nobody
    /// of the class sat.
    std::optional<double> now, last;
    int nowPlace = 0, lastPlace = 0;  ///< competition places among the classes; 0 without the figure
    /// now − last, with one decimal, when both are there.
    std::optional<double> change;
    /// lastPlace − nowPlace, when both are there.
    std::optional<int> placeChange;
};

/// Per class and column (the subjects of both exams, then 总分) the three figures this time (the
/// exam's students) and last time (the scores of their paired students in the previous exam).
struct ClassProgressTable {
    std::vector<std::string> columns;   ///< the subjects examined in both exams, then 总分
    std::vector<std::string> thisOnly;  ///< subjects of this exam only, not compared
    std::vector<std::string> lastOnly;  ///< subjects of the previous exam only, not compared
    size_t classCount = 0;
    /// Per ClassList entry, per column, per ClassFigure.
    std::vector<std::array<ProgressFigure, kClassFigureCount>> figures;

    const std::array<ProgressFigure, kClassFigureCount>& at(size_t classIndex, size_t column) const {
        return figures[classIndex * columns.size() + column];
    }
};

ClassProgressTable classProgress(const Exam& exam, const ProgressPairing& pairing);

}  // namespace varnex
