#include "export/student_order.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

#include "app/subjects.h"
#include "export/band_counts.h"

namespace varnex {

namespace {

// Listing order: higher total first; among equal totals the later row first. Totals are never
// NaN (atof semantics), so this is a strict weak order.
void sortForListing(std::vector<int>& rows, const std::vector<double>& totals) {
    std::sort(rows.begin(), rows.end(), [&](int a, int b) {
        double ta = totals[static_cast<size_t>(a)], tb = totals[static_cast<size_t>(b)];
        return ta > tb || (ta == tb && a > b);
    });
}

// Dense places by total text along a listing, stopping before the first place above `limit`.
// The first listed row always takes place 1, whatever its text (an empty total included).
std::vector<PlacedRow> placeRows(const RowTable& students, const std::vector<int>& listing, int limit) {
    std::vector<PlacedRow> placed;
    placed.reserve(listing.size());
    int place = 0;
    const std::string* lastText = nullptr;
    for (int row : listing) {
        const std::string& text = students.cellText(row, kTotalColumn);
        int next = lastText == nullptr || text != *lastText ? place + 1 : place;
        if (next > limit) break;
        place = next;
        lastText = &text;
        placed.push_back({row, place});
    }
    return placed;
}

}  // namespace

std::vector<int> competitionRanks(const std::vector<double>& totals) {
    std::vector<int> order(totals.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return totals[static_cast<size_t>(a)] > totals[static_cast<size_t>(b)]; });
    std::vector<int> ranks(totals.size());
    for (size_t i = 0; i < order.size(); ++i) {
        size_t row = static_cast<size_t>(order[i]);
        bool tiedWithPrevious = i > 0 && totals[static_cast<size_t>(order[i - 1])] == totals[row];
        ranks[row] = tiedWithPrevious ? ranks[static_cast<size_t>(order[i - 1])] : static_cast<int>(i) + 1;
    }
    return ranks;
}

std::vector<PlacedRow> selectTopN(const RowTable& students, int n) {
    std::vector<double> totals = columnValues(students, kTotalColumn);
    std::vector<int> listing(totals.size());
    std::iota(listing.begin(), listing.end(), 0);
    sortForListing(listing, totals);
    return placeRows(students, listing, n);
}

std::vector<std::vector<PlacedRow>> selectByClass(const RowTable& students, const ClassList& classes) {
    // school -> class -> ClassList index
    std::unordered_map<std::string_view, std::unordered_map<std::string_view, int>> index;
    std::vector<std::pair<std::string, std::string>> parts;
    parts.reserve(classes.size());
    for (size_t i = 0; i < classes.size(); ++i) parts.push_back(splitClassEntry(classes[i]));
    for (size_t i = 0; i < parts.size(); ++i) index[parts[i].first].emplace(parts[i].second, static_cast<int>(i));

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
        sortForListing(members[i], totals);
        listings[i] = placeRows(students, members[i], students.rowCount() + 1);
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
