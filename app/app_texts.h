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

}  // namespace varnex::app_texts
