#pragma once
// A student's total and the total's two lines as the progress and 临界生 reports judge them. Each
// comes from one function here, so that a rule that gives every student a total and lines of
// their own changes these two functions only.

#include <optional>
#include <string>
#include <vector>

#include "app/subjects.h"

namespace varnex {

/// The total of a StudentTable row: the value of its 总分 cell, or nothing when the cell is
/// empty (the student has no total and is not ranked).
std::optional<double> studentTotal(const std::vector<std::string>& row);

/// The excellence and pass lines of the total, in thousandths of a point.
struct TotalLines {
    long long excellent = 0;
    long long pass = 0;
};

/// The lines a student's total is judged by: the grade's total excellence score and 60 % of the
/// total full mark of `scores` (the settings as the exam used them).
TotalLines totalLinesOf(const ScoreSettings& scores, const std::vector<std::string>& row);

}  // namespace varnex
