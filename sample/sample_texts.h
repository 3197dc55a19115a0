#pragma once
// The fixed texts of the sample exam workbook: sheet names, headers and the explanation sheet. A
// text with values in it is a printf format; the comment names the values.

namespace varnex::sample_texts {

inline constexpr const char* kTeacherSheet = "教师任课表";
/// The text of a score cell of a student who missed the exam.
inline constexpr const char* kAbsent = "缺考";
/// Number of a school beyond the named ones ("第13中学").
inline constexpr const char* kSchoolNumberFormat = "第%d中学";

/// Header of the teacher sheet before the subjects.
inline constexpr const char* kTeacherHead[] = {"学校", "年级", "班级"};
/// Header of the score sheet before and after the subjects.
inline constexpr const char* kScoreHeadBefore[] = {"序号", "学校", "班级", "姓名", "考场", "考号"};
inline constexpr const char* kScoreHeadAfter[] = {"总分", "名次", "备注"};
/// The column of a senior-high score sheet after 班级 that holds each student's combination of
/// subjects (物化生 …), in the grades whose students choose them.
inline constexpr const char* kCombinationHead = "选科";

// The explanation sheet, one line a row.
inline constexpr const char* kAboutSheet = "说明";
/// Program name.
inline constexpr const char* kAboutMadeByFormat =
    "这是 %s 生成的示例考试数据，人名、学校和成绩均为随机生成。";
/// Grade, schools, classes, students.
inline constexpr const char* kAboutSizeFormat = "年级：%s；学校：%d所；班级：%d个；学生：%d人。";
/// Score sheet.
inline constexpr const char* kAboutSheetsFormat = "“教师任课表”可导入任课教师，“%s”可导入学生成绩。";
/// Score sheet (of a grade with 选科).
inline constexpr const char* kAboutCombinationsFormat =
    "“%s”的“选科”一列是学生的选科组合，第一个字是物或史（物理类、历史类）；没有选考的科目成绩空白。";
/// The question sheet's name.
inline constexpr const char* kAboutQuestionsFormat = "“%s”可导入数学的小题分。";

/// The subject of the question sheet.
inline constexpr const char* kQuestionSubject = "数学";
/// The question sheet: its name, the header before the questions and the label of the full-mark row.
inline constexpr const char* kQuestionSheet = "数学小题";
inline constexpr const char* kQuestionHead[] = {"考号", "学校", "班级", "姓名"};
inline constexpr const char* kFullMarkRow = "满分";

}  // namespace varnex::sample_texts
