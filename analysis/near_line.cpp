#include "analysis/near_line.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>

#include "analysis/three_rates.h"

namespace varnex {

namespace {

// The examined subject with the lowest score against its full mark (the first of equals); with
// `satOnly`, among the subjects the student sat. -1 when there is none.
int weakestSubject(const Exam& exam, int student, bool satOnly) {
    int weakest = -1;
    double lowest = 0;
    const std::vector<ExamSubject>& subjects = exam.subjects();
    for (size_t i = 0; i < subjects.size(); ++i) {
        const ExamScore score = exam.score(student, i);
        if (subjects[i].fullMark <= 0 || (satOnly && !score.sat)) continue;
        const double share = score.value / subjects[i].fullMark;
        if (weakest < 0 || share < lowest) {
            weakest = static_cast<int>(i);
            lowest = share;
        }
    }
    return weakest;
}

}  // namespace

NearLineStudents nearLineStudents(const Exam& exam) {
    NearLineStudents near;
    near.band = exam.options().nearBand;
    const long long band = static_cast<long long>(near.band) * 1000;
    const TotalJudge judge(exam);
    near.ownLines = judge.ownLines();
    near.gradeLines = judge.gradeLines();
    std::unordered_map<std::string, size_t> classIndex;
    const ClassList& classes = exam.imported().classList;
    for (size_t i = 0; i < classes.size(); ++i) {
        auto [school, klass] = classes.parts(i);
        classIndex.emplace(groupKey({school, klass}), i);
    }
    near.byScoreLines = exam.options().nearScoreLines && !exam.scores().lines.empty();
    if (near.byScoreLines) near.reach = lineReach(exam);
    const RowTable& students = exam.students();
    for (int student = 0; student < exam.studentCount(); ++student) {
        const std::optional<double> total = judge.totalOf(exam, student);
        if (!total) continue;
        auto klass =
            classIndex.find(groupKey({students.cellText(student, 0), students.cellText(student, 1)}));
        if (klass == classIndex.end()) continue;
        const long long value = scoreThousandths(*total);
        if (near.byScoreLines) {
            const TrackReach* track = trackReachOf(near.reach, studentTrack(exam, student));
            for (size_t l = 0; track != nullptr && l < track->lines.size(); ++l) {
                const long long line = track->lines[l].line.value_or(0);
                if (value - line >= -band && value - line <= band)
                    near.students.push_back(
                        {student, klass->second, false, value, line, -1, static_cast<int>(l)});
            }
            continue;
        }
        const TotalLines lines = judge.linesOf(students.row(student));
        for (bool pass : {false, true}) {
            const long long line = pass ? lines.pass : lines.excellent;
            const long long difference = value - line;
            if (difference >= -band && difference <= band)
                near.students.push_back({student, klass->second, pass, value, line, -1});
        }
    }
    std::sort(near.students.begin(), near.students.end(),
              [](const NearLineStudent& a, const NearLineStudent& b) {
                  if (a.classIndex != b.classIndex) return a.classIndex < b.classIndex;
                  if (a.passLine != b.passLine) return b.passLine;
                  if (a.scoreLine != b.scoreLine) return a.scoreLine < b.scoreLine;
                  if (a.total != b.total) return a.total > b.total;
                  return a.student < b.student;
              });
    for (NearLineStudent& n : near.students)
        n.weakestSubject = weakestSubject(exam, n.student, near.ownLines);
    return near;
}

}  // namespace varnex
