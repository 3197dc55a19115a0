#pragma once
// Texts that every part of the program shows: the program's name, the captions of its message
// boxes, the window titles that name the open workbook, and the status-bar clock.
//
// Each part keeps its own texts in a header of its own, namespace varnex::<part>_texts
// (import/import_texts.h, export/sheet_texts.h, …); a source file refers to its part's texts
// through `namespace tx = <part>_texts;` and to any other part's texts by their full name.

#include <string>

#include "base/version.h"

namespace varnex::common_texts {

/// The program's name: the start of every window title and the caption of a plain message box.
inline constexpr const char* kProgramName = "Varnex";

/// The name with the version, "Varnex 3.1": the window's first title, the caption of the
/// already-running box and the name of the desktop launcher.
inline std::string programTitle() {
    return std::string(kProgramName) + " " + kVersion;
}

// ---------------------------------------------------------------- captions of message boxes
inline constexpr const char* kCaptionError = "错误";
inline constexpr const char* kCaptionConfirm = "确认";
inline constexpr const char* kCaptionInfo = "信息";

// ---------------------------------------------------------------- window titles
/// Program name, workbook title and sheet: "Varnex - 期中考试：成绩".
inline constexpr const char* kSheetTitleFormat = "%s - %s：%s";
/// Program name, workbook title, sheet and what is going on: "Varnex - 期中考试：成绩 - 导入完成".
inline constexpr const char* kSheetStateTitleFormat = "%s - %s：%s - %s";

// ---------------------------------------------------------------- status-bar clock
/// Year, month, day, the time (kClockTimeFormat) and the weekday: "2026年12月6日 22:05:09 星期日".
inline constexpr const char* kClockFormat = "%d年%d月%d日 %s 星期%s";
/// strftime format of the clock's time of day.
inline constexpr const char* kClockTimeFormat = "%H:%M:%S";
/// Weekday names, Sunday first (struct tm's tm_wday).
inline constexpr const char* kWeekdays[] = {"日", "一", "二", "三", "四", "五", "六"};

}  // namespace varnex::common_texts
