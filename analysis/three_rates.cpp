#include "analysis/three_rates.h"

#include <limits>
#include <utility>

#include "base/rounding.h"

namespace varnex {

long long scoreThousandths(double value) {
    return toThousandths(value);
}

namespace {

// A sum of thousandths that stops at the largest integers instead of overflowing.
long long addThousandths(long long sum, long long value) {
    long long result = 0;
    if (!__builtin_add_overflow(sum, value, &result)) return result;
    return value > 0 ? std::numeric_limits<long long>::max() : std::numeric_limits<long long>::min();
}

}  // namespace

long long excellenceLineThousandths(int fullMark, int percent) {
    // F × P hundredths of a point; widened so that absurd settings cannot overflow.
    return static_cast<long long>(fullMark) * percent * 10;
}

long long passLineThousandths(int fullMark) {
    return static_cast<long long>(fullMark) * 600;
}

bool RateRule::isExcellent(std::string_view text) const {
    if (excellentByInteger) return cAtoi(text) >= excellentScore;
    return scoreThousandths(scoreValue(text)) >= excellentLine;
}

bool RateRule::isPass(std::string_view text) const {
    return scoreThousandths(scoreValue(text)) >= passLine;
}

RateRule subjectRule(const ScoreSettings& scores, std::string_view subject, bool zeroExcluded,
                     bool blankExcluded) {
    RateRule rule;
    rule.blankExcluded = blankExcluded;
    int fullMark = scores.fullMarkOf(subject);
    rule.excellentLine = excellenceLineThousandths(fullMark, scores.excellenceLineOf(subject));
    rule.passLine = passLineThousandths(fullMark);
    rule.zeroExcluded = zeroExcluded;
    return rule;
}

RateRule gradeTotalRule(const ScoreSettings& scores, int examFullMarkTotal) {
    RateRule rule;
    // totalExcellenceScore is an absolute score, already in whole points.
    rule.excellentLine = static_cast<long long>(scores.totalExcellenceScore()) * 1000;
    rule.passLine = passLineThousandths(examFullMarkTotal);
    return rule;
}

RateRule classTotalRule(const ScoreSettings& scores, bool zeroExcluded) {
    RateRule rule;
    rule.excellentByInteger = true;
    rule.excellentScore = scores.totalExcellenceScore();
    rule.passLine = passLineThousandths(scores.totalFullMark());
    rule.zeroExcluded = zeroExcluded;
    return rule;
}

std::vector<TotalShare> totalShares(const ScoreSettings& scores, const std::vector<std::string>& examSubjects,
                                    const std::vector<std::string>& extraColumns) {
    std::vector<TotalShare> shares;
    for (const std::string& subject : examSubjects) {
        const int column = columnOfSubject(subject, extraColumns);
        if (column == kTotalColumn) continue;
        const int fullMark = scores.fullMarkOf(subject);
        const int line = scores.excellenceLineOf(subject);
        // As totalExcellenceScore adds them: only a positive full mark with a line in 1..99.
        const int excellence = fullMark > 0 && line >= 1 && line <= 99 ? fullMark * line / 100 : 0;
        shares.push_back({column, fullMark > 0 ? fullMark : 0, excellence});
    }
    return shares;
}

namespace {

// The total's rule from the full mark and excellence score of the subjects a student sat.
RateRule ownRule(const RateRule& rule, int fullMark, int excellence) {
    RateRule own = rule;
    own.passLine = passLineThousandths(fullMark);
    if (own.excellentByInteger) {
        own.excellentScore = excellence;
    } else {
        own.excellentLine = static_cast<long long>(excellence) * 1000;
    }
    return own;
}

}  // namespace

RateRule ownTotalRule(const RateRule& rule, const std::vector<TotalShare>& shares,
                      const RowTable::RowView& cells) {
    int fullMark = 0, excellence = 0;
    for (const TotalShare& share : shares) {
        const size_t column = static_cast<size_t>(share.studentColumn);
        if (column >= cells.size() || !startsWithNumber(cells[column])) continue;
        fullMark += share.fullMark;
        excellence += share.excellenceScore;
    }
    return ownRule(rule, fullMark, excellence);
}

std::vector<TotalShare> totalShares(const Exam& exam) {
    return totalShares(exam.scores(), exam.subjectNames(), exam.imported().extraColumns);
}

RateRule ownTotalRule(const RateRule& rule, const std::vector<TotalShare>& shares, const Exam& exam,
                      int student) {
    int fullMark = 0, excellence = 0;
    for (size_t i = 0; i < shares.size(); ++i) {
        if (!exam.score(student, i).sat) continue;
        fullMark += shares[i].fullMark;
        excellence += shares[i].excellenceScore;
    }
    return ownRule(rule, fullMark, excellence);
}

void RateGroup::add(std::string_view text, const RateRule& rule) {
    add(ExamScore{scoreValue(text), startsWithNumber(text)}, text, rule);
}

void RateGroup::add(ExamScore score, std::string_view text, const RateRule& rule) {
    if (rule.blankExcluded && !score.sat) return;
    const long long thousandths = scoreThousandths(score.value);
    scoreSumThousandths = addThousandths(scoreSumThousandths, thousandths);
    if (!(rule.zeroExcluded && text == "0")) ++satCount;
    bool excellent =
        rule.excellentByInteger ? cAtoi(text) >= rule.excellentScore : thousandths >= rule.excellentLine;
    if (excellent) ++excellentCount;
    if (thousandths >= rule.passLine) ++passCount;
}

RateGroup& RateGroup::operator+=(const RateGroup& other) {
    satCount += other.satCount;
    excellentCount += other.excellentCount;
    passCount += other.passCount;
    scoreSumThousandths = addThousandths(scoreSumThousandths, other.scoreSumThousandths);
    return *this;
}

RateTally::RateTally(size_t groupCount, std::vector<RateColumn> columns)
    : columns_(std::move(columns)), groups_(groupCount * columns_.size()) {}

void RateTally::addStudent(size_t group, const Exam& exam, int student) {
    RateGroup* figures = &groups_[group * columns_.size()];
    for (size_t c = 0; c < columns_.size(); ++c) {
        const RateColumn& column = columns_[c];
        const ExamScore score = exam.score(student, column.subject);
        const std::string_view text = exam.scoreText(student, column.subject);
        if (column.ownTotal.empty()) {
            figures[c].add(score, text, column.rule);
        } else {
            figures[c].add(score, text, ownTotalRule(column.rule, column.ownTotal, exam, student));
        }
    }
}

std::string groupKey(std::initializer_list<std::string_view> parts) {
    std::string key;
    for (std::string_view part : parts) {
        key += std::to_string(part.size());
        key += ':';
        key += part;
    }
    return key;
}

}  // namespace varnex
