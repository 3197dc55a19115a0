#pragma once
// Every text that the export shows or writes: messages, log lines, tab names, titles and the
// fixed cell texts of its sheets. printf formats are kept beside the texts they assemble.

namespace varnex::exporttext {

// ---------------------------------------------------------------- validation
inline constexpr const char* kExcellenceLineRange =
    "学科的优秀控制线必需在0和100之间！";  ///< after the subject name
inline constexpr const char* kNoExamName = "请输入或选择考试名称！";
inline constexpr const char* kNoStudentRows = "请首先导入成绩，然后才能导出分析结果！";
inline constexpr const char* kNoSchools = "请先导入成绩，然后才能导出分析结果！";
inline constexpr const char* kNothingChosen = "请选择需要导出的项目！";
inline constexpr const char* kTopNNotPositive = "总分名次必须填写一个大于零的数！";
inline constexpr const char* kNoTeacherRows = "导出教师个人三率必须先导入教师任课表！";
// "请先导入“" S G "（" C "）班" subject "”学科任课教师！"
inline constexpr const char* kMissingTeacherFormat = "%s%s%s%s%s%s%s%s";
inline constexpr const char* kMissingTeacherBegin = "请先导入“";
inline constexpr const char* kMissingTeacherEnd = "”学科任课教师！";

// ---------------------------------------------------------------- confirmation and run
inline constexpr const char* kConfirmFormat = "%s%s\n%s%s\n\n%s\n%s\n%s";
inline constexpr const char* kConfirmExamName = "考试名称：";
inline constexpr const char* kConfirmGrade = "导出年级：";
inline constexpr const char* kConfirmItems = "导出项目：";
inline constexpr const char* kConfirmQuestion =
    "如果确认无误，单击“是”，导出分析结果；\n否则，单击“否”，返回修改。确认无误吗？";
inline constexpr const char* kStartFailed =
    "启动 Excel 服务失败！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！";
inline constexpr const char* kCaptionFormat = "%s - %s%s";  ///< exam name, sheet name, "成绩分析"
inline constexpr const char* kAnalysis = "成绩分析";
inline constexpr const char* kWindowTitleFormat = "%s - %s%s%s - %s";
inline constexpr const char* kProgramName = "Varnex";
inline constexpr const char* kFullColon = "：";
inline constexpr const char* kExporting = "正在导出...";
inline constexpr const char* kExported = "导出完成";
inline constexpr const char* kLogExport = "导出：";
inline constexpr const char* kLogDoneFormat = "%s%s%s%s";  ///< E "：" G "成绩分析 导出完成"
inline constexpr const char* kLogDone = "成绩分析 导出完成";
inline constexpr const char* kLogSaved = "保存文件：";
inline constexpr const char* kFileNameFormat = "%s - %s%s";  ///< E, G, "成绩分析"

// ---------------------------------------------------------------- completion
inline constexpr const char* kDoneFormat = "%s%s%s%s\n%s\n\n%s %d %s\n%s\n%s";
inline constexpr const char* kDoneNoClipboardFormat = "%s%s%s%s\n\n%s";
inline constexpr const char* kFileOpen = "文件“";
inline constexpr const char* kFileClose = "”";
inline constexpr const char* kGenerated = "已经生成！";
inline constexpr const char* kSaveByHand = "请手动保存文件。（文件名已复制到了剪贴板，按 Ctrl+V 粘贴）";
inline constexpr const char* kSheetsBefore = "此次共导出了";
inline constexpr const char* kSheetsAfter = "张表格：";
inline constexpr const char* kWillOpen = "点击“确定”按钮，将为你打开生成的文件。";
inline constexpr const char* kGeneratedSaveByHand = "已经生成，请手动保存文件！";

// ---------------------------------------------------------------- captions
inline constexpr const char* kCaptionError = "错误";
inline constexpr const char* kCaptionConfirm = "确认";
inline constexpr const char* kCaptionInfo = "信息";

// ---------------------------------------------------------------- sheet names and titles
inline constexpr const char* kContents = "目录";
inline constexpr const char* kTotalRankBands = "总分名次段";
inline constexpr const char* kTotalBands = "总分分数段";
inline constexpr const char* kSubjectBands = "各科分数段";
inline constexpr const char* kTeacherRates = "教师个人三率";
inline constexpr const char* kClassRates = "班级各科三率";
inline constexpr const char* kGradeRates = "年级各科三率";
inline constexpr const char* kClassRanking = "班级总分排名";
inline constexpr const char* kTopNBefore = "总分前";
inline constexpr const char* kTopNAfter = "名";
inline constexpr const char* kTopNFormat = "%s%d%s";          ///< "总分前" N "名"
inline constexpr const char* kTitleFormat = "%s - %s%s%s%s";  ///< E, item, "（", G, "）"
inline constexpr const char* kClassTitleFormat = "%s - %s - %s";
inline constexpr const char* kClassTitleTailFormat = "%s%s%s%s%s";  ///< S, G, "（", C, "）班"
inline constexpr const char* kOpenBracket = "（";
inline constexpr const char* kCloseBracket = "）";
inline constexpr const char* kCloseClass = "）班";
inline constexpr const char* kClassItemFormat = "%s%s%s%s";  ///< S, "（", C, "）班总分排名"
inline constexpr const char* kClassItemEnd = "）班总分排名";

// ---------------------------------------------------------------- contents sheet
inline constexpr const char* kSheetNameHeader = "工作表名称";
inline constexpr const char* kSheetTitleHeader = "工作表标题";

// ---------------------------------------------------------------- band sheets
inline constexpr const char* kCumulativeHeaderFormat = "%s/%s";  ///< school or "合计", "累计"
inline constexpr const char* kCumulative = "累计";
inline constexpr const char* kAllSchools = "合计";
inline constexpr const char* kCountFormat = "%3d/%-3d";
inline constexpr const char* kRankBandFormat = "%s%3d%s%-3d%s";  ///< "第" first "→" last "名"
inline constexpr const char* kRankBandBefore = "第";
inline constexpr const char* kArrow = "→";
inline constexpr const char* kRankBandAfter = "名";
inline constexpr const char* kFullMarkBandFormat = "%s:%-3d%s";  ///< "满分" F "分"
inline constexpr const char* kFullMark = "满分";
inline constexpr const char* kScoreBandFormat = "%3d%s%-3d%s";  ///< edge "→" last "分"
inline constexpr const char* kPoints = "分";
inline constexpr const char* kSubjectHeader = "学科";
inline constexpr const char* kBandHeader = "分数段";
inline constexpr const char* kTooManyRowsFormat =
    "%s：%s满分 %d 分需要 %d 行，超过了工作表的最大行数 %d 行！";

// ---------------------------------------------------------------- ranking sheets
inline constexpr const char* kSerial = "序号";
inline constexpr const char* kSchool = "学校";
inline constexpr const char* kClass = "班级";
inline constexpr const char* kName = "姓名";
inline constexpr const char* kTotal = "总分";
inline constexpr const char* kPlace = "名次";
inline constexpr const char* kHeaderWithMarkFormat = "%s%d";  ///< subject or "总分", full mark
inline constexpr const char* kClassLogFormat = "%s%s%s%s%s";  ///< "导出：" S "（" C "）班总分排名"

}  // namespace varnex::exporttext
