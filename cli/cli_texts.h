#pragma once
// Every text of the command-line front end: the bilingual help of each command and the messages
// about its arguments and files. A text with values in it is a printf format; the comment names
// the values.

namespace varnex::cli_texts {

// ---------------------------------------------------------------- help
inline constexpr const char* kMainHelp =
    "用法 / usage: varnex-cli <命令 command> [选项 options]\n"
    "\n"
    "命令 / commands:\n"
    "  sheets    列出工作簿中的工作表 / list the worksheets of a workbook\n"
    "  template  生成导入模板工作簿 / write the import template workbook\n"
    "  sample    生成示例考试工作簿 / write a realistic sample exam workbook\n"
    "  export    导入并导出分析结果 / import teachers and students, write the result workbook\n"
    "\n"
    "varnex-cli <命令> --help 显示该命令的说明 / shows the help of one command.\n";

inline constexpr const char* kSheetsHelp =
    "用法 / usage: varnex-cli sheets WORKBOOK\n"
    "\n"
    "逐行列出工作簿（.xls、.xlsx、.et，或存为网页、XML 表格、CSV 的成绩文件）中的工作表名称，\n"
    "按工作簿中的顺序。\n"
    "Prints the worksheet names of an .xls, .xlsx or .et workbook (or of a score file saved as a web\n"
    "page, an XML spreadsheet or CSV), one per line, in workbook order.\n";

inline constexpr const char* kTemplateHelp =
    "用法 / usage: varnex-cli template --exam NAME [-o FILE] [--force]\n"
    "\n"
    "生成导入模板：十二个年级的学生成绩表和教师任课表。\n"
    "Writes the import template: a score sheet per grade level and the teacher assignment sheet.\n"
    "\n"
    "  --exam NAME  考试名称，也是默认文件名 / exam name, also the default file name\n"
    "  -o FILE      写到该文件（默认：文档文件夹）/ write exactly this file (default: documents folder)\n"
    "  --force      覆盖已有文件 / replace an existing FILE\n";

inline constexpr const char* kSampleHelp =
    "用法 / usage: varnex-cli sample [--grade G] [--schools N] [--classes-per-school N] [--previous-of "
    "FILE]\n"
    "                             [--students-per-class N] [--seed S] -o FILE [--force]\n"
    "\n"
    "生成一个填好数据的示例考试工作簿（教师任课表和一个年级的成绩表），同一种子结果相同。\n"
    "Writes a filled-in sample exam (teacher sheet and one grade's score sheet); the same seed gives\n"
    "the same workbook.\n"
    "\n"
    "  --grade G                年级，默认 七年级 / grade level, default 七年级\n"
    "  --schools N              学校数，默认 3 / number of schools, default 3\n"
    "  --classes-per-school N   每校班级数，默认 4 / classes per school, default 4\n"
    "  --students-per-class N   每班人数，默认 40 / students per class, default 40\n"
    "  --seed S                 随机种子，默认 2026 / random seed, default 2026\n"
    "  --previous-of FILE       改为生成 FILE 中同一年级学生的上次考试成绩表\n"
    "                           instead, an earlier exam of the same grade's students of FILE\n"
    "  -o FILE                  输出文件 / output file\n"
    "  --force                  覆盖已有文件 / replace an existing FILE\n";

inline constexpr const char* kExportHelp =
    "用法 / usage: varnex-cli export WORKBOOK --scores SHEET [--teachers SHEET] --grade G --exam NAME\n"
    "                             [--school NAME] [--settings FILE] [--full-mark 学科=N,…]\n"
    "                             [--excellence 学科=N,…] [--reports 报表,…] [--missing-rule 0|1|2]\n"
    "                             [--missing-limit N] [--blank-scores zero|exclude]\n"
    "                             [--previous FILE [--previous-sheet SHEET]] [--near N] [--yes] [--force]\n"
    "                             -o FILE\n"
    "\n"
    "导入任课教师（如给出）和学生成绩，按配置文件中的导出选项导出分析结果。\n"
    "Imports the teachers (when given) and the students, then exports with the export options of the\n"
    "settings file. Every message goes to standard error with its caption; the result is written to\n"
    "exactly FILE.\n"
    "\n"
    "  --scores SHEET       学生成绩工作表 / the student score worksheet\n"
    "  --previous FILE      上次考试的工作簿；未给 --reports 时导出进退步\n"
    "                       the previous exam's workbook; exports the progress reports unless --reports\n"
    "                       chooses the reports\n"
    "  --previous-sheet SHEET 上次考试的成绩工作表（默认与 --scores 同名，否则第一张）\n"
    "                       the previous exam's score sheet (default: named like --scores, else the first)\n"
    "  --near N             临界生：总分在分数线上下 N 分以内（默认取配置文件，未设时 10）\n"
    "                       临界生: totals within N points of a line (default: the settings, else 10)\n"
    "  --teachers SHEET     教师任课工作表 / the teacher assignment worksheet\n"
    "  --grade G            年级（一年级 … 九年级、高一 … 高三）/ grade level\n"
    "  --exam NAME          考试名称 / exam name\n"
    "  --school NAME        工作表没有“学校”列时，表中各行所属的学校\n"
    "                       the school of every row of a sheet without a 学校 column\n"
    "  --settings FILE      配置文件（默认：与窗口程序共用的配置文件）/ settings file (default: the one the "
    "window uses)\n"
    "  --full-mark 学科=N,… 本次使用的满分，不存入配置文件（如 语文=150,数学=150）\n"
    "                       full marks for this run only, not saved (e.g. 语文=150,数学=150)\n"
    "  --excellence 学科=N,… 本次使用的优秀控制线（满分的百分比），不存入配置文件\n"
    "                       excellence lines (percent of the full mark) for this run only, not saved\n"
    "  --reports 报表,…     本次导出的报表，写法同窗口中的勾选框（可省去“导出”二字），如\n"
    "                       导出年级各科三率,导出总分前30名；不给出时按配置文件\n"
    "                       the reports of this run, named as the window's check boxes show them\n"
    "                       (\"导出\" may be left out); without it, the settings file's choice\n"
    "  --missing-rule R     0 缺考学科超过一半不导入（默认）；1 缺考超过 N 科不导入；2 全部导入\n"
    "                       0 skip when more than half missing (default); 1 more than N; 2 import all\n"
    "  --missing-limit N    规则 1 的 N，默认 4 / N of rule 1, default 4\n"
    "  --blank-scores R     空白和“缺考”“/”等成绩的计法，本次使用，不存入配置文件：zero 按0分计入；\n"
    "                       exclude 不计入该科（即窗口中的“缺考和空白成绩不计入统计”）；不给出时按配置文件\n"
    "                       how blank scores and texts such as 缺考 count, for this run only: zero counts\n"
    "                       them as 0; exclude leaves the student out of that subject; without it, the\n"
    "                       settings file's choice\n"
    "  --yes                对所有确认问题回答“是”；否则回答“否”并以非零状态退出\n"
    "                       answer Yes to every question; without it a question is answered No and\n"
    "                       the command ends with a non-zero exit status\n"
    "  --force              覆盖已有的 FILE / replace an existing FILE\n"
    "  -o FILE              结果工作簿 / the result workbook\n";

// ---------------------------------------------------------------- arguments
/// Option, option.
inline constexpr const char* kNeedsValueFormat = "选项 %s 需要一个值 / option %s needs a value\n";
/// Option.
inline constexpr const char* kUnknownOptionFormat = "未知选项 / unknown option: %s\n";
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
/// Subject given.
inline constexpr const char* kUnknownSubjectFormat = "未知的学科 / unknown subject: %s\n";
/// Report given, the reports that can be named.
inline constexpr const char* kUnknownReportFormat =
    "未知的报表 / unknown report: %s\n可选 / choose from: %s\n";
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
