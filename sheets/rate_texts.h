#pragma once
// Every text the three-rate sheets write besides the data: headers, block labels, the subject and
// class labels. A text with values in it is a printf format; the comment names the values.

#include <array>

namespace varnex::rate_texts {

/// Headers A3 … C3 of 年级各科三率; the subject and total headers follow from column D.
inline constexpr std::array<const char*, 3> kGradeHeaders{"项目", "学校", "实考人数"};
/// Subject (or the total's name), full mark: the header of a figure column of 年级各科三率.
inline constexpr const char* kHeaderWithMarkFormat = "%s%d";

/// Block labels of 年级各科三率, in stacking order (实考人数 only with blank scores left out).
inline constexpr const char* kSatCount = "实考人数";
inline constexpr const char* kExcellentCount = "优秀人数";
inline constexpr const char* kExcellentRate = "优秀率";
inline constexpr const char* kExcellentRank = "优秀率排名";
inline constexpr const char* kPassCount = "及格人数";
inline constexpr const char* kPassRate = "及格率";
inline constexpr const char* kPassRank = "及格率排名";
inline constexpr const char* kAverage = "平均分";
inline constexpr const char* kAverageRank = "平均分排名";

/// Headers A3 … P3 of 班级各科三率.
inline constexpr std::array<const char*, 16> kClassHeaders{
    "学科",       "学校",     "班级",   "实考人数",   "班主任", "任课教师",   "优秀人数", "优秀率",
    "优秀率排名", "及格人数", "及格率", "及格率排名", "平均分", "平均分排名", "总平均分", "离均差"};

/// Headers A3 … P3 of 教师个人三率.
inline constexpr std::array<const char*, 16> kTeacherHeaders{
    "任教学科",   "任教学校", "任课班级", "实考人数",   "班主任", "任课教师",   "优秀人数", "优秀率",
    "优秀率排名", "及格人数", "及格率",   "及格率排名", "平均分", "平均分排名", "总平均分", "离均差"};

/// Pieces of a block label "语文\n（150分）" around the full mark.
inline constexpr const char* kFullMarkOpen = "（";
inline constexpr const char* kFullMarkClose = "分）";
/// Class: the class label "（3）班" of 班级各科三率.
inline constexpr const char* kClassLabelFormat = "（%s）班";
/// Appended to each class of a teacher's 任课班级 text ("1班3班").
inline constexpr const char* kClassSuffix = "班";

/// 四率 and 扩展指标: the headers of the columns appended to 班级各科三率 and 教师个人三率, and the
/// labels of the blocks appended to 年级各科三率.
inline constexpr const char* kGoodCount = "良好人数";
inline constexpr const char* kGoodRate = "良好率";
inline constexpr const char* kGoodRank = "良好率排名";
inline constexpr const char* kLowCount = "低分人数";
inline constexpr const char* kLowRate = "低分率";
inline constexpr const char* kLowRank = "低分率排名";
inline constexpr const char* kStandardDeviation = "标准差";
inline constexpr const char* kHighest = "最高分";
inline constexpr const char* kLowest = "最低分";
/// 超均率 with its definition under it: a class against its school and against the whole exam, a
/// teacher's classes and a school against the whole exam.
inline constexpr const char* kClassAboveSchool =
    "超均率（对本校）\n（班级平均−本校平均）\n÷本校平均×100\n平均分按学生计";
inline constexpr const char* kClassAboveExam =
    "超均率（对全体）\n（班级平均−全体平均）\n÷全体平均×100\n平均分按学生计";
inline constexpr const char* kTeacherAboveExam =
    "超均率（对全体）\n（任教班平均−全体平均）\n÷全体平均×100\n平均分按学生计";
inline constexpr const char* kSchoolAboveExam =
    "超均率\n（本校平均−全体平均）\n÷全体平均×100\n平均分按学生计";

/// What the export run reports when the teacher sheet finds no teacher row of the grade.
inline constexpr const char* kNoTeacherRows = "请先导入教师任课表！";

}  // namespace varnex::rate_texts
