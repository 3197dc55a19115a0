#include "import/class_name.h"

#include <algorithm>
#include <cstdlib>

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
// What separates the classes of a list ("1、2班", "1,3"; full-width forms are plain by then).
constexpr std::string_view kListSeparators[] = {"、", ",", ";", "/"};
// What joins the ends of a range ("3-4班", "3~5", "3至5").
constexpr std::string_view kRangeDashes[] = {"-", "~", "—", "–", "至", "到"};

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

// The length of the digits at the start of `s`.
size_t digitsAtStart(std::string_view s) {
    size_t n = 0;
    while (n < s.size() && isDigit(s[n])) ++n;
    return n;
}

// Takes `word` off the start of `s`; false when it is not there.
bool takeFront(std::string_view& s, std::string_view word) {
    if (!s.starts_with(word)) return false;
    s.remove_prefix(word.size());
    return true;
}

// Splits `s` at every list separator; the items keep their blanks.
std::vector<std::string_view> listItems(std::string_view s) {
    std::vector<std::string_view> items;
    size_t start = 0;
    for (size_t i = 0; i < s.size();) {
        bool separated = false;
        for (std::string_view separator : kListSeparators) {
            if (s.substr(i).starts_with(separator)) {
                items.push_back(s.substr(start, i - start));
                i += separator.size();
                start = i;
                separated = true;
                break;
            }
        }
        if (!separated) ++i;
    }
    items.push_back(s.substr(start));
    return items;
}

// The two ends of a range "3-4", "3班-4班", "03~05" (blanks around the dash allowed).
struct Range {
    std::string_view first, last;
};
std::optional<Range> rangeOf(std::string_view item) {
    std::string_view s = item;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    size_t firstLength = digitsAtStart(s);
    if (firstLength == 0) return std::nullopt;
    Range range{s.substr(0, firstLength), {}};
    s.remove_prefix(firstLength);
    takeFront(s, kClassEnding);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    bool dash = false;
    for (std::string_view d : kRangeDashes) dash = dash || takeFront(s, d);
    if (!dash) return std::nullopt;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    size_t lastLength = digitsAtStart(s);
    if (lastLength == 0) return std::nullopt;
    range.last = s.substr(0, lastLength);
    s.remove_prefix(lastLength);
    takeFront(s, kClassEnding);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    if (!s.empty()) return std::nullopt;
    return range;
}

// The class number `n` written as wide as `first` when that begins with a 0 ("03" → "04").
std::string classNumber(long n, std::string_view first) {
    std::string digits = std::to_string(n);
    if (first.size() > 1 && first.front() == '0' && digits.size() < first.size())
        digits.insert(0, first.size() - digits.size(), '0');
    return digits;
}

// Adds the classes of one item of a list to `classes`; false when the item names none.
bool addItem(std::string_view item, std::vector<std::string>& classes) {
    // "1班3班": classes written one after the other, each with its 班.
    for (;;) {
        std::string_view rest = item;
        while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
        size_t digits = digitsAtStart(rest);
        std::string_view after = rest.substr(digits);
        if (digits == 0 || !takeFront(after, kClassEnding) || plainText(after).empty() ||
            !isDigit(plainText(after).front()))
            break;
        classes.emplace_back(rest.substr(0, digits));
        item = after;
    }
    if (std::optional<Range> range = rangeOf(item)) {
        const long first = std::strtol(std::string(range->first).c_str(), nullptr, 10);
        const long last = std::strtol(std::string(range->last).c_str(), nullptr, 10);
        if (first < last) {
            if (last - first >= kMaxClassRange) return false;  // first ≥ 0: no overflow
            for (long n = first; n <= last; ++n) classes.push_back(classNumber(n, range->first));
            return true;
        }
    }
    std::string klass = normaliseClassName(item);
    if (klass.empty()) return false;
    classes.push_back(std::move(klass));
    return true;
}

}  // namespace

std::string classInName(std::string_view name) {
    const std::string plain = plainText(name);
    const std::string_view text(plain);
    for (size_t at = text.find(kClassEnding); at != std::string_view::npos;
         at = text.find(kClassEnding, at + kClassEnding.size())) {
        size_t start = at;
        bool digit = false;
        while (start > 0 && (isDigit(text[start - 1]) || text[start - 1] == '(' || text[start - 1] == ')')) {
            digit = digit || isDigit(text[start - 1]);
            --start;
        }
        if (!digit) continue;
        std::string klass = normaliseClassName(text.substr(start, at - start));
        if (!klass.empty()) return klass;
    }
    return std::string();
}

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

std::optional<std::vector<std::string>> classListOf(std::string_view text) {
    std::string s = plainText(text);
    if (size_t grade = gradeLength(s); grade > 0) {
        s.erase(0, grade);
        trimSeparatorAtStart(s);
    }
    std::vector<std::string> classes;
    std::vector<std::string_view> items = listItems(s);
    if (items.size() == 1 && plainText(s).empty()) return classes;
    for (std::string_view item : items) {
        if (addItem(item, classes)) continue;
        // One item that leaves nothing names no class; a range too long, or a list, is unreadable.
        if (items.size() == 1 && !rangeOf(item)) return std::vector<std::string>{};
        return std::nullopt;
    }
    // One class alone reads as the score sheet's classes do.
    if (items.size() == 1 && classes.size() == 1) return std::vector<std::string>{normaliseClassName(text)};
    return classes;
}

}  // namespace varnex
