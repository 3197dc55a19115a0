#include "app/score_lines.h"

#include <algorithm>

#include "base/text_util.h"

namespace varnex {

namespace {

constexpr long long kHundred = 10000;  // 100 % in hundredths of a percent

// The text with full-width punctuation written as ASCII, without blanks.
std::string asciiPunctuation(std::string_view text) {
    std::string plain(text);
    for (auto [wide, ascii] :
         {std::pair<std::string_view, char>{"，", ','}, {"：", ':'}, {"；", ';'}, {"＝", '='}, {"％", '%'}}) {
        for (size_t at = plain.find(wide); at != std::string::npos; at = plain.find(wide, at))
            plain.replace(at, wide.size(), 1, ascii);
    }
    std::erase_if(plain, [](char c) { return c == ' ' || c == '\t'; });
    return plain;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

// A plain decimal number with at most `decimals` decimals, scaled by 10^decimals; none for another
// text.
std::optional<long long> scaledNumber(std::string_view text, int decimals, long long most) {
    long long whole = 0, fraction = 0;
    int seen = 0;
    size_t i = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > most) return std::nullopt;
    }
    if (i == 0) return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            if (++seen > decimals) return std::nullopt;
            fraction = fraction * 10 + (text[i] - '0');
        }
        if (seen == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    for (int k = seen; k < decimals; ++k) fraction *= 10;
    long long scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    return whole * scale + fraction;
}

// One line written name=value.
std::optional<ScoreLine> lineOf(std::string_view part, const std::string& track) {
    const size_t equals = part.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    ScoreLine line;
    line.track = track;
    line.name = std::string(part.substr(0, equals));
    if (line.name.find_first_of("[]:;,%") != std::string::npos) return std::nullopt;
    std::string_view value = part.substr(equals + 1);
    line.byShare = value.ends_with('%');
    if (line.byShare) value.remove_suffix(1);
    const std::optional<long long> number =
        line.byShare ? scaledNumber(value, 2, 100) : scaledNumber(value, 3, 100000);
    if (!number || *number <= 0 || (line.byShare && *number > kHundred)) return std::nullopt;
    line.value = *number;
    return line;
}

std::string numberText(long long scaled, int decimals) {
    long long scale = 1;
    for (int k = 0; k < decimals; ++k) scale *= 10;
    std::string text = std::to_string(scaled / scale);
    if (const long long fraction = scaled % scale; fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += '.' + digits;
    }
    return text;
}

}  // namespace

std::string trackOf(std::string_view cell) {
    std::string_view plain = cell;
    while (!plain.empty() && (plain.front() == ' ' || plain.front() == '\t')) plain.remove_prefix(1);
    while (plain.starts_with("　")) plain.remove_prefix(std::string_view("　").size());
    for (std::string_view physics : {"物理", "物"}) {
        if (plain.starts_with(physics)) return kTracks[0];
    }
    for (std::string_view history : {"历史", "历", "史"}) {
        if (plain.starts_with(history)) return kTracks[1];
    }
    return std::string();
}

std::optional<std::vector<std::string>> subjectsChosen(std::string_view cell) {
    // Each subject by its name or its one-character short form (历史 also 历).
    struct Form {
        std::string_view text;
        const char* subject;
    };
    static constexpr Form kForms[] = {
        {"物理", "物理"}, {"化学", "化学"}, {"生物", "生物"}, {"历史", "历史"}, {"政治", "政治"},
        {"地理", "地理"}, {"物", "物理"},   {"化", "化学"},   {"生", "生物"},   {"史", "历史"},
        {"历", "历史"},   {"政", "政治"},   {"地", "地理"},
    };
    static constexpr std::string_view kSeparators[] = {" ", "\t", "　", "+", "＋", "、", ",", "，", "/", "-"};
    std::vector<std::string> chosen;
    std::string_view rest = cell;
    while (!rest.empty()) {
        bool matched = false;
        for (std::string_view separator : kSeparators) {
            if (rest.starts_with(separator)) {
                rest.remove_prefix(separator.size());
                matched = true;
                break;
            }
        }
        if (matched) continue;
        for (const Form& form : kForms) {
            if (!rest.starts_with(form.text)) continue;
            if (std::find(chosen.begin(), chosen.end(), form.subject) != chosen.end()) return std::nullopt;
            chosen.emplace_back(form.subject);
            rest.remove_prefix(form.text.size());
            matched = true;
            break;
        }
        if (!matched) return std::nullopt;
    }
    if (chosen.size() != 3 || (chosen[0] != "物理" && chosen[0] != "历史")) return std::nullopt;
    if (std::count(chosen.begin(), chosen.end(), "物理") + std::count(chosen.begin(), chosen.end(), "历史") !=
        1)
        return std::nullopt;
    return chosen;
}

std::optional<std::vector<ScoreLine>> scoreLinesNamed(std::string_view text) {
    const std::string plain = asciiPunctuation(text);
    std::vector<ScoreLine> lines;
    if (plain.empty()) return lines;
    for (std::string_view group : split(plain, ';')) {
        if (group.empty()) continue;
        std::string track;
        if (const size_t colon = group.find(':'); colon != std::string_view::npos) {
            track = trackOf(group.substr(0, colon));
            if (track.empty()) return std::nullopt;
            group.remove_prefix(colon + 1);
        }
        for (std::string_view part : split(group, ',')) {
            std::optional<ScoreLine> line = lineOf(part, track);
            if (!line) return std::nullopt;
            if (std::any_of(lines.begin(), lines.end(), [&](const ScoreLine& other) {
                    return other.track == line->track && other.name == line->name;
                }))
                return std::nullopt;
            lines.push_back(std::move(*line));
        }
    }
    if (lines.empty()) return std::nullopt;
    return lines;
}

std::string scoreLinesText(const std::vector<ScoreLine>& lines) {
    std::string text;
    for (size_t k = 0; k < lines.size(); ++k) {
        const ScoreLine& line = lines[k];
        if (k == 0 || lines[k - 1].track != line.track) {
            if (k > 0) text += ';';
            if (!line.track.empty()) text += line.track + ':';
        } else {
            text += ',';
        }
        text +=
            line.name + '=' + (line.byShare ? numberText(line.value, 2) + '%' : numberText(line.value, 3));
    }
    return text;
}

std::vector<std::string> scoreLineNames(const std::vector<ScoreLine>& lines) {
    std::vector<std::string> names;
    for (const ScoreLine& line : lines) {
        if (std::find(names.begin(), names.end(), line.name) == names.end()) names.push_back(line.name);
    }
    return names;
}

}  // namespace varnex
