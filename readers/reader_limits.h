#pragma once
// Limits that the readers apply to untrusted files. A file beyond one of them is refused with
// a message instead of being read; real score sheets stay far below every one.

#include <cstddef>
#include <cstdint>

namespace varnex::limits {

inline constexpr uint32_t kMaxRows = 1048576;                ///< rows of a sheet (Excel's limit)
inline constexpr uint32_t kMaxColumns = 16384;               ///< columns of a sheet (A..XFD)
inline constexpr size_t kMaxCellTextBytes = 128 * 1024;      ///< one cell's text (32767 characters fit)
inline constexpr uint64_t kMaxSmallPartBytes = 64ull << 20;  ///< workbook.xml, relationships
inline constexpr uint64_t kMaxSharedStringsPartBytes = 512ull << 20;
inline constexpr size_t kMaxSharedStringBytes = 256u << 20;   ///< all shared strings together
inline constexpr size_t kMaxSharedStrings = 16u << 20;        ///< number of shared strings
inline constexpr uint64_t kMaxSheetPartBytes = 2ull << 30;    ///< one worksheet's XML
inline constexpr int kMaxXmlDepth = 128;                      ///< element nesting
inline constexpr size_t kMaxSheets = 4096;                    ///< sheets of a workbook
inline constexpr uint64_t kMaxBiffStreamBytes = 1ull << 30;   ///< the Workbook/Book stream
inline constexpr size_t kMaxBiffRecordBytes = 8224;           ///< BIFF8 record data
inline constexpr size_t kMaxSstBytes = 256u << 20;            ///< SST with its CONTINUE records
inline constexpr uint64_t kMaxTextFileBytes = 128ull << 20;   ///< a CSV list or a web page, read whole
inline constexpr uint64_t kMaxXmlWorkbookBytes = 2ull << 30;  ///< an XML spreadsheet, read as a stream
inline constexpr int kMaxPageDepth = 256;                     ///< element nesting of a web page
inline constexpr uint32_t kMaxColspan = 1000;   ///< a table cell's colspan (as browsers clamp it)
inline constexpr uint32_t kMaxRowspan = 65534;  ///< a table cell's rowspan (as browsers clamp it)
inline constexpr uint64_t kMaxCoveredSteps = 64ull
                                             << 20;  ///< steps over cells that rowspans cover, per table

}  // namespace varnex::limits
