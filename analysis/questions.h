#pragma once
// 小题分析: per question of a subject's question-score sheet, for the exam, each school and each
// class, the average, the share of the full mark scored (得分率), the shares of students with full
// and with no marks; for the exam and each school the discrimination of each question; for the
// exam Cronbach's α over the questions. Students are those of the score sheet paired with the
// question sheet as the previous exam is paired; the others are listed, not counted.

#include <optional>
#include <string>
#include <vector>

#include "analysis/exam.h"
#include "app/question_scores.h"

namespace varnex {

/// One question's figures in one group; the shares are fractions (0.25 for 25 %).
struct QuestionFigures {
    int counted = 0;  ///< students with a score that counts on it
    double average = 0;
    double rate = 0;  ///< 得分率 = average / full mark, also its 难度
    double fullRate = 0;
    double zeroRate = 0;
};

/// The figures of one group (the exam, a school, a class), per question.
struct QuestionGroup {
    int students = 0;  ///< students of the group paired with the question sheet
    std::vector<QuestionFigures> questions;
    /// Per question, the 得分率 of the top group minus that of the bottom group (extremeGroups);
    /// nothing for a class, or when a group has no score on it.
    std::vector<std::optional<double>> discrimination;
};

/// The top and bottom groups of students ranked by their sums, by index into `sums`: the top and
/// bottom 27 % (rounded, at least one) of 20 students or more, the halves (rounded down) of fewer;
/// a student whose sum equals that of the last one taken into a group belongs to it too, so that
/// equal sums are never split at a cut (the groups may then be larger, and may share students when
/// the sums tie across the middle). Both empty for fewer than two students.
struct ExtremeGroups {
    std::vector<size_t> top;
    std::vector<size_t> bottom;
};
ExtremeGroups extremeGroups(const std::vector<double>& sums);

/// Cronbach's α of a table of scores (one row per student, one column per question, every cell
/// there): k / (k − 1) × (1 − Σ item variances / variance of the sums), variances over the
/// students. Nothing for fewer than two questions or students, or sums that do not vary.
std::optional<double> cronbachAlpha(const std::vector<std::vector<double>>& scores);

/// The quality word of a discrimination: ≥ 0.40 很好, ≥ 0.30 较好, ≥ 0.20 需修改, else 较差.
const char* discriminationWord(double d);

/// Everything the 小题分析 and 小题明细 sheets of one subject show.
struct QuestionAnalysis {
    const QuestionScores* sheet = nullptr;
    /// Per student of the exam, the row of the question sheet that is the same student, or -1.
    std::vector<int> rowOf;
    QuestionGroup exam;
    std::vector<QuestionGroup> schools;  ///< SchoolList order
    std::vector<QuestionGroup> classes;  ///< ClassList order
    std::optional<double> alpha;
    int alphaStudents = 0;  ///< students with a score on every question, over whom α is taken
    int matched = 0;
    /// The log line of the pairing: how many were paired, and who of either sheet was not (up to
    /// 20 names each); "" when everyone was paired.
    std::string unmatchedNote;
};

/// The figures of one subject's question sheet for the exam.
QuestionAnalysis analyseQuestions(const Exam& exam, const QuestionScores& sheet);

}  // namespace varnex
