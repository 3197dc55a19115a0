#pragma once
// Every text the desktop window shows: captions, menu texts, status prompts, tooltips and
// messages. Kept in one place so that the window code and the tests use the same constants. A
// text with values in it is a printf format; the comment names the values.

#include "ui/control_ids.h"

namespace varnex::ui_texts {

// Single instance and splash
constexpr const char* kInstanceMarker = "{1BC59C00-5EE7-11d6-8634-0000E8AF5899}";
/// The program's title.
constexpr const char* kAlreadyRunningFormat = "%s\n已经运行！";
constexpr const char* kSplashWelcome = "欢迎使用Varnex";
constexpr const char* kSplashGreeting = "学生成绩分析 · 三率统计 · 分数段 · 名次段";

/// The exam name proposed at start-up, a strftime format: %m is the month ("某地区三校03月联考").
constexpr const char* kExamNameFormat = "某地区三校%m月联考";
/// The teacher table's frame: plain while it is empty, else with where the table came from
/// ("任课.xlsx · 高二").
constexpr const char* kTeacherFrameTitle = "教师任课表";
constexpr const char* kTeacherFrameSourceFormat = "教师任课表（%s）";

// Captions of the window's frames and controls; "&" marks the mnemonic (Alt+digit), which the
// caption shows underlined and does not otherwise show.
constexpr const char* kFrameDataImport = "数据导入";
constexpr const char* kFrameImportOptions = "导入选项";
constexpr const char* kFrameScoreSettings =
    "学科分值和优秀控制线（分值为零则表示本学科不参与本次考试；优秀控制线为学科分值的百分比）";
constexpr const char* kFrameStudents = "学生成绩表";
constexpr const char* kFrameTeachers = "教师任课表";
constexpr const char* kFrameExport = "分析导出";
constexpr const char* kOpenFileButton = "&1.打开文件…";
constexpr const char* kSheetLabel = "&2.选择工作表";
constexpr const char* kImportTeachersButton = "&3.导入任课教师";
constexpr const char* kGradeLabel = "&4.选择年级";
constexpr const char* kImportStudentsButton = "&5.导入学生成绩";
constexpr const char* kClassLabel = "学校和班级";
constexpr const char* kExportButton = "&6.导出分析结果";
constexpr const char* kMissingRule0 = "缺考学科超过一半，不导入";
constexpr const char* kMissingRule1 = "缺考超过";
constexpr const char* kMissingLimitUnit = "科，不导入";
constexpr const char* kMissingRule2 = "无论缺考几科，全部都导入";
constexpr const char* kConvertedScores = "按赋分统计";
constexpr const char* kComputeScaled = "计算赋分";
/// 临界生 near the 上线 lines instead of the excellence and pass lines.
constexpr const char* kNearScoreLines = "临界生按上线";
/// Places and the rate sheets per track (物理类 / 历史类).
constexpr const char* kByTrack = "按科类分别统计";
/// The buttons that open the 上线设置 and 小题分析 dialogs.
constexpr const char* kScoreLinesButton = "上线…";
constexpr const char* kQuestionSheetsButton = "小题分表…";
/// The further subjects' row: its caption and the tips of a subject's two boxes.
constexpr const char* kOtherSubjectsCaption = "其他学科";
// The 等级 row of the score settings: how the grade's levels are cut.
constexpr const char* kLevelsCaption = "等级";
constexpr const char* kLevelByScore = "按分数";
constexpr const char* kLevelByShare = "按比例";
constexpr const char* kLevelLinesLabel = "等级线";
constexpr const char* kLevelNamesLabel = "等级名称";
/// Shown beside the boxes while they cannot be used, and when an export or 保存 meets them so.
constexpr const char* kBadLevels =
    "等级线或等级名称无效：按分数时等级线为满分的百分比，自高到低、大于0且不超过100；"
    "按比例时为各等级所占的百分比，均大于0、合计不超过100；等级名称用逗号隔开，个数与等级数相同（可不填）。";
constexpr const char* kOtherSubjectFullMarkTip = "分值：填写后这一列作为学科统计；空白或 0 则不统计";
constexpr const char* kOtherSubjectExcellenceTip = "优秀控制线：分值的百分比，空白为 80%";
constexpr const char* kFullMarkRow = "分值：";
constexpr const char* kExcellenceRow = "优秀：";
constexpr const char* kGoodLineRow = "良好：";
constexpr const char* kLowLineRow = "低分：";
constexpr const char* kPercent = "%";
constexpr const char* kSaveButton = "保存";
constexpr const char* kDefaultButton = "默认";
constexpr const char* kExamNameLabel = "考试名称";
constexpr const char* kTopNUnit = "名";
constexpr const char* kRankingPerClass = "一个班级一张表";
constexpr const char* kRankingOneSheet = "所有班级一张表";
constexpr const char* kIgnoreZeroScores = "零分学科不纳入学科三率计算";
/// The check boxes of the figures added beside the three rates.
constexpr const char* kFourRates = "四率";
constexpr const char* kMoreFigures = "扩展指标";
constexpr const char* kFourRatesTip = "在三率旁加上良好率和低分率，以及人数和排名";
constexpr const char* kMoreFiguresTip = "在三率旁加上超均率、标准差、最高分和最低分";
constexpr const char* kRankingTiesLabel = "名次方式";
constexpr const char* kRankingTiesSkip = "并列占位";
constexpr const char* kRankingTiesDense = "并列不占位";
constexpr const char* kSplitFilesLabel = "分别导出";
constexpr const char* kNoRanks = "不公布名次";
constexpr const char* kPreviousExamLabel = "上次考试";
constexpr const char* kPreviousFileButton = "选择…";

// The 上线设置 dialog: the grade's lines of the total, one row per line.
constexpr const char* kScoreLinesTitle = "上线设置";
/// Grade.
constexpr const char* kScoreLinesHintFormat =
    "%s的上线分数线：每行一条线，填分数（如 480）或比例（如 60%%，该科类前60%%的学生上线）；"
    "不适用于某科类的留空，两科类相同的两栏填一样的。";
constexpr const char* kScoreLineNameHeader = "线名称";
constexpr const char* kAddRowButton = "添加";
constexpr const char* kRemoveRowButton = "删除";
/// Row number.
constexpr const char* kScoreLineNoNameFormat = "第%d行没有填写线名称。";
/// Line name.
constexpr const char* kScoreLineBadNameFormat = "线名称“%s”无效：不能含有 [ ] : ; , %% = 等符号。";
/// Line name.
constexpr const char* kScoreLineTwiceFormat = "线名称“%s”重复了。";
/// Line name.
constexpr const char* kScoreLineEmptyFormat = "“%s”线的物理类和历史类都没有填写。";
/// Line name, track, the cell's text.
constexpr const char* kScoreLineBadValueFormat =
    "“%s”线的%s“%s”无效：请填写分数（如 480）或比例（如 60%%），比例大于0、不超过100%%。";

// The 小题分析 dialog: the question-score sheets read, one per subject.
constexpr const char* kQuestionSheetsTitle = "小题分析";
constexpr const char* kQuestionSheetsHint =
    "每科一张小题分表（每题一列，如阅卷平台导出的小题得分）：添加后立即读入，同一学科再添加则替换；"
    "再次导入学生成绩后需要重新添加。";
constexpr const char* kQuestionFileHeader = "文件";
constexpr const char* kQuestionSheetHeader = "工作表";
constexpr const char* kQuestionSubjectHeader = "学科";
constexpr const char* kAddSheetButton = "添加…";
constexpr const char* kRemoveSheetButton = "移除";
constexpr const char* kCloseButton = "关闭";
/// Shown when 添加… is pressed before the scores are imported.
constexpr const char* kQuestionsNeedScores = "请先导入学生成绩，再添加小题分表。";
/// The choice of the sheet and subject after the file.
constexpr const char* kQuestionSourceTitle = "添加小题分表";
constexpr const char* kQuestionSheetLabel = "工作表：";
constexpr const char* kQuestionSubjectLabel = "学科：";

// The full marks of a sheet's questions, asked when the sheet has no 满分 row.
constexpr const char* kQuestionMarksTitle = "小题满分";
/// Subject.
constexpr const char* kQuestionMarksHintFormat =
    "%s小题分表没有满分行，请填写各题的满分（已按各题的最高得分填好）：";
/// Question, the text typed.
constexpr const char* kQuestionMarkBadFormat = "第%s题的满分“%s”无效：请填写大于0、不超过1000的数。";

// Status bar
/// The progress bar's step before the work names one.
constexpr const char* kWorking = "正在处理…";
/// The answer to closing the window while an import or export runs.
constexpr const char* kBusyNoExit = "正在导入或导出，请等它完成后再退出。";
constexpr const char* kIdlePrompt = "双击学生成绩表，复制某一行成绩到剪贴板；单击列标题，对某一列进行排序";
constexpr const char* kNoticePane = "数据只在本机处理";
constexpr const char* kClockPlaceholder = "0000年:00月:00日00:00:00";

// Buttons of the message boxes
constexpr const char* kOkButton = "确定";
constexpr const char* kYesButton = "是(&Y)";
constexpr const char* kNoButton = "否(&N)";
constexpr const char* kCancelButton = "取消";
/// The button of a long message that copies its whole text.
constexpr const char* kCopyButton = "复制(&C)";

// Messages of the window itself
/// The number box (one of the names below): shown when it holds no integer.
constexpr const char* kIntegerPromptFormat = "%s：请输入一个整数。";
/// A 良好 or 低分 line: a percent of the full mark.
constexpr const char* kPercentPromptFormat = "%s：请输入 0 到 100 之间的整数（满分的百分比）。";
/// Subject: the names of the settings row's number boxes.
constexpr const char* kFullMarkBoxFormat = "%s分值";
constexpr const char* kExcellenceBoxFormat = "%s优秀控制线";
constexpr const char* kGoodLineBoxFormat = "%s良好线";
constexpr const char* kLowLineBoxFormat = "%s低分线";
constexpr const char* kMissingLimitBox = "缺考科数";
constexpr const char* kTopNBox = "总分前N名";
constexpr const char* kExitQuestion = "确定要退出Varnex吗？";
/// The student's name.
constexpr const char* kRowCopiedFormat = "学生:%s\n的成绩已复制到了剪贴板，按 Ctrl+V 粘贴。";
constexpr const char* kClipboardFailed = "无法打开剪贴板！";
constexpr const char* kOpenDialogTitle = "打开";
/// The type the open-file dialog shows for a folder.
constexpr const char* kFolderType = "文件夹";
constexpr const char* kOpenDialogLookIn = "查找范围：";
constexpr const char* kOpenDialogFileName = "文件名：";
constexpr const char* kOpenDialogFileType = "文件类型：";
constexpr const char* kOpenDialogAccept = "打开(&O)";
constexpr const char* kOpenDialogReject = "取消";
/// The patterns of the files opened (app/opened_files.h): "*.xls *.xlsx …".
constexpr const char* kOpenFileFilterFormat = "Excel工作表、WPS表格、CSV或网页文件(%1)";
constexpr const char* kStatusBarFailed = "创建状态栏失败！";

// Desktop conveniences
constexpr const char* kDesktopUnknown = "获取当前桌面路径失败！\nＷＩＮ７ 系统？";
constexpr const char* kDesktopShortcutOk = "创建桌面快捷方式成功！";
/// The launcher's path.
constexpr const char* kDesktopShortcutFailedFormat = "创建桌面快捷方式失败！\n无法写入：%s";
/// The launcher's path in the applications menu folder.
constexpr const char* kDesktopShortcutElsewhereFormat =
    "没有找到桌面文件夹，快捷方式已放在应用程序菜单的文件夹中：\n%s";
constexpr const char* kQuickLaunchUnknown = "获取QuickLaunch目录失败？";
constexpr const char* kQuickLaunchOk = "创建快速启动图标成功！";
/// The failure's code.
constexpr const char* kQuickLaunchFailedFormat = "创建快速启动项失败：%d";
/// The programs looked for, joined with "、".
constexpr const char* kNoCalculatorFormat = "没有找到计算器程序。请安装以下程序之一：%s";
/// The programs looked for, joined with "、".
constexpr const char* kNoTextEditorFormat = "没有找到文本编辑器。请安装以下程序之一：%s";
/// The settings file's path.
constexpr const char* kNoFileManagerFormat = "没有找到文件管理器。配置文件在：\n%s";
/// The empty file handed to the desktop when no text editor is known.
constexpr const char* kNewTextFileName = "无标题.txt";

// A student's row as put on the clipboard: one "label：value" line each, ending in "\r\n"
/// Label, value.
constexpr const char* kRowLineFormat = "%s：%s\r\n";
/// Class.
constexpr const char* kRowClassLineFormat = "班级：（%s）班\r\n";
constexpr const char* kRowSchool = "学校";
constexpr const char* kRowGrade = "年级";
constexpr const char* kRowName = "姓名";

// Help window: its title and the topics with their pages in the resources
constexpr const char* kHelpTitle = "Varnex帮助";
struct HelpTopic {
    const char* title;
    const char* page;
};
inline constexpr HelpTopic kHelpTopics[] = {
    {"操作说明", "qrc:/help/operation.html"},
    {"功能菜单", "qrc:/help/menus.html"},
    {"软件特点", "qrc:/help/features.html"},
    {"历史更新", "qrc:/help/history.html"},
};

// About window
constexpr const char* kAboutCaption = "关于Varnex";
/// Version.
constexpr const char* kAboutVersionFormat = "版本 %s";
constexpr const char* kAboutDescription =
    "Varnex 分析一个年级一次考试的成绩：导入任课教师和学生成绩，计算学校、班级和教师的"
    "优秀率、及格率和平均分，统计分数段和名次段，列出总分前N名和班级排名，"
    "并把结果写成一个带目录的Excel工作簿。";
constexpr const char* kAboutCredits =
    "界面：Qt 6 · 读取：libgsf、libzip、expat、libxml2 · 写入：libxlsxwriter · "
    "排序：ICU · 音乐：libopenmpt";
constexpr const char* kAboutOk = "确定";

/// One item of a menu: a command id and its text. kSeparator marks a separator line,
/// kRecentSubmenu the "最近打开的文件" submenu.
struct MenuItemText {
    int id;
    const char* text;
};
constexpr int kSeparator = 0;
constexpr int kRecentSubmenu = -2;

constexpr const char* kFileMenuTitle = "文件(&F)";
constexpr const char* kToolsMenuTitle = "工具(&T)";
constexpr const char* kHelpMenuTitle = "帮助(&H)";
constexpr const char* kRecentMenuTitle = "最近打开的文件";
/// Text of a recent-file entry: the digit is the keyboard mnemonic.
constexpr const char* kRecentEntryFormat = "&%d %s";

inline constexpr MenuItemText kFileMenu[] = {
    {ctl::CmdGenerateTemplates, "生成导入模板(&G)"},
    {kSeparator, ""},
    {ctl::CmdOpenFile, "打开文件(&O)..."},
    {ctl::CmdImportStudents, "导入学生成绩(&I)"},
    {ctl::CmdClearTeachers, "清除任课教师(&C)"},
    {ctl::CmdExport, "导出分析结果(&E)"},
    {kSeparator, ""},
    {kRecentSubmenu, kRecentMenuTitle},
    {kSeparator, ""},
    {ctl::CmdExit, "退出(&X)"},
};
inline constexpr MenuItemText kRecentMenu[] = {
    {ctl::CmdClearRecent, "清除文件列表"},
};
inline constexpr MenuItemText kToolsMenu[] = {
    {ctl::CmdQuickLaunch, "创建快速启动图标(&Q)"},
    {ctl::CmdDesktopShortcut, "创建桌面快捷方式(&L)"},
    {kSeparator, ""},
    {ctl::CmdSettingsFolder, "当前目录(&D)"},
    {ctl::CmdAlwaysOnTop, "总在最前(&O)"},
    {ctl::CmdMusic, "背景音乐(&M)"},
    {kSeparator, ""},
    {ctl::CmdCalculator, "计算器(&C)"},
    {ctl::CmdNotepad, "记事本(&T)"},
    {kSeparator, ""},
    {ctl::CmdScoreLines, "上线设置(&S)..."},
    {ctl::CmdQuestionSheets, "小题分析(&X)..."},
};
inline constexpr MenuItemText kHelpMenu[] = {
    {ctl::CmdHelp, "帮助主题(&H)"},
    {kSeparator, ""},
    {ctl::CmdAbout, "关于(&A)..."},
};
inline constexpr MenuItemText kContextMenu[] = {
    {ctl::CmdOpenFile, "打开文件(&O)..."},
    {ctl::CmdImportStudents, "导入学生成绩(&I)"},
    {ctl::CmdExport, "导出分析结果(&E)"},
    {ctl::CmdExit, "退出(&X)"},
    {kSeparator, ""},
    {ctl::CmdSettingsFolder, "当前目录(&D)"},
    {ctl::CmdAlwaysOnTop, "总在最前(&F)"},
    {ctl::CmdMusic, "背景音乐(&M)"},
    {ctl::CmdCalculator, "计算器(&C)"},
    {ctl::CmdNotepad, "记事本(&T)"},
    {kSeparator, ""},
    {ctl::CmdHelp, "帮助主题(&H)"},
    {ctl::CmdAbout, "关于(&A)..."},
};

/// Status-bar prompt of a menu command, shown in pane 0 while the item is highlighted.
struct PromptText {
    int id;
    const char* text;
};
inline constexpr PromptText kPrompts[] = {
    {ctl::CmdOpenFile,
     "打开含有学生成绩或任课教师的Excel工作表或WPS表格文件（也可以直接拖拽文件至当前窗口）"},
    {ctl::CmdImportStudents, "导入指定工作表中的学生成绩"},
    {ctl::CmdExport, "分析导入的成绩，并导出分析结果"},
    {ctl::CmdGenerateTemplates, "生成学生成绩表和教师任课表，以便输入学生成绩和任课教师供导入使用"},
    {ctl::CmdRecent1, "打开该文件"},
    {ctl::CmdRecent2, "打开该文件"},
    {ctl::CmdRecent3, "打开该文件"},
    {ctl::CmdRecent4, "打开该文件"},
    {ctl::CmdClearRecent, "清除最近打开的文件列表"},
    {ctl::CmdClearTeachers, "清空教师任课表：此后导出时不用任何任课教师，直到再次导入任课教师"},
    {ctl::CmdExit, "询问是否退出Varnex"},
    {ctl::CmdQuickLaunch, "在快速启动栏创建本程序的快速启动图标，以便从快速启动栏直接启动本程序"},
    {ctl::CmdDesktopShortcut, "在桌面创建本程序的快捷方式，以便从桌面直接启动本程序"},
    {ctl::CmdSettingsFolder, "打开软件所在目录，以便对配置文件进行手动修改"},
    {ctl::CmdAlwaysOnTop, "当前窗口是否始终在其他窗口前端显示"},
    {ctl::CmdMusic, "播放或停止背景音乐"},
    {ctl::CmdCalculator, "打开Windows自带的计算器，同时最小化当前窗口"},
    {ctl::CmdNotepad, "打开Windows自带的记事本，同时最小化当前窗口"},
    {ctl::CmdScoreLines, "设定当前年级的上线分数线（物理类、历史类），供导出上线分析和临界生使用"},
    {ctl::CmdQuestionSheets, "添加或移除各科的小题分表，供导出小题分析和小题明细使用"},
    {ctl::CmdHelp, "在当前窗口旁边打开帮助"},
    {ctl::CmdAbout, "显示程序信息，版本号和版权"},
};

/// A rich tooltip: the control, its title and its body.
struct TooltipText {
    int id;
    const char* title;
    const char* body;
};
inline constexpr TooltipText kTooltips[] = {
    {ctl::OpenFile, "打开文件",
     "打开含有学生成绩或任课教师的Excel工作表或WPS表格文件（也可以直接拖拽文件至当前窗口）"},
    {ctl::WorksheetList, "选择工作表", "选择要导入的Excel工作表或WPS表格文件中的一个工作表"},
    {ctl::GradeList, "选择年级", "选择要导入的考试年级"},
    {ctl::ImportStudents, "导入学生成绩", "导入指定工作表中的学生成绩"},
    {ctl::ImportTeachers, "导入任课教师", "导入指定工作表中的任课教师"},
    {ctl::ExportResults, "导出结果", "分析导入的成绩并导出分析结果"},
    {ctl::SaveSettings, "保存", "保存当前年级的学科分值"},
    {ctl::DefaultExcellence, "默认", "恢复各科优秀控制线到默认值：80%"},
    {ctl::ExamNameBox, "考试名称", "修改或选择考试名称"},
    {ctl::ClassListBox, "学校和班级", "查看当前已经导入的学校和班级"},
    {ctl::PreviousFile, "上次考试",
     "选择上次考试的成绩文件，以便导出学生进退步和班级进退步（可以是低一个年级时的考试）"},
    {ctl::PreviousSheetList, "上次考试的工作表", "选择上次考试成绩所在的工作表，选定后立即读入"},
    {ctl::BlankScoresExcluded, "缺考和空白成绩",
     "勾选：空白或写着“缺考”“/”等的成绩表示该生没有考这一科（如新高考未选考的科目），"
     "不计入这一科的实考人数、平均分、各项比率和分数段，总分按所考科目的满分评定；"
     "不勾选：按0分计入统计"},
    {ctl::LevelLines, "等级线",
     "按分数：各等级的最低分占满分的百分比，自高到低，如 90,75,60（A ≥ 90%，B ≥ 75%，C ≥ 60%，其余为D）；"
     "按比例：自高到低各等级学生所占的百分比，如 15,35,35,13,2"},
    {ctl::LevelNames, "等级名称", "各等级的名称，用逗号隔开，如 优秀,良好,合格,待合格；不填为 A、B、C……"},
    {ctl::ScoreLineTable, "上线设置", "设定当前年级的上线分数线：每条线的物理类、历史类分数或比例"},
    {ctl::QuestionSheets, "小题分表",
     "添加或移除各科的小题分表（在导入学生成绩之后），并选择是否导出小题明细"},
    {ctl::ByTrack, "按科类分别统计",
     "勾选：总分前N名、班级总分排名和学生进退步的名次在物理类、历史类内分别排，三率表按科类分别写出"
     "（成绩表需有选科、科类或首选科目列）"},
    {ctl::NoRanks, "不公布名次",
     "勾选：不导出总分前N名和总分名次段，班级总分排名按姓名排列并显示等级，学生进退步显示等级，"
     "各表都没有学生的名次（学校、班级之间的名次照常）"},
};

}  // namespace varnex::ui_texts
