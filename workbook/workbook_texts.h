#pragma once
// User-visible texts of the automation layer and of saving workbooks, kept in one place. A text
// with values in it is a printf format; the comment names the values.

namespace varnex::workbook_texts {

// Failed automation calls (they end the running command).
inline constexpr const char* kNoSuchSheet = "工作表不存在";
/// Sheet number.
inline constexpr const char* kNoSuchSheetIndexFormat = "工作表不存在：%d";
/// Sheet name.
inline constexpr const char* kNoSheetNamedFormat = "工作表不存在：%s";
/// First and last cell of the range.
inline constexpr const char* kInvalidRangeFormat = "无效的单元格区域：%s:%s";
inline constexpr const char* kNoWorkbook = "没有打开的工作簿";
inline constexpr const char* kLastVisibleSheet = "工作簿中至少要有一张可见的工作表。";

// A sheet name the spreadsheet refuses: "%s" is the name, then one of the reasons below.
inline constexpr const char* kBadSheetNameFormat = "无法将工作表命名为“%s”：%s";
inline constexpr const char* kSheetNameEmpty = "名称不能为空。";
inline constexpr const char* kSheetNameTooLong = "名称不能超过 31 个字符。";
inline constexpr const char* kSheetNameBadCharacter = "名称不能含有 : \\ / ? * [ ] 这些字符。";
inline constexpr const char* kSheetNameApostrophe = "名称不能以单引号开头或结尾。";
inline constexpr const char* kSheetNameReserved = "“History”是保留的名称。";
inline constexpr const char* kSheetNameTaken = "已有同名的工作表。";

// Saving: "%s" is the path of the file, then one of the reasons below.
inline constexpr const char* kSaveFailedFormat = "无法保存文件“%s”：%s";
inline constexpr const char* kSaveExists = "文件已经存在。";
inline constexpr const char* kSaveNoPermission = "没有写入该文件夹的权限。";
inline constexpr const char* kSaveReadOnly = "该文件夹位于只读的磁盘上。";
inline constexpr const char* kSaveDiskFull = "磁盘空间不足。";
inline constexpr const char* kSaveNameTooLong = "文件名或路径太长。";
inline constexpr const char* kSaveNoFolder = "文件夹不存在。";
inline constexpr const char* kSaveIsFolder = "已有同名的文件夹。";
inline constexpr const char* kSaveIncomplete = "文件没有完整写入，磁盘空间可能不足。";
inline constexpr const char* kSaveNoFreeName = "该文件夹中的同名文件太多。";
/// Any other failure: the system's or the writer's own description in brackets.
inline constexpr const char* kSaveOtherFormat = "写入时出错（%s）。";

// Why the .xlsx writer could not write a cell or a sheet: where, then the reason.
/// Sheet, cell.
inline constexpr const char* kCellPlaceFormat = "工作表“%s”的 %s：";
/// Sheet.
inline constexpr const char* kSheetPlaceFormat = "工作表“%s”：";
inline constexpr const char* kTextTooLong = "文字超过了一个单元格能容纳的 32767 个字符";
inline constexpr const char* kBeyondSheetLimits = "超出了工作表的行数或列数上限";
inline constexpr const char* kOutOfMemory = "内存不足";

}  // namespace varnex::workbook_texts
