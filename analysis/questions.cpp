#include "analysis/questions.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "analysis/analysis_texts.h"
#include "analysis/progress.h"
#include "analysis/three_rates.h"
#include "base/rounding.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = analysis_texts;

namespace {

constexpr double kExtremeShare = 0.27;
constexpr int kFewestForShare = 20;
constexpr size_t kListedNames = 20;

// Sums of one question's scores in one group.
struct QuestionSums {
    int counted = 0;
    double sum = 0;
    int full = 0;
    int zero = 0;
};

// The members of a group (exam students, by index) and the question sheet's scores.
class GroupFigures {
  public:
    GroupFigures(const QuestionScores& sheet, const std::vector<int>& rowOf, bool blankScoresExcluded)
        : sheet_(sheet), rowOf_(rowOf), excluded_(blankScoresExcluded) {}

    // The 得分率 of each question over `members` (rows of the question sheet); nothing where none
    // of them has a score on it.
    std::vector<std::optional<double>> rates(const std::vector<int>& rows) const {
        std::vector<std::optional<double>> out;
        for (size_t q = 0; q < sheet_.questions.size(); ++q) {
            QuestionSums s = sums(rows, q);
            out.push_back(s.counted > 0 ? std::optional<double>(s.sum / s.counted / sheet_.fullMarks[q])
                                        : std::nullopt);
        }
        return out;
    }

    QuestionGroup figures(const std::vector<int>& students, bool withDiscrimination) const {
        std::vector<int> rows;
        for (int s : students) rows.push_back(rowOf_[static_cast<size_t>(s)]);
        QuestionGroup group;
        group.students = static_cast<int>(rows.size());
        for (size_t q = 0; q < sheet_.questions.size(); ++q) {
            const QuestionSums s = sums(rows, q);
            QuestionFigures f;
            f.counted = s.counted;
            if (s.counted > 0) {
                f.average = s.sum / s.counted;
                f.rate = f.average / sheet_.fullMarks[q];
                f.fullRate = static_cast<double>(s.full) / s.counted;
                f.zeroRate = static_cast<double>(s.zero) / s.counted;
            }
            group.questions.push_back(f);
        }
        if (withDiscrimination) group.discrimination = discrimination(rows);
        return group;
    }

  private:
    QuestionSums sums(const std::vector<int>& rows, size_t q) const {
        QuestionSums s;
        for (int row : rows) {
            const std::optional<double> v = sheet_.counted(row, q, excluded_);
            if (!v) continue;
            ++s.counted;
            s.sum += *v;
            if (*v >= sheet_.fullMarks[q]) ++s.full;
            if (*v == 0) ++s.zero;
        }
        return s;
    }

    std::vector<std::optional<double>> discrimination(const std::vector<int>& rows) const {
        std::vector<double> totals;
        for (int row : rows) {
            double sum = 0;
            for (size_t q = 0; q < sheet_.questions.size(); ++q) sum += sheet_.score(row, q).value_or(0);
            totals.push_back(sum);
        }
        const ExtremeGroups groups = extremeGroups(totals);
        auto rowsOf = [&](const std::vector<size_t>& members) {
            std::vector<int> out;
            for (size_t i : members) out.push_back(rows[i]);
            return out;
        };
        const std::vector<std::optional<double>> top = rates(rowsOf(groups.top));
        const std::vector<std::optional<double>> bottom = rates(rowsOf(groups.bottom));
        std::vector<std::optional<double>> d(sheet_.questions.size());
        for (size_t q = 0; q < d.size(); ++q) {
            if (top[q] && bottom[q]) d[q] = *top[q] - *bottom[q];
        }
        return d;
    }

    const QuestionScores& sheet_;
    const std::vector<int>& rowOf_;
    bool excluded_;
};

std::string unmatchedNote(const Exam& exam, const QuestionScores& sheet, const StudentMatch& match) {
    std::vector<int> onlyScores = match.onlyCurrent, onlyQuestions = match.onlyPrevious;
    onlyScores.insert(onlyScores.end(), match.ambiguousCurrent.begin(), match.ambiguousCurrent.end());
    onlyQuestions.insert(onlyQuestions.end(), match.ambiguousPrevious.begin(), match.ambiguousPrevious.end());
    if (onlyScores.empty() && onlyQuestions.empty()) return {};
    std::sort(onlyScores.begin(), onlyScores.end());
    std::sort(onlyQuestions.begin(), onlyQuestions.end());
    std::string note = strprintf(tx::kQuestionsPairedFormat, sheet.source.subject.c_str(), match.matched);
    if (!onlyScores.empty())
        note += strprintf(tx::kOnlyScoreSheetFormat, static_cast<int>(onlyScores.size()),
                          studentNames(exam.students(), onlyScores, kListedNames).c_str());
    if (!onlyQuestions.empty())
        note += strprintf(tx::kOnlyQuestionSheetFormat, static_cast<int>(onlyQuestions.size()),
                          studentNames(sheet.students, onlyQuestions, kListedNames).c_str());
    return note;
}

double variance(const std::vector<double>& values) {
    const double mean =
        std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
    double sum = 0;
    for (double v : values) sum += (v - mean) * (v - mean);
    return sum / static_cast<double>(values.size());
}

}  // namespace

ExtremeGroups extremeGroups(const std::vector<double>& sums) {
    ExtremeGroups groups;
    const size_t n = sums.size();
    if (n < 2) return groups;
    const size_t size = n >= static_cast<size_t>(kFewestForShare)
                            ? std::max<size_t>(1, static_cast<size_t>(roundHalfAway(kExtremeShare * n, 0)))
                            : n / 2;
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return sums[a] > sums[b]; });
    size_t top = size;
    while (top < n && sums[order[top]] == sums[order[size - 1]]) ++top;
    size_t bottom = size;
    while (bottom < n && sums[order[n - 1 - bottom]] == sums[order[n - size]]) ++bottom;
    groups.top.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(top));
    groups.bottom.assign(order.end() - static_cast<std::ptrdiff_t>(bottom), order.end());
    return groups;
}

std::optional<double> cronbachAlpha(const std::vector<std::vector<double>>& scores) {
    if (scores.size() < 2 || scores.front().size() < 2) return std::nullopt;
    const size_t k = scores.front().size();
    std::vector<double> totals(scores.size(), 0), item(scores.size());
    double itemVariances = 0;
    for (size_t q = 0; q < k; ++q) {
        for (size_t s = 0; s < scores.size(); ++s) {
            item[s] = scores[s][q];
            totals[s] += scores[s][q];
        }
        itemVariances += variance(item);
    }
    const double total = variance(totals);
    if (!(total > 1e-12)) return std::nullopt;
    return static_cast<double>(k) / static_cast<double>(k - 1) * (1 - itemVariances / total);
}

const char* discriminationWord(double d) {
    // Judged on the value as shown, two decimals, so that a shown 0.40 reads 很好.
    const double shown = roundHalfAway(d, 2);
    if (shown >= 0.40) return tx::kDiscriminationVeryGood;
    if (shown >= 0.30) return tx::kDiscriminationGood;
    if (shown >= 0.20) return tx::kDiscriminationFair;
    return tx::kDiscriminationPoor;
}

QuestionAnalysis analyseQuestions(const Exam& exam, const QuestionScores& sheet) {
    QuestionAnalysis a;
    a.sheet = &sheet;
    const StudentMatch match =
        matchStudents({exam.students(), exam.imported().idColumns}, {sheet.students, sheet.idColumns});
    a.rowOf = match.previousOf;
    a.matched = match.matched;
    a.unmatchedNote = unmatchedNote(exam, sheet, match);

    const ImportResults& imported = exam.imported();
    std::unordered_map<std::string, size_t> classOf, schoolOf;
    for (size_t j = 0; j < imported.classList.size(); ++j) {
        auto [school, klass] = imported.classList.parts(j);
        classOf.emplace(groupKey({school, klass}), j);
    }
    for (size_t k = 0; k < imported.schoolList.size(); ++k)
        schoolOf.emplace(groupKey({imported.schoolList[k]}), k);
    std::vector<int> everyone;
    std::vector<std::vector<int>> classes(imported.classList.size()), schools(imported.schoolList.size());
    const RowTable& students = exam.students();
    for (int s = 0; s < students.rowCount(); ++s) {
        if (a.rowOf[static_cast<size_t>(s)] < 0) continue;
        everyone.push_back(s);
        if (auto c = classOf.find(groupKey({students.cellText(s, 0), students.cellText(s, 1)}));
            c != classOf.end())
            classes[c->second].push_back(s);
        if (auto k = schoolOf.find(groupKey({students.cellText(s, 0)})); k != schoolOf.end())
            schools[k->second].push_back(s);
    }
    const GroupFigures figures(sheet, a.rowOf, exam.blankScoresExcluded());
    a.exam = figures.figures(everyone, true);
    for (const auto& members : schools) a.schools.push_back(figures.figures(members, true));
    for (const auto& members : classes) a.classes.push_back(figures.figures(members, false));

    std::vector<std::vector<double>> table;
    for (int s : everyone) {
        std::vector<double> row;
        for (size_t q = 0; q < sheet.questions.size(); ++q) {
            const std::optional<double> v =
                sheet.counted(a.rowOf[static_cast<size_t>(s)], q, exam.blankScoresExcluded());
            if (!v) break;
            row.push_back(*v);
        }
        if (row.size() == sheet.questions.size()) table.push_back(std::move(row));
    }
    a.alphaStudents = static_cast<int>(table.size());
    a.alpha = cronbachAlpha(table);
    return a;
}

}  // namespace varnex
