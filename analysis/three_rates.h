#pragma once
// Three-rate statistics (优秀率, 及格率, 平均分 with their head counts): the thresholds, the
// counting rules, the texts of the figures and the formula shapes shared by the rate sheets.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/exam.h"
#include "app/row_table.h"
#include "app/subjects.h"
#include "base/text_util.h"

namespace varnex {

/// The value of a score text, read like the C library's atof: "" and "缺考" are 0.
inline double scoreValue(std::string_view text) {
    return cAtof(text);
}

/// Scores are compared with the excellence and pass lines in whole thousandths of a point, never
/// in binary floating point: F × P % is F × P × 10 thousandths exactly, while F × P × 0.01 in
/// double precision can land a hair above the line (120 × 88 % gives 105.60000000000001, and a
/// score of 105.6 would miss it). A score is typed with at most two or three decimals, so
/// rounding its value to the nearest thousandth gives exactly the number that was typed.
/// The value of a score in thousandths, rounded to the nearest and kept within ±10^15.
long long scoreThousandths(double value);
/// The excellence line of a subject in thousandths: F × P percent of the full mark, exactly.
long long excellenceLineThousandths(int fullMark, int percent);
/// The pass line of a subject or total in thousandths: 60 % of the full mark, exactly.
long long passLineThousandths(int fullMark);
/// A line of P percent of the full mark in thousandths (良好线, 低分线), exactly.
long long percentLineThousandths(int fullMark, int percent);

/// How one column of figures is counted: its thresholds and whether a "0" text sits out.
struct RateRule {
    long long excellentLine = 0;      ///< excellent when the score in thousandths >= excellentLine …
    bool excellentByInteger = false;  ///< … or, when set, when cAtoi(text) >= excellentScore
    int excellentScore = 0;
    long long passLine = 0;     ///< pass when the score in thousandths >= passLine
    long long goodLine = 0;     ///< 良好 when the score in thousandths >= goodLine
    long long lowLine = 0;      ///< 低分 when the score in thousandths < lowLine
    bool zeroExcluded = false;  ///< a text of exactly "0" is not counted as having sat
    /// A text that is no number ("", "缺考", "/") is not counted at all: the student did not sit.
    bool blankExcluded = false;

    bool isExcellent(std::string_view text) const;
    bool isPass(std::string_view text) const;
};

/// A subject's rule with its current full mark and excellence percent.
RateRule subjectRule(const ScoreSettings& scores, std::string_view subject, bool zeroExcluded,
                     bool blankExcluded = false);
/// The total's rule on the grade sheet: value against totalExcellenceScore, pass on the total
/// full mark of the import. Every student counts as having sat.
RateRule gradeTotalRule(const ScoreSettings& scores, int examFullMarkTotal);
/// The total's rule on the class sheet: the integer part of the total text against
/// totalExcellenceScore, pass on the current totalFullMark.
RateRule classTotalRule(const ScoreSettings& scores, bool zeroExcluded);

__extension__ using WideSum = __int128;

/// The figures of one group (school, class or teacher) for one subject or the total.
struct RateGroup {
    int satCount = 0;        ///< 实考人数
    int excellentCount = 0;  ///< 优秀人数
    int passCount = 0;       ///< 及格人数
    int goodCount = 0;       ///< 良好人数: at or above the 良好 line, the excellent ones included
    int lowCount = 0;        ///< 低分人数: below the 低分 line
    /// The sum of the scores in whole thousandths: exact for scores of up to three decimals, so that
    /// an average is the exact quotient before it is rounded.
    long long scoreSumThousandths = 0;
    /// The sum of the squared scores in thousandths squared, exact, for the spread.
    WideSum squareSum = 0;
    /// The highest and lowest score in thousandths of those counted as having sat (satCount > 0).
    long long highest = 0;
    long long lowest = 0;

    /// Counts one student's score text.
    void add(std::string_view text, const RateRule& rule);
    /// Counts one student's score: its number, and the text it was read as where a rule reads the
    /// text (a "0" that sits out, the integer part of a total).
    void add(ExamScore score, std::string_view text, const RateRule& rule);
    RateGroup& operator+=(const RateGroup& other);
};

/// A subject's share of a student's own 总分 lines: its column, full mark and excellence score.
struct TotalShare {
    int studentColumn = 0;
    int fullMark = 0;
    int excellenceScore = 0;  ///< full mark × excellence percent / 100, as the total's line adds it
    long long goodLine = 0;   ///< the subject's 良好 line in thousandths
    long long lowLine = 0;    ///< the subject's 低分 line in thousandths
};

/// The total's 良好 and 低分 lines: the sums of the shares' lines, in thousandths.
void setTotalGoodAndLowLines(RateRule& rule, const std::vector<TotalShare>& shares);

/// The shares of the exam subjects, for the rule that leaves blank scores out: a student's 总分
/// is judged against the full marks and excellence scores of the subjects they sat. An extra
/// subject's column is found among the table's `extraColumns`.
std::vector<TotalShare> totalShares(const ScoreSettings& scores, const std::vector<std::string>& examSubjects,
                                    const std::vector<std::string>& extraColumns = {});

/// The shares of the exam's subjects, share i the one of subject i.
std::vector<TotalShare> totalShares(const Exam& exam);

/// The total's `rule` for one student: its pass and excellence lines from the shares of the
/// subjects the student has a score in.
RateRule ownTotalRule(const RateRule& rule, const std::vector<TotalShare>& shares,
                      const RowTable::RowView& cells);
/// The total's `rule` for one student of the exam: its pass and excellence lines from the shares
/// (share i the one of subject i) of the subjects the student has a score in.
RateRule ownTotalRule(const RateRule& rule, const std::vector<TotalShare>& shares, const Exam& exam,
                      int student);

/// One counted column of a sheet: the exam subject read (subjects().size() for the total) and
/// the rule applied.
struct RateColumn {
    size_t subject = 0;
    RateRule rule;
    /// When not empty, each student's total is judged by ownTotalRule over these shares.
    std::vector<TotalShare> ownTotal;
};

/// The figures of every group over every counted column, filled in one pass over the students.
class RateTally {
  public:
    RateTally(size_t groupCount, std::vector<RateColumn> columns);
    /// Counts one student of the exam into a group.
    void addStudent(size_t group, const Exam& exam, int student);
    const RateGroup& at(size_t group, size_t column) const {
        return groups_[group * columns_.size() + column];
    }
    size_t columnCount() const { return columns_.size(); }

  private:
    std::vector<RateColumn> columns_;
    std::vector<RateGroup> groups_;
};

/// An unambiguous look-up key for a tuple of texts (each part is prefixed with its length).
std::string groupKey(std::initializer_list<std::string_view> parts);

}  // namespace varnex
