#include "analysis/levels.h"

#include <algorithm>
#include <unordered_map>

#include "analysis/student_total.h"
#include "analysis/three_rates.h"
#include "base/text_util.h"

namespace varnex {

int levelByScore(const LevelCuts& cuts, long long scoreThousandths, long long fullMark) {
    // score × 100 ≥ line × F ⇔ thousandths / 1000 × 100 ≥ hundredths / 100 × F ⇔ thousandths × 10 ≥
    // hundredths × F.
    for (size_t k = 0; k < cuts.lines.size(); ++k) {
        if (scoreThousandths * 10 >= static_cast<long long>(cuts.lines[k]) * fullMark)
            return static_cast<int>(k);
    }
    return cuts.levelCount() - 1;
}

std::vector<int> levelsByShare(const LevelCuts& cuts, const std::vector<std::optional<long long>>& scores) {
    std::vector<long long> sorted;
    for (const auto& score : scores) {
        if (score) sorted.push_back(*score);
    }
    std::sort(sorted.begin(), sorted.end());
    const long long base = static_cast<long long>(sorted.size());
    // Cumulative shares in hundredths of a percent; the last level takes everyone left.
    std::vector<long long> cumulative;
    long long sum = 0;
    for (int line : cuts.lines) cumulative.push_back(sum += line);
    std::vector<int> levels;
    levels.reserve(scores.size());
    for (const auto& score : scores) {
        if (!score) {
            levels.push_back(-1);
            continue;
        }
        const long long higher =
            base -
            static_cast<long long>(std::upper_bound(sorted.begin(), sorted.end(), *score) - sorted.begin());
        // higher / base < cumulative / 10000, exactly.
        int level = cuts.levelCount() - 1;
        for (size_t k = 0; k < cumulative.size() && static_cast<int>(k) < level; ++k) {
            if (higher * 10000 < cumulative[k] * base) {
                level = static_cast<int>(k);
                break;
            }
        }
        levels.push_back(level);
    }
    return levels;
}

LevelCuts examLevelCuts(const Exam& exam) {
    if (exam.scores().levels) return *exam.scores().levels;
    const auto grade = std::find_if(kGradeNames.begin(), kGradeNames.end(),
                                    [&](const char* name) { return exam.gradeName() == name; });
    return defaultLevelCuts(grade == kGradeNames.end() ? kDefaultGradeIndex
                                                       : static_cast<int>(grade - kGradeNames.begin()));
}

ExamLevels::ExamLevels(const Exam& exam) : cuts_(examLevelCuts(exam)), columns_(exam.subjects().size() + 1) {
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const int students = exam.studentCount();
    const bool blankExcluded = exam.blankScoresExcluded();
    const bool zeroExcluded = exam.options().ignoreZeroScores;
    const TotalJudge judge(exam);
    levels_.assign(static_cast<size_t>(students) * columns_, -1);
    for (size_t c = 0; c < columns_; ++c) {
        const bool total = c == subjects.size();
        std::vector<std::optional<long long>> scores(static_cast<size_t>(students));
        std::vector<long long> fullMarks(static_cast<size_t>(students), 0);
        for (int s = 0; s < students; ++s) {
            if (zeroExcluded && exam.scoreText(s, c) == "0") continue;
            std::optional<double> value;
            if (total) {
                value = judge.totalOf(exam, s);
            } else if (!blankExcluded || exam.score(s, c).sat) {
                value = exam.score(s, c).value;
            }
            if (!value) continue;
            scores[static_cast<size_t>(s)] = scoreThousandths(*value);
            // The total's full mark is the one the student sat for: with blank scores left out,
            // the full marks of the subjects they have a score in.
            long long fullMark = 0;
            for (size_t i = 0; i < subjects.size(); ++i) {
                if (total ? !blankExcluded || exam.score(s, i).sat : i == c)
                    fullMark += std::max(subjects[i].fullMark, 0);
            }
            fullMarks[static_cast<size_t>(s)] = fullMark;
        }
        if (cuts_.method == LevelMethod::Share) {
            const std::vector<int> levels = levelsByShare(cuts_, scores);
            for (size_t s = 0; s < levels.size(); ++s)
                levels_[s * columns_ + c] = static_cast<signed char>(levels[s]);
        } else {
            for (size_t s = 0; s < scores.size(); ++s) {
                if (scores[s])
                    levels_[s * columns_ + c] =
                        static_cast<signed char>(levelByScore(cuts_, *scores[s], fullMarks[s]));
            }
        }
    }
}

std::vector<int> previousTotalLevels(const Exam& exam, const LevelCuts& cuts) {
    const PreviousExam& previous = exam.previous();
    const bool blankExcluded = exam.blankScoresExcluded();
    const bool zeroExcluded = exam.options().ignoreZeroScores;
    const TotalJudge judge(previous.scores, previous.examSubjects, blankExcluded, previous.extraColumns);
    const std::vector<TotalShare> shares =
        totalShares(previous.scores, previous.examSubjects, previous.extraColumns);
    const size_t rows = static_cast<size_t>(previous.students.rowCount());
    std::vector<std::optional<long long>> totals(rows);
    std::vector<long long> fullMarks(rows, 0);
    for (size_t row = 0; row < rows; ++row) {
        const RowTable::RowView cells = previous.students.row(static_cast<int>(row));
        if (zeroExcluded && cells[static_cast<size_t>(kTotalColumn)] == "0") continue;
        const std::optional<double> total = judge.totalOf(cells);
        if (!total) continue;
        totals[row] = scoreThousandths(*total);
        for (const TotalShare& share : shares) {
            const size_t column = static_cast<size_t>(share.studentColumn);
            if (!blankExcluded || (column < cells.size() && startsWithNumber(cells[column])))
                fullMarks[row] += std::max(share.fullMark, 0);
        }
    }
    if (cuts.method == LevelMethod::Share) return levelsByShare(cuts, totals);
    std::vector<int> levels(rows, -1);
    for (size_t row = 0; row < rows; ++row) {
        if (totals[row]) levels[row] = levelByScore(cuts, *totals[row], fullMarks[row]);
    }
    return levels;
}

namespace {

std::string groupKey(std::string_view school, std::string_view klass = {}) {
    std::string key = std::to_string(school.size()) + ':';
    key += school;
    key += '|';
    key += klass;
    return key;
}

std::vector<LevelCounts> emptyCounts(size_t columns, int levels) {
    return std::vector<LevelCounts>(columns,
                                    LevelCounts{0, std::vector<int>(static_cast<size_t>(levels), 0)});
}

}  // namespace

LevelDistribution levelDistribution(const Exam& exam) {
    const ExamLevels levels(exam);
    const ImportResults& imported = exam.imported();
    LevelDistribution d;
    d.cuts = levels.cuts();
    const size_t columns = levels.columnCount();
    const int levelCount = d.cuts.levelCount();
    std::unordered_map<std::string, size_t> classOf, schoolOf;
    for (size_t j = 0; j < imported.classList.size(); ++j) {
        auto [school, klass] = imported.classList.parts(j);
        classOf.emplace(groupKey(school, klass), j);
        d.classes.push_back(emptyCounts(columns, levelCount));
    }
    for (size_t k = 0; k < imported.schoolList.size(); ++k) {
        schoolOf.emplace(groupKey(imported.schoolList[k]), k);
        d.schools.push_back(emptyCounts(columns, levelCount));
    }
    d.exam = emptyCounts(columns, levelCount);
    const RowTable& students = exam.students();
    for (int s = 0; s < students.rowCount(); ++s) {
        const RowTable::RowView cells = students.row(s);
        auto klass = classOf.find(groupKey(cells[0], cells[1]));
        auto school = schoolOf.find(groupKey(cells[0]));
        for (size_t c = 0; c < columns; ++c) {
            const int level = levels.level(s, c);
            if (level < 0) continue;
            auto add = [&](LevelCounts& counts) {
                ++counts.counted;
                ++counts.counts[static_cast<size_t>(level)];
            };
            add(d.exam[c]);
            if (klass != classOf.end()) add(d.classes[klass->second][c]);
            if (school != schoolOf.end()) add(d.schools[school->second][c]);
        }
    }
    return d;
}

}  // namespace varnex
