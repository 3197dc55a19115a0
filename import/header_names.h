#pragma once
// How schools and marking platforms head the columns of score and teacher sheets, and what Varnex
// reads in them: header texts are normalised (blanks and line breaks dropped, full-width letters,
// digits and signs made plain), the names people use for Varnex's columns and subjects are mapped
// to them (道德与法治 → 政治, 班别 → 班级 …), and the columns that hold no scores (序号, 考号,
// 总分, 名次 …) are known. The one table of these names is in header_names.cpp.

#include <string>
#include <string_view>

namespace varnex {

/// The text with every blank (also the ideographic and the non-breaking one) and line break taken
/// out, and full-width letters, digits and signs written as plain ASCII ("语文　" → "语文",
/// "ＡＢ" → "AB").
std::string normaliseHeaderText(std::string_view text);

/// The text with full-width letters, digits and signs written as plain ASCII and the blanks and
/// line breaks at both ends trimmed; blanks inside stay.
std::string plainText(std::string_view text);

/// What a normalised header text stands for.
struct HeaderName {
    std::string name;    ///< the column or subject Varnex reads ("政治"), or the text itself
    bool alias = false;  ///< true when `name` comes from the table of other names
};

/// The Varnex column or subject that a normalised header text names.
HeaderName headerNameOf(std::string_view normalised);

/// True for a normalised header text that names a column without scores, which the imports leave
/// aside without mentioning it: 序号, 考号, 总分, 名次, 备注, 选科组合 …, and any rank, grade
/// or scaled-score column ("语文排名", "物理赋分").
bool isKnownNonScoreColumn(std::string_view normalised);

/// True for a normalised header text that may head the scores of an extra subject: it names no
/// subject of the list (nor is another name of one), no scaled score of a subject (scaledSubjectOf), no key
/// column of the imports (学校, 年级, 班级, 姓名, 学科, 教师) and no known column without scores
/// (isKnownNonScoreColumn).
bool isExtraSubjectColumn(std::string_view normalised);
/// The subject whose scaled score (赋分) a normalised header text names: a subject's name or other
/// name, or its first character, followed by "赋分", "(赋分)" or "赋" ("化学赋分", "化学(赋分)",
/// "化赋", "政赋", "道法赋分"); its index, or -1 for any other text ("化学等级", "化赋排名").
int scaledSubjectOf(std::string_view normalised);

/// What a column under a subject of a two-row header holds, by its normalised header text.
enum class SubColumn {
    Other,         ///< a text Varnex does not know
    RawScore,      ///< 原始分: the score that is read
    Score,         ///< 得分, 成绩, 分数: read when there is no raw score
    Scaled,        ///< 赋分: the subject's scaled score
    RankOrScaled,  ///< 班级排名, 等级 …: never read as a score
};
SubColumn subColumnOf(std::string_view normalised);

}  // namespace varnex
