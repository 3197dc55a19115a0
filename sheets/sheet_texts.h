#pragma once
// Every text that the export shows or writes: messages, log lines, tab names, titles and the
// fixed cell texts of its sheets. A text with values in it is a printf format; the comment names
// the values.

#include <array>

namespace varnex::sheet_texts {

// ---------------------------------------------------------------- validation
/// Subject.
inline constexpr const char* kExcellenceLineRangeFormat = "%s学科的优秀控制线必须在0和100之间！";
inline constexpr const char* kNoExamName = "请输入或选择考试名称！";
inline constexpr const char* kNoStudentRows = "请首先导入成绩，然后才能导出分析结果！";
inline constexpr const char* kNoSchools = "请先导入成绩，然后才能导出分析结果！";
inline constexpr const char* kNothingChosen = "请选择需要导出的项目！";
/// Every report chosen is one that 不公布名次 leaves out.
inline constexpr const char* kOnlyPlaceReportsChosen =
    "不公布名次时不导出总分前N名和总分名次段，请选择其他需要导出的项目！";
inline constexpr const char* kTopNNotPositive = "总分名次必须填写一个大于零的数！";
inline constexpr const char* kNoTeacherRows = "导出教师个人三率必须先导入教师任课表！";
/// Grade: the teacher rates are the one report chosen and no teacher row is of the grade.
inline constexpr const char* kNoTeachersOfGradeOnlyFormat =
    "教师任课表中没有%s的任课记录，无法导出教师个人三率！请导入%s的教师任课表。";

// ---------------------------------------------------------------- confirmation and run
/// Exam name, grade, the item list (one item a line).
inline constexpr const char* kConfirmFormat =
    "考试名称：%s\n导出年级：%s\n\n导出项目：\n%s\n"
    "如果确认无误，单击“是”，导出分析结果；\n否则，单击“否”，返回修改。确认无误吗？";
// A line after the item list when the teacher rates are left out for want of a teacher sheet.
inline constexpr const char* kNoTeachersNote =
    "\n未导入教师任课表：不导出教师个人三率，班级各科三率的任课教师一栏留空。\n";
inline constexpr const char* kNoTeachersNoClassRatesNote = "\n未导入教师任课表：不导出教师个人三率。\n";
// Lines after the item list when the teacher table holds no teacher of the exported grade: grade.
inline constexpr const char* kNoTeachersOfGradeFormat =
    "\n教师任课表中没有%s的任课记录：不导出教师个人三率，班级各科三率的任课教师一栏留空。\n";
inline constexpr const char* kNoTeachersOfGradeNoClassRatesFormat =
    "\n教师任课表中没有%s的任课记录：不导出教师个人三率。\n";
inline constexpr const char* kNoTeachersOfGradeClassRatesFormat =
    "\n教师任课表中没有%s的任课记录：班级各科三率的任课教师一栏留空。\n";
/// The classes and subjects without a teacher, one class a line (kUntaughtClassLineFormat): with
/// the class rates, whose 任课教师 cells stay empty, and without.
inline constexpr const char* kUntaughtNoteFormat =
    "\n教师任课表中没有以下班级学科的任课教师（任课教师一栏留空）：\n%s";
inline constexpr const char* kUntaughtNoClassRatesFormat = "\n教师任课表中没有以下班级学科的任课教师：\n%s";
/// School, class, the subjects joined with kSubjectSeparator (or kAllSubjects).
inline constexpr const char* kUntaughtClassLineFormat = "%s（%s）班：%s\n";
inline constexpr const char* kSubjectSeparator = "、";
inline constexpr const char* kAllSubjects = "全部学科";
/// A line after the item list under 不公布名次: the sheets left out, joined with kSubjectSeparator.
inline constexpr const char* kPlaceReportsLeftOutFormat = "\n不公布名次：不导出%s。\n";
/// A line after the item list of a 一年级–九年级 export that shows students' places.
inline constexpr const char* kCompulsoryRanksNote =
    "\n义务教育阶段的日常考试不排名、不公布名次。如不需要学生名次，请勾选“不公布名次”。\n";
/// A line after the item list when the sheet's own 总分 differs from the sums of the subjects:
/// the import's log line (ImportResults::sheetTotalDifference).
inline constexpr const char* kSheetTotalNoteFormat = "\n%s。统计按各科之和计算。\n";
/// Lines after the item list with 按科类分别统计: the students without a track (their number), or
/// no student with one.
inline constexpr const char* kUntrackedNoteFormat =
    "\n按科类分别统计：%d名学生没有科类，另作“未分科类”统计，排在最后。\n";
inline constexpr const char* kNoTracksNote =
    "\n按科类分别统计：成绩表中没有学生的科类（物理类、历史类），仍按全年级统计。\n";
// What the export is doing, after "Varnex - <exam>：<sheet> - " (common_texts::kSheetStateTitleFormat).
inline constexpr const char* kExporting = "正在导出...";
inline constexpr const char* kExported = "导出完成";
/// Followed by the item of the sheet being filled.
inline constexpr const char* kLogExport = "导出：";
/// The progress step of the save.
inline constexpr const char* kProgressSaving = "导出：保存结果工作簿";
/// Exam name, grade.
inline constexpr const char* kLogDoneFormat = "%s：%s成绩分析 导出完成";
/// Followed by the path of the saved workbook.
inline constexpr const char* kLogSaved = "保存文件：";
/// After an export: the imported scores stay for the next one.
inline constexpr const char* kLogExportAgain = "导入的成绩仍然保留，可以更改选项后再次导出。";
/// Exam name, grade: the suggested file name, without its extension.
inline constexpr const char* kFileNameFormat = "%s - %s成绩分析";

// ---------------------------------------------------------------- completion
// The completion message: the saved file, then the clipboard line when the path went there, the
// sheets, and the opening line when the front end opens the file.
/// The full path of the saved workbook.
inline constexpr const char* kDoneFormat = "文件“%s”已经生成并保存！";
inline constexpr const char* kDonePathCopied = "\n（文件路径已复制到了剪贴板，按 Ctrl+V 粘贴）";
/// Number of sheets, the item list (one item a line).
inline constexpr const char* kDoneSheetsFormat = "\n\n此次共导出了 %d 张表格：\n%s";
inline constexpr const char* kDoneOpening = "\n点击“确定”按钮，将为你打开生成的文件。";

// ---------------------------------------------------------------- 分别导出
/// School, class: the file name of a class's own workbook, as the sheets write a class.
inline constexpr const char* kSplitClassFileFormat = "%s（%s）班";
/// The progress step of one school's or class's workbook, followed by its file name.
inline constexpr const char* kSplitProgress = "分别导出：";
/// The folder, the reason.
inline constexpr const char* kSplitFolderFailedFormat = "不能建立文件夹“%s”：%s";
/// The reason, the path of the whole result workbook (saved). The workbooks already written and
/// their folder are removed.
inline constexpr const char* kSplitFailedFormat =
    "分别导出没有完成，已删除这次分别导出的文件夹和其中的工作簿：%s\n整个结果工作簿已经保存：%s";
/// After the completion's sheets: the number of workbooks and the folder's full path.
inline constexpr const char* kDoneSplitFormat = "\n另%s分别导出了 %d 个工作簿，在文件夹“%s”中。";
/// The log line of the same: the choice (按学校, 按班级), the number of workbooks, the folder.
inline constexpr const char* kLogSplitFormat = "分别导出（%s）：%d 个工作簿，文件夹：%s";

// ---------------------------------------------------------------- printing
/// The footer of every printed page of a result sheet: the page number and the page count.
inline constexpr const char* kPageNumberFooter = "第 &P 页，共 &N 页";

// ---------------------------------------------------------------- sheet names and titles
inline constexpr const char* kContents = "目录";
inline constexpr const char* kTotalRankBands = "总分名次段";
inline constexpr const char* kTotalBands = "总分分数段";
inline constexpr const char* kSubjectBands = "各科分数段";
inline constexpr const char* kTeacherRates = "教师个人三率";
inline constexpr const char* kClassRates = "班级各科三率";
inline constexpr const char* kGradeRates = "年级各科三率";
inline constexpr const char* kClassRanking = "班级总分排名";
inline constexpr const char* kCharts = "统计图表";
inline constexpr const char* kLevelDistribution = "等级分布";
inline constexpr const char* kScaledScores = "赋分";
inline constexpr const char* kScoreLines = "上线分析";
/// N.
inline constexpr const char* kTopNFormat = "总分前%d名";
/// 按科类分别统计: a rate sheet's name and item, the report's name, the track (物理类, 历史类,
/// kNoTrack).
inline constexpr const char* kTrackSheetFormat = "%s-%s";
/// The group of the students whose score sheet row names no track, the others having one.
inline constexpr const char* kNoTrack = "未分科类";
/// Exam name, item, grade.
inline constexpr const char* kTitleFormat = "%s - %s（%s）";
/// Exam name, school, grade, class: the title of one class's ranking sheet.
inline constexpr const char* kClassTitleFormat = "%s - 班级总分排名 - %s%s（%s）班";
/// School, class: the item of one class's ranking sheet (its log line after "导出：").
inline constexpr const char* kClassItemFormat = "%s（%s）班总分排名";
/// Number of classes: the one line that stands for the sheets of one class each in the item list.
inline constexpr const char* kClassSheetsItemFormat = "各班总分排名表 %d 张";
/// School, class: the log line of one class on the sheet of all classes.
inline constexpr const char* kClassLogFormat = "导出：%s（%s）班总分排名";

// ---------------------------------------------------------------- contents sheet
inline constexpr const char* kSheetNameHeader = "工作表名称";
inline constexpr const char* kSheetTitleHeader = "工作表标题";

// ---------------------------------------------------------------- band sheets
/// School.
inline constexpr const char* kCumulativeHeaderFormat = "%s/累计";
inline constexpr const char* kAllSchoolsCumulativeHeader = "合计/累计";
/// Count in the band, cumulative count.
inline constexpr const char* kCountFormat = "%3d/%-3d";
/// First and last place of the band.
inline constexpr const char* kRankBandFormat = "第%3d→%-3d名";
/// Full mark.
inline constexpr const char* kFullMarkBandFormat = "满分:%-3d分";
/// Lowest and highest score of the band.
inline constexpr const char* kScoreBandFormat = "%3d→%-3d分";
inline constexpr const char* kSubjectHeader = "学科";
inline constexpr const char* kBandHeader = "分数段";
/// Sheet, subject (or ""), full mark, rows needed, rows a sheet has.
inline constexpr const char* kTooManyRowsFormat =
    "%s：%s满分 %d 分需要 %d 行，超过了工作表的最大行数 %d 行！";

// ---------------------------------------------------------------- chart sheet
/// Subject (or the total's name): the chart of the classes' averages.
inline constexpr const char* kClassAverageChartFormat = "%s各班平均分";
/// School: the chart of its subjects' excellence and pass rates.
inline constexpr const char* kSchoolRatesChartFormat = "%s各科优秀率和及格率";
/// School: the same chart with 低分率 beside them (四率).
inline constexpr const char* kSchoolFourRatesChartFormat = "%s各科优秀率、及格率和低分率";
/// School: the chart of its totals in bands.
inline constexpr const char* kSchoolBandsChartFormat = "%s总分分布";
inline constexpr const char* kClassAxis = "班级（红线：总平均分）";
inline constexpr const char* kAverageAxis = "平均分";
inline constexpr const char* kSubjectAxis = "学科";
inline constexpr const char* kRateAxis = "百分比（%）";
inline constexpr const char* kCountAxis = "人数";
inline constexpr const char* kAverageSeries = "平均分";
inline constexpr const char* kBlockAverageSeries = "总平均分";
inline constexpr const char* kExcellentRateSeries = "优秀率";
inline constexpr const char* kPassRateSeries = "及格率";
inline constexpr const char* kLowRateSeries = "低分率";
inline constexpr const char* kCountSeries = "人数";
// What the chart sheet says in place of the charts whose report was not exported.
inline constexpr const char* kNoClassRatesNote = "未导出“班级各科三率”，所以没有各班平均分图。";
inline constexpr const char* kNoGradeRatesNote = "未导出“年级各科三率”，所以没有各校优秀率和及格率图。";
/// With 按科类分别统计, instead of the two above when those sheets are chosen.
inline constexpr const char* kClassRatesByTrackNote = "“班级各科三率”按科类分别导出，所以没有各班平均分图。";
inline constexpr const char* kGradeRatesByTrackNote =
    "“年级各科三率”按科类分别导出，所以没有各校优秀率和及格率图。";
inline constexpr const char* kNoTotalBandsNote = "未导出“总分分数段”，所以没有各校总分分布图。";
// The figures the charts read, beside them, each a formula on the report it comes from.
/// The chart of the total's levels, with the schools (with two or more) or the classes as its
/// categories, and the table it reads.
inline constexpr const char* kSchoolLevelsChart = "各校总分等级分布";
inline constexpr const char* kClassLevelsChart = "各班总分等级分布";
inline constexpr const char* kLevelShareTable = "总分等级分布图的比例（取自“等级分布”）";
inline constexpr const char* kBlockAverageTable = "各班平均分图的班级和红线（取自“班级各科三率”）";
/// Subject (or the total's name): the column of a block's 总平均分, written where its line begins
/// and ends.
inline constexpr const char* kBlockAverageHeaderFormat = "%s总平均分（红线两端）";
inline constexpr const char* kBandCountTable = "各校总分各分数段的人数（取自“总分分数段”）";

// ---------------------------------------------------------------- ranking sheets
inline constexpr const char* kSerial = "序号";
inline constexpr const char* kSchool = "学校";
inline constexpr const char* kClass = "班级";
inline constexpr const char* kName = "姓名";
inline constexpr const char* kPlace = "名次";
/// Subject (or the total's name), full mark.
inline constexpr const char* kHeaderWithMarkFormat = "%s%d";
/// The chosen 名次方式 and its places ("并列占位", "1,2,2,4"): row 2 of the top-N and
/// class-ranking sheets.
inline constexpr const char* kRankingRuleNoteFormat = "名次：%s（%s）";
/// 按科类分别统计: the header of the track column of the ranking and progress sheets, and row 2 of
/// the top-N and class-ranking sheets (after the 名次方式, when one was chosen, and kNoteSeparator).
inline constexpr const char* kTrack = "科类";
inline constexpr const char* kTrackPlacesNote = "名次按科类分别排出";
inline constexpr const char* kNoteSeparator = "；";
/// Under 不公布名次: the header of a level column, and row 2 of 班级总分排名 before the levels' cuts.
inline constexpr const char* kLevel = "等级";
inline constexpr const char* kNameOrderNote = "不公布名次：各班学生按姓名的拼音顺序排列，不排名次。";

// ---------------------------------------------------------------- 等级分布
inline constexpr std::array<const char*, 4> kLevelHeaders{"学科", "学校", "班级", "人数"};
/// Level name: its count and its share of the students counted.
inline constexpr const char* kLevelCountFormat = "%s人数";
inline constexpr const char* kLevelShareFormat = "%s比例(%%)";
/// The row of a school's students and the row of the whole exam.
inline constexpr const char* kWholeSchool = "全校";
inline constexpr const char* kWholeExam = "全体";
/// The note under the title: how the levels were cut, each level after the first one joined by "，".
inline constexpr const char* kLevelsByScoreNote = "等级按分数线：";
inline constexpr const char* kLevelsByShareNote = "等级按人数比例：";
inline constexpr const char* kLevelSeparator = "，";
/// Level name, its line in percent of the full mark.
inline constexpr const char* kLevelAtLeastFormat = "%s ≥ %s%%";
/// Level name, the cumulative share of students from the top.
inline constexpr const char* kLevelTopFormat = "%s 前%s%%";
/// Level name: the last level.
inline constexpr const char* kLevelRestFormat = "%s 其余";
inline constexpr const char* kLevelsByScoreTail = "（占满分的百分比）";
inline constexpr const char* kLevelsByShareTail = "；同分同级";

// ---------------------------------------------------------------- 赋分
/// The rule's name in brackets ("（3+1+2常用）", "" for a rule written out), its grades joined with
/// kLevelSeparator (kScaleGradeFormat).
inline constexpr const char* kScaledNoteFormat =
    "赋分规则%s：%s。省（市）按全体考生划分等级并赋分，本表按本次考试中该科有成绩的全部学生估算，"
    "与正式赋分可能不同。";
/// Rule name.
inline constexpr const char* kScaleRuleNameFormat = "（%s）";
/// Grade, share in percent, lowest and highest scaled score.
inline constexpr const char* kScaleGradeFormat = "%s %s%%（%d-%d分）";
/// Subject: its three columns.
inline constexpr const char* kRawScoreHeaderFormat = "%s原始分";
inline constexpr const char* kScaleGradeHeaderFormat = "%s等级";
inline constexpr const char* kScaledHeaderFormat = "%s赋分";

// ---------------------------------------------------------------- 上线分析
inline constexpr const char* kNoScoreLines =
    "导出上线分析必须先设定分数线！请点“上线…”按钮填写本年级的分数线，或在配置文件该年级一节写“上线”，如 "
    "物理类:本科=480,特控=560;历史类:本科=470；"
    "命令行用 --lines 或 --lines-top。";
inline constexpr const char* kScoreLinesNote =
    "单上线：总分达到分数线的人数；双上线：该科达到学科线且总分达到分数线的人数；学科线：总分达到分数线的"
    "学生该科的平均分；按比例的分数线为该科类第⌈n×比例⌉名学生的总分（n为该科类有总分的学生数）。";
inline constexpr const char* kScoreLineHeaders[] = {"分数线", "学校", "班级", "实考人数", "单上线", "上线率"};
/// Subject.
inline constexpr const char* kBothReachedFormat = "%s双上线";
inline constexpr const char* kSubjectLineRow = "学科线";
/// Track followed by a blank (or ""), line name, the line's score.
inline constexpr const char* kScoreLineLabelFormat = "%s%s线 %s分";
/// The share of a line given as one, after its label.
inline constexpr const char* kShareLineFormat = "（前%s%%）";

// ---------------------------------------------------------------- progress and 临界生
inline constexpr const char* kStudentProgress = "学生进退步";
inline constexpr const char* kClassProgress = "班级进退步";
inline constexpr const char* kNearLine = "临界生";
inline constexpr const char* kNoPreviousExam = "导出进退步必须先选择并读入上次考试的成绩表！";
/// Sheet, rows needed, the worksheet's last row.
inline constexpr const char* kSheetTooLongFormat = "%s需要 %d 行，超过了工作表的最大行数 %d 行！";
inline constexpr const char* kThisTotal = "本次总分";
inline constexpr const char* kThisPlace = "本次名次";
inline constexpr const char* kLastTotal = "上次总分";
inline constexpr const char* kLastPlace = "上次名次";
inline constexpr const char* kPlaceChange = "名次变化";
inline constexpr const char* kSubject = "学科";
inline constexpr const char* kAverage = "平均分";
inline constexpr const char* kExcellentRate = "优秀率";
inline constexpr const char* kPassRate = "及格率";
// The two lines under the title of 学生进退步; with a chosen 名次方式 the first names it instead.
inline constexpr const char* kStudentProgressNote[] = {
    "名次为全年级名次，同分同名次（1、2、2、4），两次考试各自排出；",
    "没有总分的学生不排名次；名次变化 = 上次名次 − 本次名次，正数为进步。"};
/// Under 不公布名次: the level columns of 学生进退步 and the two lines under its title (the first
/// followed by how the levels were cut).
inline constexpr const char* kThisLevel = "本次等级";
inline constexpr const char* kLastLevel = "上次等级";
inline constexpr const char* kLevelChange = "等级变化";
inline constexpr const char* kStudentLevelProgressNote[] = {
    "不公布名次：等级为总分的等级，两次考试各自评定；",
    "没有总分的学生没有等级；等级变化 = 上升的级数，正数为进步。"};
/// The chosen 名次方式 and its places ("并列占位", "1,2,2,4").
inline constexpr const char* kStudentProgressRuleNoteFormat =
    "名次为全年级名次，%s（%s），两次考试各自排出；";
/// 按科类分别统计: the first line under the title of 学生进退步, without and with a chosen 名次方式
/// (its name and places).
inline constexpr const char* kStudentProgressTrackNote =
    "名次为科类内名次，同分同名次（1、2、2、4），两次考试各自排出；";
inline constexpr const char* kStudentProgressTrackRuleNoteFormat =
    "名次为科类内名次，%s（%s），两次考试各自排出；";
inline constexpr const char* kClassProgressNote =
    "上次的数字按本班现在的学生在上次考试中的成绩计算；名次为全年级各班之间的名次，同值同名次；"
    "名次变化 = 上次名次 − 本次名次，正数为进步。";
inline constexpr const char* kThis = "本次";
inline constexpr const char* kLast = "上次";
inline constexpr const char* kChange = "变化";
/// The subjects examined in one exam only, joined with kNameSeparator, after the note.
inline constexpr const char* kThisOnlySubjectsFormat = "只在本次考试中的学科（%s）不作比较。";
inline constexpr const char* kLastOnlySubjectsFormat = "只在上次考试中的学科（%s）不作比较。";
inline constexpr const char* kLine = "临界线";
inline constexpr const char* kLineScore = "分数线";
inline constexpr const char* kDifference = "差";
inline constexpr const char* kWeakestSubject = "最弱学科";
inline constexpr const char* kExcellentLine = "优秀线";
inline constexpr const char* kPassLine = "及格线";
/// Excellence line, pass line, band.
/// Excellence line, pass line, band: the first line under the title of 临界生; the second follows.
inline constexpr const char* kNearLineNoteFormat = "总分在优秀线（%s分）或及格线（%s分）上下%d分以内的学生；";
/// The band, when each student's lines are those of the subjects they sat.
inline constexpr const char* kNearLineOwnLinesNoteFormat =
    "总分在本人所考各科合计的优秀线或及格线上下%d分以内的学生（缺考的科目不计）；";
inline constexpr const char* kNearLineNote = "差 = 总分 − 分数线；最弱学科为得分与满分之比最低的学科。";
/// The lines joined with kNearScoreLineSeparator (kNearScoreLineFormat), band: with 临界线 上线.
inline constexpr const char* kNearScoreLinesNoteFormat = "总分在上线分数线（%s）上下%d分以内的学生；";
/// Track followed by a blank (or ""), line name, its score.
inline constexpr const char* kNearScoreLineFormat = "%s%s线%s分";
inline constexpr const char* kNearScoreLineSeparator = "，";
/// Track (or ""), line name: the 分数线 cell of a student near a 上线 line.
inline constexpr const char* kScoreLineNameFormat = "%s%s线";
inline constexpr const char* kNoNearScoreLines =
    "临界线选了“上线”，但没有设定分数线！请在配置文件该年级一节写“上线”，或改用优秀线和及格线。";

// ---------------------------------------------------------------- 学生标准分
inline constexpr const char* kStandardScores = "学生标准分";
/// Subject (or 总分): the headers of a subject's two columns.
inline constexpr const char* kZScoreFormat = "%sZ分";
inline constexpr const char* kTScoreFormat = "%sT分";
inline constexpr const char* kStandardScoresNote =
    "Z分 =（成绩 − 全体平均分）÷ 标准差，T分 = 50 + 10 × Z分；各科按全体参加该科考试的学生计算，"
    "标准差为总体标准差（除以人数）；全体成绩相同的科目没有标准分。";

// 小题分析 and 小题明细, one sheet each per subject.
/// Subject.
inline constexpr const char* kQuestionAnalysisFormat = "小题分析-%s";
inline constexpr const char* kQuestionDetailFormat = "小题明细-%s";
inline constexpr const char* kNoQuestionSheets =
    "导出小题分析或小题明细必须先读入小题分表！请在导入学生成绩后点“小题分表…”添加各科的小题分表，"
    "或取消勾选导出小题分析和导出小题明细；命令行用 --questions。";
inline constexpr std::array<const char*, 13> kQuestionHeaders{
    "学校",    "班级",    "人数", "题号",   "满分",       "平均分",        "得分率%",
    "满分率%", "零分率%", "难度", "区分度", "区分度评价", "与全体得分率差"};
/// Students paired, the α and the students it is taken over (or kQuestionNoAlpha), the subtotals
/// left out (or kQuestionNoSubtotals).
inline constexpr const char* kQuestionNoteFormat =
    "按成绩表中对应上的 %d 名学生统计；克隆巴赫α系数：%s；小计列（不计入小题）：%s";
/// α, students.
inline constexpr const char* kQuestionAlphaFormat = "%s（%d 人各题均有成绩）";
inline constexpr const char* kQuestionNoAlpha = "无法计算";
inline constexpr const char* kQuestionNoSubtotals = "无";
inline constexpr const char* kQuestionRuleNote =
    "难度 = 得分率；区分度 = "
    "按各题得分之和排在前27%与后27%的学生（不足20人时各取一半，与分界处同分者一并计入）"
    "的得分率之差";
inline constexpr const char* kQuestionQualityNote =
    "区分度0.40及以上很好，0.30～0.39较好，0.20～0.29需修改，0.20以下较差；与全体得分率差低于 −10 "
    "个百分点的单元格标红";
/// Subject.
inline constexpr const char* kQuestionChartTitleFormat = "%s各题得分率";
inline constexpr const char* kQuestionChartCategories = "题号";
inline constexpr const char* kQuestionChartValues = "得分率%";
inline constexpr std::array<const char*, 3> kQuestionDetailNames{"学校", "班级", "姓名"};
inline constexpr const char* kQuestionScore = "得分";
inline constexpr const char* kQuestionLoss = "失分";
inline constexpr const char* kQuestionTotal = "合计";

}  // namespace varnex::sheet_texts
