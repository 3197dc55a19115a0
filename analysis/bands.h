#pragma once
// The figures of the band sheets, counted from the exam: per SchoolList entry and over all
// students, how many scores fall into each band of ten points (总分分数段, 各科分数段) or how many
// students hold a grade-wide rank by total in each band of ten places (总分名次段).

#include <cstddef>
#include <vector>

#include "analysis/exam.h"

namespace varnex {

/// One band of a score scale: members have low <= score < high; its cumulative count takes every
/// score >= low.
struct ScoreBand {
    int low = 0;
    double high = 0;
};

/// B for a full mark F: F/10 + 1, or F/10 + 2 when F is not a multiple of ten (0 when that is
/// below 1).
long long scoreBandCount(int fullMark);
/// The bands j = 0 … B−1 of the scale with full mark F. Band j starts at 10·j and spans ten
/// points, the one below the full-mark band only up to F when F is not a multiple of ten, and the
/// last band is the full-mark band F ≤ score < F + 10.
std::vector<ScoreBand> scoreBands(int fullMark);

/// A band's count and its cumulative count.
struct BandCount {
    int inBand = 0;
    int cumulative = 0;
};

/// The counts of every band: per SchoolList entry (the students whose 学校 is its exact text; an
/// entry listed twice has the same counts) and over all students, whatever their school.
struct BandTable {
    std::vector<std::vector<BandCount>> ofSchool;  ///< [SchoolList entry][band]
    std::vector<BandCount> ofAll;                  ///< [band]
};

/// The scores of exam subject `subject` (subjects().size(): the total) in the bands; the
/// cumulative count of a band takes every score at or above its low edge. A text that is no
/// number counts as 0, except for a subject's score with blank scores left out: that is in no band.
BandTable scoreBandCounts(const Exam& exam, size_t subject, const std::vector<ScoreBand>& bands);

/// The number of bands of ten places for `studentCount` students, the last one partial.
int rankBandCount(int studentCount);
/// The students' grade-wide competition ranks by total in bands of ten places (band k: places
/// 10k + 1 … 10k + 10); the cumulative count of a band takes every rank up to its end.
BandTable rankBandCounts(const Exam& exam);

}  // namespace varnex
