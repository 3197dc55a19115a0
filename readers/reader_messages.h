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
/// The file's name: a file of 0 bytes.
inline constexpr const char* kEmptyFile = "文件“%s”是空文件（0 字节），其中没有任何工作表";
/// The file's name; also the message of openWorkbook for such a file.
inline constexpr const char* kUnknownFormat = "文件不是有效的工作簿：%s";
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

// CSV lists, web pages and XML spreadsheets.
/// The file's name, the cap in MB.
inline constexpr const char* kFileTooLarge = "文件“%s”太大（超过 %llu MB），无法读取";
/// The file's name.
inline constexpr const char* kUndecodableText =
    "文件“%s”的文字既不是 UTF-8 编码，也不是 GB18030 编码，无法读取";
/// The file's name.
inline constexpr const char* kPageWithoutTable = "文件“%s”是网页，但其中没有表格";
/// The file's name, the most tables.
inline constexpr const char* kPageTooManyTables = "网页“%s”中的表格超过了 %zu 个";
/// The file's name.
inline constexpr const char* kPageTooDeep = "网页“%s”的标记嵌套层数过多";
/// The file's name, the table's place on the page, the most rows.
inline constexpr const char* kPageTableTooLong = "网页“%s”的第 %zu 个表格超过了 %u 行";
/// The file's name, the table's place, the row, the most columns.
inline constexpr const char* kPageTableTooWide = "网页“%s”的第 %zu 个表格的第 %u 行超过了 %u 列";
/// The file's name, the table's place.
inline constexpr const char* kPageTableTooManySpans = "网页“%s”的第 %zu 个表格中跨行的单元格过多";
/// The file's name, the table's place, the row.
inline constexpr const char* kPageCellTooLong = "网页“%s”的第 %zu 个表格的第 %u 行有单元格的文本过长";
/// The file's name.
inline constexpr const char* kPageTextTooLong = "网页“%s”的标题文本过长";
/// The file's name.
inline constexpr const char* kPageBrokenOff = "网页“%s”读到中途无法继续，文件可能已损坏";
/// The sheet, the most rows.
inline constexpr const char* kSheetTooLong = "工作表“%s”超过了 %u 行";
/// The sheet, the row, the most columns.
inline constexpr const char* kSheetTooWide = "工作表“%s”的第 %u 行超过了 %u 列";
/// The sheet, the row.
inline constexpr const char* kSheetCellTooLong = "工作表“%s”的第 %u 行有单元格的文本过长";
/// The sheet, the row.
inline constexpr const char* kUnclosedQuote = "工作表“%s”的第 %u 行有一个引号没有结束，文件可能不完整";
/// The file's name, the reason.
inline constexpr const char* kCorruptFile = "文件“%s”已损坏：%s";
// Reasons of an XML spreadsheet (inserted into kCorruptFile or kSheetCorrupt).
inline constexpr const char* kNotXmlSpreadsheet = "根元素不是 Workbook";
/// The line, expat's description.
inline constexpr const char* kBadXmlLine = "XML 有误（第 %lu 行）：%s";
/// The row, the column number as written.
inline constexpr const char* kBadColumnIndex = "第 %u 行的列号“%s”无效、超出范围或顺序有误";

}  // namespace varnex::reader_texts
