#include "import/header_names.h"

#include <algorithm>
#include <iterator>

#include "app/subjects.h"
#include "base/utf8.h"

namespace varnex {

namespace {

// ---------------------------------------------------------------- the names people use
// Other names of Varnex's columns and subjects, as schools and marking platforms head them.
struct Alias {
    std::string_view written;
    std::string_view name;
};
constexpr Alias kAliases[] = {
    {"道德与法治", "政治"}, {"道法", "政治"},     {"思想政治", "政治"}, {"思品", "政治"},
    {"思想品德", "政治"},   {"外语", "英语"},     {"生物学", "生物"},   {"学校名称", "学校"},
    {"学籍校", "学校"},     {"校名", "学校"},     {"班别", "班级"},     {"学生姓名", "姓名"},
    {"科目", "学科"},       {"任教学科", "学科"}, {"任课学科", "学科"}, {"任课教师", "教师"},
    {"教师姓名", "教师"},   {"任课老师", "教师"}, {"老师", "教师"},
};

// Columns without scores that every kind of score sheet may carry.
constexpr std::string_view kNonScoreColumns[] = {
    "序号",   "考号",   "学号", "考场", "考场号",   "座号",     "座位号",   "准考证号",
    "考生号", "学籍号", "性别", "年级", "班主任",   "总分",     "原始总分", "赋分总分",
    "总成绩", "名次",   "排名", "备注", "选科组合", "选科",     "组合",     "班次",
    "级次",   "校次",   "等级", "赋分", "科类",     "首选科目", "首选",     "选科类别",
};
// A column whose header ends with one of these is a rank, grade or scaled score ("语文排名").
constexpr std::string_view kNonScoreEndings[] = {"排名", "名次", "排序", "等级", "赋分", "位次"};

// Sub-columns under a subject of a two-row header.
constexpr std::string_view kRawScoreColumns[] = {"原始分", "原始成绩", "原始得分",
                                                 "原分",   "卷面分",   "卷面成绩"};
constexpr std::string_view kScoreColumns[] = {"得分", "成绩", "分数"};
constexpr std::string_view kScaledColumns[] = {"赋分", "赋分成绩", "等级赋分", "赋分分数"};
constexpr std::string_view kRankOrScaledColumns[] = {"赋分", "赋分成绩", "等级", "等级赋分", "班排",
                                                     "级排", "校排",     "班名", "级名",     "校名",
                                                     "班次", "级次",     "校次", "排名",     "名次"};

// ---------------------------------------------------------------- characters
bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x00A0 ||
           c == 0x3000 || c == 0x200B || c == 0xFEFF;
}

// Appends the character, a full-width form (U+FF01 … U+FF5E) as its ASCII twin.
void appendPlain(std::string& out, std::string_view s, size_t i, const Utf8Char& c) {
    if (c.codePoint >= 0xFF01 && c.codePoint <= 0xFF5E) {
        out += static_cast<char>(c.codePoint - 0xFEE0);
    } else {
        out.append(s.substr(i, c.length));
    }
}

template <size_t N>
bool isOneOf(std::string_view text, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), text) != std::end(list);
}

}  // namespace

std::string normaliseHeaderText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const Utf8Char c = nextUtf8Char(text, i);
        if (!isBlank(c.codePoint)) appendPlain(out, text, i, c);
        i += c.length;
    }
    return out;
}

std::string plainText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t keep = 0;  // the length of `out` up to its last character that is not a blank
    for (size_t i = 0; i < text.size();) {
        const Utf8Char c = nextUtf8Char(text, i);
        if (!isBlank(c.codePoint)) {
            appendPlain(out, text, i, c);
            keep = out.size();
        } else if (!out.empty()) {
            out.append(text.substr(i, c.length));
        }
        i += c.length;
    }
    out.resize(keep);
    return out;
}

HeaderName headerNameOf(std::string_view normalised) {
    for (const Alias& alias : kAliases) {
        if (alias.written == normalised) return {std::string(alias.name), true};
    }
    return {std::string(normalised), false};
}

bool isKnownNonScoreColumn(std::string_view normalised) {
    if (isOneOf(normalised, kNonScoreColumns)) return true;
    return std::any_of(std::begin(kNonScoreEndings), std::end(kNonScoreEndings),
                       [&](std::string_view ending) { return normalised.ends_with(ending); });
}

bool isExtraSubjectColumn(std::string_view normalised) {
    if (normalised.empty() || isKnownNonScoreColumn(normalised) || scaledSubjectOf(normalised) >= 0)
        return false;
    const HeaderName name = headerNameOf(normalised);
    if (name.alias || subjectIndex(name.name) >= 0) return false;
    for (std::string_view key : {"学校", "年级", "班级", "姓名", "学科", "教师"}) {
        if (name.name == key) return false;
    }
    return true;
}

int scaledSubjectOf(std::string_view normalised) {
    std::string_view subject;
    for (std::string_view ending :
         {std::string_view("(赋分)"), std::string_view("赋分"), std::string_view("赋")}) {
        if (normalised.ends_with(ending)) {
            subject = normalised.substr(0, normalised.size() - ending.size());
            break;
        }
    }
    if (subject.empty()) return -1;
    if (int i = subjectIndex(headerNameOf(subject).name); i >= 0) return i;
    // A subject's first character ("化" of 化学).
    for (size_t i = 0; i < kSubjects.size(); ++i) {
        const std::string_view name = kSubjects[i].name;
        if (subject == name.substr(0, nextUtf8Char(name, 0).length)) return static_cast<int>(i);
    }
    return -1;
}

SubColumn subColumnOf(std::string_view normalised) {
    if (isOneOf(normalised, kRawScoreColumns)) return SubColumn::RawScore;
    if (isOneOf(normalised, kScaledColumns)) return SubColumn::Scaled;
    if (isOneOf(normalised, kScoreColumns)) return SubColumn::Score;
    if (isOneOf(normalised, kRankOrScaledColumns) || isKnownNonScoreColumn(normalised))
        return SubColumn::RankOrScaled;
    return SubColumn::Other;
}

}  // namespace varnex
