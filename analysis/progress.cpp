#include "analysis/progress.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "analysis/analysis_texts.h"
#include "analysis/places.h"
#include "analysis/student_total.h"
#include "analysis/three_rates.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = analysis_texts;

namespace {

// Where a row stands while the keys are tried.
enum RowState : char { kOpen, kPaired, kAmbiguous, kUnpaired };

// The open rows of both exams with one key.
struct KeyCount {
    int current = 0, previous = 0;
    int currentRow = -1, previousRow = -1;
};

class Matcher {
  public:
    Matcher(const ExamStudents& current, const ExamStudents& previous, StudentMatch& match)
        : tables_{&current.students, &previous.students}, match_(match) {
        for (size_t side = 0; side < 2; ++side)
            states_[side].assign(static_cast<size_t>(tables_[side]->rowCount()), kOpen);
        match_.previousOf.assign(states_[0].size(), -1);
    }

    // Pairs the open rows whose key is the same on both sides and fits one student on each. With
    // `final`, a key that fits several students on a side where the other side has it too makes
    // them all ambiguous, and with `closing` the other open rows with a key are unpaired for good;
    // otherwise they wait for the next key. A row whose key is "" stays open.
    template <class KeyOf>
    void pairBy(KeyOf keyOf, bool final, bool closing) {
        std::unordered_map<std::string, KeyCount> counts;
        counts.reserve(states_[0].size() + states_[1].size());
        std::array<std::vector<std::string>, 2> keys;
        for (size_t side = 0; side < 2; ++side) {
            keys[side].resize(states_[side].size());
            for (size_t row = 0; row < states_[side].size(); ++row) {
                if (states_[side][row] != kOpen) continue;
                keys[side][row] = keyOf(*tables_[side], static_cast<int>(row));
                if (keys[side][row].empty()) continue;
                KeyCount& c = counts[keys[side][row]];
                (side == 0 ? c.current : c.previous) += 1;
                (side == 0 ? c.currentRow : c.previousRow) = static_cast<int>(row);
            }
        }
        for (const auto& [key, c] : counts) {
            if (c.current != 1 || c.previous != 1) continue;
            match_.previousOf[static_cast<size_t>(c.currentRow)] = c.previousRow;
            states_[0][static_cast<size_t>(c.currentRow)] = kPaired;
            states_[1][static_cast<size_t>(c.previousRow)] = kPaired;
            ++match_.matched;
        }
        if (!final) return;
        for (size_t side = 0; side < 2; ++side) {
            for (size_t row = 0; row < states_[side].size(); ++row) {
                if (states_[side][row] != kOpen || keys[side][row].empty()) continue;
                const KeyCount& c = counts[keys[side][row]];
                if ((side == 0 ? c.previous : c.current) > 0) {
                    states_[side][row] = kAmbiguous;
                } else if (closing) {
                    states_[side][row] = kUnpaired;
                }
            }
        }
    }

    void finish() {
        std::array<std::vector<int>*, 2> only{&match_.onlyCurrent, &match_.onlyPrevious};
        std::array<std::vector<int>*, 2> ambiguous{&match_.ambiguousCurrent, &match_.ambiguousPrevious};
        for (size_t side = 0; side < 2; ++side) {
            for (size_t row = 0; row < states_[side].size(); ++row) {
                if (states_[side][row] == kAmbiguous) ambiguous[side]->push_back(static_cast<int>(row));
                if (states_[side][row] == kOpen || states_[side][row] == kUnpaired)
                    only[side]->push_back(static_cast<int>(row));
            }
        }
    }

  private:
    std::array<const RowTable*, 2> tables_;
    StudentMatch& match_;
    std::array<std::vector<char>, 2> states_;
};

// A row's student's name as the note lists it: school, "（" class "）班" and name.
std::string studentLabel(const RowTable& students, int row) {
    return std::string(students.cellText(row, 0)) + tx::kOpenBracket +
           std::string(students.cellText(row, 1)) + tx::kCloseClass + std::string(students.cellText(row, 2));
}

std::string listedNames(const RowTable& students, const std::vector<int>& rows, size_t listed) {
    std::string names;
    for (size_t i = 0; i < rows.size() && i < listed; ++i) {
        if (i > 0) names += tx::kNameSeparator;
        names += studentLabel(students, rows[i]);
    }
    if (rows.size() > listed)
        names += strprintf(tx::kMoreNamesFormat, static_cast<int>(rows.size() - listed));
    return names;
}

}  // namespace

std::string studentNames(const RowTable& students, const std::vector<int>& rows, size_t listed) {
    return listedNames(students, rows, listed);
}

StudentMatch matchStudents(const ExamStudents& current, const ExamStudents& previous) {
    StudentMatch match;
    Matcher matcher(current, previous, match);
    for (size_t kind = 0; kind < current.idColumns.size(); ++kind) {
        if (!current.idColumns[kind] || !previous.idColumns[kind]) continue;
        match.idKind = static_cast<int>(kind);
        matcher.pairBy(
            [kind](const RowTable& t, int row) {
                const std::vector<std::string>& ids = t.hiddenCells(row);
                return kind < ids.size() ? ids[kind] : std::string();
            },
            true, true);
        break;
    }
    // Students without a number (and every student when the sheets share no number column) go by
    // their names.
    matcher.pairBy(
        [](const RowTable& t, int row) {
            return groupKey({t.cellText(row, 0), t.cellText(row, 1), t.cellText(row, 2)});
        },
        false, false);
    matcher.pairBy(
        [](const RowTable& t, int row) {
            return groupKey({t.cellText(row, 0), t.cellText(row, 2)});
        },
        true, true);
    matcher.finish();
    return match;
}

std::vector<int> gradePlaces(const std::vector<std::optional<double>>& totals, TieRule rule) {
    std::vector<double> values;
    std::vector<size_t> ranked;
    for (size_t i = 0; i < totals.size(); ++i) {
        if (!totals[i]) continue;
        values.push_back(*totals[i]);
        ranked.push_back(i);
    }
    const std::vector<int> ranks = placesByValue(values, rule);
    std::vector<int> places(totals.size(), 0);
    for (size_t i = 0; i < ranked.size(); ++i) places[ranked[i]] = ranks[i];
    return places;
}

std::string matchNote(const StudentMatch& match, const RowTable& current, const RowTable& previous,
                      size_t listed) {
    const char* by =
        match.idKind >= 0 ? kStudentIdColumns[static_cast<size_t>(match.idKind)] : tx::kMatchedByName;
    std::string note = strprintf(tx::kMatchedFormat, match.matched, by);
    auto add = [&](const char* format, const RowTable& students, const std::vector<int>& rows) {
        if (!rows.empty())
            note +=
                strprintf(format, static_cast<int>(rows.size()), listedNames(students, rows, listed).c_str());
    };
    add(tx::kOnlyCurrentFormat, current, match.onlyCurrent);
    add(tx::kOnlyPreviousFormat, previous, match.onlyPrevious);
    add(tx::kAmbiguousCurrentFormat, current, match.ambiguousCurrent);
    add(tx::kAmbiguousPreviousFormat, previous, match.ambiguousPrevious);
    return note;
}

std::vector<int> placesWithinGroups(const std::vector<std::optional<double>>& totals,
                                    const std::vector<int>& groups, TieRule rule) {
    std::vector<int> places(totals.size(), 0);
    const int groupCount = groups.empty() ? 0 : *std::max_element(groups.begin(), groups.end()) + 1;
    for (int group = 0; group < groupCount; ++group) {
        std::vector<std::optional<double>> own;
        std::vector<size_t> rows;
        for (size_t i = 0; i < totals.size(); ++i) {
            if (groups[i] != group) continue;
            own.push_back(totals[i]);
            rows.push_back(i);
        }
        const std::vector<int> ownPlaces = gradePlaces(own, rule);
        for (size_t k = 0; k < rows.size(); ++k) places[rows[k]] = ownPlaces[k];
    }
    return places;
}

namespace {

// The group of each previous exam row among the exam's tracks: the track its own sheet names when
// that sheet names any, else the track of the student of this exam it is paired with; -1 (not
// placed) for a row of no group.
std::vector<int> previousTracks(const Exam& exam, const StudentMatch& match) {
    const RowTable& previous = exam.previous().students;
    const std::vector<ExamTrack>& tracks = exam.tracks();
    auto trackOf = [&](int row) -> std::string_view {
        const std::vector<std::string>& hidden = previous.hiddenCells(row);
        return kTrackHiddenCell < hidden.size() ? std::string_view(hidden[kTrackHiddenCell])
                                                : std::string_view();
    };
    bool ownTracks = false;
    for (int row = 0; row < previous.rowCount() && !ownTracks; ++row) ownTracks = !trackOf(row).empty();
    std::vector<int> groups(static_cast<size_t>(previous.rowCount()), -1);
    if (ownTracks) {
        for (int row = 0; row < previous.rowCount(); ++row) {
            for (size_t t = 0; t < tracks.size(); ++t) {
                if (tracks[t].name == trackOf(row)) groups[static_cast<size_t>(row)] = static_cast<int>(t);
            }
        }
        return groups;
    }
    for (size_t s = 0; s < match.previousOf.size(); ++s) {
        if (match.previousOf[s] >= 0)
            groups[static_cast<size_t>(match.previousOf[s])] =
                static_cast<int>(exam.trackIndexOf(static_cast<int>(s)));
    }
    return groups;
}

}  // namespace

ProgressPairing pairWithPrevious(const Exam& exam) {
    const PreviousExam& previous = exam.previous();
    ProgressPairing pairing;
    pairing.match =
        matchStudents({exam.students(), exam.imported().idColumns}, {previous.students, previous.idColumns});
    const TotalJudge thisJudge(exam);
    std::vector<std::optional<double>> totals(static_cast<size_t>(exam.studentCount()));
    for (int student = 0; student < exam.studentCount(); ++student)
        totals[static_cast<size_t>(student)] = thisJudge.totalOf(exam, student);
    const TieRule rule = progressTieRule(exam.options().rankingRule);
    const bool byTrack = !exam.tracks().empty() && !exam.options().noRanks;
    if (byTrack) {
        std::vector<int> groups(totals.size());
        for (size_t s = 0; s < groups.size(); ++s)
            groups[s] = static_cast<int>(exam.trackIndexOf(static_cast<int>(s)));
        pairing.currentPlaces = placesWithinGroups(totals, groups, rule);
    } else {
        pairing.currentPlaces = gradePlaces(totals, rule);
    }
    const TotalJudge lastJudge(previous.scores, previous.examSubjects, exam.blankScoresExcluded(),
                               previous.extraColumns);
    totals.assign(static_cast<size_t>(previous.students.rowCount()), std::nullopt);
    for (int row = 0; row < previous.students.rowCount(); ++row)
        totals[static_cast<size_t>(row)] = lastJudge.totalOf(previous.students.row(row));
    pairing.previousPlaces = byTrack ? placesWithinGroups(totals, previousTracks(exam, pairing.match), rule)
                                     : gradePlaces(totals, rule);
    pairing.note = matchNote(pairing.match, exam.students(), previous.students);
    return pairing;
}

}  // namespace varnex
