#include "app/question_scores.h"

#include <charconv>

#include "app/app_texts.h"
#include "base/text_util.h"

namespace varnex {

namespace tx = app_texts;

namespace {

// Reads a whole number of 1 to 4 digits at `at`, moving past it; nothing when there is none.
std::optional<int> wholeNumber(std::string_view text, size_t& at) {
    size_t end = at;
    while (end < text.size() && end - at < 5 && text[end] >= '0' && text[end] <= '9') ++end;
    if (end == at || end - at > 4) return std::nullopt;
    int n = 0;
    std::from_chars(text.data() + at, text.data() + end, n);
    at = end;
    return n;
}

bool skip(std::string_view text, size_t& at, std::string_view what) {
    if (text.substr(at).starts_with(what)) {
        at += what.size();
        return true;
    }
    return false;
}

// The text with the full-width signs a person may type in a list of marks made plain and blanks
// taken out.
std::string plainMarks(std::string_view text) {
    std::string out(text);
    const std::pair<std::string_view, std::string_view> kPlain[] = {
        {"，", ","}, {"～", "~"}, {"（", "("}, {"）", ")"}, {"＝", "="}, {"　", ""}, {" ", ""}, {"\t", ""}};
    for (auto [from, to] : kPlain) {
        for (size_t at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
            out.replace(at, from.size(), to);
    }
    return out;
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

std::string questionLabel(std::string_view text) {
    size_t at = 0;
    skip(text, at, "第");
    const std::optional<int> number = wholeNumber(text, at);
    if (!number || *number == 0) return {};
    skip(text, at, "题");
    std::string label = std::to_string(*number);
    if (at == text.size()) return label;
    std::optional<int> part;
    if (skip(text, at, "(")) {
        part = wholeNumber(text, at);
        if (!skip(text, at, ")")) return {};
    } else if (skip(text, at, "-")) {
        part = wholeNumber(text, at);
    }
    if (!part || *part == 0 || at != text.size()) return {};
    return label + "(" + std::to_string(*part) + ")";
}

Result<std::vector<QuestionMark>> parseQuestionMarks(std::string_view text) {
    std::vector<QuestionMark> marks;
    const std::string plain = plainMarks(text);
    for (const std::string& item : splitOn(plain, ',')) {
        if (item.empty()) continue;
        const size_t equals = item.find('=');
        auto bad = [&] { return fail(strprintf(tx::kBadQuestionMarkFormat, item.c_str())); };
        if (equals == std::string::npos) return bad();
        const std::string_view questions(item.data(), equals);
        const std::string_view markText = std::string_view(item).substr(equals + 1);
        double mark = 0;
        auto [end, error] = std::from_chars(markText.data(), markText.data() + markText.size(), mark);
        if (error != std::errc() || end != markText.data() + markText.size() || !(mark > 0) || mark > 1000)
            return bad();
        size_t range = questions.find('~');
        if (range == std::string_view::npos) {
            // "13-16" is a range of whole questions; "17-1" would be a sub-question, which is
            // written "17(1)" here.
            const size_t dash = questions.find('-');
            if (dash != std::string_view::npos && questions.find('(') == std::string_view::npos) range = dash;
        }
        if (range == std::string_view::npos) {
            std::string label = questionLabel(questions);
            if (label.empty()) return bad();
            marks.push_back({std::move(label), mark});
            continue;
        }
        size_t at = 0;
        const std::string_view from = questions.substr(0, range), to = questions.substr(range + 1);
        std::optional<int> first = wholeNumber(from, at);
        if (at != from.size()) first.reset();
        at = 0;
        std::optional<int> last = wholeNumber(to, at);
        if (at != to.size()) last.reset();
        if (!first || !last || *first < 1 || *last < *first) return bad();
        for (int q = *first; q <= *last; ++q) marks.push_back({std::to_string(q), mark});
    }
    return marks;
}

std::string questionMarksText(const std::vector<std::string>& questions, const std::vector<double>& marks) {
    std::string text;
    auto whole = [&](size_t i) -> int {
        return questions[i].find('(') == std::string::npos ? cAtoi(questions[i]) : 0;
    };
    for (size_t i = 0; i < questions.size() && i < marks.size();) {
        size_t j = i;
        while (whole(i) > 0 && j + 1 < questions.size() && j + 1 < marks.size() &&
               whole(j + 1) == whole(j) + 1 && marks[j + 1] == marks[i])
            ++j;
        if (!text.empty()) text += ',';
        text += j > i ? questions[i] + "~" + questions[j] : questions[i];
        text += "=" + strprintf("%.6g", marks[i]);
        i = j + 1;
    }
    return text;
}

}  // namespace varnex
