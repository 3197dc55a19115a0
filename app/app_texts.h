#pragma once
// User-visible texts of the settings file and the reader registry, kept in one place. A text with
// values in it is a printf format; the comment names the values.

namespace varnex::app_texts {

// Why no workbook can be read; shown in a plain message box by the command that asked.
inline constexpr const char* kNoReaderInstalled =
    "在您的系统中未找到 Excel 驱动程序！\n请先安装 Microsoft Office Excel 或 WPS表格软件，然后重试！";
inline constexpr const char* kNoXlsxReaderInstalled =
    "在您的系统中未找到 Excel 2007 驱动程序！\n请正确安装2007及之后版本的 Microsoft Office Excel，然后重试！";

// Saving the current grade's settings.
/// Grade.
inline constexpr const char* kGradeSavedFormat = "%s学科分值和优秀控制线保存成功！";
/// Path of the settings file.
inline constexpr const char* kSaveFailedFormat = "保存配置文件失败：%s\n请检查文件夹是否可写。";

// A grade's 等级 keys that cannot be used: the grade's default cuts are used instead.
/// Grade, the key's values (等级方式, 等级线, 等级名称).
inline constexpr const char* kBadLevelSettingsFormat =
    "配置文件中%s的等级设置无法使用（等级方式=%s，等级线=%s，等级名称=%s），已改用默认等级。"
    "等级名称的个数应为等级线的个数加一（按比例时各等级比例之和为100则与比例个数相同）。";
/// Grade, the 上线 value: no lines can be read from it.
inline constexpr const char* kBadScoreLinesFormat =
    "配置文件中%s的上线设置无法使用（上线=%s），未设分数线。"
    "可写如 物理类:本科=480,特控=560;历史类:本科=470,特控=550，或按比例 本科=60%%,特控=20%%。";
/// Grade, the 赋分规则 value: it names no rule and writes none out that can be used.
inline constexpr const char* kBadScaleRuleFormat =
    "配置文件中%s的赋分规则无法使用（赋分规则=%s），已改用3+1+2常用。"
    "赋分规则可写3+1+2常用、八等级，或如A:15:86-100,B:35:71-85,…（各等级比例之和为100）。";

// A settings file that is there but cannot be used; it is neither read nor ever rewritten.
/// Path of the settings file.
inline constexpr const char* kSettingsNotTextFormat =
    "无法读取配置文件：%s\n它不是 GBK（GB18030）或 UTF-8 编码的文本文件（例如以 UTF-16 编码保存）。"
    "为免损坏其中的设置，本程序不会改写它；请用文本编辑器将它另存为 GBK 或 UTF-8 编码。";
/// Path of the settings file.
inline constexpr const char* kSettingsUnreadableFormat =
    "无法读取配置文件：%s\n请检查它是否是一个普通文件，以及是否有读取权限。"
    "为免丢失其中的设置，本程序不会改写它。";

// Said after the import names the columns it did not analyse, when an extra subject is among them.
inline constexpr const char* kExtraSubjectHint = "在“其他学科”中填写分值即可统计。";

// The counting rule for blank scores and texts such as 缺考, as its check box names it.
inline constexpr const char* kBlankScoresExcludedCaption = "缺考和空白成绩不计入统计";

// 名次方式, the places of equal totals: the settings key, and each rule's name (the settings
// value and the window's radio button) and the places it gives (the sheets' notes).
inline constexpr const char* kRankingRuleKey = "名次方式";
inline constexpr const char* kCompetitionRanking = "并列占位";
inline constexpr const char* kCompetitionPlaces = "1,2,2,4";
inline constexpr const char* kDenseRanking = "并列不占位";
inline constexpr const char* kDensePlaces = "1,2,2,3";

// The full marks of questions as written ("1~12=5,17(1)=4").
/// The item that cannot be read.
inline constexpr const char* kBadQuestionMarkFormat =
    "无法识别小题满分“%s”：应写作 题号=满分，连续题号可写作 1~12=5，小题写作 17(1)=4";
// 分别导出, one workbook per school or class beside the whole one: the settings key, and each
// choice's name (the settings value and the window's caption).
inline constexpr const char* kSplitKey = "分别导出";
inline constexpr const char* kSplitNone = "不分";
inline constexpr const char* kSplitBySchool = "按学校";
inline constexpr const char* kSplitByClass = "按班级";

}  // namespace varnex::app_texts
