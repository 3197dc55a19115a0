#include "analysis/scaled_scores.h"

#include <algorithm>
#include <optional>

#include "analysis/analysis_texts.h"
#include "analysis/exam.h"
#include "analysis/levels.h"
#include "base/rounding.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = analysis_texts;

int scaledScore(long long raw, long long lowest, long long highest, const ScaleGrade& grade) {
    if (highest <= lowest) return grade.high;
    // (T1·(Y2 − Y1) + (T2 − T1)·(Y − Y1)) / (Y2 − Y1), the quotient as the double nearest to it.
    const long long span = highest - lowest;
    const long long numerator = static_cast<long long>(grade.low) * span +
                                static_cast<long long>(grade.high - grade.low) * (raw - lowest);
    return static_cast<int>(roundHalfAway(fromThousandths(numerator * 1000, span), 0));
}

ScaledScores computeScaledScores(const RowTable& students, const std::vector<ExamSubject>& subjects,
                                 const std::vector<std::string>& readFromScaled, const ScaleRule& rule) {
    ScaledScores result;
    result.rule = rule;
    const LevelCuts cuts = scaleRuleCuts(rule);
    const size_t count = static_cast<size_t>(students.rowCount());
    std::vector<std::string> fromSheet;
    for (size_t i = 0; i < subjects.size(); ++i) {
        const ExamSubject& subject = subjects[i];
        if (!isScaledSubject(subject.name)) continue;
        if (std::find(readFromScaled.begin(), readFromScaled.end(), subject.name) != readFromScaled.end()) {
            fromSheet.push_back(subject.name);
            continue;
        }
        // A scaled score above the full mark is no score of the subject: the reports could not place it.
        int top = 0;
        for (const ScaleGrade& grade : rule.grades) top = std::max(top, grade.high);
        if (top > subject.fullMark) {
            result.notes.push_back(
                strprintf(tx::kScaleAboveFullMarkFormat, subject.name.c_str(), top, subject.fullMark));
            continue;
        }
        std::vector<std::optional<long long>> scores(count);
        int counted = 0;
        for (size_t s = 0; s < count; ++s) {
            const std::string_view text = students.cellText(static_cast<int>(s), subject.column);
            if (!startsWithNumber(text)) continue;
            scores[s] = toThousandths(cAtof(text));
            ++counted;
        }
        if (counted < kLeastScaledStudents) {
            result.notes.push_back(strprintf(tx::kTooFewToScaleFormat, subject.name.c_str(), counted));
            continue;
        }
        const std::vector<int> grades = levelsByShare(cuts, scores);
        // The lowest and highest raw score of each grade.
        std::vector<long long> lowest(rule.grades.size(), 0), highest(rule.grades.size(), 0);
        std::vector<bool> seen(rule.grades.size(), false);
        for (size_t s = 0; s < count; ++s) {
            if (grades[s] < 0) continue;
            const size_t g = static_cast<size_t>(grades[s]);
            lowest[g] = seen[g] ? std::min(lowest[g], *scores[s]) : *scores[s];
            highest[g] = seen[g] ? std::max(highest[g], *scores[s]) : *scores[s];
            seen[g] = true;
        }
        ScaledSubject& scaled = result.subjects.emplace_back();
        scaled.name = subject.name;
        scaled.subject = i;
        scaled.counted = counted;
        scaled.grade.assign(count, -1);
        scaled.scaled.assign(count, 0);
        scaled.raw.assign(count, 0);
        for (size_t s = 0; s < count; ++s) {
            if (grades[s] < 0) continue;
            const size_t g = static_cast<size_t>(grades[s]);
            scaled.grade[s] = static_cast<signed char>(g);
            scaled.raw[s] = static_cast<int>(*scores[s]);
            scaled.scaled[s] =
                static_cast<short>(scaledScore(*scores[s], lowest[g], highest[g], rule.grades[g]));
        }
    }
    if (!fromSheet.empty()) {
        std::string names;
        for (const std::string& name : fromSheet) names += (names.empty() ? "" : tx::kNameSeparator) + name;
        result.notes.push_back(strprintf(tx::kOnlyScaledInSheetFormat, names.c_str()));
    }
    return result;
}

RowTable withScaledScores(const RowTable& students, const ScaledScores& scaled,
                          const std::vector<ExamSubject>& subjects) {
    RowTable table;
    for (const RowTableColumn& column : students.columns()) table.addColumn(column.name, column.width);
    for (int row = 0; row < students.rowCount(); ++row) {
        std::vector<std::string> cells = students.row(row).texts();
        for (const ScaledSubject& subject : scaled.subjects) {
            const size_t s = static_cast<size_t>(row);
            if (subject.grade[s] >= 0)
                cells[static_cast<size_t>(subjects[subject.subject].column)] =
                    std::to_string(subject.scaled[s]);
        }
        const int index = table.appendRow(cells);
        if (!students.hiddenCells(row).empty()) table.setHiddenCells(index, students.hiddenCells(row));
    }
    return table;
}

}  // namespace varnex
