#include "app/class_order.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace varnex {

namespace {

// The number of a class written in digits only ("4", "12", "04"): its digits without leading
// zeros, which compare as the numbers do when the shorter come first; nothing for any other class.
std::optional<std::string_view> classNumber(std::string_view klass) {
    if (klass.empty() ||
        !std::all_of(klass.begin(), klass.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const size_t first = klass.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : klass.substr(first);
}

}  // namespace

std::vector<size_t> classOrder(const ClassList& classes) {
    std::unordered_map<std::string, size_t> schoolRank;
    std::vector<std::pair<std::string, std::string>> parts;
    for (size_t i = 0; i < classes.size(); ++i) {
        parts.push_back(classes.parts(i));
        schoolRank.emplace(parts.back().first, schoolRank.size());
    }
    std::vector<size_t> order(classes.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const size_t schoolA = schoolRank.at(parts[a].first), schoolB = schoolRank.at(parts[b].first);
        if (schoolA != schoolB) return schoolA < schoolB;
        const std::optional<std::string_view> x = classNumber(parts[a].second),
                                              y = classNumber(parts[b].second);
        if (!x || !y) return x.has_value() && !y.has_value();
        if (x->size() != y->size()) return x->size() < y->size();
        return *x < *y;
    });
    return order;
}

std::vector<std::string> schoolsOf(const ClassList& classes) {
    std::vector<std::string> schools;
    std::unordered_map<std::string, bool> seen;
    for (size_t i = 0; i < classes.size(); ++i) {
        std::string school = classes.parts(i).first;
        if (seen.emplace(school, true).second) schools.push_back(std::move(school));
    }
    return schools;
}

}  // namespace varnex
