#include "analysis/line_reach.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "analysis/student_total.h"
#include "analysis/three_rates.h"

namespace varnex {

namespace {

std::string groupKey(std::string_view school, std::string_view klass = {}) {
    std::string key = std::to_string(school.size()) + ':';
    key += school;
    key += '|';
    key += klass;
    return key;
}

// The lines of a track: its own, then those for every track that it has no line of that name of.
std::vector<ScoreLine> linesOfTrack(const std::vector<ScoreLine>& lines, const std::string& track) {
    std::vector<ScoreLine> own;
    for (const ScoreLine& line : lines) {
        if (line.track.empty()) {
            const bool named =
                !track.empty() && std::any_of(lines.begin(), lines.end(), [&](const ScoreLine& l) {
                    return l.track == track && l.name == line.name;
                });
            if (!named) own.push_back(line);
        } else if (line.track == track) {
            own.push_back(line);
        }
    }
    return own;
}

LineGroupCounts emptyCounts(size_t lines, size_t subjects) {
    return {0, std::vector<int>(lines, 0),
            std::vector<std::vector<int>>(lines, std::vector<int>(subjects, 0))};
}

}  // namespace

std::string_view studentTrack(const Exam& exam, int student) {
    const std::vector<std::string>& hidden = exam.students().hiddenCells(student);
    return kTrackHiddenCell < hidden.size() ? std::string_view(hidden[kTrackHiddenCell]) : std::string_view();
}

std::optional<double> ReachedLine::subjectLine(size_t subject) const {
    if (subjectCounts[subject] == 0) return std::nullopt;
    return static_cast<double>(subjectSums[subject]) / subjectCounts[subject];
}

bool ReachedLine::reachesSubjectLine(size_t subject, long long score) const {
    // score ≥ sum / count, exactly.
    return subjectCounts[subject] > 0 && score * subjectCounts[subject] >= subjectSums[subject];
}

std::vector<TrackReach> lineReach(const Exam& exam) {
    const std::vector<ScoreLine>& given = exam.scores().lines;
    const std::vector<ExamSubject>& subjects = exam.subjects();
    const int students = exam.studentCount();
    const bool blankExcluded = exam.blankScoresExcluded();
    const TotalJudge judge(exam);
    // Each student's total and subject scores in thousandths, when counted.
    std::vector<std::optional<long long>> totals(static_cast<size_t>(students));
    for (int s = 0; s < students; ++s) {
        if (std::optional<double> total = judge.totalOf(exam, s))
            totals[static_cast<size_t>(s)] = scoreThousandths(*total);
    }
    auto subjectScore = [&](int s, size_t i) -> std::optional<long long> {
        const ExamScore score = exam.score(s, i);
        if (blankExcluded && !score.sat) return std::nullopt;
        return scoreThousandths(score.value);
    };

    std::vector<std::string> tracks;
    for (const char* track : kTracks) tracks.emplace_back(track);
    tracks.emplace_back();
    const ImportResults& imported = exam.imported();
    std::unordered_map<std::string, size_t> classOf, schoolOf;
    for (size_t j = 0; j < imported.classList.size(); ++j) {
        auto [school, klass] = imported.classList.parts(j);
        classOf.emplace(groupKey(school, klass), j);
    }
    for (size_t k = 0; k < imported.schoolList.size(); ++k)
        schoolOf.emplace(groupKey(imported.schoolList[k]), k);

    std::vector<TrackReach> reach;
    for (const std::string& track : tracks) {
        std::vector<int> members;
        for (int s = 0; s < students; ++s) {
            if (totals[static_cast<size_t>(s)] && studentTrack(exam, s) == track) members.push_back(s);
        }
        const std::vector<ScoreLine> lines = linesOfTrack(given, track);
        if (members.empty() || lines.empty()) continue;
        TrackReach& t = reach.emplace_back();
        t.track = track;
        std::vector<long long> sorted;
        for (int s : members) sorted.push_back(*totals[static_cast<size_t>(s)]);
        std::sort(sorted.begin(), sorted.end(), std::greater<>());
        const long long n = static_cast<long long>(sorted.size());
        for (const ScoreLine& line : lines) {
            ReachedLine& r = t.lines.emplace_back();
            r.given = line;
            if (line.byShare) {
                const long long k = std::clamp<long long>((n * line.value + 9999) / 10000, 1, n);
                r.line = sorted[static_cast<size_t>(k - 1)];
            } else {
                r.line = line.value;
            }
            r.subjectSums.assign(subjects.size(), 0);
            r.subjectCounts.assign(subjects.size(), 0);
            for (int s : members) {
                if (*totals[static_cast<size_t>(s)] < *r.line) continue;
                for (size_t i = 0; i < subjects.size(); ++i) {
                    if (std::optional<long long> score = subjectScore(s, i)) {
                        r.subjectSums[i] += *score;
                        ++r.subjectCounts[i];
                    }
                }
            }
        }
        const size_t lineCount = t.lines.size();
        t.classes.assign(imported.classList.size(), emptyCounts(lineCount, subjects.size()));
        t.schools.assign(imported.schoolList.size(), emptyCounts(lineCount, subjects.size()));
        t.exam = emptyCounts(lineCount, subjects.size());
        const RowTable& table = exam.students();
        for (int s : members) {
            const RowTable::RowView cells = table.row(s);
            std::vector<LineGroupCounts*> groups{&t.exam};
            if (auto klass = classOf.find(groupKey(cells[0], cells[1])); klass != classOf.end())
                groups.push_back(&t.classes[klass->second]);
            if (auto school = schoolOf.find(groupKey(cells[0])); school != schoolOf.end())
                groups.push_back(&t.schools[school->second]);
            const long long total = *totals[static_cast<size_t>(s)];
            for (LineGroupCounts* group : groups) ++group->sat;
            for (size_t l = 0; l < lineCount; ++l) {
                if (total < *t.lines[l].line) continue;
                for (LineGroupCounts* group : groups) ++group->reached[l];
                for (size_t i = 0; i < subjects.size(); ++i) {
                    const std::optional<long long> score = subjectScore(s, i);
                    if (!score || !t.lines[l].reachesSubjectLine(i, *score)) continue;
                    for (LineGroupCounts* group : groups) ++group->both[l][i];
                }
            }
        }
    }
    return reach;
}

const TrackReach* trackReachOf(const std::vector<TrackReach>& reach, std::string_view track) {
    for (const TrackReach& t : reach) {
        if (t.track == track) return &t;
    }
    return nullptr;
}

}  // namespace varnex
