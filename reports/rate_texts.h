#pragma once
// Every text the three-rate sheets write besides the data: headers, block labels and the pieces
// of the subject labels.

#include <array>

namespace varnex::rate_texts {

/// Headers A3 … C3 of 年级各科三率; the subject and total headers follow from column D.
inline constexpr std::array<const char*, 3> kGradeHeaders{"项目", "学校", "实考人数"};

/// Block labels of 年级各科三率, in stacking order.
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

/// Pieces of a block label "语文\n（150分）" and of a class label "（3）班".
inline constexpr const char* kFullMarkOpen = "（";
inline constexpr const char* kFullMarkClose = "分）";
inline constexpr const char* kClassOpen = "（";
inline constexpr const char* kClassClose = "）班";
/// Appended to each class of a teacher's 任课班级 text ("1班3班").
inline constexpr const char* kClassSuffix = "班";

/// What the export run reports when the teacher sheet finds no teacher row of the grade.
inline constexpr const char* kNoTeacherRows = "请先导入教师任课表！";

}  // namespace varnex::rate_texts
