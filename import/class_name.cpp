#include "import/class_name.h"

#include <algorithm>

#include "app/subjects.h"
#include "import/header_names.h"

namespace varnex {

namespace {

constexpr std::string_view kClassEnding = "班";
constexpr std::string_view kGradeWord = "年级";
// Grades that are not among Varnex's twelve names but head class names just as often.
constexpr std::string_view kJuniorGrades[] = {"初一", "初二", "初三"};
// What may stand between a grade and the class ("高二-9班", "高二·9班").
constexpr std::string_view kSeparators[] = {"-", "_", ".", "·", "、"};
// Brackets that may enclose the class ("(9)班" after the full-width ones were made plain).
constexpr std::string_view kBrackets[][2] = {{"(", ")"}, {"[", "]"}, {"【", "】"}, {"〔", "〕"}};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The length of a year grade at the start ("2024级", "高2024级", "24届"), or 0.
size_t yearGradeLength(std::string_view s) {
    size_t i = 0;
    for (std::string_view school : {std::string_view("高"), std::string_view("初")}) {
        if (s.starts_with(school)) i = school.size();
    }
    size_t digits = i;
    while (digits < s.size() && isDigit(s[digits])) ++digits;
    if (digits - i < 2 || digits - i > 4) return 0;
    std::string_view rest = s.substr(digits);
    for (std::string_view word : {std::string_view("级"), std::string_view("届")}) {
        if (rest.starts_with(word)) return digits + word.size();
    }
    return 0;
}

// The length of the grade that begins the text, with a following "年级", or 0.
size_t gradeLength(std::string_view s) {
    size_t length = 0;
    for (const char* grade : kGradeNames) {
        std::string_view g(grade);
        if (s.starts_with(g)) length = std::max(length, g.size());
    }
    for (std::string_view g : kJuniorGrades) {
        if (s.starts_with(g)) length = std::max(length, g.size());
    }
    if (length == 0) return yearGradeLength(s);
    if (s.substr(length).starts_with(kGradeWord)) length += kGradeWord.size();
    return length;
}

void trimSeparatorAtStart(std::string& s) {
    for (std::string_view separator : kSeparators) {
        if (std::string_view(s).starts_with(separator)) {
            s.erase(0, separator.size());
            return;
        }
    }
}

}  // namespace

std::string normaliseClassName(std::string_view text) {
    // The common case, a class written as its number, is already what it should be.
    if (!text.empty() && std::all_of(text.begin(), text.end(), isDigit)) return std::string(text);

    std::string s = plainText(text);
    if (size_t grade = gradeLength(s); grade > 0) {
        s.erase(0, grade);
        trimSeparatorAtStart(s);
        s = plainText(s);
    }
    if (std::string_view(s).ends_with(kClassEnding)) {
        s.resize(s.size() - kClassEnding.size());
        s = plainText(s);
    }
    for (const auto& [open, close] : kBrackets) {
        std::string_view view(s);
        if (view.size() >= open.size() + close.size() && view.starts_with(open) && view.ends_with(close)) {
            s = plainText(view.substr(open.size(), view.size() - open.size() - close.size()));
            break;
        }
    }
    return s;
}

}  // namespace varnex
