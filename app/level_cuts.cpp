#include "app/level_cuts.h"

#include <algorithm>
#include <numeric>

#include "app/subjects.h"
#include "base/text_util.h"

namespace varnex {

namespace {

constexpr int kHundred = 10000;  // 100 % in hundredths of a percent
constexpr size_t kMostLevels = 26;

// The parts between commas, ASCII or full-width.
std::vector<std::string_view> splitAtCommas(std::string_view text) {
    constexpr std::string_view kWideComma = "，";
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t comma = std::min(text.find(','), text.find(kWideComma));
        if (comma == std::string_view::npos) {
            parts.push_back(text);
            return parts;
        }
        parts.push_back(text.substr(0, comma));
        text.remove_prefix(comma + (text[comma] == ',' ? 1 : kWideComma.size()));
    }
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// A number of at most two decimals in hundredths ("12.5" is 1250); none for another text or one
// above 100.
std::optional<int> hundredths(std::string_view text) {
    text = trimmed(text);
    int whole = 0, fraction = 0, decimals = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 100) return std::nullopt;
    }
    if (i == 0) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            if (++decimals > 2) return std::nullopt;
            fraction = fraction * 10 + (text[i] - '0');
        }
        if (decimals == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    if (decimals == 1) fraction *= 10;
    return whole * 100 + fraction;
}

bool linesFit(LevelMethod method, const std::vector<int>& lines) {
    if (lines.empty() || lines.size() >= kMostLevels) return false;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (lines[k] <= 0 || lines[k] > kHundred) return false;
        if (method == LevelMethod::Score && k > 0 && lines[k] >= lines[k - 1]) return false;
    }
    return method == LevelMethod::Score || std::accumulate(lines.begin(), lines.end(), 0) <= kHundred;
}

}  // namespace

int LevelCuts::levelsOfLines() const {
    if (method == LevelMethod::Share && std::accumulate(lines.begin(), lines.end(), 0) == kHundred)
        return static_cast<int>(lines.size());
    return static_cast<int>(lines.size()) + 1;
}

LevelCuts defaultLevelCuts(int gradeIndex) {
    if (gradeIndex >= kSeniorGradeIndex) return *makeLevelCuts(LevelMethod::Share, "15,35,35,13,2", "");
    return *makeLevelCuts(LevelMethod::Score, "90,75,60", "");
}

std::optional<LevelMethod> levelMethodNamed(std::string_view text) {
    text = trimmed(text);
    if (text == "分数" || text == "score") return LevelMethod::Score;
    if (text == "比例" || text == "share") return LevelMethod::Share;
    return std::nullopt;
}

const char* levelMethodName(LevelMethod method) {
    return method == LevelMethod::Score ? "分数" : "比例";
}

std::optional<LevelCuts> makeLevelCuts(LevelMethod method, std::string_view lines, std::string_view names) {
    LevelCuts cuts;
    cuts.method = method;
    for (std::string_view part : splitAtCommas(lines)) {
        std::optional<int> line = hundredths(part);
        if (!line) return std::nullopt;
        cuts.lines.push_back(*line);
    }
    if (!linesFit(method, cuts.lines)) return std::nullopt;
    const int levels = cuts.levelsOfLines();
    if (trimmed(names).empty()) {
        for (int k = 0; k < levels; ++k) cuts.names.emplace_back(1, static_cast<char>('A' + k));
        return cuts;
    }
    for (std::string_view part : splitAtCommas(names)) {
        part = trimmed(part);
        if (part.empty()) return std::nullopt;
        cuts.names.emplace_back(part);
    }
    if (cuts.levelCount() != levels) return std::nullopt;
    return cuts;
}

std::string levelLineText(int value) {
    std::string text = std::to_string(value / 100);
    if (value % 100 != 0) {
        text += strprintf(".%02d", value % 100);
        if (text.back() == '0') text.pop_back();
    }
    return text;
}

std::string levelLinesText(const LevelCuts& cuts) {
    std::string text;
    for (int line : cuts.lines) text += (text.empty() ? "" : ",") + levelLineText(line);
    return text;
}

std::string levelNamesText(const LevelCuts& cuts) {
    std::string text;
    for (const std::string& name : cuts.names) text += (text.empty() ? "" : ",") + name;
    return text;
}

}  // namespace varnex
