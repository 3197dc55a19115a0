#include "analysis/bands.h"

#include <cmath>

#include "analysis/band_counts.h"
#include "analysis/student_order.h"

namespace varnex {

long long scoreBandCount(int fullMark) {
    long long count = fullMark / 10 + (fullMark % 10 == 0 ? 1 : 2);
    return count < 1 ? 0 : count;
}

std::vector<ScoreBand> scoreBands(int fullMark) {
    const int rest = fullMark % 10;
    const long long count = scoreBandCount(fullMark);
    std::vector<ScoreBand> bands;
    if (count < 1) return bands;
    bands.resize(static_cast<size_t>(count));
    for (long long j = 0; j < count; ++j) {
        ScoreBand& b = bands[static_cast<size_t>(j)];
        if (j == count - 1) {
            b.low = fullMark;
            b.high = static_cast<double>(fullMark) + 10;
            continue;
        }
        b.low = static_cast<int>(10 * j);
        const int width = rest != 0 && j == count - 2 ? rest : 10;
        b.high = static_cast<double>(b.low) + width;
    }
    return bands;
}

namespace {

// Every bound of the bands, for counting.
std::vector<double> bandEdges(const std::vector<ScoreBand>& bands) {
    std::vector<double> edges;
    edges.reserve(2 * bands.size());
    for (const auto& b : bands) {
        edges.push_back(b.low);
        edges.push_back(b.high);
    }
    return edges;
}

// The values of one score of every student (NaN: in no band).
std::vector<double> scoreValues(const Exam& exam, size_t subject, bool blankExcluded) {
    std::vector<double> values(static_cast<size_t>(exam.studentCount()));
    for (int student = 0; student < exam.studentCount(); ++student) {
        const ExamScore score = exam.score(student, subject);
        values[static_cast<size_t>(student)] = blankExcluded && !score.sat ? std::nan("") : score.value;
    }
    return values;
}

}  // namespace

BandTable scoreBandCounts(const Exam& exam, size_t subject, const std::vector<ScoreBand>& bands) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const SchoolGroups groups(exam.students(), schools);
    const bool blankExcluded = subject < exam.subjects().size() && exam.blankScoresExcluded();
    const BandCounter counts(bandEdges(bands), groups, scoreValues(exam, subject, blankExcluded));
    auto countsOf = [&](int group) {
        std::vector<BandCount> row;
        row.reserve(bands.size());
        for (const ScoreBand& b : bands)
            row.push_back({counts.countInRange(group, b.low, b.high), counts.countAtLeast(group, b.low)});
        return row;
    };
    BandTable table;
    for (size_t i = 0; i < schools.size(); ++i) table.ofSchool.push_back(countsOf(groups.groupOfSchool(i)));
    table.ofAll = countsOf(BandCounter::kAllRows);
    return table;
}

int rankBandCount(int studentCount) {
    return studentCount / 10 + (studentCount % 10 != 0 ? 1 : 0);
}

BandTable rankBandCounts(const Exam& exam) {
    const std::vector<std::string>& schools = exam.imported().schoolList;
    const int bands = rankBandCount(exam.studentCount());
    // A rank p lies in band (p − 1) / 10: count each group's students per band once, then the
    // cumulative counts are running sums. The partial band takes every place from its first on,
    // which are exactly the ranks that fall into it.
    const std::vector<int> ranks = competitionRanks(scoreValues(exam, exam.subjects().size(), false));
    const SchoolGroups groups(exam.students(), schools);
    const size_t stride = static_cast<size_t>(bands);
    const size_t all = static_cast<size_t>(groups.groupCount());
    std::vector<int> inBand(stride * (all + 1), 0);
    for (int row = 0; row < exam.studentCount(); ++row) {
        const size_t band = static_cast<size_t>((ranks[static_cast<size_t>(row)] - 1) / 10);
        const int group = groups.groupOfRow(row);
        if (group >= 0) ++inBand[static_cast<size_t>(group) * stride + band];
        ++inBand[all * stride + band];
    }
    auto countsOf = [&](size_t group) {
        std::vector<BandCount> row(stride);
        int sum = 0;
        for (size_t k = 0; k < stride; ++k) {
            const int count = inBand[group * stride + k];
            row[k] = {count, sum += count};
        }
        return row;
    };
    BandTable table;
    for (size_t i = 0; i < schools.size(); ++i)
        table.ofSchool.push_back(countsOf(static_cast<size_t>(groups.groupOfSchool(i))));
    table.ofAll = countsOf(all);
    return table;
}

}  // namespace varnex
