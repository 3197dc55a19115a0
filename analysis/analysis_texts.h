#pragma once
// The texts the analysis forms itself: the class label around a class, and the note on how the
// students of two exams were paired. A text with values in it is a printf format; the comment names
// the values.

namespace varnex::analysis_texts {

/// A class label "（3）班" is joined from these pieces around the class.
inline constexpr const char* kOpenBracket = "（";
inline constexpr const char* kCloseClass = "）班";
/// Joins the names of a list.
inline constexpr const char* kNameSeparator = "、";

// The completion note of a run with the progress reports: the students paired with the previous
// exam, and those who could not be.
/// Students paired, what they were paired by.
inline constexpr const char* kMatchedFormat = "\n\n与上次考试对应上的学生：%d 人（按%s对应）。";
inline constexpr const char* kMatchedByName = "学校、班级、姓名";
/// Count, the names (school（class）班name, joined with kNameSeparator).
inline constexpr const char* kOnlyCurrentFormat = "\n只在本次考试中的 %d 人：%s";
inline constexpr const char* kOnlyPreviousFormat = "\n只在上次考试中的 %d 人：%s";
inline constexpr const char* kAmbiguousCurrentFormat = "\n本次考试中重名或号码重复、无法对应的 %d 人：%s";
inline constexpr const char* kAmbiguousPreviousFormat = "\n上次考试中重名或号码重复、无法对应的 %d 人：%s";
/// Number of names not listed.
inline constexpr const char* kMoreNamesFormat = "等（另有 %d 人未列出）";

// 计算赋分: the log lines of the subjects whose scaled scores are not computed.
/// Subject, the students with a score in it.
inline constexpr const char* kTooFewToScaleFormat = "%s只有%d名学生有成绩，少于30名，不按比例赋分";
/// Subject, the rule's highest scaled score, the subject's full mark.
inline constexpr const char* kScaleAboveFullMarkFormat = "%s：赋分规则最高%d分，超过满分%d分，不计算赋分";
/// Subjects joined with kNameSeparator: read from the sheet's 赋分 columns, there is no raw score to scale.
inline constexpr const char* kOnlyScaledInSheetFormat = "%s按表中的赋分统计，没有原始分，不计算赋分";

}  // namespace varnex::analysis_texts
