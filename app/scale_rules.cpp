#include "app/scale_rules.h"

#include <charconv>

#include "base/text_util.h"

namespace varnex {

namespace {

constexpr int kHundred = 10000;      // 100 % in hundredths of a percent
constexpr int kHighestScore = 1000;  // no rule scales above this

// The text with the full-width commas, colons and dashes written as ASCII ones, and without blanks.
std::string asciiPunctuation(std::string_view text) {
    std::string plain(text);
    for (auto [wide, ascii] :
         {std::pair<std::string_view, char>{"，", ','}, {"：", ':'}, {"－", '-'}, {"～", '-'}, {"~", '-'}}) {
        for (size_t at = plain.find(wide); at != std::string::npos; at = plain.find(wide, at))
            plain.replace(at, wide.size(), 1, ascii);
    }
    std::erase_if(plain, [](char c) { return c == ' ' || c == '\t'; });
    return plain;
}

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// One grade written as name:share:low-high.
std::optional<ScaleGrade> gradeOf(std::string_view part) {
    const size_t first = part.find(':');
    const size_t second = first == std::string_view::npos ? first : part.find(':', first + 1);
    if (second == std::string_view::npos || first == 0) return std::nullopt;
    const std::string_view name = part.substr(0, first);
    const std::string_view share = part.substr(first + 1, second - first - 1);
    const std::string_view range = part.substr(second + 1);
    const size_t dash = range.find('-');
    if (dash == std::string_view::npos || name.find_first_of("=[];") != std::string_view::npos)
        return std::nullopt;
    const std::optional<int> low = wholeNumber(range.substr(0, dash));
    const std::optional<int> high = wholeNumber(range.substr(dash + 1));
    std::optional<LevelCuts> cut = makeLevelCuts(LevelMethod::Share, share, "");
    if (!low || !high || *low < 0 || *low > *high || *high > kHighestScore || !cut || cut->lines.size() != 1)
        return std::nullopt;
    return ScaleGrade{std::string(name), cut->lines[0], *low, *high};
}

// A rule written out, its text without blanks and with ASCII punctuation.
std::optional<ScaleRule> writtenRule(const std::string& plain) {
    ScaleRule rule;
    int shares = 0;
    for (size_t start = 0; start <= plain.size();) {
        size_t end = plain.find(',', start);
        if (end == std::string::npos) end = plain.size();
        std::optional<ScaleGrade> grade = gradeOf(std::string_view(plain).substr(start, end - start));
        if (!grade) return std::nullopt;
        for (const ScaleGrade& other : rule.grades) {
            if (other.name == grade->name) return std::nullopt;
        }
        shares += grade->share;
        rule.grades.push_back(std::move(*grade));
        start = end + 1;
    }
    if (shares != kHundred || rule.grades.size() < 2) return std::nullopt;
    return rule;
}

ScaleRule builtIn(const char* name, const char* text) {
    ScaleRule rule = *writtenRule(text);
    rule.name = name;
    return rule;
}

const std::vector<ScaleRule>& builtInRules() {
    static const std::vector<ScaleRule> rules{
        builtIn("3+1+2常用", "A:15:86-100,B:35:71-85,C:35:56-70,D:13:41-55,E:2:30-40"),
        builtIn("八等级",
                "A:3:91-100,B:7:81-90,C:16:71-80,D:24:61-70,E:24:51-60,F:16:41-50,G:7:31-40,"
                "H:3:21-30"),
    };
    return rules;
}

}  // namespace

bool isScaledSubject(std::string_view name) {
    for (const char* subject : kScaledSubjectNames) {
        if (name == subject) return true;
    }
    return false;
}

const ScaleRule& defaultScaleRule() {
    return builtInRules().front();
}

std::optional<ScaleRule> scaleRuleNamed(std::string_view text) {
    const std::string plain = asciiPunctuation(text);
    for (const ScaleRule& rule : builtInRules()) {
        if (plain == rule.name) return rule;
    }
    return writtenRule(plain);
}

std::string scaleRuleText(const ScaleRule& rule) {
    if (!rule.name.empty()) return rule.name;
    std::string text;
    for (const ScaleGrade& grade : rule.grades) {
        if (!text.empty()) text += ',';
        text += strprintf("%s:%s:%d-%d", grade.name.c_str(), levelLineText(grade.share).c_str(), grade.low,
                          grade.high);
    }
    return text;
}

LevelCuts scaleRuleCuts(const ScaleRule& rule) {
    LevelCuts cuts;
    cuts.method = LevelMethod::Share;
    for (const ScaleGrade& grade : rule.grades) {
        cuts.lines.push_back(grade.share);
        cuts.names.push_back(grade.name);
    }
    return cuts;
}

}  // namespace varnex
