#pragma once
// 计算赋分: the scaled scores of the elective subjects (化学, 生物, 政治, 地理), computed from their
// raw scores over every student of the exam who has one. The students are graded by share as the
// 等级 by share (levelsByShare), then each raw score is mapped linearly from the range of raw
// scores of its grade onto the grade's range of the rule, and rounded half up to a whole point.

#include <cstddef>
#include <string>
#include <vector>

#include "app/row_table.h"
#include "app/scale_rules.h"

namespace varnex {

struct ExamSubject;

/// The scaled score of a raw score in a grade whose raw scores run from `lowest` to `highest` (all
/// three in thousandths of a point): T1 + (T2 − T1)·(Y − Y1)/(Y2 − Y1), rounded half up; the top of
/// the grade's range when every raw score of the grade is the same.
int scaledScore(long long raw, long long lowest, long long highest, const ScaleGrade& grade);

/// One scaled subject: per student of the table, the grade (-1 without a score) and the scaled
/// score, beside the raw score in thousandths.
struct ScaledSubject {
    std::string name;
    size_t subject = 0;  ///< its index among the exam's subjects
    int counted = 0;     ///< the students with a score
    std::vector<signed char> grade;
    std::vector<short> scaled;
    std::vector<int> raw;
};

/// The scaled subjects of an exam and what is said about those that are not.
struct ScaledScores {
    ScaleRule rule;
    std::vector<ScaledSubject> subjects;  ///< in the order of the exam's subjects
    std::vector<std::string> notes;       ///< the log lines: subjects not scaled, and why
};

/// The scaled scores of the examined elective subjects of `students` (a StudentTable), by `rule`.
/// A subject in `readFromScaled` holds the sheet's own scaled scores and is not scaled again; a
/// subject with fewer than kLeastScaledStudents students with a score, or whose full mark is below
/// the rule's highest scaled score, is not scaled.
ScaledScores computeScaledScores(const RowTable& students, const std::vector<ExamSubject>& subjects,
                                 const std::vector<std::string>& readFromScaled, const ScaleRule& rule);

/// A copy of the table with the scaled subjects' cells holding their scaled scores (a student
/// without a score keeps the cell as it is).
RowTable withScaledScores(const RowTable& students, const ScaledScores& scaled,
                          const std::vector<ExamSubject>& subjects);

}  // namespace varnex
