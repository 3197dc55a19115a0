#pragma once
// Every user-visible text of the workbook readers, the sheet query and openWorkbook, in one
// place. A text with values in it is a printf format; the comment names the values.

namespace varnex::reader_texts {

// openWorkbook.
inline constexpr const char* kUnrecognisedCaption = "不能识别的文件格式";
/// The path.
inline constexpr const char* kFileMissingFormat = "文件不存在：\n%s";
inline constexpr const char* kEmptyFileName = "文件名不得为空！";
/// The path.
inline constexpr const char* kWrongExtensionFormat = "请选择Excel工作表或WPS表格文件：\n%s";
inline constexpr const char* kFileRefused =
    "获取 Excel 工作表失败！\n请安装2007及之后版本的 Microsoft Office Excel，然后重试！";
inline constexpr const char* kNoWorksheet =
    "获取 Excel 工作表失败！\n请安装2007或更高版本的 Microsoft Office Excel，然后重试！";
/// Program name, workbook title: the window's title once the workbook is open.
inline constexpr const char* kOpenedTitleFormat = "%s - %s";
/// Program name, workbook title, what is going on.
inline constexpr const char* kProgressTitleFormat = "%s - %s - %s";
inline constexpr const char* kPreparingToOpen = "准备打开...";
inline constexpr const char* kOpening = "正在打开...";
/// Followed by the path.
inline constexpr const char* kOpenedLog = "打开文件：";

// Reader errors (%s is a file, sheet or cell as named).
inline constexpr const char* kCannotReadFile = "无法读取文件“%s”";
inline constexpr const char* kUnknownFormat = "文件“%s”不是能识别的 Excel 或 WPS 表格文件";
inline constexpr const char* kCorruptZip = "文件“%s”已损坏：%s";
inline constexpr const char* kCorruptBiff = "文件“%s”已损坏：%s";
inline constexpr const char* kNoSuchSheet = "工作簿中没有名为“%s”的工作表";
inline constexpr const char* kMissingColumns = "工作表“%s”的标题行中没有以下列：%s";
inline constexpr const char* kMissingColumnSeparator = "，";
inline constexpr const char* kSheetCorrupt = "工作表“%s”已损坏：%s";

// Reasons (inserted into the texts above).
inline constexpr const char* kMissingPart = "缺少部件 %s";
inline constexpr const char* kPartTooLarge = "部件 %s 超过了允许的大小";
inline constexpr const char* kPartUnreadable = "部件 %s 无法解压";
inline constexpr const char* kBadXml = "部件 %s 的 XML 有误（第 %lu 行）：%s";
inline constexpr const char* kXmlTooDeep = "XML 嵌套层数过多";
inline constexpr const char* kXmlHasDtd = "XML 含有文档类型定义";
inline constexpr const char* kTextTooLong = "单元格文本过长";
inline constexpr const char* kTooManyStrings = "共享字符串过多";
inline constexpr const char* kBadStringIndex = "单元格 %s 引用了不存在的共享字符串 %s";
inline constexpr const char* kBadCellReference = "单元格引用“%s”无效或超出范围";
inline constexpr const char* kBadRowNumber = "行号“%s”无效、超出范围或顺序有误";
inline constexpr const char* kCellOutOfOrder = "第 %u 行的单元格不在行的顺序中";
inline constexpr const char* kNoWorkbookStream = "找不到工作簿数据流";
inline constexpr const char* kNotCompound = "复合文档结构无法读取";
inline constexpr const char* kUnsupportedBiff = "不支持的文件版本（BIFF2–BIFF4）";
inline constexpr const char* kBadRecord = "记录（类型 0x%04X，位置 %llu）有误";
inline constexpr const char* kTruncated = "文件被截断";
inline constexpr const char* kTooManyRecords = "记录过多";
inline constexpr const char* kBadSheetOffset = "工作表的位置有误";
inline constexpr const char* kStreamTooLarge = "工作簿数据流过大";
inline constexpr const char* kEncrypted = "文件已加密，无法读取";
inline constexpr const char* kBadString = "字符串有误";

}  // namespace varnex::reader_texts
