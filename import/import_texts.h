#pragma once
// Every text that the student and teacher imports show: messages, questions, log lines and
// window titles. printf formats are kept beside the texts they assemble.

namespace varnex::importtext {

// ---------------------------------------------------------------- captions and titles
inline constexpr const char* kCaptionError = "错误";
inline constexpr const char* kCaptionConfirm = "确认";
inline constexpr const char* kWindowTitleFormat = "%s - %s%s%s - %s";  ///< Varnex, title, "：", sheet, state
inline constexpr const char* kProgramName = "Varnex";
inline constexpr const char* kFullColon = "：";
inline constexpr const char* kImporting = "正在导入...";
inline constexpr const char* kImported = "导入完成";
inline constexpr const char* kTitleOpenFailed = "打开数据库时产生异常！";
inline constexpr const char* kTitleSelectFailed = "读取工作表时出现异常！";

// ---------------------------------------------------------------- preparation
inline constexpr const char* kNoWorksheet = "请首先选择一个Excel工作表或WPS表格文件，然后才能导入成绩！";
inline constexpr const char* kEmptySheetName = "工作表名称不能为空！";
inline constexpr const char* kNoSubjects = "请输入学科分值！";
/// "您确定这次考试中" subject "学科的满分是" full mark "分吗？"
inline constexpr const char* kPlausibilityFormat = "%s%d%s";
inline constexpr const char* kPlausibilityBegin = "您确定这次考试中";
inline constexpr const char* kPlausibilitySubject = "学科的满分是";
inline constexpr const char* kPlausibilityEnd = "分吗？";

// ---------------------------------------------------------------- confirmation
/// file, sheet, grade, subject count, subject lines, question
inline constexpr const char* kStudentConfirmFormat = "%s%s\n%s%s\n%s%s\n\n%s%d%s\n%s\n%s";
/// file, sheet, question
inline constexpr const char* kTeacherConfirmFormat = "%s%s\n%s%s\n\n%s";
inline constexpr const char* kConfirmFile = "导入文件：";
inline constexpr const char* kConfirmSheet = "数据来源：";
inline constexpr const char* kConfirmGrade = "导入年级：";
inline constexpr const char* kConfirmSubjectsBegin = "您设定的";
inline constexpr const char* kConfirmSubjectsEnd = "科分值如下：";
inline constexpr const char* kConfirmSubjectLineFormat = "%s%s%d\n";  ///< name, "：", full mark
inline constexpr const char* kConfirmQuestion =
    "如果确认无误，单击“是”，导入当前工作表；\n否则，单击“否”，返回修改。确认无误吗？";

// ---------------------------------------------------------------- opening the sheet
inline constexpr const char* kOpenFailed = "打开数据库时产生异常：";  ///< followed by the reader's text
/// "读取工作表时出现异常：", reader's text, "请检查工作表顶端标题行是否含有：", "学校，班级，姓名",
/// further column names each after "，"
inline constexpr const char* kSelectFailedFormat = "%s%s\n%s\n%s%s";
inline constexpr const char* kSelectFailed = "读取工作表时出现异常：";
inline constexpr const char* kCheckHeader = "请检查工作表顶端标题行是否含有：";
inline constexpr const char* kFixedColumns = "学校，班级，姓名";
inline constexpr const char* kColumnSeparator = "，";

// ---------------------------------------------------------------- column names
inline constexpr const char* kSchool = "学校";
inline constexpr const char* kGrade = "年级";
inline constexpr const char* kClass = "班级";
inline constexpr const char* kName = "姓名";
inline constexpr const char* kAllSchools = "全部";

// ---------------------------------------------------------------- rows
inline constexpr const char* kNoScoreRows = "未找到任何成绩数据！";
inline constexpr const char* kNoTeacherRows = "未找到任何数据！";
inline constexpr const char* kLogSheet = "导入工作表：";
inline constexpr const char* kEmptyWithCountFormat = "%s%s(%d)";  ///< column, text, count
inline constexpr const char* kSchoolEmpty = "名称不能为空！";
inline constexpr const char* kSchoolAllFormat = "%s%s";
inline constexpr const char* kSchoolAll = "名称不能为“全部”！";
inline constexpr const char* kCellEmpty = "不能为空！";
/// subject, "分数：", score, "不能大于", subject, "满分：", full mark
inline constexpr const char* kAboveFullMarkFormat = "%s%s%d%s%s%s%d";
inline constexpr const char* kScore = "分数：";
inline constexpr const char* kNotAbove = "不能大于";
inline constexpr const char* kFullMark = "满分：";
/// A row that the reader could not deliver ends the import: this text, then the reader's text.
inline constexpr const char* kRowUnreadable = "读取工作表时出现异常：";

// ---------------------------------------------------------------- end of data
inline constexpr const char* kNoClasses = "未找到任何班级！";
inline constexpr const char* kNoSchools = "未找到任何学校！";
/// "导入", grade, "：", schools, "所学校，", classes, "个班级，", subjects, "科成绩，共", students, "人"
inline constexpr const char* kStudentSummaryFormat = "%s%s%s%d%s%d%s%d%s%d%s";
inline constexpr const char* kSummaryImport = "导入";
inline constexpr const char* kSummarySchools = "所学校，";
inline constexpr const char* kSummaryClasses = "个班级，";
inline constexpr const char* kSummarySubjects = "科成绩，共";
inline constexpr const char* kSummaryStudents = "人";
/// "导入教师任课记录：", count, "条。"
inline constexpr const char* kTeacherSummaryFormat = "%s%d%s";
inline constexpr const char* kTeacherSummaryBegin = "导入教师任课记录：";
inline constexpr const char* kTeacherSummaryEnd = "条。";

}  // namespace varnex::importtext
