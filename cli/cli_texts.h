#pragma once
// Every text of the command-line front end: the bilingual help of each command and the messages
// about its arguments and files; the help of each option is written beside its declaration in
// cli_options.cpp. A text with values in it is a printf format; the comment names the values.

namespace varnex::cli_texts {

// ---------------------------------------------------------------- help
// The main help is its head, a line for each command (its name and summary) and its foot. A
// command's help is its usage below, then its options, each with the help written beside its
// declaration in cli_options.cpp.
inline constexpr const char* kMainHelpHead =
    "用法 / usage: varnex-cli <命令 command> [选项 options]\n"
    "\n"
    "命令 / commands:\n";
inline constexpr const char* kMainHelpFoot =
    "\n"
    "varnex-cli <命令> --help 显示该命令的说明 / shows the help of one command.\n";

inline constexpr const char* kSheetsSummary = "列出工作簿中的工作表 / list the worksheets of a workbook";
inline constexpr const char* kSheetsUsage =
    "用法 / usage: varnex-cli sheets WORKBOOK\n"
    "\n"
    "逐行列出工作簿（.xls、.xlsx、.et，或存为网页、XML 表格、CSV 的成绩文件）中的工作表名称，\n"
    "按工作簿中的顺序。\n"
    "Prints the worksheet names of an .xls, .xlsx or .et workbook (or of a score file saved as a web\n"
    "page, an XML spreadsheet or CSV), one per line, in workbook order.\n";

inline constexpr const char* kTemplateSummary = "生成导入模板工作簿 / write the import template workbook";
inline constexpr const char* kTemplateUsage =
    "用法 / usage: varnex-cli template --exam NAME [-o FILE] [--force]\n"
    "\n"
    "生成导入模板：十二个年级的学生成绩表和教师任课表。\n"
    "Writes the import template: a score sheet per grade level and the teacher assignment sheet.\n";

inline constexpr const char* kSampleSummary = "生成示例考试工作簿 / write a realistic sample exam workbook";
inline constexpr const char* kSampleUsage =
    "用法 / usage: varnex-cli sample [--grade G] [--schools N] [--classes-per-school N] [--previous-of "
    "FILE]\n"
    "                             [--students-per-class N] [--seed S] -o FILE [--force]\n"
    "\n"
    "生成一个填好数据的示例考试工作簿（教师任课表和一个年级的成绩表），同一种子结果相同。\n"
    "Writes a filled-in sample exam (teacher sheet and one grade's score sheet); the same seed gives\n"
    "the same workbook.\n";

inline constexpr const char* kExportSummary =
    "导入并导出分析结果 / import teachers and students, write the result workbook";
inline constexpr const char* kExportUsage =
    "用法 / usage: varnex-cli export WORKBOOK --scores SHEET [--teachers SHEET] --grade G --exam NAME\n"
    "                             [--school NAME] [--class NAME] [--scaled] [--settings FILE]\n"
    "                             [--full-mark 学科=N,…] [--excellence 学科=N,…] [--reports 报表,…]\n"
    "                             [--missing-rule 0|1|2] [--missing-limit N] [--blank-scores zero|exclude]\n"
    "                             [--ranking 1224|1223] [--no-ranks] [--by-track]\n"
    "                             [--previous FILE [--previous-sheet SHEET]] [--near N] [--yes] [--force]\n"
    "                             [--questions FILE --question-sheet SHEET --question-subject 学科\n"
    "                              [--question-marks 题号=满分,…]]…\n"
    "                             -o FILE\n"
    "\n"
    "导入任课教师（如给出）和学生成绩，按配置文件中的导出选项导出分析结果。\n"
    "Imports the teachers (when given) and the students, then exports with the export options of the\n"
    "settings file. Every message goes to standard error with its caption; the result is written to\n"
    "exactly FILE.\n";

// ---------------------------------------------------------------- arguments
/// Option, option.
inline constexpr const char* kNeedsValueFormat = "选项 %s 需要一个值 / option %s needs a value\n";
/// Option.
inline constexpr const char* kUnknownOptionFormat = "未知选项 / unknown option: %s\n";
/// Option, command, option, command: an option of other commands given to this one.
inline constexpr const char* kOptionOfAnotherCommandFormat =
    "选项 %s 不能用于 %s 命令 / option %s cannot be used with the %s command\n";
/// Option, lowest, highest, option, lowest, highest, the value given.
inline constexpr const char* kNotInRangeFormat =
    "%s 的值必须是 %d 到 %d 之间的整数 / %s must be a whole number from %d to %d: %s\n";
/// Grade given.
inline constexpr const char* kUnknownGradeFormat = "未知的年级 / unknown grade: %s\n";
/// Option, lowest, highest, option, lowest, highest, the value given.
inline constexpr const char* kBadSubjectValuesFormat =
    "%s 的值应写作 学科=整数（%d 到 %d），以逗号分隔，如 语文=150,数学=150 / "
    "%s takes SUBJECT=NUMBER pairs (%d to %d) separated by commas: %s\n";
/// The value given.
inline constexpr const char* kBadBlankScoresFormat =
    "--blank-scores 的值必须是 zero 或 exclude / --blank-scores must be zero or exclude: %s\n";
/// The value given.
inline constexpr const char* kBadRankingFormat =
    "--ranking 的值必须是 1224（并列占位）或 1223（并列不占位）/ --ranking must be 1224 or 1223: %s\n";
/// The value given.
inline constexpr const char* kBadSplitFormat =
    "--split 的值必须是 school（按学校）或 class（按班级）/ --split must be school or class: %s\n";
/// The value given.
inline constexpr const char* kBadLevelsFormat =
    "--levels 的值应写作 score:分数线,… 或 share:比例,…（可加 :等级名称,…），分数线自高到低、"
    "不超过100，比例之和不超过100，等级名称的个数与等级数相同 / --levels takes score:LINE,… or "
    "share:SHARE,… (optionally :NAME,…), lines falling and at most 100, shares adding up to at "
    "most 100, one name per level: %s\n";
/// The value given.
inline constexpr const char* kBadLinesFormat =
    "--lines 的值应写作 科类:线名=分数,…;科类:线名=分数,…（如 物理类:本科=480,特控=560;"
    "历史类:本科=470），不写科类时用于各科类 / --lines takes TRACK:NAME=SCORE,…;…, without a "
    "track for every track: %s\n";
/// The value given.
inline constexpr const char* kBadTopLinesFormat =
    "--lines-top 的值应写作 线名=比例%%,…（如 本科=60%%,特控=20%%），比例大于0、不超过100 / "
    "--lines-top takes NAME=SHARE%%,… with shares above 0 and at most 100: %s\n";
/// The value given.
inline constexpr const char* kBadNearLinesFormat =
    "--near-lines 的值必须是 上线 或 优秀及格 / --near-lines must be 上线 or 优秀及格: %s\n";
/// An extra column's name: how to have it counted, said after the columns not analysed.
inline constexpr const char* kExtraSubjectHintFormat = "用 --full-mark %s=分值 统计。";
/// Subject given.
inline constexpr const char* kUnknownSubjectFormat = "未知的学科 / unknown subject: %s\n";
/// Report given, the reports that can be named.
inline constexpr const char* kUnknownReportFormat =
    "未知的报表 / unknown report: %s\n可选 / choose from: %s\n";
/// The option given before any --questions.
inline constexpr const char* kQuestionOptionFirstFormat =
    "%s 须跟在它所属的 --questions FILE 之后 / %s belongs "
    "after the --questions FILE it is for\n";
/// The --questions FILE without its sheet or subject.
inline constexpr const char* kQuestionSourceIncompleteFormat =
    "--questions %s 须同时给出 --question-sheet 和 --question-subject / needs --question-sheet and "
    "--question-subject\n";
/// The report chosen.
inline constexpr const char* kQuestionReportWithoutSheetFormat =
    "报表“%s”需要小题分表，请用 --questions 给出 / %s needs a question-score sheet: give it with "
    "--questions\n";
/// Joins the names of the reports that can be named.
inline constexpr const char* kReportSeparator = ",";
/// Command given, then the main help.
inline constexpr const char* kUnknownCommandFormat = "未知命令 / unknown command: %s\n\n%s";

// ---------------------------------------------------------------- messages
/// Caption, text: how a message is printed on standard error.
inline constexpr const char* kMessageLineFormat = "[%s] %s\n";
/// The progress line on a terminal: step, steps done, steps in all.
inline constexpr const char* kProgressStepsFormat = "%s（%d/%d）";
// A question's answer, on the line after it.
inline constexpr const char* kAnsweredYes = "  -> 是 (--yes)\n";
inline constexpr const char* kAnsweredNo = "  -> 否（未指定 --yes / answered No without --yes）\n";
/// The class given with --class, as the answer to the question for the class of a sheet.
inline constexpr const char* kAnsweredClassFormat = "  -> %s (--class)\n";
inline constexpr const char* kNoClassGiven =
    "  -> 未指定班级：请用 --class 班级 给出 / no class given: name it with --class NAME\n";
/// The school given with --school, as the answer to the question for the school's name.
inline constexpr const char* kAnsweredSchoolFormat = "  -> %s (--school)\n";
inline constexpr const char* kNoSchoolGiven =
    "  -> 未指定学校：请用 --school 学校名称 给出 / no school given: name it with --school NAME\n";
// Shown with the error caption.
/// Path.
inline constexpr const char* kOutputIsFolderFormat =
    "输出路径是一个文件夹，不是文件：%s / the output path is a folder";
/// Path.
inline constexpr const char* kOutputExistsFormat =
    "输出文件已存在：%s（使用 --force 覆盖 / use --force to replace it）";
/// Path.
inline constexpr const char* kOutputIsInputFormat =
    "输出文件就是要导入的工作簿：%s（请另选输出文件 / choose another output file）";
/// Sheet, sheet.
inline constexpr const char* kNoSuchSheetFormat = "工作簿中没有工作表“%s” / no worksheet named %s";
/// Path.
inline constexpr const char* kNoSettingsFileFormat = "找不到配置文件：%s";
/// Score sheet, schools, classes, students, teacher sheet, score sheet.
/// Score sheet, students, the workbook it was made from.
inline constexpr const char* kEarlierSampleSummaryFormat = "示例上次考试：成绩表“%s”，%d名学生，取自 %s\n";
inline constexpr const char* kSampleSummaryFormat =
    "示例考试：%s，%d所学校，%d个班级，%d名学生；工作表“%s”和“%s”。\n";

}  // namespace varnex::cli_texts
