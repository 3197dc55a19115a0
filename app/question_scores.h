#pragma once
// The scores of each question of one subject, read from a question-score sheet (one column per
// question, as marking platforms give them), and the way full marks of questions are written:
// "1~12=5,13~16=5,17(1)=4".

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/row_table.h"
#include "base/result.h"

namespace varnex {

/// Where one subject's question scores come from: the workbook, its worksheet, the subject and,
/// when given, the questions' full marks in the written form (which the sheet's 满分 row overrides).
struct QuestionSource {
    std::string path;
    std::string sheet;
    std::string subject;
    std::string marks;
};

/// One subject's question scores as read: the questions in sheet order (labels "17" or "17(1)"),
/// their full marks, the subtotal columns the sheet had (kept apart, never counted), and per
/// student the school, class and name (a StudentTable row, 考号 and 学号 hidden) and a score per
/// question.
struct QuestionScores {
    QuestionSource source;
    std::vector<std::string> questions;
    std::vector<double> fullMarks;
    std::vector<std::string> subtotals;
    RowTable students;
    std::array<bool, 2> idColumns{};
    /// Row after row, one value per question; NaN for a blank cell or a text such as 缺考.
    std::vector<float> scores;

    int studentCount() const { return students.rowCount(); }
    /// The student's score on question q, or nothing for a blank cell.
    std::optional<double> score(int student, size_t q) const {
        const float v = scores[static_cast<size_t>(student) * questions.size() + q];
        return std::isnan(v) ? std::nullopt : std::optional<double>(v);
    }
    /// The score as an export counts it: a blank cell is a 0, or nothing when blank scores are
    /// left out.
    std::optional<double> counted(int student, size_t q, bool blankScoresExcluded) const {
        const std::optional<double> v = score(student, q);
        return v || blankScoresExcluded ? v : std::optional<double>(0);
    }
};

/// The label of a question column's header text (normalised: no blanks, ASCII digits and
/// parentheses): "17" for "17", "第17题" or "17题"; "17(1)" for "17(1)", "第17题(1)" or "17-1";
/// "" for any other text.
std::string questionLabel(std::string_view normalised);

/// One full mark as written: the question's label and the mark.
struct QuestionMark {
    std::string question;
    double mark = 0;
};

/// Reads "1~12=5,13~16=5,17(1)=4" (also with "，", "～", "-" between the ends of a range of whole
/// questions, and blanks anywhere): every question of a range gets the mark. A mark is a positive
/// number of at most 1000. The failure names the item that cannot be read.
Result<std::vector<QuestionMark>> parseQuestionMarks(std::string_view text);

/// The written form of the questions' full marks, runs of whole questions with one mark as ranges
/// ("1~12=5,17(1)=4"); parseQuestionMarks reads it back.
std::string questionMarksText(const std::vector<std::string>& questions, const std::vector<double>& marks);

}  // namespace varnex
