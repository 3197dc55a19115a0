#include "analysis/student_order.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

namespace varnex {

namespace {

// Listing order over positions in an order: higher total first; among equal totals the later
// position first. Totals are never NaN (atof semantics), so this is a strict weak order.
struct ListedBefore {
    const std::vector<double>& totals;
    bool operator()(int a, int b) const {
        double ta = totals[static_cast<size_t>(a)], tb = totals[static_cast<size_t>(b)];
        return ta > tb || (ta == tb && a > b);
    }
};

// The totals of the students along an order, by position.
std::vector<double> totalsAlong(const Exam& exam, const std::vector<int>& order) {
    std::vector<double> totals(order.size());
    for (size_t i = 0; i < order.size(); ++i) totals[i] = exam.total(order[i]).value;
    return totals;
}

// Places by total text along a listing: equal texts share a place, by the tie rule. The first
// listed student always takes place 1, whatever its text (an empty total included).
class ListingPlaces {
  public:
    ListingPlaces(const Exam& exam, TieRule rule) : exam_(exam), rule_(rule) {}
    /// The place the student would take next.
    int placeOf(int student) const {
        return placeAt(listed_, place_, listed_ > 0 && totalText(student) == last_, rule_);
    }
    /// Lists the student at its place.
    PlacedRow take(int student) {
        place_ = placeOf(student);
        last_ = totalText(student);
        ++listed_;
        return {student, place_};
    }

  private:
    std::string_view totalText(int student) const {
        return exam_.scoreText(student, exam_.subjects().size());
    }
    const Exam& exam_;
    TieRule rule_;
    std::string_view last_;
    size_t listed_ = 0;
    int place_ = 0;
};

}  // namespace

std::vector<int> examOrder(const Exam& exam) {
    std::vector<int> order(static_cast<size_t>(exam.studentCount()));
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::vector<PlacedRow> selectTopN(const Exam& exam, const std::vector<int>& order, int n, TieRule rule) {
    // Only the head of the listing is needed: a heap yields it without sorting every student.
    const std::vector<double> totals = totalsAlong(exam, order);
    ListedBefore before{totals};
    auto comesLater = [&](int a, int b) { return before(b, a); };
    std::vector<int> heap(totals.size());
    std::iota(heap.begin(), heap.end(), 0);
    std::make_heap(heap.begin(), heap.end(), comesLater);
    ListingPlaces places(exam, rule);
    std::vector<PlacedRow> listed;
    while (!heap.empty()) {
        std::pop_heap(heap.begin(), heap.end(), comesLater);
        const int student = order[static_cast<size_t>(heap.back())];
        heap.pop_back();
        if (places.placeOf(student) > n) break;
        listed.push_back(places.take(student));
    }
    return listed;
}

namespace {

// Per ClassList entry, the positions in `order` of the students whose 学校 and 班级 texts equal
// the entry's parts, in order.
std::vector<std::vector<int>> classMembers(const Exam& exam, const std::vector<int>& order,
                                           const ClassList& classes) {
    // school -> class -> ClassList index
    std::unordered_map<std::string_view, std::unordered_map<std::string_view, int>> index;
    std::vector<std::pair<std::string, std::string>> parts;
    parts.reserve(classes.size());
    for (size_t i = 0; i < classes.size(); ++i) parts.push_back(classes.parts(i));
    for (size_t i = 0; i < parts.size(); ++i)
        index[parts[i].first].emplace(parts[i].second, static_cast<int>(i));

    const RowTable& students = exam.students();
    std::vector<std::vector<int>> members(classes.size());
    for (size_t position = 0; position < order.size(); ++position) {
        const int student = order[position];
        auto school = index.find(students.cellText(student, 0));
        if (school == index.end()) continue;
        auto klass = school->second.find(students.cellText(student, 1));
        if (klass == school->second.end()) continue;
        members[static_cast<size_t>(klass->second)].push_back(static_cast<int>(position));
    }
    return members;
}

}  // namespace

std::vector<std::vector<PlacedRow>> selectByClass(const Exam& exam, const std::vector<int>& order,
                                                  const ClassList& classes, TieRule rule) {
    std::vector<std::vector<int>> members = classMembers(exam, order, classes);
    const std::vector<double> totals = totalsAlong(exam, order);
    std::vector<std::vector<PlacedRow>> listings(classes.size());
    for (size_t i = 0; i < members.size(); ++i) {
        std::sort(members[i].begin(), members[i].end(), ListedBefore{totals});
        ListingPlaces places(exam, rule);
        listings[i].reserve(members[i].size());
        for (int position : members[i])
            listings[i].push_back(places.take(order[static_cast<size_t>(position)]));
    }
    return listings;
}

std::vector<std::vector<PlacedRow>> listByName(const Exam& exam, const ClassList& classes) {
    const std::vector<int> order = examOrder(exam);
    const std::vector<std::vector<int>> members = classMembers(exam, order, classes);
    std::vector<std::vector<PlacedRow>> listings(classes.size());
    for (size_t i = 0; i < members.size(); ++i) {
        std::vector<std::pair<std::string, int>> keyed;
        keyed.reserve(members[i].size());
        for (int student : members[i])
            keyed.emplace_back(textSortKey(exam.students().cellText(student, 2)), student);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        listings[i].reserve(keyed.size());
        for (const auto& [key, student] : keyed) listings[i].push_back({student, 0});
    }
    return listings;
}

std::vector<int> moveListedRowsToBottom(const std::vector<int>& order, const std::vector<int>& listed) {
    std::vector<char> isListed(order.size(), 0);
    for (int student : listed) isListed[static_cast<size_t>(student)] = 1;
    std::vector<int> moved;
    moved.reserve(order.size());
    for (int student : order) {
        if (!isListed[static_cast<size_t>(student)]) moved.push_back(student);
    }
    moved.insert(moved.end(), listed.begin(), listed.end());
    return moved;
}

}  // namespace varnex
