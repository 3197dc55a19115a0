#pragma once
// Every text that the student and teacher imports show: messages, questions, log lines and
// window titles. A text with values in it is a printf format; the comment names the values.

namespace varnex::import_texts {

// ---------------------------------------------------------------- window titles
// What the import is doing, after "Varnex - <workbook>：<sheet> - " (common_texts::kSheetStateTitleFormat).
inline constexpr const char* kImporting = "正在导入...";
inline constexpr const char* kImported = "导入完成";

// ---------------------------------------------------------------- preparation
inline constexpr const char* kNoWorksheet = "请首先选择一个Excel工作表或WPS表格文件，然后才能导入成绩！";
inline constexpr const char* kEmptySheetName = "工作表名称不能为空！";
inline constexpr const char* kNoSubjects = "请输入学科分值！";
/// Subject, full mark.
inline constexpr const char* kPlausibilityFormat = "您确定这次考试中%s学科的满分是%d分吗？";

// ---------------------------------------------------------------- confirmation
/// File name, sheet, grade, number of subjects, their lines (kConfirmSubjectLineFormat each).
inline constexpr const char* kStudentConfirmFormat =
    "导入文件：%s\n数据来源：%s\n导入年级：%s\n\n您设定的%d科分值如下：\n%s\n"
    "如果确认无误，单击“是”，导入当前工作表；\n否则，单击“否”，返回修改。确认无误吗？";
/// Subject, full mark.
inline constexpr const char* kConfirmSubjectLineFormat = "%s：%d\n";
/// The subjects with a full mark that the sheet has no column for, joined with kNameSeparator.
inline constexpr const char* kConfirmNotInSheetFormat = "表中没有：%s，本次不统计\n";
inline constexpr const char* kNameSeparator = "、";
/// File name, sheet.
inline constexpr const char* kTeacherConfirmFormat =
    "导入文件：%s\n数据来源：%s\n\n"
    "如果确认无误，单击“是”，导入当前工作表；\n否则，单击“否”，返回修改。确认无误吗？";

// ---------------------------------------------------------------- opening the sheet
/// Followed by the reader's text (which names the file).
inline constexpr const char* kOpenFailed = "无法打开工作簿：";
/// Sheet, the reader's text.
inline constexpr const char* kSheetUnreadableFormat = "无法读取工作表“%s”：%s";
/// Sheet: a sheet without any cell that holds a value.
inline constexpr const char* kSheetEmptyFormat = "工作表“%s”是空的，没有可以导入的内容。";
/// Sheet, the rows the header is looked for in, what the header lacks (joined by kColumnSeparator).
inline constexpr const char* kMissingColumnsFormat = "工作表“%s”的前%d行中没有找到完整的标题行，缺少：%s。";
inline constexpr const char* kColumnSeparator = "，";
/// Named among what a header lacks when it has no column of a subject: one subject with a full
/// mark is named as it is; of more, the first two.
inline constexpr const char* kAnySubjectFormat = "至少一个学科（%s……）";
/// After kMissingColumnsFormat for a score sheet.
inline constexpr const char* kScoreColumnsAdvice = "\n请检查标题行的写法，或者选择成绩所在的工作表。";
/// Sheet, first column's text, its letters, second column's text, its letters, what both are read as.
inline constexpr const char* kSameColumnTwiceFormat =
    "工作表“%s”的“%s”列（%s列）和“%s”列（%s列）都按%s读取，请删去其中一列或改掉它的标题。";

// ---------------------------------------------------------------- the header as found
/// Sheet, row: the header is not the sheet's first row.
inline constexpr const char* kLogHeaderRowFormat = "工作表“%s”的标题在第%d行。";
/// Sheet, first row, second row: a header over two rows.
inline constexpr const char* kLogHeaderRowsFormat = "工作表“%s”的标题在第%d、%d两行。";
/// Header text, the column or subject it is read as.
inline constexpr const char* kLogAliasFormat = "“%s”列按%s读取。";

// ---------------------------------------------------------------- a sheet without 学校 column
/// Sheet.
inline constexpr const char* kAskSchoolFormat =
    "工作表“%s”没有“学校”列，表中各行都算作同一所学校。\n请输入学校名称：";
inline constexpr const char* kAskSchoolCaption = "学校名称";
/// Put before kAskSchoolFormat's question when the name given cannot be a school's.
inline constexpr const char* kSchoolNameEmptyAgain = "学校名称不能为空，请重新输入。\n\n";
inline constexpr const char* kSchoolNameAllAgain = "学校名称不能是“全部”，请换一个名称。\n\n";
/// Sheet: the school question was cancelled.
inline constexpr const char* kLogSchoolCancelledFormat = "没有输入学校名称，工作表“%s”没有导入。";
/// Sheet, school.
inline constexpr const char* kLogSingleSchoolFormat = "工作表“%s”没有“学校”列，各行都按“%s”导入。";

// ---------------------------------------------------------------- a sheet of one class, without 班级 column
/// Sheet.
inline constexpr const char* kAskClassFormat =
    "工作表“%s”没有“班级”列，表中各行都算作同一个班级。\n请输入班级（如“4”或“高二4班”）：";
inline constexpr const char* kAskClassCaption = "班级";
/// Sheet, the class as Varnex keeps it.
inline constexpr const char* kLogSingleClassFormat = "工作表“%s”没有“班级”列，各行都按（%s）班导入。";
/// Sheet, why the sheet cannot be one class (kNoClassGiven or kSeveralSchoolsFormat): both ways out.
inline constexpr const char* kNoClassColumnFormat =
    "工作表“%s”没有“班级”列，%"
    "s。\n请给出这张表的班级（整张表是同一个班级时），或在表中加上“班级”列后重新导入。";
inline constexpr const char* kNoClassGiven = "也没有给出整张表所属的班级";
/// Two of the schools the 学校 column holds.
inline constexpr const char* kSeveralSchoolsFormat = "而“学校”列中有多所学校（%s、%s……），不能算作同一个班级";

// ---------------------------------------------------------------- column names
inline constexpr const char* kSchool = "学校";
inline constexpr const char* kGrade = "年级";
inline constexpr const char* kClass = "班级";
inline constexpr const char* kName = "姓名";
inline constexpr const char* kSubjectColumn = "学科";
inline constexpr const char* kTeacher = "教师";
/// Named among the missing columns of a teacher sheet that has no subject column.
inline constexpr const char* kAnySubjectColumn = "至少一个学科（语文、数学……）";
/// What a teacher sheet's header needs, after kMissingColumnsFormat.
inline constexpr const char* kTeacherColumnsHint =
    "\n任课表的标题行须有：班级和所教的学科（语文、数学等），或者班级、学科、教师三列；学校、年级两列可有可无"
    "。";
/// A school may not be called this.
inline constexpr const char* kAllSchools = "全部";

// ---------------------------------------------------------------- rows
inline constexpr const char* kNoScoreRows = "未找到任何成绩数据！";
inline constexpr const char* kNoTeacherRows = "未找到任何数据！";
/// Followed by the sheet's name.
inline constexpr const char* kLogSheet = "导入工作表：";
/// Progress steps of an import: sheet name; sheet name, sheet row.
inline constexpr const char* kProgressReadingFormat = "导入：读取工作表“%s”";
inline constexpr const char* kProgressRowFormat = "导入：工作表“%s”第%d行";
inline constexpr const char* kSchoolEmpty = "学校名称不能为空！";
inline constexpr const char* kSchoolAll = "学校名称不能为“全部”！";
/// Column (kName or kClass).
inline constexpr const char* kCellEmptyFormat = "%s不能为空！";
/// Subject, score, subject, full mark.
inline constexpr const char* kAboveFullMarkFormat = "%s分数：%d不能大于%s满分：%d";
/// File, sheet, row, column letters: where a cell is.
inline constexpr const char* kCellPlaceFormat = "文件“%s”工作表“%s”第%d行%s列";
/// The cell's place (kCellPlaceFormat).
inline constexpr const char* kClassEmptyFormat = "%s的班级为空，请填写班级！";
/// The cell's place (kCellPlaceFormat), the class as written.
inline constexpr const char* kClassNothingLeftFormat = "%s的班级“%s”去掉年级和“班”字后为空，请写明是哪个班！";
/// Sheet, the row, the reader's text: a row that the reader could not deliver ends the import.
inline constexpr const char* kRowUnreadableFormat = "工作表“%s”读到第%d行时无法继续读取：%s";

/// What may follow the number of a score ("95分").
inline constexpr const char* kPointsSuffix = "分";
/// Subject, the score as written: a score below 0, imported all the same.
inline constexpr const char* kBelowZeroFormat = "%s分数：%s不能小于0";
/// Subject, the text as written: neither a score nor a text that says there is none.
inline constexpr const char* kNotAScoreFormat = "%s分数：“%s”不是分数，也不是“缺考”等表示没有成绩的文字";
/// Class, the first row of the same name: a name twice in one class, imported all the same.
inline constexpr const char* kSameNameFormat = "（%s）班已有同名学生（第%d行），请确认不是重复录入";

// ---------------------------------------------------------------- every problem of a sheet
/// Row, message: one problem of a row without a key.
inline constexpr const char* kProblemLineFormat = "第%d行：%s";
/// Row, key (a student's name, a class), message.
inline constexpr const char* kKeyedProblemLineFormat = "第%d行 %s：%s";
/// Sheet, number of blocking problems, those problems one a line: nothing of the sheet was imported.
inline constexpr const char* kProblemsFormat =
    "工作表“%s”中有%d处问题，本次没有导入，原有数据保持不变。请改正后重新导入：\n%s";
/// Number of notes, the notes one a line: what does not keep a sheet from being imported, after
/// kProblemsFormat.
inline constexpr const char* kProblemNotesFormat = "\n\n另有%d处请核对（这些不影响导入）：\n%s";
/// Number of problems, the problems one a line: imported all the same.
inline constexpr const char* kLogWarningsFormat = "请核对以下%d处（已导入）：";

// ---------------------------------------------------------------- end of data
inline constexpr const char* kNoClasses = "未找到任何班级！";
inline constexpr const char* kNoSchools = "未找到任何学校！";
/// Grade, schools, classes, subjects, students.
inline constexpr const char* kStudentSummaryFormat = "导入%s：%d所学校，%d个班级，%d科成绩，共%d人";
/// The columns that are neither read nor known to hold no scores, joined with kNameSeparator.
inline constexpr const char* kLogNotAnalysedFormat = "以下各列不是可统计的学科，未作分析：%s。";
/// Subjects joined with kNameSeparator: analysed from their scaled scores (赋分).
inline constexpr const char* kLogScaledFormat = "%s按赋分统计";
/// Subjects joined with kNameSeparator: 计算赋分 computes their scaled scores from the raw ones.
inline constexpr const char* kLogScaledNotReadFormat = "%s的赋分按原始分计算，未使用表中的赋分列";
/// Students, the difference, sheet row, the sheet's total, the sum of the subjects: the sheet's 总分
/// is the sum plus (kTotalMoreFormat) or minus (kTotalLessFormat) the same amount for all of them.
inline constexpr const char* kTotalMoreFormat =
    "%d名学生的表中总分比各科之和多%s分，如第%d行：表中%s，各科之和%s";
inline constexpr const char* kTotalLessFormat =
    "%d名学生的表中总分比各科之和少%s分，如第%d行：表中%s，各科之和%s";
/// Students, the least and the largest difference, sheet row, the sheet's total, the sum.
inline constexpr const char* kTotalDifferentFormat =
    "%d名学生的表中总分与各科之和不同（相差%s到%s分），如第%d行：表中%s，各科之和%s";
/// After one of those: the columns not analysed, each quoted (kQuotedFormat) and joined with
/// kNameSeparator, and how many.
inline constexpr const char* kTotalNotAnalysedOneFormat = "；表中%s一列未作分析";
inline constexpr const char* kTotalNotAnalysedFormat = "；表中%s这%d列未作分析";
inline constexpr const char* kQuotedFormat = "“%s”";
/// Sheet, kind of student number (考号 or 学号), the two columns' header texts.
inline constexpr const char* kTwoIdColumnsFormat =
    "工作表“%s”有两列都像%s：%s和%s，无法确定按哪一列对应学生。请删去或改名其中一列后重试！";

// ---------------------------------------------------------------- the previous exam
/// File name, then the message of the reading step that failed.
inline constexpr const char* kPreviousFailedFormat = "上次考试“%s”：%s";
/// File name, sheet, schools, classes, subjects, students.
inline constexpr const char* kPreviousSummaryFormat =
    "上次考试“%s”：%s，%d所学校，%d个班级，%d科成绩，共%d人";
/// File name.
inline constexpr const char* kPreviousOpenedFormat = "上次考试：%s";
/// Subject, blank cells, cells with a text such as 缺考, how they are counted (kCountedAsZero …).
inline constexpr const char* kLogBlankScoresFormat = "%s：空白%d个，缺考等文字%d个，%s。";
inline constexpr const char* kCountedAsZero = "按0分计入统计";
inline constexpr const char* kCountedAsAbsent = "不计入该科统计";
/// Number of students, the students as "第%d行 name" joined with kNameSeparator.
inline constexpr const char* kLogSkippedFormat = "按缺考规则未导入%d人：%s";
/// Row, name: one skipped student.
inline constexpr const char* kSkippedStudentFormat = "第%d行 %s";
/// The classes and their subjects with no score at all, one class a line (kEmptyClassLineFormat).
inline constexpr const char* kWholeClassBlankFormat =
    "以下班级的科目全班都没有成绩（空白或缺考），现在按0分计入统计，会拉低这些班级和学校的平均分和各项比率："
    "\n%s"
    "如果这些是学生没有选考的科目，请勾选“%s”后再导出，这样没有成绩的学生不计入该科统计。";
/// School, class, the subjects joined with kNameSeparator.
inline constexpr const char* kEmptyClassLineFormat = "%s（%s）班：%s\n";
/// Teacher assignments.
inline constexpr const char* kTeacherSummaryFormat = "导入教师任课记录：%d条。";
/// Where the table came from ("任课.xlsx · 高二"): the teacher table was emptied.
inline constexpr const char* kLogTeachersClearedFormat = "已清除任课教师（%s）。";
inline constexpr const char* kLogTeachersCleared = "已清除任课教师。";

// ---------------------------------------------------------------- teacher sheets as schools keep them
/// Sheet: a list of one row per teacher and class.
inline constexpr const char* kLogTeacherListFormat =
    "工作表“%s”每行是一位教师在一个班的任课，按班级、学科、教师读取。";
/// Sheet: a teacher sheet without 年级 column.
inline constexpr const char* kLogNoGradeFormat = "工作表“%s”没有“年级”列，各行都算作所导入成绩的年级。";
/// The subjects of a teacher list that are not analysed, joined with kNameSeparator.
inline constexpr const char* kLogSubjectsNotAnalysedFormat = "以下学科不是可统计的学科，未作分析：%s。";
/// The cell's place (kCellPlaceFormat), the text as written.
inline constexpr const char* kClassesUnreadableFormat =
    "%s的班级“%s”读不出是哪几个班，请写成“1、2班”或“3-4班”这样！";

// ---------------------------------------------------------------- question sheets (小题分析)
/// File name, what went wrong.
inline constexpr const char* kQuestionSheetFailedFormat = "小题分表“%s”：%s";
/// The subject as given.
inline constexpr const char* kQuestionSubjectFormat =
    "学科名称“%s”不能用作工作表名：不能为空，不能含有 : \\ / ? * [ ] ' 这些字符";
/// Sheet.
inline constexpr const char* kQuestionHeaderFormat =
    "工作表“%s”中找不到标题行：标题行须有“姓名”列和题号列（如 1、2、17(1)、第18题）";
/// Sheet, the first column's text and letters, the second column's text and letters.
inline constexpr const char* kQuestionTwiceFormat = "工作表“%s”中“%s”（%s列）和“%s”（%s列）是同一道题";
/// Question, the cell's text.
inline constexpr const char* kQuestionNotScoreFormat = "第%s题得分“%s”不是分数";
inline constexpr const char* kQuestionNegativeFormat = "第%s题得分：%s不能小于0";
/// Question, score, full mark.
inline constexpr const char* kQuestionAboveFullMarkFormat = "第%s题得分：%s不能大于满分：%s";
/// Question, sheet.
inline constexpr const char* kQuestionNotInSheetFormat = "小题满分中的第%s题不在工作表“%s”中";
/// Sheet, the questions without a full mark.
inline constexpr const char* kQuestionMarksMissingFormat =
    "工作表“%s”没有满分行，这些小题没有满分：%s。请在标题行下加一行“满分”，或给出各小题的满分（如 "
    "1~12=5,17(1)=4）";
/// Subject, file name, sheet, students, questions, the subtotal columns (or kNoSubtotals).
inline constexpr const char* kQuestionSheetReadFormat =
    "小题分表（%s）：%s · %s，%d名学生，%d道小题；小计列（不计入小题）：%s";
inline constexpr const char* kNoSubtotals = "无";
/// The subjects joined with "、": the question sheets read before a new score sheet was taken.
inline constexpr const char* kQuestionSheetsDroppedFormat =
    "已导入新的成绩表，原来读入的小题分表（%s）已清除，需要时请重新添加。";

}  // namespace varnex::import_texts
