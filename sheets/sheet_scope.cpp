#include "sheets/sheet_scope.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace varnex {

std::vector<size_t> SheetScope::shownSchools(const std::vector<std::string>& schoolList) const {
    std::vector<size_t> shown;
    for (size_t k = 0; k < schoolList.size(); ++k) {
        if (wholeExam()) {
            shown.push_back(k);
        } else if (schoolList[k] == school_) {
            shown.push_back(k);
            break;
        }
    }
    return shown;
}

std::vector<size_t> SheetScope::shownClasses(const ClassList& classList) const {
    std::vector<size_t> shown;
    for (size_t i = 0; i < classList.size(); ++i) {
        auto [school, klass] = classList.parts(i);
        if (showsClass(school, klass)) shown.push_back(i);
    }
    return shown;
}

RankedFigures rankedFigures(std::vector<std::optional<double>> values, bool ascending) {
    RankedFigures ranked;
    std::vector<double> sorted;
    double sum = 0;
    for (const std::optional<double>& value : values) {
        if (!value) continue;
        sorted.push_back(*value);
        sum += *value;
    }
    if (!sorted.empty()) ranked.mean = sum / static_cast<double>(sorted.size());
    // Ahead of a value: those above it, or with `ascending` those below it.
    auto ahead = [&sorted, ascending](double value) {
        if (ascending) return std::lower_bound(sorted.begin(), sorted.end(), value) - sorted.begin();
        return sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), value);
    };
    std::sort(sorted.begin(), sorted.end());
    for (const std::optional<double>& value : values)
        ranked.places.push_back(value ? static_cast<int>(ahead(*value)) + 1 : 0);
    ranked.values = std::move(values);
    return ranked;
}

int placeAmong(const std::vector<std::optional<double>>& values, size_t index, bool ascending) {
    if (index >= values.size() || !values[index]) return 0;
    int place = 1;
    for (const std::optional<double>& value : values) {
        if (value && (ascending ? *value < *values[index] : *value > *values[index])) ++place;
    }
    return place;
}

}  // namespace varnex
