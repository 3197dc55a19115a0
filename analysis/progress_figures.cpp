#include "analysis/progress_figures.h"

#include <algorithm>
#include <unordered_map>

#include "analysis/places.h"
#include "analysis/student_total.h"
#include "analysis/three_rates.h"
#include "base/rounding.h"
#include "base/text_util.h"

namespace varnex {

namespace {

// Where a school and a class stand in the SchoolList and ClassList.
class ClassOrder {
  public:
    explicit ClassOrder(const ImportResults& imported) {
        const ClassList& classes = imported.classList;
        for (size_t i = 0; i < classes.size(); ++i) {
            auto [school, klass] = classes.parts(i);
            classes_.emplace(groupKey({school, klass}), i);
        }
        for (size_t i = 0; i < imported.schoolList.size(); ++i) schools_.emplace(imported.schoolList[i], i);
    }
    /// The ClassList entry of a student, or nothing.
    std::optional<size_t> classOf(const RowTable& students, int row) const {
        auto it = classes_.find(groupKey({students.cellText(row, 0), students.cellText(row, 1)}));
        return it == classes_.end() ? std::nullopt : std::optional<size_t>(it->second);
    }
    /// The SchoolList entry of a school (the first, when listed twice); the list's size when missing.
    size_t schoolOf(std::string_view school) const {
        auto it = schools_.find(std::string(school));
        return it == schools_.end() ? schools_.size() : it->second;
    }

  private:
    std::unordered_map<std::string, size_t> classes_;
    std::unordered_map<std::string, size_t> schools_;
};

}  // namespace

std::vector<StudentProgress> studentProgress(const Exam& exam, const ProgressPairing& pairing) {
    // The difference of the places orders the students not ranked in one exam too.
    struct Keyed {
        size_t school, klass, track;
        int difference;
        StudentProgress progress;
    };
    const RowTable& students = exam.students();
    const ClassOrder order(exam.imported());
    std::vector<Keyed> keyed;
    for (int student = 0; student < exam.studentCount(); ++student) {
        const int last = pairing.match.previousOf[static_cast<size_t>(student)];
        if (last < 0) continue;
        StudentProgress p{student, last, pairing.currentPlaces[static_cast<size_t>(student)],
                          pairing.previousPlaces[static_cast<size_t>(last)], std::nullopt};
        if (p.place > 0 && p.previousPlace > 0) p.change = p.previousPlace - p.place;
        keyed.push_back({order.schoolOf(students.cellText(student, 0)),
                         order.classOf(students, student).value_or(exam.imported().classList.size()),
                         exam.trackIndexOf(student), p.previousPlace - p.place, p});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.school != b.school) return a.school < b.school;
        if (a.klass != b.klass) return a.klass < b.klass;
        if (a.track != b.track) return a.track < b.track;
        if (a.progress.change.has_value() != b.progress.change.has_value())
            return a.progress.change.has_value();
        if (a.difference != b.difference) return a.difference > b.difference;
        return a.progress.student < b.progress.student;
    });
    std::vector<StudentProgress> lines;
    lines.reserve(keyed.size());
    for (const Keyed& k : keyed) lines.push_back(k.progress);
    return lines;
}

std::vector<StudentLevelProgress> studentLevelProgress(const Exam& exam, const ProgressPairing& pairing,
                                                       const std::vector<int>& levels,
                                                       const std::vector<int>& previousLevels) {
    struct Keyed {
        size_t school, klass;
        StudentLevelProgress progress;
    };
    const RowTable& students = exam.students();
    const ClassOrder order(exam.imported());
    std::vector<Keyed> keyed;
    for (int student = 0; student < exam.studentCount(); ++student) {
        const int last = pairing.match.previousOf[static_cast<size_t>(student)];
        if (last < 0) continue;
        StudentLevelProgress p{student, last, levels[static_cast<size_t>(student)],
                               previousLevels[static_cast<size_t>(last)], std::nullopt};
        if (p.level >= 0 && p.previousLevel >= 0) p.change = p.previousLevel - p.level;
        keyed.push_back({order.schoolOf(students.cellText(student, 0)),
                         order.classOf(students, student).value_or(exam.imported().classList.size()), p});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.school != b.school) return a.school < b.school;
        if (a.klass != b.klass) return a.klass < b.klass;
        if (a.progress.change.has_value() != b.progress.change.has_value())
            return a.progress.change.has_value();
        if (a.progress.change != b.progress.change) return *a.progress.change > *b.progress.change;
        return a.progress.student < b.progress.student;
    });
    std::vector<StudentLevelProgress> lines;
    lines.reserve(keyed.size());
    for (const Keyed& k : keyed) lines.push_back(k.progress);
    return lines;
}

namespace {

// A figure as written: the exact quotient rounded to one decimal.
double oneDecimal(double value) {
    return roundHalfAway(value, 1);
}

std::optional<double> figureOf(const RateGroup& g, ClassFigure figure) {
    if (g.satCount == 0) return std::nullopt;
    switch (figure) {
        case ClassFigure::Average:
            return oneDecimal(fromThousandths(g.scoreSumThousandths, g.satCount));
        case ClassFigure::ExcellentRate:
            return oneDecimal(g.excellentCount * 100.0 / g.satCount);
        case ClassFigure::PassRate:
            return oneDecimal(g.passCount * 100.0 / g.satCount);
    }
    return std::nullopt;
}

// Counts a student's total against the total's lines; a student without a total sits out.
void addTotal(RateGroup& group, std::optional<double> total, const TotalLines& lines) {
    if (!total) return;
    const long long value = scoreThousandths(*total);
    ++group.satCount;
    group.scoreSumThousandths += value;
    if (value >= lines.excellent) ++group.excellentCount;
    if (value >= lines.pass) ++group.passCount;
}

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The counts of every class and column: [0] this time, [1] last time.
std::vector<std::array<RateGroup, 2>> countClasses(const Exam& exam, const ProgressPairing& pairing,
                                                   const ClassProgressTable& table) {
    const PreviousExam& previous = exam.previous();
    const RowTable& current = exam.students();
    const bool zeroExcluded = exam.options().ignoreZeroScores;
    const bool blankExcluded = exam.blankScoresExcluded();
    const TotalJudge thisJudge(exam);
    const TotalJudge lastJudge(previous.scores, previous.examSubjects, blankExcluded, previous.extraColumns);
    const size_t subjectCount = table.columns.size() - 1;
    // Per compared subject: its index among this exam's subjects, its previous column and both rules.
    std::vector<size_t> thisSubject;
    std::vector<int> lastColumn;
    std::array<std::vector<RateRule>, 2> rules;
    const std::vector<ExamSubject>& subjects = exam.subjects();
    for (size_t j = 0; j < subjectCount; ++j) {
        const std::string& name = table.columns[j];
        thisSubject.push_back(
            static_cast<size_t>(std::find_if(subjects.begin(), subjects.end(),
                                             [&](const ExamSubject& s) { return s.name == name; }) -
                                subjects.begin()));
        lastColumn.push_back(columnOfSubject(name, previous.extraColumns));
        rules[0].push_back(subjectRule(exam.scores(), name, zeroExcluded, blankExcluded));
        rules[1].push_back(subjectRule(previous.scores, name, zeroExcluded, blankExcluded));
    }

    // One pass over this exam's students: each counts in its class this time, and with the scores
    // of its previous exam last time.
    const ClassOrder order(exam.imported());
    std::vector<std::array<RateGroup, 2>> counts(table.classCount * table.columns.size());
    for (int row = 0; row < current.rowCount(); ++row) {
        std::optional<size_t> klass = order.classOf(current, row);
        if (!klass) continue;
        const int last = pairing.match.previousOf[static_cast<size_t>(row)];
        std::array<RateGroup, 2>* g = &counts[*klass * table.columns.size()];
        for (size_t j = 0; j < subjectCount; ++j) {
            g[j][0].add(exam.scoreText(row, thisSubject[j]), rules[0][j]);
            if (last >= 0) g[j][1].add(previous.students.cellText(last, lastColumn[j]), rules[1][j]);
        }
        addTotal(g[subjectCount][0], thisJudge.totalOf(exam, row), thisJudge.linesOf(current.row(row)));
        if (last >= 0) {
            const RowTable::RowView lastRow = previous.students.row(last);
            addTotal(g[subjectCount][1], lastJudge.totalOf(lastRow), lastJudge.linesOf(lastRow));
        }
    }
    return counts;
}

// The places of every class by one figure in one exam; classes without the figure are not placed.
void placeClasses(ClassProgressTable& table, size_t column, size_t figure, bool last) {
    std::vector<double> values;
    std::vector<ProgressFigure*> placed;
    for (size_t k = 0; k < table.classCount; ++k) {
        ProgressFigure& f = table.figures[k * table.columns.size() + column][figure];
        const std::optional<double>& value = last ? f.last : f.now;
        if (!value) continue;
        values.push_back(*value);
        placed.push_back(&f);
    }
    const std::vector<int> places = placesByValue(values, TieRule::Competition);
    for (size_t i = 0; i < placed.size(); ++i)
        (last ? placed[i]->lastPlace : placed[i]->nowPlace) = places[i];
}

}  // namespace

ClassProgressTable classProgress(const Exam& exam, const ProgressPairing& pairing) {
    // The subjects of both exams, then the total; the others are named in the note.
    ClassProgressTable table;
    const std::vector<std::string>& thisSubjects = exam.subjectNames();
    const std::vector<std::string>& lastSubjects = exam.previous().examSubjects;
    for (const auto& name : thisSubjects)
        (contains(lastSubjects, name) ? table.columns : table.thisOnly).push_back(name);
    for (const auto& name : lastSubjects) {
        if (!contains(thisSubjects, name)) table.lastOnly.push_back(name);
    }
    table.columns.emplace_back(kTotalName);
    table.classCount = exam.imported().classList.size();

    const std::vector<std::array<RateGroup, 2>> counts = countClasses(exam, pairing, table);
    table.figures.resize(counts.size());
    for (size_t i = 0; i < counts.size(); ++i) {
        for (size_t which = 0; which < kClassFigureCount; ++which) {
            ProgressFigure& f = table.figures[i][which];
            f.now = figureOf(counts[i][0], static_cast<ClassFigure>(which));
            f.last = figureOf(counts[i][1], static_cast<ClassFigure>(which));
        }
    }
    for (size_t j = 0; j < table.columns.size(); ++j) {
        for (size_t which = 0; which < kClassFigureCount; ++which) {
            placeClasses(table, j, which, false);
            placeClasses(table, j, which, true);
        }
    }
    for (auto& figures : table.figures) {
        for (ProgressFigure& f : figures) {
            // Both figures have one decimal: their difference rounded to one decimal is exact.
            if (f.now && f.last) f.change = roundHalfAway(*f.now - *f.last, 1);
            if (f.nowPlace > 0 && f.lastPlace > 0) f.placeChange = f.lastPlace - f.nowPlace;
        }
    }
    return table;
}

}  // namespace varnex
