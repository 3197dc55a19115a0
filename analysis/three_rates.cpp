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

long long percentLineThousandths(int fullMark, int percent) {
    return static_cast<long long>(fullMark) * percent * 10;
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
    rule.goodLine = percentLineThousandths(fullMark, scores.goodLineOf(subject));
    rule.lowLine = percentLineThousandths(fullMark, scores.lowLineOf(subject));
    rule.zeroExcluded = zeroExcluded;
    return rule;
}

void setTotalGoodAndLowLines(RateRule& rule, const std::vector<TotalShare>& shares) {
    rule.goodLine = 0;
    rule.lowLine = 0;
    for (const TotalShare& share : shares) {
        rule.goodLine += share.goodLine;
        rule.lowLine += share.lowLine;
    }
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
        const int counted = fullMark > 0 ? fullMark : 0;
        shares.push_back({column, counted, excellence,
                          percentLineThousandths(counted, scores.goodLineOf(subject)),
                          percentLineThousandths(counted, scores.lowLineOf(subject))});
    }
    return shares;
}

namespace {

// The total's rule from the full mark, excellence score and 良好 and 低分 lines of the subjects a
// student sat.
RateRule ownRule(const RateRule& rule, int fullMark, int excellence, long long good, long long low) {
    RateRule own = rule;
    own.passLine = passLineThousandths(fullMark);
    own.goodLine = good;
    own.lowLine = low;
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
    long long good = 0, low = 0;
    for (const TotalShare& share : shares) {
        const size_t column = static_cast<size_t>(share.studentColumn);
        if (column >= cells.size() || !startsWithNumber(cells[column])) continue;
        fullMark += share.fullMark;
        excellence += share.excellenceScore;
        good += share.goodLine;
        low += share.lowLine;
    }
    return ownRule(rule, fullMark, excellence, good, low);
}

std::vector<TotalShare> totalShares(const Exam& exam) {
    return totalShares(exam.scores(), exam.subjectNames(), exam.imported().extraColumns);
}

RateRule ownTotalRule(const RateRule& rule, const std::vector<TotalShare>& shares, const Exam& exam,
                      int student) {
    int fullMark = 0, excellence = 0;
    long long good = 0, low = 0;
    for (size_t i = 0; i < shares.size(); ++i) {
        if (!exam.score(student, i).sat) continue;
        fullMark += shares[i].fullMark;
        excellence += shares[i].excellenceScore;
        good += shares[i].goodLine;
        low += shares[i].lowLine;
    }
    return ownRule(rule, fullMark, excellence, good, low);
}

void RateGroup::add(std::string_view text, const RateRule& rule) {
    add(ExamScore{scoreValue(text), startsWithNumber(text)}, text, rule);
}

void RateGroup::add(ExamScore score, std::string_view text, const RateRule& rule) {
    if (rule.blankExcluded && !score.sat) return;
    const long long thousandths = scoreThousandths(score.value);
    scoreSumThousandths = addThousandths(scoreSumThousandths, thousandths);
    const bool counted = !(rule.zeroExcluded && text == "0");
    bool excellent =
        rule.excellentByInteger ? cAtoi(text) >= rule.excellentScore : thousandths >= rule.excellentLine;
    if (excellent) ++excellentCount;
    if (thousandths >= rule.passLine) ++passCount;
    if (thousandths >= rule.goodLine) ++goodCount;
    // A "0" that sits out is no low score either: it is not counted as having sat.
    if (!counted) return;
    if (thousandths < rule.lowLine) ++lowCount;
    squareSum += static_cast<WideSum>(thousandths) * thousandths;
    if (satCount == 0 || thousandths > highest) highest = thousandths;
    if (satCount == 0 || thousandths < lowest) lowest = thousandths;
    ++satCount;
}

RateGroup& RateGroup::operator+=(const RateGroup& other) {
    excellentCount += other.excellentCount;
    passCount += other.passCount;
    goodCount += other.goodCount;
    lowCount += other.lowCount;
    squareSum += other.squareSum;
    if (other.satCount > 0) {
        if (satCount == 0 || other.highest > highest) highest = other.highest;
        if (satCount == 0 || other.lowest < lowest) lowest = other.lowest;
    }
    satCount += other.satCount;
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
