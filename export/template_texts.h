#pragma once
// User-visible texts of the import template generator, kept in one place. A text with values in
// it is a printf format; the comment names the values.

namespace varnex::template_texts {

// The empty exam name is told as the export tells it
// (sheet_texts::kNoExamName).

/// Followed by the exam name.
inline constexpr const char* kLogGenerating = "生成导入模板：";
/// Followed by the path of the saved workbook.
inline constexpr const char* kLogSaved = "保存文件：";

/// Program name, exam name, what is going on.
inline constexpr const char* kTitleFormat = "%s - 导入模板：%s - %s";
inline constexpr const char* kTitleGenerating = "正在生成...";
inline constexpr const char* kTitleDone = "生成完成";

// The completion message: the saved file, then the clipboard line when the path went there, and
// the opening line when the front end opens the file.
/// Exam name, the full path of the saved workbook.
inline constexpr const char* kDoneFormat = "%s的学生成绩表和教师任课表已经生成，保存为：\n%s";
inline constexpr const char* kDonePathCopied = "\n文件路径已复制到了剪贴板，按 Ctrl+V 粘贴。";
inline constexpr const char* kDoneOpening = "\n\n点击确定后，将为你打开已生成的文件。";

inline constexpr const char* kTeacherSheet = "教师任课表";
inline constexpr const char* kSampleClass = "1";

// Header texts around the subjects.
inline constexpr const char* kGradeHeadBefore[] = {"序号", "学校", "班级", "姓名", "考场", "考号"};
inline constexpr const char* kGradeHeadAfter[] = {"总分", "名次", "备注"};
inline constexpr const char* kTeacherHeadBefore[] = {"学校", "年级", "班级"};

}  // namespace varnex::template_texts
