#include "analysis/student_total.h"

#include "base/text_util.h"

namespace varnex {

TotalJudge::TotalJudge(const ScoreSettings& scores, const std::vector<std::string>& examSubjects,
                       bool blankExcluded, const std::vector<std::string>& extraColumns)
    : grade_{static_cast<long long>(scores.totalExcellenceScore()) * 1000,
             passLineThousandths(scores.totalFullMark())} {
    if (blankExcluded) shares_ = totalShares(scores, examSubjects, extraColumns);
}

TotalJudge::TotalJudge(const Exam& exam)
    : TotalJudge(exam.scores(), exam.subjectNames(), exam.blankScoresExcluded(),
                 exam.imported().extraColumns) {}

std::optional<double> TotalJudge::totalOf(const RowTable::RowView& row) const {
    const std::string_view text = row[static_cast<size_t>(kTotalColumn)];
    if (text.empty()) return std::nullopt;
    if (ownLines()) {
        bool scored = false;
        for (const TotalShare& share : shares_) {
            const size_t column = static_cast<size_t>(share.studentColumn);
            if (column < row.size() && startsWithNumber(row[column])) scored = true;
        }
        if (!scored) return std::nullopt;
    }
    return scoreValue(text);
}

std::optional<double> TotalJudge::totalOf(const Exam& exam, int student) const {
    const size_t total = exam.subjects().size();
    if (exam.scoreText(student, total).empty()) return std::nullopt;
    if (ownLines()) {
        bool scored = false;
        for (size_t i = 0; i < total; ++i) scored = scored || exam.score(student, i).sat;
        if (!scored) return std::nullopt;
    }
    return exam.total(student).value;
}

TotalLines TotalJudge::linesOf(const RowTable::RowView& row) const {
    if (!ownLines()) return grade_;
    RateRule own = ownTotalRule(RateRule{}, shares_, row);
    return {own.excellentLine, own.passLine};
}

}  // namespace varnex
