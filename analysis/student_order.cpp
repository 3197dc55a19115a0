#include "analysis/student_order.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

#include "analysis/band_counts.h"
#include "app/subjects.h"

namespace varnex {

namespace {

// Listing order: higher total first; among equal totals the later row first. Totals are never
// NaN (atof semantics), so this is a strict weak order.
struct ListedBefore {
    const std::vector<double>& totals;
    bool operator()(int a, int b) const {
        double ta = totals[static_cast<size_t>(a)], tb = totals[static_cast<size_t>(b)];
        return ta > tb || (ta == tb && a > b);
    }
};

// Dense places by total text along a listing. The first listed row always takes place 1,
// whatever its text (an empty total included).
class DensePlaces {
  public:
    explicit DensePlaces(const RowTable& students) : students_(students) {}
    /// The place the row would take next.
    int placeOf(int row) const {
        const std::string_view text = students_.cellText(row, kTotalColumn);
        return !hasLast_ || text != last_ ? place_ + 1 : place_;
    }
    /// Lists the row at its place.
    PlacedRow take(int row) {
        place_ = placeOf(row);
        last_ = students_.cellText(row, kTotalColumn);
        hasLast_ = true;
        return {row, place_};
    }

  private:
    const RowTable& students_;
    std::string_view last_;
    bool hasLast_ = false;
    int place_ = 0;
};

}  // namespace

std::vector<int> competitionRanks(const std::vector<double>& totals) {
    std::vector<std::pair<double, int>> order(totals.size());
    for (size_t i = 0; i < totals.size(); ++i) order[i] = {totals[i], static_cast<int>(i)};
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<int> ranks(totals.size());
    int rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || order[i].first != order[i - 1].first) rank = static_cast<int>(i) + 1;
        ranks[static_cast<size_t>(order[i].second)] = rank;
    }
    return ranks;
}

std::vector<PlacedRow> selectTopN(const RowTable& students, int n) {
    // Only the head of the listing is needed: a heap yields it without sorting every row.
    std::vector<double> totals = columnValues(students, kTotalColumn);
    ListedBefore before{totals};
    auto comesLater = [&](int a, int b) { return before(b, a); };
    std::vector<int> heap(totals.size());
    std::iota(heap.begin(), heap.end(), 0);
    std::make_heap(heap.begin(), heap.end(), comesLater);
    DensePlaces places(students);
    std::vector<PlacedRow> listed;
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), comesLater);
        int row = heap.back();
        heap.pop_back();
        if (places.placeOf(row) > n) break;
        listed.push_back(places.take(row));
    }
    return listed;
}

std::vector<std::vector<PlacedRow>> selectByClass(const RowTable& students, const ClassList& classes) {
    // school -> class -> ClassList index
    std::unordered_map<std::string_view, std::unordered_map<std::string_view, int>> index;
    std::vector<std::pair<std::string, std::string>> parts;
    parts.reserve(classes.size());
    for (size_t i = 0; i < classes.size(); ++i) parts.push_back(classes.parts(i));
    for (size_t i = 0; i < parts.size(); ++i)
        index[parts[i].first].emplace(parts[i].second, static_cast<int>(i));

    std::vector<std::vector<int>> members(classes.size());
    for (int row = 0; row < students.rowCount(); ++row) {
        auto school = index.find(students.cellText(row, 0));
        if (school == index.end()) continue;
        auto klass = school->second.find(students.cellText(row, 1));
        if (klass == school->second.end()) continue;
        members[static_cast<size_t>(klass->second)].push_back(row);
    }
    std::vector<double> totals = columnValues(students, kTotalColumn);
    std::vector<std::vector<PlacedRow>> listings(classes.size());
    for (size_t i = 0; i < members.size(); ++i) {
        std::sort(members[i].begin(), members[i].end(), ListedBefore{totals});
        DensePlaces places(students);
        listings[i].reserve(members[i].size());
        for (int row : members[i]) listings[i].push_back(places.take(row));
    }
    return listings;
}

void moveListedRowsToBottom(RowTable& students, const std::vector<int>& listed) {
    std::vector<char> isListed(static_cast<size_t>(students.rowCount()), 0);
    for (int row : listed) isListed[static_cast<size_t>(row)] = 1;
    std::vector<int> order;
    order.reserve(isListed.size());
    for (int row = 0; row < students.rowCount(); ++row) {
        if (!isListed[static_cast<size_t>(row)]) order.push_back(row);
    }
    order.insert(order.end(), listed.begin(), listed.end());
    students.reorderRows(order);
}

}  // namespace varnex
