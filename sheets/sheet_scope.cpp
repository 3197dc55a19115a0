#include "sheets/sheet_scope.h"

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

int placeAmong(const std::vector<std::optional<double>>& values, size_t index) {
    if (index >= values.size() || !values[index]) return 0;
    int place = 1;
    for (const std::optional<double>& value : values) {
        if (value && *value > *values[index]) ++place;
    }
    return place;
}

}  // namespace varnex
