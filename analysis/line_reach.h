#pragma once
// 上线分析: per track (物理类, 历史类), each 上线 line of the total as a score — a line given as a
// share is the total of the ⌈n·r⌉-th student of the n students of the track — and the students at
// or above it (单上线) per class, school and the exam. Per subject, the subject line is the average
// score in that subject of the track's students at or above the total line; 双上线 are the students
// at or above both.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/exam.h"
#include "app/score_lines.h"

namespace varnex {

/// The track of a student of the exam (物理类, 历史类, or "" when the sheet names none).
std::string_view studentTrack(const Exam& exam, int student);

/// One line of one track.
struct ReachedLine {
    ScoreLine given;
    /// The line in thousandths of a point; none for a share line of a track without students.
    std::optional<long long> line;
    /// Per exam subject: the sum (thousandths) and number of the scores of the track's students at
    /// or above the line, whose average is the subject line.
    std::vector<long long> subjectSums;
    std::vector<int> subjectCounts;

    /// The subject line in thousandths, exact as a quotient; none when nobody reached the line.
    std::optional<double> subjectLine(size_t subject) const;
    /// True when a score (thousandths) is at or above the subject line.
    bool reachesSubjectLine(size_t subject, long long score) const;
};

/// The students of one group of one track.
struct LineGroupCounts {
    int sat = 0;                         ///< with a total
    std::vector<int> reached;            ///< per line: total at or above it (单上线)
    std::vector<std::vector<int>> both;  ///< [line][subject]: subject line and total line (双上线)
};

struct TrackReach {
    std::string track;  ///< one of kTracks, or "" for the students without a track
    std::vector<ReachedLine> lines;
    std::vector<LineGroupCounts> classes;  ///< in ClassList order
    std::vector<LineGroupCounts> schools;  ///< in SchoolList order
    LineGroupCounts exam;
};

/// The lines of each track of the exam that has a line, 物理类 and 历史类 first, then the students
/// without a track. A track's lines are those given for it and those for every track (its own first
/// when a name is given both ways), in the order given.
std::vector<TrackReach> lineReach(const Exam& exam);

/// The lines of a track in `reach`; nullptr when it has none.
const TrackReach* trackReachOf(const std::vector<TrackReach>& reach, std::string_view track);

}  // namespace varnex
